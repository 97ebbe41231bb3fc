#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// The program itself run as a user runs it: what it printed and how it
// ended (-1 when a signal ended it). For tests that know VARNEX_BINARY.
struct VarnexRun {
    int exitCode = -1;
    QString out;
    QString err;

    static VarnexRun Of(const QStringList& arguments)
    {
        QProcess process;
        process.start(QStringLiteral(VARNEX_BINARY), arguments);
        process.waitForFinished(60000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }
};
