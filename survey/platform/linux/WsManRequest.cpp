#include "WsManRequest.h"

#include "survey/platform/linux/XmlNames.h"

#include <QUuid>

#include <pugixml.hpp>

#include <sstream>

namespace {

constexpr const char* kEnumerateAction = "http://schemas.xmlsoap.org/ws/2004/09/enumeration/Enumerate";
constexpr const char* kPullAction = "http://schemas.xmlsoap.org/ws/2004/09/enumeration/Pull";
constexpr const char* kReleaseAction = "http://schemas.xmlsoap.org/ws/2004/09/enumeration/Release";
constexpr const char* kAnonymous = "http://schemas.xmlsoap.org/ws/2004/08/addressing/role/anonymous";

std::string Utf8(const QString& text)
{
    return text.toStdString();
}

QByteArray Serialized(const pugi::xml_document& document)
{
    std::ostringstream out;
    document.save(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    return QByteArray::fromStdString(out.str());
}

class Envelope {
public:
    Envelope()
    {
        pugi::xml_node root = m_document.append_child("s:Envelope");
        root.append_attribute("xmlns:s") = XmlNames::kSoap.data();
        root.append_attribute("xmlns:a") = XmlNames::kAddressing.data();
        root.append_attribute("xmlns:w") = XmlNames::kWsMan.data();
        root.append_attribute("xmlns:n") = XmlNames::kEnumeration.data();
        m_header = root.append_child("s:Header");
        m_body = root.append_child("s:Body");
    }

    void Addressing(const QString& to, const QString& className, const char* action)
    {
        Text(m_header, "a:To", Utf8(to));
        Understood(Text(m_header, "w:ResourceURI", Utf8(WsManRequest::ResourceUri(className))));
        Understood(Text(m_header.append_child("a:ReplyTo"), "a:Address", kAnonymous));
        Understood(Text(m_header, "a:Action", action));
        Understood(Text(m_header, "w:MaxEnvelopeSize", std::to_string(WsManRequest::kMaxEnvelope)));
        Text(m_header, "a:MessageID", Utf8(QStringLiteral("uuid:") + QUuid::createUuid().toString(QUuid::WithoutBraces)));
        pugi::xml_node locale = m_header.append_child("w:Locale");
        locale.append_attribute("xml:lang") = "ja-JP";
        locale.append_attribute("s:mustUnderstand") = "false";
        Text(m_header, "w:OperationTimeout", "PT" + std::to_string(WsManRequest::kOperationTimeoutS) + ".000S");
    }

    pugi::xml_node Body() const { return m_body; }

    static pugi::xml_node Text(pugi::xml_node parent, const char* name, const std::string& text)
    {
        pugi::xml_node element = parent.append_child(name);
        element.text().set(text.c_str());
        return element;
    }

    QByteArray Bytes() const { return Serialized(m_document); }

private:
    static void Understood(pugi::xml_node element) { element.append_attribute("s:mustUnderstand") = "true"; }

    pugi::xml_document m_document;
    pugi::xml_node m_header;
    pugi::xml_node m_body;
};

} // namespace

QString WsManRequest::ResourceUri(const QString& className)
{
    return QStringLiteral("http://schemas.microsoft.com/wbem/wsman/1/wmi/root/cimv2/") + className;
}

QByteArray WsManRequest::Identify()
{
    pugi::xml_document document;
    pugi::xml_node root = document.append_child("s:Envelope");
    root.append_attribute("xmlns:s") = XmlNames::kSoap.data();
    root.append_attribute("xmlns:wsmid") = XmlNames::kIdentity.data();
    root.append_child("s:Header");
    root.append_child("s:Body").append_child("wsmid:Identify");
    return Serialized(document);
}

QByteArray WsManRequest::Enumerate(const QString& to, const QString& className)
{
    Envelope envelope;
    envelope.Addressing(to, className, kEnumerateAction);
    pugi::xml_node enumerate = envelope.Body().append_child("n:Enumerate");
    enumerate.append_child("w:OptimizeEnumeration");
    Envelope::Text(enumerate, "w:MaxElements", std::to_string(kMaxElements));
    return envelope.Bytes();
}

QByteArray WsManRequest::Pull(const QString& to, const QString& className, const QString& context)
{
    Envelope envelope;
    envelope.Addressing(to, className, kPullAction);
    pugi::xml_node pull = envelope.Body().append_child("n:Pull");
    Envelope::Text(pull, "n:EnumerationContext", Utf8(context));
    Envelope::Text(pull, "n:MaxElements", std::to_string(kMaxElements));
    return envelope.Bytes();
}

QByteArray WsManRequest::Release(const QString& to, const QString& className, const QString& context)
{
    Envelope envelope;
    envelope.Addressing(to, className, kReleaseAction);
    Envelope::Text(envelope.Body().append_child("n:Release"), "n:EnumerationContext", Utf8(context));
    return envelope.Bytes();
}
