#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include "support/TestFiles.h"

// A cgroup of the v1 pids controller that caps how many tasks (processes
// and threads) a child started in it may have. Removed when it goes.
class PidsCgroup {
public:
    explicit PidsCgroup(const QString& name)
        : m_path(QStringLiteral("/sys/fs/cgroup/pids/%1-%2").arg(name).arg(QCoreApplication::applicationPid()))
    {
        // Only inside a mounted pids hierarchy: elsewhere the directory
        // would be a cgroup of another kind, or none.
        m_usable = QFile::exists(QStringLiteral("/sys/fs/cgroup/pids/cgroup.procs")) && QDir().mkdir(m_path)
            && QFile::exists(m_path + "/pids.max");
        m_made = QDir(m_path).exists();
    }
    ~PidsCgroup()
    {
        if (m_made)
            QDir().rmdir(m_path);
    }
    PidsCgroup(const PidsCgroup&) = delete;
    PidsCgroup& operator=(const PidsCgroup&) = delete;

    bool Usable() const { return m_usable; }
    QString Path() const { return m_path; }
    void SetMax(int tasks) const { TestFiles::writeAll(m_path + "/pids.max", QByteArray::number(tasks) + "\n"); }
    // /bin/sh's arguments that run the program inside the cgroup.
    QStringList Run(const QString& program, const QStringList& arguments) const
    {
        return QStringList{"-c", QStringLiteral("echo $$ > %1/cgroup.procs && exec \"$0\" \"$@\"").arg(m_path), program}
            + arguments;
    }

private:
    QString m_path;
    bool m_usable = false;
    bool m_made = false;
};
