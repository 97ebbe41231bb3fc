#pragma once

#include "survey/platform/DeviceDiscoveryProbe.h"

#include <QStringList>

// Writes what a device search reports as dump lines, in the order the
// discovery notifications arrive: each device as it is added, then the
// final enumeration of every instance when the search completes.
class CFDNotificationCallback {
public:
    static constexpr quint32 kSearchComplete = 1000;

    void OnAdded(const DeviceDiscoveryProbe::Device& device);
    void OnError(quint32 error);
    void OnSearchComplete(const QList<DeviceDiscoveryProbe::Device>& devices);
    // Feeds a whole search result through the notifications above.
    void Replay(const DeviceDiscoveryProbe::Result& result);

    const QStringList& Lines() const { return m_astrLines; }

private:
    QStringList m_astrLines;
};
