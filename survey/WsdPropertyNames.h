#pragma once

#include <QString>
#include <QUuid>

// The short names of the published device, PnP-X, Function Discovery and
// network-resource property keys, as the device dump writes them.
class WsdPropertyNames {
public:
    static constexpr int kKnownKeyCount = 66;

    // The short name of a known key, else "<format id>-<property id>" with
    // the format id in registry form and the property id in 8 hex digits.
    static QString NameOf(const QUuid& formatId, quint32 propertyId);
    // "{656A3BB3-ECC0-43FD-8477-4AE0404A96CD}": braces, upper case.
    static QString RegistryForm(const QUuid& id);
};
