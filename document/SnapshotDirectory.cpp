#include "SnapshotDirectory.h"
#include "ProcessTag.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kPrefix = QStringLiteral("vx_");

// A private directory, not a link, of this user; a group or world bit left
// by an older program is taken away on the directory itself.
bool IsPrivate(const QByteArray& path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat status {};
    bool ok = ::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == ::getuid();
    if (ok && (status.st_mode & 077) != 0)
        ok = ::fchmod(fd, 0700) == 0;
    ::close(fd);
    return ok;
}

} // namespace

QString SnapshotDirectory::UsableDirectory(const QString& path)
{
    const QByteArray local = QDir::cleanPath(path).toLocal8Bit();
    if (::mkdir(local.constData(), 0700) != 0 && errno != EEXIST)
        return {};
    return IsPrivate(local) ? QDir::cleanPath(path) : QString();
}

QString SnapshotDirectory::Path()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime)) {
        const QString directory = UsableDirectory(runtime + QStringLiteral("/varnex-snapshots"));
        if (!directory.isEmpty())
            return directory;
    }
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty() || !QDir().mkpath(cache + QStringLiteral("/varnex")))
        return {};
    return UsableDirectory(cache + QStringLiteral("/varnex/snapshots"));
}

QString SnapshotDirectory::FileTemplate(const QString& directory)
{
    return FileTemplate(directory, ::getpid());
}

QString SnapshotDirectory::FileTemplate(const QString& directory, pid_t pid)
{
    return directory + QLatin1Char('/') + kPrefix + ProcessTag::ThisMachine() + QLatin1Char('_')
        + QString::number(pid) + QStringLiteral("_XXXXXX");
}

void SnapshotDirectory::RemoveLeftovers()
{
    const QString directory = Path();
    if (directory.isEmpty())
        return;
    const QRegularExpression pattern(QStringLiteral("^%1%2_([0-9]+)_[A-Za-z0-9]+$")
                                         .arg(kPrefix, QRegularExpression::escape(ProcessTag::ThisMachine())));
    const QDir folder(directory);
    for (const QString& name : folder.entryList({kPrefix + QLatin1Char('*')}, QDir::Files | QDir::System)) {
        const QRegularExpressionMatch match = pattern.match(name);
        bool ok = false;
        const pid_t pid = pid_t(match.captured(1).toLongLong(&ok));
        if (match.hasMatch() && ok && pid != ::getpid() && ProcessTag::IsGone(pid))
            ProcessTag::RemoveOwnFile(folder.filePath(name));
    }
}
