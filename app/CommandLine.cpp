#include "CommandLine.h"

#include "document/CNetDoc.h"
#include "DiffCommand.h"
#include "SampleMap.h"
#include "document/DocumentDump.h"
#include "SurveyCommand.h"
#include "mapview/DrawingThreads.h"
#include "mapview/MapRenderer.h"

#include <QJsonDocument>

namespace {

const QStringList kCommands{QStringLiteral("new"), QStringLiteral("sample"), QStringLiteral("dump"),
                            QStringLiteral("convert"), QStringLiteral("render"),
                            QStringLiteral("survey"), QStringLiteral("diff")};

} // namespace

CommandLine::CommandLine(QTextStream& out, QTextStream& err)
    : m_out(out)
    , m_err(err)
{
}

bool CommandLine::handles(const QStringList& arguments)
{
    return arguments.size() > 1 && kCommands.contains(arguments.at(1));
}

int CommandLine::run(const QStringList& arguments)
{
    const QString command = arguments.value(1);
    if (command == QLatin1String("new") && arguments.size() == 3)
        return runNew(arguments.at(2), false);
    if (command == QLatin1String("sample") && arguments.size() == 3)
        return runNew(arguments.at(2), true);
    if (command == QLatin1String("dump") && arguments.size() == 3)
        return runDump(arguments.at(2), false);
    if (command == QLatin1String("dump") && arguments.size() == 4 && arguments.at(2) == QLatin1String("--show-password"))
        return runDump(arguments.at(3), true);
    if (command == QLatin1String("convert") && arguments.size() == 4)
        return runConvert(arguments.at(2), arguments.at(3));
    if (command == QLatin1String("render"))
        return runRender(arguments);
    if (command == QLatin1String("survey"))
        return SurveyCommand(m_out, m_err).run(arguments);
    if (command == QLatin1String("diff"))
        return DiffCommand(m_out, m_err).run(arguments);
    return usage();
}

int CommandLine::usage(const QString& problem)
{
    if (!problem.isEmpty())
        m_err << "varnex: " << problem << '\n';
    m_err << Usage();
    m_err.flush();
    return 2;
}

QString CommandLine::Usage(const QString& command)
{
    const QList<std::pair<const char*, const char*>> lines{
        {nullptr, "usage: varnex [--network live|demo|sim:FILE] [MAP]   start the desktop application\n"},
        {nullptr, "       varnex --print MAP | --print-to PRINTER MAP | --print-list-to PRINTER MAP\n"
                  "              [--landscape] [--paper A4|A3|Letter]\n"},
        {nullptr, "       varnex --help | --version\n"},
        {"new", "       varnex new FILE\n"},
        {"sample", "       varnex sample FILE\n"},
        {"dump", "       varnex dump [--show-password] FILE\n"},
        {"convert", "       varnex convert IN OUT\n"},
        {"render", "       varnex render FILE [--png OUT [--dpi N]] [--svg OUT] [--pdf OUT]\n"},
        {"survey", "       varnex survey [--network live|demo|sim:FILE] --out MAP [--csv FILE] [--png FILE]\n"
                   "                     [--dpi N] [--pause MS] [--community NAME]...\n"
                   "                     [--wmi [--wmi-account FILE] [--wmi-https [--wmi-ca FILE]]]\n"},
        {"diff", "       varnex diff OLD NEW [--csv OUT] [--json OUT] [--png OUT [--dpi N]] [--svg OUT]\n"},
    };
    QString text;
    for (const auto& [name, line] : lines)
        if (command.isEmpty() || (name && command == QLatin1String(name)))
            text += QString::fromUtf8(line);
    if (!command.isEmpty())
        text.replace(0, 7, QStringLiteral("usage: "));
    return text;
}

bool CommandLine::AsksForHelp(const QStringList& arguments)
{
    return arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"));
}

int CommandLine::fail(const QString& message)
{
    m_err << "varnex: " << message << '\n';
    m_err.flush();
    return 1;
}

