#include "WmiInventoryStep.h"

#include "survey/SystemErrorText.h"

#include <QLocale>

namespace {

constexpr int kNameWidth = 32;
constexpr int kClassPrefix = 6; // "Win32_"
constexpr qsizetype kAccountStrings = 3;

QString Joined(const QStringList& parts)
{
    return parts.join(QStringLiteral("  "));
}

} // namespace

const QStringList WmiInventoryStep::kClasses = {
    QStringLiteral("Win32_ComputerSystem"),    QStringLiteral("Win32_OperatingSystem"),
    QStringLiteral("Win32_Processor"),         QStringLiteral("Win32_DiskDrive"),
    QStringLiteral("Win32_NetworkAdapter"),    QStringLiteral("Win32_SystemEnclosure"),
    QStringLiteral("Win32_Printer"),           QStringLiteral("Win32_Product"),
    QStringLiteral("Win32_QuickFixEngineering"), QStringLiteral("Win32_NetworkLoginProfile"),
};

bool WmiInventoryStep::Run(const WmiProbe& probe, const Inputs& inputs, Outputs& outputs)
{
    if (!inputs.inMapMode())
        return false;
    const WmiProbe::Connection connection = probe.Connect(inputs.host, Identity(inputs));
    if (connection.hresult || !connection.session) {
        if (inputs.showFailures)
            outputs.results.infoLines << ConnectFailure(connection);
        return false;
    }
    outputs = Outputs();
    for (qsizetype i = 0; i < kClasses.size(); ++i) {
        if (i > 0)
            outputs.listing.append(QStringLiteral("end end"));
        outputs.listing.append(kClasses.at(i).mid(kClassPrefix));
        if (!inputs.inMapMode())
            return false;
        if (ListClass(*connection.session, kClasses.at(i), inputs, outputs) == kServerTooBusy)
            break;
    }
    return true;
}

std::optional<WmiProbe::Credentials> WmiInventoryStep::Identity(const Inputs& inputs)
{
    if (inputs.credentialMode == 0 || inputs.account.size() != kAccountStrings)
        return std::nullopt;
    // Kept whole: the transport has no fixed-size buffers, and a cut
    // password would only be a wrong one.
    const QString domain = inputs.credentialMode == 1 ? inputs.account.at(0)
                                                      : inputs.host.mid(inputs.host.startsWith(QLatin1String("\\\\")) ? 2 : 0);
    return WmiProbe::Credentials{domain, inputs.account.at(1), inputs.account.at(2)};
}

quint32 WmiInventoryStep::ListClass(const WmiSession& session, const QString& className, const Inputs& inputs,
                                    Outputs& outputs)
{
    const WmiSession::Enumeration enumeration = session.Instances(className);
    if (enumeration.hresult) {
        if (inputs.showFailures) {
            const QString line = EnumerationFailure(enumeration.hresult);
            QStringList& lines = outputs.results.infoLines;
            if (lines.isEmpty() || lines.last().compare(line, Qt::CaseInsensitive) != 0)
                lines.append(line);
        }
        return enumeration.hresult;
    }
    if (!inputs.inMapMode())
        return 0;
    WmiInterpreter interpreter(outputs.results);
    interpreter.BeginClass(className);
    QStringList names;
    for (const WmiSession::Instance& instance : enumeration.instances) {
        if (names.isEmpty())
            for (const WmiSession::Property& property : instance.properties)
                names.append(property.name);
        for (const QString& name : std::as_const(names)) {
            WmiSession::Value value = WmiSession::Empty{};
            for (const WmiSession::Property& property : instance.properties)
                if (property.name == name) {
                    value = property.value;
                    break;
                }
            const QString text = ValueText(value);
            interpreter.Take(name, text);
            outputs.listing.append(name.leftJustified(kNameWidth) + QLatin1Char('\t') + text);
        }
    }
    return 0;
}

QString WmiInventoryStep::ValueText(const WmiSession::Value& value)
{
    return std::visit(
        [](const auto& v) -> QString {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, WmiSession::Empty>)
                return QStringLiteral("EMPTY");
            else if constexpr (std::is_same_v<T, WmiSession::Null>)
                return QStringLiteral("NULL");
            else if constexpr (std::is_same_v<T, qint64>)
                return QString::number(v);
            else if constexpr (std::is_same_v<T, double>)
                return QString::asprintf("%f", v);
            else if constexpr (std::is_same_v<T, bool>)
                return v ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
            else if constexpr (std::is_same_v<T, QString>)
                return v;
            else if constexpr (std::is_same_v<T, QDateTime>)
                return QLocale().toString(v.toLocalTime(), QLocale::LongFormat);
            else if constexpr (std::is_same_v<T, QList<qint32>>) {
                QStringList parts;
                for (const qint32 element : v)
                    parts.append(QString::number(element));
                return Joined(parts);
            } else
                return Joined(v);
        },
        value);
}

QString WmiInventoryStep::EnumerationFailure(quint32 hresult)
{
    const QString text = hresult == kServerTooBusy ? QStringLiteral("認証設定が必要です。")
                                                   : SystemErrorText::Text(hresult).trimmed();
    if (text.isEmpty())
        return QStringLiteral("EnumWbem Cause 0x%1").arg(hresult, 0, 16);
    return QStringLiteral("RPCは") + text;
}

QStringList WmiInventoryStep::ConnectFailure(const WmiProbe::Connection& connection)
{
    const QString call = connection.inSecurityStep ? QStringLiteral("ProxyBlanket") : QStringLiteral("ServerConnect");
    const QString text = SystemErrorText::Text(connection.hresult).trimmed();
    if (text.isEmpty())
        return {call + QStringLiteral(" Cause 0x%1").arg(connection.hresult, 0, 16)};
    return {call + QStringLiteral("は"), text};
}
