#pragma once

#include <QByteArray>
#include <QString>

#include <variant>

// One SNMP GET. Implementations must be safe to call from many threads at
// once.
class SnmpProbe {
public:
    struct Null {};
    using Value = std::variant<Null, qint64, QByteArray>;

    struct Result {
        bool answered = false; // false: no answer within the time-out
        quint32 errorStatus = 0; // the agent's error status when answered
        Value value;
    };

    virtual ~SnmpProbe() = default;
    // oid in dotted numeric form, with or without a leading ".".
    virtual Result Get(const QString& agent, const QString& community, const QString& oid,
                       int timeoutMs) const = 0;
};
