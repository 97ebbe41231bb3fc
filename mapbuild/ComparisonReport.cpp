#include "ComparisonReport.h"

#include "mapbuild/CsvFields.h"

#include "objects/AsciiText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace {

const QString kNone = QStringLiteral("(none)");
const QString kArrow = QStringLiteral(" → ");

QString Shown(const QString& value)
{
    return value.isEmpty() ? kNone : AsciiText::printable(value);
}

// The field names a record within its table; the host row's and the
// sets' fields are the table's own words.
QString FieldTitle(const MapComparison::FieldChange& change)
{
    if (change.table == QLatin1String("host"))
        return change.field;
    if (change.table == change.field)
        return change.table;
    return change.table + QLatin1Char(' ') + change.field;
}

QString CsvRow(const QStringList& fields)
{
    QStringList safe;
    for (const QString& field : fields)
        safe.append(CsvFields::Field(CsvFields::Neutralised(field)));
    return safe.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

} // namespace

QString ComparisonReport::KindName(MapComparison::Kind kind)
{
    switch (kind) {
    case MapComparison::Kind::Added:
        return QStringLiteral("new");
    case MapComparison::Kind::Gone:
        return QStringLiteral("gone");
    case MapComparison::Kind::Changed:
        break;
    }
    return QStringLiteral("changed");
}

QString ComparisonReport::Summary(const MapComparison& comparison)
{
    using Kind = MapComparison::Kind;
    QString text = QStringLiteral("new: %1, gone: %2, changed: %3\n")
                       .arg(comparison.Count(Kind::Added))
                       .arg(comparison.Count(Kind::Gone))
                       .arg(comparison.Count(Kind::Changed));
    for (const MapComparison::HostChange& host : comparison.Hosts()) {
        const QChar mark = host.kind == Kind::Added ? u'+' : host.kind == Kind::Gone ? u'-' : u'~';
        text += mark + QLatin1Char(' ') + AsciiText::printable(host.Name()) + QLatin1Char('\n');
        for (const MapComparison::FieldChange& change : host.changes)
            text += QStringLiteral("    ") + AsciiText::printable(FieldTitle(change)) + QStringLiteral(": ") + Shown(change.oldValue)
                + kArrow + Shown(change.newValue) + QLatin1Char('\n');
    }
    return text;
}

QString ComparisonReport::ChangeLine(const MapComparison::FieldChange& change)
{
    QString title = MapComparison::TableTitle(change.table);
    if (change.table == QLatin1String("host"))
        title = change.field;
    else if (change.table != change.field)
        title += QLatin1Char(' ') + change.field;
    return AsciiText::printable(title) + QStringLiteral(": ") + Shown(change.oldValue) + kArrow + Shown(change.newValue);
}

QByteArray ComparisonReport::Csv(const MapComparison& comparison)
{
    QString text = CsvRow({QStringLiteral("host"), QStringLiteral("table"), QStringLiteral("field"),
                           QStringLiteral("old"), QStringLiteral("new")});
    for (const MapComparison::HostChange& host : comparison.Hosts()) {
        if (host.kind == MapComparison::Kind::Added)
            text += CsvRow({host.Name(), QStringLiteral("host"), QStringLiteral("device"), {}, host.newName});
        else if (host.kind == MapComparison::Kind::Gone)
            text += CsvRow({host.Name(), QStringLiteral("host"), QStringLiteral("device"), host.oldName, {}});
        for (const MapComparison::FieldChange& change : host.changes)
            text += CsvRow({host.Name(), change.table, change.field, change.oldValue, change.newValue});
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

QByteArray ComparisonReport::Json(const MapComparison& comparison, const QString& earlierPath,
                                  const QString& laterPath)
{
    using Kind = MapComparison::Kind;
    QJsonArray hosts;
    for (const MapComparison::HostChange& host : comparison.Hosts()) {
        QJsonArray changes;
        for (const MapComparison::FieldChange& change : host.changes)
            changes.append(QJsonObject{{QStringLiteral("table"), change.table},
                                       {QStringLiteral("field"), change.field},
                                       {QStringLiteral("old"), change.oldValue},
                                       {QStringLiteral("new"), change.newValue}});
        hosts.append(QJsonObject{{QStringLiteral("change"), KindName(host.kind)},
                                 {QStringLiteral("oldName"), host.oldName},
                                 {QStringLiteral("newName"), host.newName},
                                 {QStringLiteral("changes"), changes}});
    }
    const QJsonObject counts{{QStringLiteral("new"), comparison.Count(Kind::Added)},
                             {QStringLiteral("gone"), comparison.Count(Kind::Gone)},
                             {QStringLiteral("changed"), comparison.Count(Kind::Changed)}};
    const QJsonObject root{{QStringLiteral("old"), earlierPath},
                           {QStringLiteral("new"), laterPath},
                           {QStringLiteral("counts"), counts},
                           {QStringLiteral("hosts"), hosts}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool ComparisonReport::Write(const QByteArray& bytes, const QString& path)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}
