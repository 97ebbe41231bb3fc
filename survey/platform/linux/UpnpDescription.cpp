#include "UpnpDescription.h"

#include "survey/platform/linux/XmlNames.h"

#include <QRegularExpression>
#include <QUrl>

#include <pugixml.hpp>

#include <vector>

namespace {

constexpr std::string_view kDevice = "urn:schemas-upnp-org:device-1-0";
constexpr std::string_view kSoap11 = "http://schemas.xmlsoap.org/soap/envelope/";
constexpr auto kIpConnection = "urn:schemas-upnp-org:service:WANIPConnection:";
constexpr auto kPppConnection = "urn:schemas-upnp-org:service:WANPPPConnection:";
// Gateways nest three devices deep; a description nested deeper than this
// is not one.
constexpr size_t kMaxDevices = 256;
constexpr qsizetype kMaxText = 256;

QString TextOf(const pugi::xml_node& parent, std::string_view local)
{
    const std::string_view text = XmlNames::Text(XmlNames::Child(parent, kDevice, local));
    return QString::fromUtf8(text.data(), qsizetype(text.size())).left(kMaxText);
}

struct Service {
    QString type;
    QString control;
};

// The first WAN IP connection service of any device, else the first PPP one.
std::optional<Service> ConnectionService(const pugi::xml_node& root)
{
    std::optional<Service> ppp;
    std::vector<pugi::xml_node> pending{root};
    for (size_t visited = 0; !pending.empty() && visited < kMaxDevices; ++visited) {
        const pugi::xml_node device = pending.back();
        pending.pop_back();
        const pugi::xml_node services = XmlNames::Child(device, kDevice, "serviceList");
        for (pugi::xml_node service = services.first_child(); service; service = service.next_sibling()) {
            if (!XmlNames::Is(service, kDevice, "service"))
                continue;
            const QString type = TextOf(service, "serviceType");
            const Service found{type, TextOf(service, "controlURL")};
            if (type.startsWith(QLatin1String(kIpConnection)))
                return found;
            if (!ppp && type.startsWith(QLatin1String(kPppConnection)))
                ppp = found;
        }
        const pugi::xml_node children = XmlNames::Child(device, kDevice, "deviceList");
        for (pugi::xml_node child = children.last_child(); child; child = child.previous_sibling())
            if (XmlNames::Is(child, kDevice, "device") && pending.size() < kMaxDevices)
                pending.push_back(child);
    }
    return ppp;
}

} // namespace

std::optional<UpnpDescription> UpnpDescription::Parse(const QByteArray& body, const QString& descriptionUrl)
{
    pugi::xml_document document;
    if (!XmlNames::Load(document, body, kMaxBody))
        return std::nullopt;
    const pugi::xml_node root = document.document_element();
    if (!XmlNames::Is(root, kDevice, "root"))
        return std::nullopt;
    const pugi::xml_node device = XmlNames::Child(root, kDevice, "device");
    if (!device)
        return std::nullopt;
    UpnpDescription description;
    description.friendlyName = TextOf(device, "friendlyName");
    description.manufacturer = TextOf(device, "manufacturer");
    description.modelName = TextOf(device, "modelName");
    description.modelNumber = TextOf(device, "modelNumber");
    description.presentationUrl = TextOf(device, "presentationURL");
    const QString base = TextOf(root, "URLBase");
    const QUrl baseUrl(base.isEmpty() ? descriptionUrl : base);
    if (const std::optional<Service> service = ConnectionService(device)) {
        description.serviceType = service->type;
        description.controlUrl = baseUrl.resolved(QUrl(service->control)).toString();
    }
    return description;
}

bool UpnpDescription::OnSameHost(const QString& url, const QString& descriptionUrl)
{
    const QUrl target(url);
    const QUrl origin(descriptionUrl);
    // User information would be read as the host by other URL parsers.
    return target.isValid() && target.scheme() == QLatin1String("http") && !target.host().isEmpty()
        && target.userInfo().isEmpty() && origin.userInfo().isEmpty() && target.host() == origin.host()
        && target.port(80) == origin.port(80);
}

QByteArray UpnpDescription::ExternalAddressRequest(const QString& serviceType)
{
    return "<?xml version=\"1.0\"?><s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\""
           " s:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"><s:Body><u:GetExternalIPAddress"
           " xmlns:u=\""
        + serviceType.toLatin1() + "\"></u:GetExternalIPAddress></s:Body></s:Envelope>";
}

std::optional<QString> UpnpDescription::ExternalAddress(const QByteArray& soapResponse)
{
    pugi::xml_document document;
    if (!XmlNames::Load(document, soapResponse, kMaxBody))
        return std::nullopt;
    const pugi::xml_node envelope = document.document_element();
    if (!XmlNames::Is(envelope, kSoap11, "Envelope"))
        return std::nullopt;
    const pugi::xml_node body = XmlNames::Child(envelope, kSoap11, "Body");
    for (pugi::xml_node answer = body.first_child(); answer; answer = answer.next_sibling()) {
        if (XmlNames::LocalName(answer) != "GetExternalIPAddressResponse")
            continue;
        for (pugi::xml_node value = answer.first_child(); value; value = value.next_sibling()) {
            if (XmlNames::LocalName(value) != "NewExternalIPAddress")
                continue;
            const std::string_view text = XmlNames::Text(value);
            const QString address = QString::fromUtf8(text.data(), qsizetype(text.size()));
            static const QRegularExpression dotted(QStringLiteral("^(\\d{1,3}\\.){3}\\d{1,3}$"));
            if (!address.isEmpty() && !dotted.match(address).hasMatch())
                return std::nullopt;
            return address;
        }
    }
    return std::nullopt;
}

bool UpnpDescription::IsConnectionServiceType(const QString& serviceType)
{
    static const QRegularExpression type(
        QStringLiteral("^urn:schemas-upnp-org:service:WAN(IP|PPP)Connection:\\d{1,3}$"));
    return type.match(serviceType).hasMatch();
}
