#include "CommandLine.h"
#include "DesktopApplication.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

#include <cerrno>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Headless sessions (cron, ssh, CI) have no runtime directory; Qt would make
// one and warn about it on every run. The name is predictable in a shared
// directory, so it is used only when it is our own private directory: never
// through a link another user planted.
void ensureRuntimeDirectory()
{
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return;
    const QByteArray path = (QDir::tempPath() + QStringLiteral("/runtime-%1").arg(getuid())).toLocal8Bit();
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return;
    struct stat status {};
    if (::lstat(path.constData(), &status) != 0 || !S_ISDIR(status.st_mode) || status.st_uid != getuid()
        || (status.st_mode & 077) != 0)
        return;
    qputenv("XDG_RUNTIME_DIR", path);
}

QStringList argumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

} // namespace

int main(int argc, char* argv[])
{
    ensureRuntimeDirectory();
    const bool command = CommandLine::handles(argumentsOf(argc, argv));
    // The commands draw and measure text without a window.
    if (command && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QGuiApplication> app;
    if (command)
        app = std::make_unique<QGuiApplication>(argc, argv);
    else
        app = std::make_unique<QApplication>(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tavrin"));
    QCoreApplication::setApplicationName(QStringLiteral("Varnex"));
    // The built-in demo network and the help pages live in a static library.
    Q_INIT_RESOURCE(data);
    if (!command)
        return DesktopApplication().run(QCoreApplication::arguments());
    QTextStream out(stdout);
    QTextStream err(stderr);
    CommandLine commandLine(out, err);
    return commandLine.run(QCoreApplication::arguments());
}