int CommandLine::runNew(const QString& path, bool sample)
{
    CNetDoc document;
    document.m_bSnapshotsWanted = false;
    document.OnNewDocument();
    if (sample)
        SampleMap::build(document);
    QString error;
    if (!document.OnSaveDocument(path, &error))
        return fail(QStringLiteral("cannot save %1: %2").arg(path, error));
    return 0;
}

int CommandLine::runDump(const QString& path, bool showPassword)
{
    CNetDoc document;
    document.m_bSnapshotsWanted = false;
    QString error;
    if (!document.OnOpenDocument(path, &error))
        return fail(QStringLiteral("cannot open %1: %2").arg(path, error));
    // The map keeps the survey account's password in clear; a listing shows
    // it only when asked to.
    if (!showPassword && !document.m_astrWmiAccount.value(2).isEmpty())
        document.m_astrWmiAccount[2] = QStringLiteral("********");
    if (!DocumentDump::Write(document, m_out))
        return fail(QStringLiteral("cannot write the listing of %1").arg(path));
    return 0;
}

int CommandLine::runConvert(const QString& in, const QString& out)
{
    CNetDoc document;
    document.m_bSnapshotsWanted = false;
    QString error;
    if (!document.OnOpenDocument(in, &error))
        return fail(QStringLiteral("cannot open %1: %2").arg(in, error));
    if (!document.OnSaveDocument(out, &error))
        return fail(QStringLiteral("cannot save %1: %2").arg(out, error));
    return 0;
}

int CommandLine::runRender(const QStringList& arguments)
{
    QString in;
    QString png;
    QString svg;
    QString pdf;
    int dpi = MapRenderer::kDefaultDpi;
    for (qsizetype i = 2; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        if (argument == QLatin1String("--png") && hasValue) {
            png = arguments.at(++i);
        } else if (argument == QLatin1String("--svg") && hasValue) {
            svg = arguments.at(++i);
        } else if (argument == QLatin1String("--pdf") && hasValue) {
            pdf = arguments.at(++i);
        } else if (argument == QLatin1String("--dpi") && hasValue) {
            bool ok = false;
            dpi = arguments.at(++i).toInt(&ok);
            if (!ok || dpi < kMinDpi || dpi > kMaxDpi)
                return usage(QStringLiteral("--dpi takes a number from %1 to %2").arg(kMinDpi).arg(kMaxDpi));
        } else if (in.isEmpty() && !argument.startsWith(QLatin1String("--"))) {
            in = argument;
        } else {
            return usage();
        }
    }
    if (in.isEmpty() || (png.isEmpty() && svg.isEmpty() && pdf.isEmpty()))
        return usage();
    CNetDoc document;
    document.m_bSnapshotsWanted = false;
    QString error;
    if (!document.OnOpenDocument(in, &error))
        return fail(QStringLiteral("cannot open %1: %2").arg(in, error));
    // A picture not made asks why only then: the drawing threads, or else.
    const auto notMade = [&](const QString& picture, const QString& otherwise) {
        const QString refusal = DrawingThreads::Refusal(picture);
        return fail(refusal.isEmpty() ? otherwise : refusal);
    };
    if (!png.isEmpty()) {
        // Refused before any allocation: a smaller picture than asked for
        // would not be what the user wanted.
        if (const int most = MapRenderer::MaxDpi(document); dpi > most)
            return fail(QStringLiteral("the picture of this map at %1 dpi would exceed %2 million pixels; "
                                       "use --dpi %3 or less")
                            .arg(dpi)
                            .arg(MapRenderer::kMaxPixels / 1e6)
                            .arg(most));
        const QImage image = MapRenderer::render(document, dpi);
        if (image.isNull())
            return notMade(png, QStringLiteral("the map is too large to render at %1 dpi").arg(dpi));
        if (!MapRenderer::SavePng(image, png))
            return fail(QStringLiteral("cannot write %1").arg(png));
    }
    if (!svg.isEmpty() && !MapRenderer::SaveSvg(document, svg))
        return notMade(svg, QStringLiteral("cannot write %1").arg(svg));
    if (!pdf.isEmpty() && !MapRenderer::SavePdf(document, pdf))
        return notMade(pdf, QStringLiteral("cannot write %1").arg(pdf));
    return 0;
}
