#include "WsManReply.h"

#include "survey/platform/linux/XmlNames.h"

#include <QRegularExpression>
#include <QTimeZone>

#include <charconv>

namespace {

QString TextOf(const pugi::xml_node& element)
{
    return QString::fromUtf8(XmlNames::Text(element));
}

// The first element below root, at any depth, with that local name.
pugi::xml_node Descendant(const pugi::xml_node& root, std::string_view local)
{
    return root.find_node([local](const pugi::xml_node& node) {
        return node.type() == pugi::node_element && XmlNames::LocalName(node) == local;
    });
}

} // namespace

WsManReply WsManReply::Parse(const QByteArray& body)
{
    WsManReply reply;
    pugi::xml_document document;
    if (!XmlNames::Load(document, body, kMaxBody))
        return reply;
    const pugi::xml_node envelope = document.document_element();
    if (!XmlNames::Is(envelope, XmlNames::kSoap, "Envelope"))
        return reply;
    const pugi::xml_node content = XmlNames::Child(envelope, XmlNames::kSoap, "Body");
    if (const pugi::xml_node fault = XmlNames::Child(content, XmlNames::kSoap, "Fault")) {
        ReadFault(fault, reply);
    } else if (XmlNames::Child(content, XmlNames::kIdentity, "IdentifyResponse")) {
        reply.kind = Kind::Identified;
    } else if (const pugi::xml_node enumerated = XmlNames::Child(content, XmlNames::kEnumeration, "EnumerateResponse")) {
        reply.kind = Kind::Enumerated;
        reply.context = TextOf(XmlNames::Child(enumerated, XmlNames::kEnumeration, "EnumerationContext"));
        reply.endOfSequence = bool(XmlNames::Child(enumerated, XmlNames::kWsMan, "EndOfSequence"));
        ReadItems(XmlNames::Child(enumerated, XmlNames::kWsMan, "Items"), reply);
    } else if (const pugi::xml_node pulled = XmlNames::Child(content, XmlNames::kEnumeration, "PullResponse")) {
        reply.kind = Kind::Pulled;
        reply.context = TextOf(XmlNames::Child(pulled, XmlNames::kEnumeration, "EnumerationContext"));
        reply.endOfSequence = bool(XmlNames::Child(pulled, XmlNames::kEnumeration, "EndOfSequence"));
        ReadItems(XmlNames::Child(pulled, XmlNames::kEnumeration, "Items"), reply);
    } else if (XmlNames::Child(content, XmlNames::kEnumeration, "ReleaseResponse")
               || (content && !content.first_child())) {
        reply.kind = Kind::Released;
    }
    if (reply.endOfSequence)
        reply.context.clear();
    return reply;
}

void WsManReply::ReadFault(const pugi::xml_node& fault, WsManReply& reply)
{
    reply.kind = Kind::Fault;
    const pugi::xml_node code = XmlNames::Child(fault, XmlNames::kSoap, "Code");
    const pugi::xml_node subcode =
        XmlNames::Child(XmlNames::Child(code, XmlNames::kSoap, "Subcode"), XmlNames::kSoap, "Value");
    const std::string_view qualified = XmlNames::Text(subcode);
    const std::string_view local = qualified.substr(qualified.find(':') + 1);
    const pugi::xml_node detail = XmlNames::Child(fault, XmlNames::kSoap, "Detail");
    // WMI's own error code says most; the WS-Management code is next.
    if (const pugi::xml_node wmiError = Descendant(detail, "error_Code"))
        reply.faultCode = CodeOf(XmlNames::Text(wmiError));
    if (!reply.faultCode)
        if (const pugi::xml_node wsmanFault = Descendant(detail, "WSManFault"))
            reply.faultCode = CodeOf(wsmanFault.attribute("Code").value());
    reply.timedOut = local == "TimedOut";
    if (!reply.faultCode)
        reply.faultCode = local == "AccessDenied"               ? kAccessDenied
                          : local == "DestinationUnreachable" ? kInvalidClass
                                                               : kWsManFailure;
}

