#include "SettingsStore.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {

const QString kDwordPrefix = QStringLiteral("dword:");
const QString kStringPrefix = QStringLiteral("sz:");
const QString kCountName = QStringLiteral("COUNT");

QString keyPath(const QString& subKey, const QString& name)
{
    QString path = subKey;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path + QLatin1Char('/') + name;
}

QString groupPath(const QString& subKey)
{
    QString path = subKey;
    return path.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

} // namespace

QString SettingsStore::defaultFilePath()
{
    const QString overridden = qEnvironmentVariable("VARNEX_SETTINGS");
    if (!overridden.isEmpty())
        return overridden;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/Tavrin/Varnex.ini");
}

SettingsStore::SettingsStore(QString filePath)
    : m_filePath(std::move(filePath))
{
}

bool SettingsStore::readDword(const QString& subKey, const QString& name, quint32& value) const
{
    const QSettings settings(m_filePath, QSettings::IniFormat);
    const QVariant stored = settings.value(keyPath(subKey, name));
    if (!stored.isValid())
        return false;
    const QString text = stored.toString();
    if (!text.startsWith(kDwordPrefix))
        return false;
    bool ok = false;
    const uint parsed = text.mid(kDwordPrefix.size()).toUInt(&ok, 16);
    if (!ok)
        return false;
    value = parsed;
    return true;
}

bool SettingsStore::readString(const QString& subKey, const QString& name, QString& value) const
{
    const QSettings settings(m_filePath, QSettings::IniFormat);
    const QVariant stored = settings.value(keyPath(subKey, name));
    if (!stored.isValid())
        return false;
    QString text = stored.toString();
    if (text.startsWith(kDwordPrefix))
        return false;
    if (text.startsWith(kStringPrefix))
        text.remove(0, kStringPrefix.size());
    if ((text.size() + 1) * 2 > kReadBufferBytes)
        return false;
    value = text;
    return true;
}

void SettingsStore::writeDword(const QString& subKey, const QString& name, quint32 value)
{
    QSettings settings(m_filePath, QSettings::IniFormat);
    settings.setValue(keyPath(subKey, name),
                      kDwordPrefix + QStringLiteral("%1").arg(value, 8, 16, QLatin1Char('0')));
}

void SettingsStore::writeString(const QString& subKey, const QString& name, const QString& value)
{
    QSettings settings(m_filePath, QSettings::IniFormat);
    const bool looksTyped = value.startsWith(kDwordPrefix) || value.startsWith(kStringPrefix);
    settings.setValue(keyPath(subKey, name), looksTyped ? kStringPrefix + value : value);
}

void SettingsStore::deleteKey(const QString& subKey)
{
    QSettings settings(m_filePath, QSettings::IniFormat);
    settings.remove(groupPath(subKey));
}

QStringList SettingsStore::readCountedList(const QString& subKey) const
{
    QStringList entries;
    quint32 count = 0;
    if (!readDword(subKey, kCountName, count))
        return entries;
    for (quint32 i = 0; i < count; ++i) {
        QString entry;
        if (!readString(subKey, QString::number(i), entry))
            break;
        entries.append(entry);
    }
    return entries;
}

void SettingsStore::writeCountedList(const QString& subKey, const QStringList& entries)
{
    deleteKey(subKey);
    if (entries.isEmpty())
        return;
    writeDword(subKey, kCountName, quint32(entries.size()));
    for (qsizetype i = 0; i < entries.size(); ++i)
        writeString(subKey, QString::number(i), entries.at(i));
}

QStringList SettingsStore::readUncountedList(const QString& subKey) const
{
    QStringList entries;
    for (int i = 0;; ++i) {
        QString entry;
        if (!readString(subKey, QString::number(i), entry))
            return entries;
        entries.append(entry);
    }
}

void SettingsStore::writeUncountedList(const QString& subKey, const QStringList& entries)
{
    deleteKey(subKey);
    for (qsizetype i = 0; i < entries.size(); ++i)
        writeString(subKey, QString::number(i), entries.at(i));
}
