#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// What the survey reads from an Internet gateway device's description: its
// texts and the control address of its WAN connection service. Pure: the
// description arrives as bytes.
class UpnpDescription {
public:
    static constexpr qsizetype kMaxBody = 1024 * 1024;

    QString friendlyName;
    QString manufacturer;
    QString modelName;
    QString modelNumber;
    QString presentationUrl;
    QString serviceType; // of the WAN IP (else PPP) connection service; empty without one
    QString controlUrl; // absolute, resolved against the description's address

    // Nothing when the bytes are not a UPnP device description.
    static std::optional<UpnpDescription> Parse(const QByteArray& body, const QString& descriptionUrl);
    // Whether the URL names the same host and port as the description, so a
    // device cannot send the survey's requests elsewhere.
    static bool OnSameHost(const QString& url, const QString& descriptionUrl);
};
