#include "WsdMessage.h"

#include "XmlNames.h"

#include <QRegularExpression>
#include <QUuid>

#include <pugixml.hpp>

namespace {

constexpr auto kDiscoveryTo = "urn:schemas-xmlsoap-org:ws:2005:04:discovery";
constexpr auto kActionBase = "http://schemas.xmlsoap.org/ws/2005/04/discovery/";
constexpr auto kTransferGet = "http://schemas.xmlsoap.org/ws/2004/09/transfer/Get";
constexpr auto kAnonymous = "http://schemas.xmlsoap.org/ws/2004/08/addressing/role/anonymous";
// More matches than this in one datagram is not a device talking.
constexpr int kMaxMatches = 64;

QString FromView(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QStringList Words(std::string_view text)
{
    return FromView(text).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

WsdMessage::Kind KindOf(std::string_view action, std::string_view bodyElement)
{
    const std::string_view base = kActionBase;
    if (action.substr(0, base.size()) == base)
        action.remove_prefix(base.size());
    else
        action = bodyElement;
    if (action == "ProbeMatches")
        return WsdMessage::Kind::ProbeMatch;
    if (action == "ResolveMatches")
        return WsdMessage::Kind::ResolveMatch;
    if (action == "Hello")
        return WsdMessage::Kind::Hello;
    if (action == "Bye")
        return WsdMessage::Kind::Bye;
    return WsdMessage::Kind::Other;
}

WsdMessage::Match MatchOf(const pugi::xml_node& element)
{
    WsdMessage::Match match;
    const pugi::xml_node reference =
        XmlNames::Child(element, XmlNames::kAddressing, "EndpointReference");
    match.endpoint = FromView(XmlNames::Text(XmlNames::Child(reference, XmlNames::kAddressing, "Address")));
    match.types = Words(XmlNames::Text(XmlNames::Child(element, XmlNames::kDiscovery, "Types")));
    match.xaddrs = Words(XmlNames::Text(XmlNames::Child(element, XmlNames::kDiscovery, "XAddrs")));
    return match;
}

} // namespace

QByteArray WsdMessage::Probe(const QString& messageId)
{
    return Envelope(QString::fromLatin1(kDiscoveryTo), QString::fromLatin1(kActionBase) + "Probe",
                    messageId,
                    "<wsd:Probe><wsd:Types>wsdp:Device</wsd:Types></wsd:Probe>");
}

QByteArray WsdMessage::Resolve(const QString& messageId, const QString& endpoint)
{
    return Envelope(QString::fromLatin1(kDiscoveryTo), QString::fromLatin1(kActionBase) + "Resolve",
                    messageId,
                    "<wsd:Resolve><wsa:EndpointReference><wsa:Address>" + Escaped(endpoint).toUtf8()
                        + "</wsa:Address></wsa:EndpointReference></wsd:Resolve>");
}

QByteArray WsdMessage::TransferGet(const QString& messageId, const QString& endpoint)
{
    return Envelope(endpoint, QString::fromLatin1(kTransferGet), messageId, QByteArray());
}

QString WsdMessage::NewMessageId()
{
    return QStringLiteral("urn:uuid:") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

QByteArray WsdMessage::Envelope(const QString& to, const QString& action, const QString& messageId,
                                const QByteArray& body)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
           "<soap:Envelope xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\""
           " xmlns:wsa=\"http://schemas.xmlsoap.org/ws/2004/08/addressing\""
           " xmlns:wsd=\"http://schemas.xmlsoap.org/ws/2005/04/discovery\""
           " xmlns:wsdp=\"http://schemas.xmlsoap.org/ws/2006/02/devprof\">"
           "<soap:Header><wsa:To>"
        + Escaped(to).toUtf8() + "</wsa:To><wsa:Action>" + Escaped(action).toUtf8()
        + "</wsa:Action><wsa:MessageID>" + Escaped(messageId).toUtf8()
        + "</wsa:MessageID><wsa:ReplyTo><wsa:Address>" + kAnonymous
        + "</wsa:Address></wsa:ReplyTo></soap:Header><soap:Body>" + body
        + "</soap:Body></soap:Envelope>";
}

QString WsdMessage::Escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

std::optional<WsdMessage::Parsed> WsdMessage::Parse(const QByteArray& datagram)
{
    pugi::xml_document document;
    if (!XmlNames::Load(document, datagram, kMaxDatagram))
        return std::nullopt;
    const pugi::xml_node envelope = document.document_element();
    if (!XmlNames::Is(envelope, XmlNames::kSoap, "Envelope"))
        return std::nullopt;
    const pugi::xml_node header = XmlNames::Child(envelope, XmlNames::kSoap, "Header");
    const pugi::xml_node body = XmlNames::Child(envelope, XmlNames::kSoap, "Body");
    if (!body)
        return std::nullopt;
    Parsed parsed;
    const pugi::xml_node payload = body.find_child([](const pugi::xml_node& n) {
        return n.type() == pugi::node_element;
    });
    if (payload && XmlNames::NamespaceUri(payload) != XmlNames::kDiscovery)
        return parsed;
    parsed.kind = KindOf(XmlNames::Text(XmlNames::Child(header, XmlNames::kAddressing, "Action")),
                         payload ? XmlNames::LocalName(payload) : std::string_view());
    parsed.relatesTo = FromView(XmlNames::Text(XmlNames::Child(header, XmlNames::kAddressing, "RelatesTo")));
    const char* matchName = parsed.kind == Kind::ProbeMatch ? "ProbeMatch"
        : parsed.kind == Kind::ResolveMatch                 ? "ResolveMatch"
                                                            : nullptr;
    if (!matchName) {
        if (parsed.kind == Kind::Hello || parsed.kind == Kind::Bye)
            parsed.matches.append(MatchOf(payload));
        return parsed;
    }
    for (pugi::xml_node child = payload.first_child(); child && parsed.matches.size() < kMaxMatches;
         child = child.next_sibling())
        if (XmlNames::Is(child, XmlNames::kDiscovery, matchName))
            parsed.matches.append(MatchOf(child));
    return parsed;
}
