#pragma once

#include <QString>
#include <QStringList>

// One lab of real peers in network namespaces, brought up by the lab
// scripts for the life of the object and always torn down.
class LabNetwork {
public:
    LabNetwork();
    ~LabNetwork();
    LabNetwork(const LabNetwork&) = delete;
    LabNetwork& operator=(const LabNetwork&) = delete;

    bool IsUp() const { return m_up; }
    // Why the lab is not up: the scripts' own words.
    const QString& Problem() const { return m_problem; }
    // The scripts said namespaces cannot be made here (not a fault).
    bool Unavailable() const { return m_unavailable; }

    QString Prefix() const { return m_prefix; }
    QString Directory() const { return m_directory; }
    // The path of a namespace for setns().
    QString NamespacePath(const QString& ns) const;

    struct Run {
        int exitCode = -1;
        QString out;
        QString err;
    };
    // Runs a program in one of the lab's namespaces.
    Run InNamespace(const QString& ns, const QString& program, const QStringList& arguments,
                    int timeoutMs = 120000) const;
    // Runs a program in the surveying namespace under the host name labsurv.
    Run InSurveyor(const QString& program, const QStringList& arguments, int timeoutMs = 120000) const;

private:
    static QString Script(const QString& name);

    QString m_prefix;
    QString m_directory;
    QString m_problem;
    bool m_up = false;
    bool m_unavailable = false;
};
