#include "ProcessTag.h"

#include <cerrno>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

QString ProcessTag::ThisMachine()
{
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return QStringLiteral("localhost");
    QString machine = QString::fromLocal8Bit(name);
    machine.replace(QLatin1Char('/'), QLatin1Char('_'));
    return machine;
}

bool ProcessTag::IsGone(pid_t pid)
{
    return pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH;
}

void ProcessTag::RemoveOwnFile(const QString& path)
{
    const QByteArray local = path.toLocal8Bit();
    struct stat status {};
    if (::lstat(local.constData(), &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == ::getuid())
        ::unlink(local.constData());
}
