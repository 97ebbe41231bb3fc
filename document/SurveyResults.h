#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// What the last survey of a document learned besides its system objects:
// the domain of every host, the neighbour table and the default gateway.
// Map construction reads it after the survey has ended. While a survey runs,
// the gateway fields are written by the gateway thread under the document's
// lock; everything else is written on the user-interface thread.
struct SurveyResults {
    QStringList DeviceDumpLines;
    // Host name as the survey uses it ("\\PC1" or a resolved device name)
    // to the name of its domain or workgroup.
    QMap<QString, QString> DomainOfHost;
    QStringList OtherDeviceAddresses;
    // Address text (dotted IPv4 or IPv6) to MAC text.
    QMap<QString, QString> ArpTable;
    quint32 LocalGatewayAddress = 0; // network byte order, 0 = none
    QString GatewayHostName;
    QStringList GatewayInfoLines;
    QString GatewayExternalAddressText;
    quint32 GatewayExternalAddress = 0; // network byte order, 0 = none
    quint32 GatewayShape = 2; // router 0, server 1, automatic 2

    void Clear() { *this = SurveyResults{}; }
};
