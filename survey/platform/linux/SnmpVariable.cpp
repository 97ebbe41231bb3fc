#include "SnmpVariable.h"

#include "survey/platform/linux/NetSnmpProbe.h"

#include <QStringList>

#include <algorithm>

QByteArray SnmpVariable::Bytes(const netsnmp_variable_list& variable)
{
    const size_t length = std::min<size_t>(variable.val_len, size_t(NetSnmpProbe::kMaxValue));
    return QByteArray(reinterpret_cast<const char*>(variable.val.string), qsizetype(length));
}

SnmpProbe::Value SnmpVariable::ValueOf(const netsnmp_variable_list& variable)
{
    switch (variable.type) {
    case ASN_INTEGER:
        return qint64(*variable.val.integer);
    case ASN_COUNTER:
    case ASN_GAUGE:
    case ASN_TIMETICKS:
    case ASN_UINTEGER:
        return qint64(quint32(*variable.val.integer));
    case ASN_COUNTER64:
        return qint64((quint64(variable.val.counter64->high) << 32) | variable.val.counter64->low);
    case ASN_OCTET_STR:
    case ASN_BIT_STR:
    case ASN_OPAQUE:
        return variable.val.string ? Bytes(variable) : QByteArray();
    case ASN_OBJECT_ID: {
        QStringList parts;
        for (size_t i = 0; i < variable.val_len / sizeof(oid); ++i)
            parts.append(QString::number(variable.val.objid[i]));
        return parts.join(QLatin1Char('.')).toLatin1();
    }
    case ASN_IPADDRESS:
        if (variable.val_len == 4)
            return QStringLiteral("%1.%2.%3.%4")
                .arg(variable.val.string[0])
                .arg(variable.val.string[1])
                .arg(variable.val.string[2])
                .arg(variable.val.string[3])
                .toLatin1();
        return SnmpProbe::Null{};
    default:
        return SnmpProbe::Null{};
    }
}
