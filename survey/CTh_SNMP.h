#pragma once

#include "survey/platform/SnmpProbe.h"

#include <QString>
#include <QStringList>

// One SNMP GET against an agent, with the value turned into display text.
// The gateway thread asks the router for its name and description this way.
class CTh_SNMP {
public:
    enum Status {
        kSuccess = 0,
        kBadIdentifier = 1,
        kNoBindings = 2,
        kNoConnection = 3,
        kRequestFailed = 4,
        kAgentError = 6,
        kCloseFailed = 8,
    };

    static const QString kSysName; // ".1.3.6.1.2.1.1.5.0"
    static const QString kSysDescr; // ".1.3.6.1.2.1.1.1.0"
    static constexpr int kMaxCommunity = 30;

    CTh_SNMP(const SnmpProbe& probe, const QString& address);

    // SNMP v1 has no sessions to fail, so the first community of the list
    // is the one used; an empty list cannot send anything.
    Status Query(const QStringList& communities, const QString& oid, int timeoutMs, int retries);

    static bool IsIdentifier(const QString& oid);
    // Octet strings with an unprintable byte are written byte by byte.
    static QString ValueText(const SnmpProbe::Value& value);

    QString m_strSysName;
    QString m_strSysDescr;
    QString m_strValueText;

private:
    const SnmpProbe& m_probe;
    QString m_strAddress;
};
