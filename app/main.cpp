#include "CommandLine.h"
#include "DesktopApplication.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

#include <cerrno>
#include <memory>
#include <new>
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

// Help and version need no display and create nothing: answered before any
// application object exists. True when it answered.
bool answerWithoutApplication(const QStringList& arguments, int& exitCode)
{
    QTextStream out(stdout);
    const QString first = arguments.value(1);
    if (first == QLatin1String("--version") || first == QLatin1String("-V"))
        out << "varnex " << VARNEX_VERSION << '\n';
    else if (CommandLine::AsksForHelp(arguments))
        out << CommandLine::Usage(CommandLine::handles(arguments) ? first : QString());
    else
        return false;
    // A full disk or a closed pipe is a failure, as for every other output.
    out.flush();
    exitCode = out.status() == QTextStream::Ok && std::fflush(stdout) == 0 ? 0 : 1;
    return true;
}

// Printing a map needs no window: like the sub-commands it runs headless.
bool printsOnly(const QStringList& arguments)
{
    for (const char* option : {"--print", "--print-to", "--print-list-to"})
        if (arguments.value(1) == QLatin1String(option))
            return true;
    return false;
}

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

static int runVarnex(int argc, char* argv[])
{
    const QStringList arguments = argumentsOf(argc, argv);
    int exitCode = 0;
    if (answerWithoutApplication(arguments, exitCode))
        return exitCode;
    ensureRuntimeDirectory();
    const bool command = CommandLine::handles(arguments) || printsOnly(arguments);
    if (!CommandLine::handles(arguments) && !DesktopApplication::IsValid(arguments)) {
        QTextStream(stderr) << CommandLine::Usage();
        return 2;
    }
    if (!command && !hasDisplay()) {
        QTextStream(stderr) << "varnex: no display to show the desktop application on (DISPLAY is not set); "
                               "see varnex --help for what runs without one\n";
        return 1;
    }
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
    if (!CommandLine::handles(arguments))
        return DesktopApplication().run(QCoreApplication::arguments());
    QTextStream out(stdout);
    QTextStream err(stderr);
    CommandLine commandLine(out, err);
    return commandLine.run(QCoreApplication::arguments());
}

int main(int argc, char* argv[])
{
    // Memory that cannot be had (a limit on the address space, a huge map)
    // ends the run with one line, not an abort.
    try {
        return runVarnex(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fputs("varnex: out of memory\n", stderr);
        return 1;
    }
}
