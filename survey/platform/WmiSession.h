#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <variant>

// A connection to one host's WMI namespace. Implementations must be safe to
// use from the thread that opened it while other sessions run elsewhere.
class WmiSession {
public:
    struct Empty {};
    struct Null {};
    using Value = std::variant<Empty, Null, qint64, double, bool, QString, QDateTime,
                               QList<qint32>, QStringList>;

    struct Property {
        QString name;
        Value value;
    };

    // The non-system properties of one instance, in the order the class
    // lists them.
    struct Instance {
        QList<Property> properties;
    };

    struct Enumeration {
        quint32 hresult = 0; // 0 when the enumerator could be created
        QList<Instance> instances;
    };

    virtual ~WmiSession() = default;
    virtual Enumeration Instances(const QString& className) const = 0;
};
