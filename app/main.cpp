#include "CommandLine.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

#include <unistd.h>

namespace {

// Headless sessions (cron, ssh, CI) have no runtime directory; Qt would make
// one and warn about it on every run.
void ensureRuntimeDirectory()
{
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return;
    const QString path = QDir::tempPath() + QStringLiteral("/runtime-%1").arg(getuid());
    QDir().mkpath(path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", path.toLocal8Bit());
}

} // namespace

int main(int argc, char* argv[])
{
    // The commands draw and measure text without a window.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ensureRuntimeDirectory();
    QGuiApplication app(argc, argv);
    // The built-in demo network lives in the static command library.
    Q_INIT_RESOURCE(data);
    QCoreApplication::setOrganizationName(QStringLiteral("Tavrin"));
    QCoreApplication::setApplicationName(QStringLiteral("Varnex"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    CommandLine commandLine(out, err);
    return commandLine.run(QCoreApplication::arguments());
}
