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

    // The SOAP request of GetExternalIPAddress for the service type.
    static QByteArray ExternalAddressRequest(const QString& serviceType);
    // NewExternalIPAddress of the answer: a dotted IPv4 address, or empty
    // (a gateway that does not know its address answers empty); nothing
    // when the answer is not one.
    static std::optional<QString> ExternalAddress(const QByteArray& soapResponse);
    // Whether a service type may go into a request header as it is.
    static bool IsConnectionServiceType(const QString& serviceType);
};
