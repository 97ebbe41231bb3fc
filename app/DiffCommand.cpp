#include "DiffCommand.h"

#include "CommandLine.h"
#include "document/CNetDoc.h"
#include "mapbuild/ComparisonReport.h"
#include "mapbuild/MapComparison.h"
#include "mapview/ChangeOverlay.h"
#include "mapview/MapRenderer.h"

#include <functional>
#include <new>

DiffCommand::DiffCommand(QTextStream& out, QTextStream& err)
    : m_out(out)
    , m_err(err)
{
}

int DiffCommand::run(const QStringList& arguments)
{
    // 1 means "the maps differ": running out of memory is trouble, 2.
    try {
        return compare(arguments);
    } catch (const std::bad_alloc&) {
        return fail(QStringLiteral("out of memory"));
    }
}

int DiffCommand::compare(const QStringList& arguments)
{
    Options options;
    if (!parse(arguments, options)) {
        m_err << CommandLine::Usage(QStringLiteral("diff"));
        m_err.flush();
        return kTrouble;
    }
    CNetDoc earlier;
    CNetDoc later;
    if (!Open(earlier, options.earlier) || !Open(later, options.later))
        return kTrouble;
    const MapComparison comparison = MapComparison::Compare(earlier, later);
    m_out << ComparisonReport::Summary(comparison);
    m_out.flush();
    if (!WriteOutputs(options, comparison, later))
        return kTrouble;
    return comparison.IsEmpty() ? kSame : kDifferent;
}

bool DiffCommand::parse(const QStringList& arguments, Options& options)
{
    QStringList files;
    for (qsizetype i = 2; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (!argument.startsWith(QLatin1String("--"))) {
            files.append(argument);
            continue;
        }
        if (i + 1 >= arguments.size())
            return false;
        const QString value = arguments.at(++i);
        if (argument == QLatin1String("--csv"))
            options.csv = value;
        else if (argument == QLatin1String("--json"))
            options.json = value;
        else if (argument == QLatin1String("--png"))
            options.png = value;
        else if (argument == QLatin1String("--svg"))
            options.svg = value;
        else if (argument == QLatin1String("--dpi")) {
            bool ok = false;
            options.dpi = value.toInt(&ok);
            if (!ok || options.dpi < CommandLine::kMinDpi || options.dpi > CommandLine::kMaxDpi)
                return false;
        } else
            return false;
    }
    if (files.size() != 2 || (options.dpi && options.png.isEmpty()))
        return false;
    options.earlier = files.at(0);
    options.later = files.at(1);
    return true;
}

bool DiffCommand::Open(CNetDoc& document, const QString& path)
{
    document.m_bSnapshotsWanted = false;
    QString error;
    if (document.OnOpenDocument(path, &error))
        return true;
    fail(QStringLiteral("cannot open %1: %2").arg(path, error));
    return false;
}

bool DiffCommand::WriteOutputs(const Options& options, const MapComparison& comparison, CNetDoc& later)
{
    const ChangeOverlay overlay(comparison);
    const std::pair<const QString&, std::function<bool()>> outputs[] = {
        {options.csv, [&] { return ComparisonReport::Write(ComparisonReport::Csv(comparison), options.csv); }},
        {options.json,
         [&] {
             return ComparisonReport::Write(ComparisonReport::Json(comparison, options.earlier, options.later),
                                            options.json);
         }},
        {options.png,
         [&] {
             const int dpi = options.dpi ? options.dpi : MapRenderer::kDefaultDpi;
             return MapRenderer::SavePng(MapRenderer::render(later, dpi, &overlay), options.png);
         }},
        {options.svg, [&] { return MapRenderer::SaveSvg(later, options.svg, &overlay); }},
    };
    for (const auto& [path, write] : outputs) {
        if (path.isEmpty() || write())
            continue;
        fail(QStringLiteral("cannot write %1").arg(path));
        return false;
    }
    return true;
}

int DiffCommand::fail(const QString& message)
{
    m_err << "varnex: " << message << '\n';
    m_err.flush();
    return kTrouble;
}
