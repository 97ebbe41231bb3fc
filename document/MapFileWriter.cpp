#include "MapFileWriter.h"
#include "ProcessTag.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
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

} // namespace

bool MapFileWriter::WriteAll(int fd, const QByteArray& bytes)
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

QString MapFileWriter::BesideName(const QString& path, pid_t pid)
{
    const QFileInfo target(path);
    return target.absolutePath() + QStringLiteral("/.") + target.fileName() + QLatin1Char('.') + ProcessTag::ThisMachine()
        + QLatin1Char('.') + QString::number(pid) + kSuffix;
}

void MapFileWriter::SweepLeftovers(const QString& path)
{
    const QFileInfo target(path);
    const QRegularExpression pattern(QStringLiteral("^\\.%1\\.%2\\.([0-9]+)%3$")
                                         .arg(QRegularExpression::escape(target.fileName()),
                                              QRegularExpression::escape(ProcessTag::ThisMachine()),
                                              QRegularExpression::escape(kSuffix)));
    const QDir folder = target.absoluteDir();
    const QStringList candidates = folder.entryList({QLatin1Char('.') + target.fileName() + QStringLiteral(".*")},
                                                    QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : candidates) {
        const QRegularExpressionMatch match = pattern.match(name);
        bool ok = false;
        const pid_t pid = pid_t(match.captured(1).toLongLong(&ok));
        if (match.hasMatch() && ok && pid != ::getpid() && ProcessTag::IsGone(pid))
            ProcessTag::RemoveOwnFile(folder.filePath(name));
    }
}

bool MapFileWriter::Write(const QString& path, const QByteArray& bytes, mode_t newFileMode, QString* error)
{
    const auto produce = [&bytes](int fd, QString&) { return WriteAll(fd, bytes); };
    return Write(path, produce, newFileMode, error);
}

bool MapFileWriter::Write(const QString& path, const Producer& produce, mode_t newFileMode, QString* error)
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
    QString produced;
    bool ok = false;
    try {
        ok = produce(fd, produced) && (!exists || ::fchmod(fd, existing.st_mode & 07777) == 0) && ::fsync(fd) == 0;
    } catch (...) {
        // The map is made while it is written: a failure there leaves nothing.
        ::close(fd);
        ::unlink(beside.constData());
        throw;
    }
    const QString reason = produced.isEmpty() ? SystemError() : produced;
    ok = ::close(fd) == 0 && ok;
    if (ok && ::rename(beside.constData(), finalName.constData()) == 0)
        return true;
    const QString why = ok ? SystemError() : reason;
    ::unlink(beside.constData());
    return failed(why);
}
