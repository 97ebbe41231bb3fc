#pragma once

#include <QString>
#include <QStringList>

// The settings that outlive a run: typed values (DWORD or string) in named
// sub-keys below the program's key, kept in an INI file.
//
// Sub-keys are written as in the program's key paths ("NetRes\\COMMUNITY").
// DWORDs are stored as "dword:xxxxxxxx" so that a value keeps its type; a
// string that would read like a typed value is stored behind "sz:".
// Every call opens the file and closes it before returning, so the store may
// be used from any thread. Failures are silent: a read that fails reports
// "not found" and leaves the caller's value alone; a failed write is skipped.
class SettingsStore {
public:
    // Strings are read into a buffer of this many bytes, UTF-16 with the
    // terminating zero: 511 characters fit, 512 do not.
    static constexpr int kReadBufferBytes = 1024;

    // The INI file: $VARNEX_SETTINGS if set, else Tavrin/Varnex.ini in the
    // user's configuration directory.
    static QString defaultFilePath();

    explicit SettingsStore(QString filePath = defaultFilePath());

    bool readDword(const QString& subKey, const QString& name, quint32& value) const;
    bool readString(const QString& subKey, const QString& name, QString& value) const;
    void writeDword(const QString& subKey, const QString& name, quint32 value);
    void writeString(const QString& subKey, const QString& name, const QString& value);
    void deleteKey(const QString& subKey);

    // A DWORD "COUNT" and strings "0" .. COUNT-1; reading stops at the first
    // missing entry. Entries come back in stored order.
    QStringList readCountedList(const QString& subKey) const;
    // Deletes the key first, so no entry of a longer earlier list survives.
    void writeCountedList(const QString& subKey, const QStringList& entries);
    // Strings "0", "1", ... up to the first missing index.
    QStringList readUncountedList(const QString& subKey) const;
    void writeUncountedList(const QString& subKey, const QStringList& entries);

    const QString& filePath() const { return m_filePath; }

private:
    QString m_filePath;
};
