#pragma once

#include <QByteArray>
#include <QString>

// The SOAP requests of a WS-Management client reading WMI classes:
// Identify, and Enumerate, Pull and Release of a class's instances.
// The envelopes are built as documents, so whatever text a server hands
// back (an enumeration context) is escaped when it is sent again.
class WsManRequest {
public:
    static constexpr int kMaxElements = 32;
    static constexpr qsizetype kMaxEnvelope = 512000; // the server's usual limit
    static constexpr int kOperationTimeoutS = 20;

    static QByteArray Identify();
    // to: the endpoint URL; className: "Win32_…".
    static QByteArray Enumerate(const QString& to, const QString& className);
    static QByteArray Pull(const QString& to, const QString& className, const QString& context);
    static QByteArray Release(const QString& to, const QString& className, const QString& context);

    static QString ResourceUri(const QString& className);
};
