#include "WmiInterpreter.h"

#include <QRegularExpression>

namespace {

constexpr int kGroupWidth = 5;
constexpr int kLabelWidth = 12;
constexpr int kDroppedDigits = 3;

} // namespace

WmiInterpreter::WmiInterpreter(Results& results)
    : m_results(results)
{
}

void WmiInterpreter::BeginClass(const QString& className)
{
    m_strClass = className;
    m_strPending.clear();
    m_strPendingClock.clear();
}

void WmiInterpreter::Take(const QString& property, const QString& value)
{
    if (m_strClass == QLatin1String("Win32_ComputerSystem"))
        ComputerSystem(property, value);
    else if (m_strClass == QLatin1String("Win32_OperatingSystem"))
        OperatingSystem(property, value);
    else if (m_strClass == QLatin1String("Win32_Processor"))
        Processor(property, value);
    else if (m_strClass == QLatin1String("Win32_DiskDrive"))
        DiskDrive(property, value);
    else if (m_strClass == QLatin1String("Win32_NetworkAdapter"))
        NetworkAdapter(property, value);
    else if (m_strClass == QLatin1String("Win32_SystemEnclosure"))
        SystemEnclosure(property, value);
    else if (m_strClass == QLatin1String("Win32_Printer"))
        Printer(property, value);
}

void WmiInterpreter::ComputerSystem(const QString& property, const QString& value)
{
    if (property == QLatin1String("Manufacturer"))
        m_results.infoLines.append(InfoLine(QStringLiteral("Comp"), property, value));
    else if (property == QLatin1String("Model"))
        m_results.infoLines.append(InfoLine(QString(), property, value));
}

void WmiInterpreter::OperatingSystem(const QString& property, const QString& value)
{
    if (property == QLatin1String("FreePhysicalMemory")) {
        m_strPending = Megabytes(value);
    } else if (property == QLatin1String("Name")) {
        m_results.caption = value.section(QLatin1Char('|'), 0, 0);
        m_results.caption.replace(QStringLiteral("Microsoft Windows"), QStringLiteral("Windows"));
    } else if (property == QLatin1String("TotalVisibleMemorySize")) {
        m_results.infoLines.append(InfoLine(QStringLiteral("Mem"), QStringLiteral("TotalMemory"), Megabytes(value)));
        m_results.infoLines.append(InfoLine(QString(), QStringLiteral("FreeMemory"), m_strPending));
        m_strPending.clear();
    } else if (property == QLatin1String("Version")) {
        m_results.caption += QStringLiteral(" Ver") + value;
    }
}

void WmiInterpreter::Processor(const QString& property, const QString& value)
{
    if (property == QLatin1String("Caption")) {
        m_strPending = value;
    } else if (property == QLatin1String("CurrentClockSpeed")) {
        m_strPendingClock = value;
    } else if (property == QLatin1String("Name")) {
        m_results.infoLines.append(InfoLine(QStringLiteral("CPU"), property, value));
        m_results.infoLines.append(InfoLine(QString(), QStringLiteral("Caption"), m_strPending));
        m_results.infoLines.append(InfoLine(QString(), QStringLiteral("ClockSpeed"), m_strPendingClock));
    }
}

void WmiInterpreter::DiskDrive(const QString& property, const QString& value)
{
    if (property == QLatin1String("Model")) {
        m_strPending = value;
    } else if (property == QLatin1String("Size")) {
        // The first disk of the host carries the group.
        const QString group = m_nDisks++ == 0 ? QStringLiteral("HD") : QString();
        m_results.infoLines.append(
            InfoLine(group, QStringLiteral("Model/Size"), m_strPending + QLatin1Char('/') + Gigabytes(value) + QLatin1Char('G')));
    }
}

void WmiInterpreter::NetworkAdapter(const QString& property, const QString& value)
{
    if (property == QLatin1String("MACAddress")) {
        m_strPending = value.isEmpty() ? QString()
                                       : QString(value).replace(QLatin1Char(':'), QLatin1Char('-')) + QStringLiteral("//");
    } else if (property == QLatin1String("Name")) {
        if (!m_strPending.isEmpty() && value.compare(QLatin1String("RAS Async Adapter"), Qt::CaseInsensitive) != 0)
            m_results.adapters.append(m_strPending + value);
        m_strPending.clear();
    }
}

void WmiInterpreter::SystemEnclosure(const QString& property, const QString& value)
{
    if (property != QLatin1String("ChassisTypes"))
        return;
    static const QRegularExpression leading(QStringLiteral("^\\s*([+-]?\\d+)"));
    m_results.chassisCode = leading.match(value).captured(1).toInt();
}

void WmiInterpreter::Printer(const QString& property, const QString& value)
{
    if (property == QLatin1String("Caption"))
        m_strPending = QStringLiteral("//") + value;
    else if (property == QLatin1String("ShareName"))
        m_results.printers.append(value + m_strPending);
}

QString WmiInterpreter::InfoLine(const QString& group, const QString& label, const QString& value)
{
    const QString groupText = group.isEmpty() ? QStringLiteral(" ") : group;
    return groupText.leftJustified(kGroupWidth) + QLatin1Char(' ') + label.leftJustified(kLabelWidth)
        + QStringLiteral("  ") + value;
}

QString WmiInterpreter::Megabytes(const QString& kilobytes)
{
    return kilobytes.left(qMax<qsizetype>(0, kilobytes.size() - kDroppedDigits)) + QStringLiteral("MB");
}

QString WmiInterpreter::Gigabytes(const QString& bytes)
{
    const qsizetype digits = bytes.size();
    if (digits >= 10)
        return bytes.left(digits - 9);
    if (digits == 9)
        return QStringLiteral("0.") + bytes.left(1);
    if (digits == 8)
        return QStringLiteral("0.0") + bytes.left(1);
    return {};
}
