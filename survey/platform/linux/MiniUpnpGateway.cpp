#include "MiniUpnpGateway.h"

#include "survey/LocalNetworkFacts.h"
#include "survey/platform/linux/BoundedHttpClient.h"
#include "survey/platform/linux/LiveDeviceDiscovery.h"
#include "survey/platform/linux/NetlinkLocalNetwork.h"
#include "survey/platform/linux/UpnpDescription.h"

#include <QLoggingCategory>
#include <QUrl>

#include <miniupnpc/miniupnpc.h>

#include <memory>

Q_LOGGING_CATEGORY(lcUpnp, "varnex.upnp", QtInfoMsg)

namespace {

constexpr auto kGatewayType = "urn:schemas-upnp-org:device:InternetGatewayDevice:";
constexpr unsigned char kTtl = 2;

struct DevlistDeleter {
    void operator()(UPNPDev* list) const { freeUPNPDevlist(list); }
};

// The description address of the last gateway device that answered from
// the default gateway's own address: anything on the link can answer the
// search, and the survey asks only its gateway.
QString GatewayDescription(const UPNPDev* list, const QString& gateway)
{
    QString found;
    for (const UPNPDev* device = list; device; device = device->pNext) {
        const QString url = QString::fromLatin1(device->descURL);
        const QUrl parsed(url);
        if (QString::fromLatin1(device->st).startsWith(QLatin1String(kGatewayType)) && parsed.isValid()
            && parsed.scheme() == QLatin1String("http") && parsed.userInfo().isEmpty() && parsed.host() == gateway)
            found = url;
    }
    return found;
}

QString ExternalAddress(const UpnpDescription& description, const QString& descriptionUrl)
{
    if (description.controlUrl.isEmpty() || !UpnpDescription::IsConnectionServiceType(description.serviceType))
        return {};
    if (!UpnpDescription::OnSameHost(description.controlUrl, descriptionUrl)) {
        qCDebug(lcUpnp) << "control address" << description.controlUrl << "is not the gateway's own";
        return {};
    }
    const QByteArray action = "SOAPAction: \"" + description.serviceType.toLatin1() + "#GetExternalIPAddress\"";
    const BoundedHttpClient::Response response =
        BoundedHttpClient::Post(description.controlUrl, UpnpDescription::ExternalAddressRequest(description.serviceType),
                                {"Content-Type: text/xml; charset=\"utf-8\"", action}, {});
    if (!response.ok) {
        qCDebug(lcUpnp) << "GetExternalIPAddress:" << response.error;
        return {};
    }
    return UpnpDescription::ExternalAddress(response.body).value_or(QString());
}

} // namespace

std::optional<UpnpGatewayProbe::Gateway> MiniUpnpGateway::FindGateway() const
{
    const QString gateway =
        LocalNetworkFacts::AddressText(LocalNetworkFacts::LocalGateway(NetlinkLocalNetwork().Adapters()));
    const QByteArray interfaceAddress = LiveDeviceDiscovery::PrimaryAddress().toLatin1();
    int error = 0;
    const std::unique_ptr<UPNPDev, DevlistDeleter> devices(
        upnpDiscover(kSearchMs, interfaceAddress.isEmpty() ? nullptr : interfaceAddress.constData(), nullptr,
                     UPNP_LOCAL_PORT_ANY, 0, kTtl, &error));
    const QString descriptionUrl = GatewayDescription(devices.get(), gateway);
    if (descriptionUrl.isEmpty())
        return std::nullopt;
    BoundedHttpClient::Limits limits;
    limits.maxBody = UpnpDescription::kMaxBody;
    const BoundedHttpClient::Response response = BoundedHttpClient::Get(descriptionUrl, limits);
    if (!response.ok) {
        qCDebug(lcUpnp) << "description" << descriptionUrl << ":" << response.error;
        return Gateway{};
    }
    const std::optional<UpnpDescription> description = UpnpDescription::Parse(response.body, descriptionUrl);
    if (!description)
        return Gateway{};
    Gateway found;
    found.friendlyName = description->friendlyName;
    found.manufacturer = description->manufacturer;
    found.modelName = description->modelName;
    found.modelNumber = description->modelNumber;
    found.presentationUrl = description->presentationUrl;
    found.externalAddress = ExternalAddress(*description, descriptionUrl);
    return found;
}
