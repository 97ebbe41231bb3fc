#include "WsdPropertyNames.h"

#include <algorithm>
#include <array>

namespace {

struct KnownKey {
    const char* formatId;
    quint32 propertyId;
    const char* name;
};

constexpr const char* kPnpx = "{656a3bb3-ecc0-43fd-8477-4ae0404a96cd}";
constexpr const char* kPnpxDynamic = "{4fc5077e-b686-44be-93e3-86cafe368ccd}";
constexpr const char* kWnet = "{debda43a-37b3-4383-91e7-4498da2995ab}";
constexpr const char* kDevice = "{a45c254e-df1c-4efd-8020-67d146a850e0}";

// The identity, display-category and computer-info keys are left out on
// purpose: the record parser finds them by their registry form. So is
// PNPX_DeviceCategory_Desc, whose name would also match the device-category
// pattern and overwrite the category with its description.
constexpr auto kKnownKeys = std::to_array<KnownKey>({
    {kPnpx, 0x1000, "PNPX_GlobalIdentity"},
    {kPnpx, 0x1001, "PNPX_Types"},
    {kPnpx, 0x1002, "PNPX_Scopes"},
    {kPnpx, 0x1003, "PNPX_XAddrs"},
    {kPnpx, 0x1004, "PNPX_MetadataVersion"},
    {kPnpx, 0x1006, "PNPX_RemoteAddress"},
    {kPnpx, 0x1007, "PNPX_RootProxy"},
    {kPnpx, 0x2000, "PNPX_Manufacturer"},
    {kPnpx, 0x2001, "PNPX_ManufacturerUrl"},
    {kPnpx, 0x2002, "PNPX_ModelName"},
    {kPnpx, 0x2003, "PNPX_ModelNumber"},
    {kPnpx, 0x2004, "PNPX_ModelUrl"},
    {kPnpx, 0x2005, "PNPX_Upc"},
    {kPnpx, 0x2006, "PNPX_PresentationUrl"},
    {kPnpx, 0x3000, "PNPX_FriendlyName"},
    {kPnpx, 0x3001, "PNPX_FirmwareVersion"},
    {kPnpx, 0x3002, "PNPX_SerialNumber"},
    {kPnpx, 0x3004, "PNPX_DeviceCategory"},
    {kPnpx, 0x3006, "PNPX_PhysicalAddress"},
    {kPnpx, 0x3007, "PNPX_NetworkInterfaceLuid"},
    {kPnpx, 0x3008, "PNPX_NetworkInterfaceGuid"},
    {kPnpx, 0x3009, "PNPX_IpAddress"},
    {kPnpx, 0x3010, "PNPX_Category_Desc_NonPlural"},
    {kPnpx, 0x4000, "PNPX_ServiceAddress"},
    {kPnpx, 0x4001, "PNPX_ServiceId"},
    {kPnpx, 0x4002, "PNPX_ServiceTypes"},
    {kPnpx, 0x4004, "PNPX_ServiceControlUrl"},
    {kPnpx, 0x4005, "PNPX_ServiceDescUrl"},
    {kPnpx, 0x4006, "PNPX_ServiceEventSubUrl"},
    {kPnpx, 0x5000, "PNPX_DomainName"},
    {kPnpx, 0x5002, "PNPX_ShareName"},
    {kPnpx, 0x6000, "SSDP_AltLocationInfo"},
    {kPnpx, 0x6001, "SSDP_DevLifeTime"},
    {kPnpx, 0x6002, "SSDP_NetworkInterface"},
    {kPnpx, 0x7000, "PNPX_Removable"},
    {kPnpx, 0x7001, "PNPX_SecureChannel"},
    {kPnpx, 0x7002, "PNPX_CompactSignature"},
    {kPnpx, 0x7003, "PNPX_DeviceCertHash"},
    {kPnpx, 0x7010, "PNPX_IPBusEnumerated"},
    {kPnpxDynamic, 1, "PNPX_Installable"},
    {kPnpxDynamic, 2, "PNPX_Associated"},
    {kPnpxDynamic, 3, "PNPX_CompatibleTypes"},
    {kPnpxDynamic, 4, "PNPX_InstallState"},
    {kWnet, 1, "WNET_Scope"},
    {kWnet, 2, "WNET_Type"},
    {kWnet, 3, "WNET_DisplayType"},
    {kWnet, 4, "WNET_Usage"},
    {kWnet, 5, "WNET_LocalName"},
    {kWnet, 6, "WNET_RemoteName"},
    {kWnet, 7, "WNET_Comment"},
    {kWnet, 8, "WNET_Provider"},
    {kDevice, 2, "Device_DeviceDesc"},
    {kDevice, 3, "Device_HardwareIds"},
    {kDevice, 4, "Device_CompatibleIds"},
    {kDevice, 6, "Device_Service"},
    {kDevice, 9, "Device_Class"},
    {kDevice, 10, "Device_ClassGuid"},
    {kDevice, 11, "Device_Driver"},
    {kDevice, 13, "Device_Manufacturer"},
    {kDevice, 14, "Device_FriendlyName"},
    {kDevice, 15, "Device_LocationInfo"},
    {kDevice, 16, "Device_PDOName"},
    {kDevice, 17, "Device_Capabilities"},
    {"{026e516e-b814-414b-83cd-856d6fef4822}", 2, "DeviceInterface_FriendlyName"},
    {"{28636aa6-953d-11d2-b5d6-00c04fd918d0}", 5, "ComputerName"},
    {"{08c0c253-a154-4746-9005-82de5317148b}", 1, "FunctionInstance"},
});
static_assert(kKnownKeys.size() == WsdPropertyNames::kKnownKeyCount);

} // namespace

QString WsdPropertyNames::NameOf(const QUuid& formatId, quint32 propertyId)
{
    const auto known = std::find_if(kKnownKeys.begin(), kKnownKeys.end(), [&](const KnownKey& k) {
        return k.propertyId == propertyId && QUuid(QLatin1String(k.formatId)) == formatId;
    });
    if (known != kKnownKeys.end())
        return QString::fromLatin1(known->name);
    return RegistryForm(formatId) + QStringLiteral("-%1").arg(propertyId, 8, 16, QLatin1Char('0'));
}

QString WsdPropertyNames::RegistryForm(const QUuid& id)
{
    return id.toString(QUuid::WithBraces).toUpper();
}
