#include "CFDNotificationCallback.h"

#include "survey/WsdDumpLines.h"

void CFDNotificationCallback::OnAdded(const DeviceDiscoveryProbe::Device& device)
{
    m_astrLines += WsdDumpLines::PropertyLines(device.properties);
    m_astrLines += WsdDumpLines::Added(device.providerInstanceId);
    m_astrLines += WsdDumpLines::AddResult(true);
}

void CFDNotificationCallback::OnError(quint32 error)
{
    m_astrLines += WsdDumpLines::Error(error);
}

void CFDNotificationCallback::OnSearchComplete(const QList<DeviceDiscoveryProbe::Device>& devices)
{
    for (const DeviceDiscoveryProbe::Device& device : devices)
        m_astrLines += WsdDumpLines::PropertyLines(device.properties);
    m_astrLines += WsdDumpLines::InstancesFound(int(devices.size()));
    m_astrLines += WsdDumpLines::SearchComplete(kSearchComplete);
    m_astrLines += WsdDumpLines::Event(kSearchComplete);
}

void CFDNotificationCallback::Replay(const DeviceDiscoveryProbe::Result& result)
{
    if (result.error) {
        OnError(result.error);
        return;
    }
    for (const DeviceDiscoveryProbe::Device& device : result.devices)
        OnAdded(device);
    OnSearchComplete(result.devices);
}
