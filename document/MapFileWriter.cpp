#include "MapFileWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kSuffix = QStringLiteral(".vxtmp");

QString SystemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

bool WriteAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

bool ProcessIsGone(pid_t pid)
{
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}

// Process numbers tell only this machine's processes apart: a folder shared
// with others holds their saves too.
QString ThisMachine()
{
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return QStringLiteral("localhost");
    QString machine = QString::fromLocal8Bit(name);
    machine.replace(QLatin1Char('/'), QLatin1Char('_'));
    return machine;
}

} // namespace

QString MapFileWriter::BesideName(const QString& path, pid_t pid)
{
    const QFileInfo target(path);
    return target.absolutePath() + QStringLiteral("/.") + target.fileName() + QLatin1Char('.') + ThisMachine()
        + QLatin1Char('.') + QString::number(pid) + kSuffix;
}

void MapFileWriter::SweepLeftovers(const QString& path)
{
    const QFileInfo target(path);
    const QRegularExpression pattern(QStringLiteral("^\\.%1\\.%2\\.([0-9]+)%3$")
                                         .arg(QRegularExpression::escape(target.fileName()),
                                              QRegularExpression::escape(ThisMachine()),
                                              QRegularExpression::escape(kSuffix)));
    const QDir folder = target.absoluteDir();
    const QStringList candidates = folder.entryList({QLatin1Char('.') + target.fileName() + QStringLiteral(".*")},
                                                    QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : candidates) {
        const QRegularExpressionMatch match = pattern.match(name);
        bool ok = false;
        const pid_t pid = pid_t(match.captured(1).toLongLong(&ok));
        if (!match.hasMatch() || !ok || pid <= 0 || pid == ::getpid() || !ProcessIsGone(pid))
            continue;
        struct stat status {};
        const QByteArray local = folder.filePath(name).toLocal8Bit();
        // Only our own regular files: never through a link.
        if (::lstat(local.constData(), &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == ::getuid())
            ::unlink(local.constData());
    }
}

bool MapFileWriter::Write(const QString& path, const QByteArray& bytes, mode_t newFileMode, QString* error)
{
    const QFileInfo given(path);
    const QString target = given.isSymLink() ? given.symLinkTarget() : path;
    SweepLeftovers(target);
    const QByteArray finalName = target.toLocal8Bit();
    const QByteArray beside = BesideName(target, ::getpid()).toLocal8Bit();
    struct stat existing {};
    const bool exists = ::stat(finalName.constData(), &existing) == 0;
    const auto failed = [&](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (exists && !S_ISREG(existing.st_mode))
        return failed(QStringLiteral("not a regular file"));
    // A file of this process's name is a leftover of an earlier failure.
    ::unlink(beside.constData());
    const int fd = ::open(beside.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, newFileMode);
    if (fd < 0)
        return failed(SystemError());
    // On the disk before it takes the map's name, as a save must be.
    bool ok = WriteAll(fd, bytes) && (!exists || ::fchmod(fd, existing.st_mode & 07777) == 0) && ::fsync(fd) == 0;
    const QString reason = SystemError();
    ok = ::close(fd) == 0 && ok;
    if (ok && ::rename(beside.constData(), finalName.constData()) == 0)
        return true;
    const QString why = ok ? SystemError() : reason;
    ::unlink(beside.constData());
    return failed(why);
}
