#include "WsManResponder.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

WsManResponder::WsManResponder(const QStringList& switches)
{
    const QString users = m_files.filePath(QStringLiteral("users"));
    const QString ready = m_files.filePath(QStringLiteral("ready"));
    QFile file(users);
    if (!file.open(QIODevice::WriteOnly)) {
        m_problem = QStringLiteral("cannot write %1").arg(users);
        return;
    }
    file.write(QStringLiteral("%1:%2:%3\n").arg(kDomain, kUser, kPassword).toUtf8());
    file.close();
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral("/usr/bin/python3"),
                    QStringList{Directory() + QStringLiteral("/wsman-responder"), QStringLiteral("--listen"),
                                QStringLiteral("127.0.0.1"), QStringLiteral("--port"), QStringLiteral("0"),
                                QStringLiteral("--fixtures"), Directory() + QStringLiteral("/fixtures.json"),
                                QStringLiteral("--users"), users, QStringLiteral("--ready-file"), ready}
                        + switches);
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired() && m_process.state() != QProcess::NotRunning) {
        QFile port(ready);
        if (port.open(QIODevice::ReadOnly)) {
            m_port = quint16(port.readAll().trimmed().toUInt());
            if (m_port)
                return;
        }
        QThread::msleep(20);
    }
    m_problem = QStringLiteral("the responder did not start (exit %1)").arg(m_process.exitCode());
}

WsManResponder::~WsManResponder()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(3000))
            m_process.kill();
        m_process.waitForFinished(3000);
    }
}

QString WsManResponder::Directory()
{
    return QStringLiteral(VARNEX_SOURCE_DIR "/tests/lab/wsman");
}
