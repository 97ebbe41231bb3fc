#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// What a device says about itself in its WS-Transfer Get response: the
// ThisDevice, ThisModel and Relationship sections of devices profile
// metadata.
class WsdMetadata {
public:
    // Largest response body read; a device description is a few KiB.
    static constexpr qsizetype kMaxBody = 1024 * 1024;

    QString friendlyName;
    QString firmwareVersion;
    QString serialNumber;
    QString manufacturer;
    QString manufacturerUrl;
    QString modelName;
    QString modelNumber;
    QString modelUrl;
    QString presentationUrl;
    QStringList deviceCategories; // pnpx:DeviceCategory, split at blanks
    QString computer; // pub:Computer of the hosted service: "NAME/Domain:X" or "NAME/Workgroup:X"

    // Nothing when the body is not a SOAP envelope with a metadata body.
    static std::optional<WsdMetadata> Parse(const QByteArray& body);
};
