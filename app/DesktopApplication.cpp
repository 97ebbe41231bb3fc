#include "DesktopApplication.h"

#include "CommandLine.h"
#include "InterruptNotifier.h"

#include "document/CNetDoc.h"
#include "document/SnapshotDirectory.h"
#include "shell/CMainFrame.h"
#include "shell/PrinterPage.h"
#include "shell/SettingsStore.h"
#include "survey/SurveySettings.h"
#include "shell/NetworkSelection.h"

#include "shell/QtTranslations.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QFileInfo>
#include <QTextStream>

bool DesktopApplication::parse(const QStringList& arguments, Options& options)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        if (argument == QLatin1String("--network") && hasValue) {
            options.network = arguments.at(++i);
        } else if (argument == QLatin1String("--print") && hasValue) {
            options.print = true;
            options.file = arguments.at(++i);
        } else if (argument == QLatin1String("--print-list-to") && i + 2 < arguments.size()) {
            options.print = true;
            options.list = true;
            options.printer = arguments.at(++i);
            options.file = arguments.at(++i);
        } else if (argument == QLatin1String("--print-to") && i + 2 < arguments.size()) {
            options.print = true;
            options.printer = arguments.at(++i);
            options.file = arguments.at(++i);
        } else if (argument == QLatin1String("--landscape")) {
            options.page.landscape = true;
        } else if (argument == QLatin1String("--paper") && hasValue) {
            const QString paper = arguments.at(++i);
            const std::pair<const char*, QPageSize::PageSizeId> papers[] = {
                {"A4", QPageSize::A4}, {"A3", QPageSize::A3}, {"Letter", QPageSize::Letter}};
            for (const auto& [name, id] : papers)
                if (paper.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                    options.page.paper = id;
            if (!options.page.paper)
                return false;
        } else if (IsMapFileName(argument) && options.file.isEmpty()) {
            options.file = argument;
        } else {
            return false;
        }
    }
    // The sheet is chosen for printing only.
    return options.print || (!options.page.landscape && !options.page.paper);
}

bool DesktopApplication::IsMapFileName(const QString& argument)
{
    // A word that is neither a map's name nor an existing file is a
    // mistyped sub-command, not a map to open.
    if (argument.startsWith(QLatin1Char('-')))
        return false;
    return argument.endsWith(QLatin1String(".vxnj"), Qt::CaseInsensitive)
        || argument.endsWith(QLatin1String(".vxn"), Qt::CaseInsensitive) || QFileInfo(argument).isFile();
}

bool DesktopApplication::IsValid(const QStringList& arguments)
{
    Options options;
    return parse(arguments, options);
}

int DesktopApplication::run(const QStringList& arguments)
{
    Options options;
    if (!parse(arguments, options)) {
        QTextStream(stderr) << CommandLine::Usage();
        return 2;
    }
    CNetDoc::setPrinterPageSource(&PrinterPage::defaultPrinterPage);
    // Every window, the map windows inside the frame too, shows the program's
    // icon; the desktop entry names the program to the window manager.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/varnex.svg")));
    QGuiApplication::setDesktopFileName(QStringLiteral("varnex"));
    QtTranslations::InstallJapanese(*QCoreApplication::instance());
    if (options.print)
        return print(options);
    NetworkChoice::Opened opened = NetworkChoice::Open(options.network);
    if (!opened.network)
        return fail(opened.error);
    NetworkSelection network(std::move(opened));
    SurveySettings settings;
    const SettingsStore store;
    settings.LoadAtStart(store);
    settings.LoadProvisionedAccount(store);
    settings.WmiAvailable = network.LocalMachine().WmiCapable();
    // Ctrl+C or SIGTERM ends the application the orderly way, so the maps'
    // edit snapshots (copies of the whole map) are removed with them; from
    // before the first map is opened.
    InterruptNotifier interrupt;
    QObject::connect(&interrupt, &InterruptNotifier::interrupted, qApp, &QCoreApplication::quit);
    // What a killed run of the program could not remove.
    SnapshotDirectory::RemoveLeftovers();
    CMainFrame frame(network, settings);
    frame.SetNetworkSelection(&network);
    if (options.file.isEmpty() || !frame.OpenFile(options.file))
        frame.NewDocument();
    frame.show();
    return QApplication::exec();
}

int DesktopApplication::print(const Options& options)
{
    QString error;
    const bool printed = options.list ? CMainFrame::PrintListFile(options.file, options.printer, options.page, &error)
                                      : CMainFrame::PrintFile(options.file, options.printer, options.page, &error);
    if (!printed)
        return fail(error);
    return 0;
}

int DesktopApplication::fail(const QString& message)
{
    QTextStream err(stderr);
    err << "varnex: " << message << '\n';
    return 1;
}
