#include "MiniUpnpGateway.h"

#include "survey/platform/linux/BoundedHttpClient.h"
#include "survey/platform/linux/LiveDeviceDiscovery.h"
#include "survey/platform/linux/UpnpDescription.h"

#include <QLoggingCategory>

#include <miniupnpc/miniupnpc.h>
#include <miniupnpc/upnpcommands.h>

#include <memory>

Q_LOGGING_CATEGORY(lcUpnp, "varnex.upnp", QtInfoMsg)

namespace {

constexpr auto kGatewayType = "urn:schemas-upnp-org:device:InternetGatewayDevice:";
constexpr unsigned char kTtl = 2;

struct DevlistDeleter {
    void operator()(UPNPDev* list) const { freeUPNPDevlist(list); }
};

// The description address of the last gateway device that answered.
QString LastGatewayDescription(const UPNPDev* list)
{
    QString found;
    for (const UPNPDev* device = list; device; device = device->pNext)
        if (QString::fromLatin1(device->st).startsWith(QLatin1String(kGatewayType)))
            found = QString::fromLatin1(device->descURL);
    return found;
}

QString ExternalAddress(const UpnpDescription& description, const QString& descriptionUrl)
{
    if (description.controlUrl.isEmpty())
        return {};
    if (!UpnpDescription::OnSameHost(description.controlUrl, descriptionUrl)) {
        qCDebug(lcUpnp) << "control address" << description.controlUrl << "is not the gateway's own";
        return {};
    }
    char address[64] = {};
    const QByteArray control = description.controlUrl.toLatin1();
    const QByteArray type = description.serviceType.toLatin1();
    if (UPNP_GetExternalIPAddress(control.constData(), type.constData(), address) != UPNPCOMMAND_SUCCESS)
        return {};
    return QString::fromLatin1(address).left(15);
}

} // namespace

std::optional<UpnpGatewayProbe::Gateway> MiniUpnpGateway::FindGateway() const
{
    const QByteArray interfaceAddress = LiveDeviceDiscovery::PrimaryAddress().toLatin1();
    int error = 0;
    const std::unique_ptr<UPNPDev, DevlistDeleter> devices(
        upnpDiscover(kSearchMs, interfaceAddress.isEmpty() ? nullptr : interfaceAddress.constData(), nullptr,
                     UPNP_LOCAL_PORT_ANY, 0, kTtl, &error));
    const QString descriptionUrl = LastGatewayDescription(devices.get());
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
    Gateway gateway;
    gateway.friendlyName = description->friendlyName;
    gateway.manufacturer = description->manufacturer;
    gateway.modelName = description->modelName;
    gateway.modelNumber = description->modelNumber;
    gateway.presentationUrl = description->presentationUrl;
    gateway.externalAddress = ExternalAddress(*description, descriptionUrl);
    return gateway;
}