quint32 WsManReply::CodeOf(std::string_view text)
{
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    quint32 code = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), code, base);
    return error == std::errc() && end == text.data() + text.size() ? code : 0;
}

void WsManReply::ReadItems(const pugi::xml_node& items, WsManReply& reply)
{
    for (pugi::xml_node item = items.first_child(); item; item = item.next_sibling())
        if (item.type() == pugi::node_element)
            reply.instances.append(ReadInstance(item));
}

WmiSession::Instance WsManReply::ReadInstance(const pugi::xml_node& element)
{
    QList<QString> names;
    QList<QList<WmiSession::Value>> values;
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element)
            continue;
        const QString name = QString::fromUtf8(XmlNames::LocalName(child));
        // Repeated elements are the parts of one array, always side by side.
        if (names.isEmpty() || names.last() != name) {
            names.append(name);
            values.append(QList<WmiSession::Value>());
        }
        values.last().append(PropertyValue(child));
    }
    WmiSession::Instance instance;
    for (qsizetype i = 0; i < names.size(); ++i)
        instance.properties.append(
            {names.at(i), values.at(i).size() == 1 ? values.at(i).first() : ArrayValue(values.at(i))});
    return instance;
}

WmiSession::Value WsManReply::PropertyValue(const pugi::xml_node& element)
{
    if (XmlNames::Attribute(element, XmlNames::kXsi, "nil") == "true")
        return WmiSession::Null{};
    if (const pugi::xml_node datetime = XmlNames::Child(element, XmlNames::kCim, "Datetime")) {
        const QDateTime when = ParseDatetime(TextOf(datetime));
        if (when.isValid())
            return when;
        return TextOf(datetime);
    }
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_element)
            return TextOf(child); // an interval or an embedded object: its text
    return ScalarValue(QString::fromUtf8(element.text().get()));
}

WmiSession::Value WsManReply::ScalarValue(const QString& text)
{
    // WS-Management sends no types: a boolean is "true"/"false" and a
    // number is its decimal text, which reads back to the same text.
    if (text == QLatin1String("true"))
        return true;
    if (text == QLatin1String("false"))
        return false;
    bool number = false;
    const qint64 value = text.toLongLong(&number);
    if (number && QString::number(value) == text)
        return value;
    return text;
}

WmiSession::Value WsManReply::ArrayValue(const QList<WmiSession::Value>& elements)
{
    QList<qint32> numbers;
    for (const WmiSession::Value& element : elements) {
        const qint64* number = std::get_if<qint64>(&element);
        if (!number || *number != qint32(*number))
            break;
        numbers.append(qint32(*number));
    }
    if (numbers.size() == elements.size())
        return numbers;
    QStringList texts;
    for (const WmiSession::Value& element : elements) {
        if (const QString* text = std::get_if<QString>(&element))
            texts.append(*text);
        else if (const qint64* number = std::get_if<qint64>(&element))
            texts.append(QString::number(*number));
        else if (const bool* flag = std::get_if<bool>(&element))
            texts.append(*flag ? QStringLiteral("true") : QStringLiteral("false"));
        else
            texts.append(QString());
    }
    return texts;
}

QDateTime WsManReply::ParseDatetime(const QString& text)
{
    static const QRegularExpression form(QStringLiteral(
        R"(^(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d)(?:\.(\d{1,9}))?(Z|[+-]\d\d:\d\d)?$)"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return {};
    QDateTime when = QDateTime::fromString(match.captured(1), Qt::ISODate);
    const QString fraction = match.captured(2);
    if (!fraction.isEmpty())
        when = when.addMSecs(fraction.left(3).leftJustified(3, QLatin1Char('0')).toInt());
    const QString zone = match.captured(3);
    if (zone.isEmpty())
        return when; // local time of the host, as WMI keeps it
    const int sign = zone.startsWith(QLatin1Char('-')) ? -1 : 1;
    const int offset = zone == QLatin1String("Z")
        ? 0
        : sign * (zone.mid(1, 2).toInt() * 3600 + zone.mid(4, 2).toInt() * 60);
    when.setTimeZone(QTimeZone(offset));
    return when;
}
