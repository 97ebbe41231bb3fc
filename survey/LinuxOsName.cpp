#include "LinuxOsName.h"

#include <QStringList>

namespace {

// What os-release says a system without PRETTY_NAME or NAME is called.
const QString kFallbackName = QStringLiteral("Linux");

} // namespace

QString LinuxOsName::Name(const QString& osReleaseText, const QString& kernelRelease)
{
    QString name = DistributionName(osReleaseText);
    const QString kernel = kernelRelease.trimmed();
    if (!kernel.isEmpty())
        name += QStringLiteral(" (kernel %1)").arg(kernel);
    return name;
}

QString LinuxOsName::Value(const QString& osReleaseText, const QString& variable)
{
    const QString prefix = variable + QLatin1Char('=');
    QString value;
    // A later assignment wins, as it would in the shell.
    for (const QString& line : osReleaseText.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(prefix))
            value = Unquoted(trimmed.mid(prefix.size()));
    }
    return value;
}

QString LinuxOsName::DistributionName(const QString& osReleaseText)
{
    const QString pretty = Value(osReleaseText, QStringLiteral("PRETTY_NAME")).trimmed();
    if (!pretty.isEmpty())
        return pretty;
    const QString name = Value(osReleaseText, QStringLiteral("NAME")).trimmed();
    if (name.isEmpty())
        return kFallbackName;
    const QString version = Value(osReleaseText, QStringLiteral("VERSION")).trimmed();
    return version.isEmpty() ? name : name + QLatin1Char(' ') + version;
}

// Values may be bare or in single or double quotes; inside double quotes a
// backslash escapes the next character.
QString LinuxOsName::Unquoted(const QString& raw)
{
    if (raw.size() < 2)
        return raw;
    const QChar quote = raw.front();
    if ((quote != QLatin1Char('"') && quote != QLatin1Char('\'')) || raw.back() != quote)
        return raw;
    const QString inner = raw.mid(1, raw.size() - 2);
    if (quote == QLatin1Char('\''))
        return inner;
    QString text;
    for (qsizetype i = 0; i < inner.size(); ++i) {
        if (inner.at(i) == QLatin1Char('\\') && i + 1 < inner.size())
            ++i;
        text += inner.at(i);
    }
    return text;
}
