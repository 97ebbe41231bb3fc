#include "CTh_SNMP.h"

#include <QRegularExpression>

const QString CTh_SNMP::kSysName = QStringLiteral(".1.3.6.1.2.1.1.5.0");
const QString CTh_SNMP::kSysDescr = QStringLiteral(".1.3.6.1.2.1.1.1.0");

CTh_SNMP::CTh_SNMP(const SnmpProbe& probe, const QString& address)
    : m_probe(probe)
    , m_strAddress(address)
{
}

CTh_SNMP::Status CTh_SNMP::Query(const QStringList& communities, const QString& oid,
                                 int timeoutMs, int retries)
{
    if (!IsIdentifier(oid))
        return kBadIdentifier;
    if (communities.isEmpty())
        return kRequestFailed;
    // SNMPv1 and v2c have no session to open: a community "opens" when the
    // agent answers to it, so each is tried in turn.
    SnmpProbe::Result result;
    for (const QString& name : communities) {
        const QString community = name.left(kMaxCommunity);
        for (int attempt = 0; attempt <= retries && !result.answered; ++attempt)
            result = m_probe.Get(m_strAddress, community, oid, timeoutMs);
        if (result.answered)
            break;
    }
    if (!result.answered)
        return kRequestFailed;
    if (result.errorStatus > 0)
        return kAgentError;
    m_strValueText = ValueText(result.value);
    if (oid == kSysName)
        m_strSysName = m_strValueText;
    else if (oid == kSysDescr)
        m_strSysDescr = m_strValueText;
    return kSuccess;
}

bool CTh_SNMP::IsIdentifier(const QString& oid)
{
    static const QRegularExpression pattern(QStringLiteral("^\\.?\\d+(\\.\\d+)*$"));
    return pattern.match(oid).hasMatch();
}

QString CTh_SNMP::ValueText(const SnmpProbe::Value& value)
{
    if (const qint64* number = std::get_if<qint64>(&value))
        return QString::number(*number);
    const QByteArray* bytes = std::get_if<QByteArray>(&value);
    if (!bytes)
        return {};
    const bool printable = std::all_of(bytes->cbegin(), bytes->cend(), [](char c) {
        return quint8(c) >= 0x20 && quint8(c) < 0x7F;
    });
    if (printable)
        return QString::fromLatin1(*bytes);
    QString text;
    for (const char c : *bytes)
        text += QStringLiteral("<0x%1>").arg(quint8(c), 2, 16, QLatin1Char('0'));
    return text;
}
