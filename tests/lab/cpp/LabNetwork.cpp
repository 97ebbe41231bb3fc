#include "LabNetwork.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <unistd.h>

namespace {

constexpr int kUnavailable = 77;
constexpr int kScriptTimeoutMs = 120000;

} // namespace

LabNetwork::LabNetwork()
    : m_prefix(QStringLiteral("vx%1").arg(::getpid() % 100000))
{
    // Short: Samba keeps its sockets in it, and socket paths are limited.
    m_directory = QStringLiteral("/tmp/varnex-lab-") + m_prefix;
    QDir(m_directory).removeRecursively();
    QDir().mkpath(m_directory);
    QProcess up;
    up.start(Script(QStringLiteral("lab-up")), {m_prefix, m_directory});
    up.waitForFinished(kScriptTimeoutMs);
    const QString said = QString::fromUtf8(up.readAllStandardOutput() + up.readAllStandardError()).trimmed();
    m_up = up.exitStatus() == QProcess::NormalExit && up.exitCode() == 0;
    m_unavailable = up.exitStatus() == QProcess::NormalExit && up.exitCode() == kUnavailable;
    if (!m_up)
        m_problem = said.isEmpty() ? QStringLiteral("lab-up did not finish") : said;
}

LabNetwork::~LabNetwork()
{
    QProcess down;
    down.start(Script(QStringLiteral("lab-down")), {m_prefix, m_directory});
    down.waitForFinished(kScriptTimeoutMs);
    QDir(m_directory).removeRecursively();
}

QString LabNetwork::NamespacePath(const QString& ns) const
{
    return QStringLiteral("/var/run/netns/%1-%2").arg(m_prefix, ns);
}

LabNetwork::Run LabNetwork::InSurveyor(const QString& program, const QStringList& arguments,
                                       int timeoutMs) const
{
    // A host name of its own, so the survey knows itself as LABSURV.
    QStringList command{m_prefix, QStringLiteral("surv"), QStringLiteral("unshare"), QStringLiteral("--uts"),
                        QStringLiteral("sh"), QStringLiteral("-c"),
                        QStringLiteral("hostname labsurv && exec \"$0\" \"$@\""), program};
    command += arguments;
    QProcess process;
    process.start(Script(QStringLiteral("lab-run")), command);
    process.waitForFinished(timeoutMs);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

LabNetwork::Run LabNetwork::InNamespace(const QString& ns, const QString& program, const QStringList& arguments,
                                        int timeoutMs) const
{
    QProcess process;
    process.start(Script(QStringLiteral("lab-run")), QStringList{m_prefix, ns, program} + arguments);
    process.waitForFinished(timeoutMs);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QString LabNetwork::Script(const QString& name)
{
    return QStringLiteral(VARNEX_SOURCE_DIR "/tests/lab/") + name;
}
