#pragma once

#include <QString>
#include <QStringList>

// Turns the properties of the inventory classes into the host's information
// lines, operating-system caption, adapter and printer lists and chassis
// code. Properties arrive in the order the class lists them (alphabetical),
// so a value that belongs with a later property waits as a pending text;
// the pending texts live for one class listing and are shared by its
// instances.
class WmiInterpreter {
public:
    struct Results {
        QStringList infoLines;
        QString caption;
        QStringList adapters; // "MAC//name"
        QStringList printers; // "share//caption"
        qint32 chassisCode = 0;
    };

    explicit WmiInterpreter(Results& results);

    // Starts the listing of a class: the pending texts are forgotten.
    void BeginClass(const QString& className);
    void Take(const QString& property, const QString& valueText);

    // "%-5s %-12s  %s": group, label, value.
    static QString InfoLine(const QString& group, const QString& label, const QString& value);
    // Kilobytes to megabytes: the last three digits dropped, "MB" added.
    static QString Megabytes(const QString& kilobytes);
    // Bytes to gigabytes as the inventory writes them, without the "G".
    static QString Gigabytes(const QString& bytes);

private:
    void ComputerSystem(const QString& property, const QString& value);
    void OperatingSystem(const QString& property, const QString& value);
    void Processor(const QString& property, const QString& value);
    void DiskDrive(const QString& property, const QString& value);
    void NetworkAdapter(const QString& property, const QString& value);
    void SystemEnclosure(const QString& property, const QString& value);
    void Printer(const QString& property, const QString& value);

    Results& m_results;
    QString m_strClass;
    QString m_strPending;
    QString m_strPendingClock;
    int m_nDisks = 0;
};
