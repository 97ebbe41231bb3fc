#include "WsdDumpLines.h"

#include "WsdPropertyNames.h"

namespace {

constexpr int kNameColumns = 30;

template<class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
// Clang before 17 deduces no aggregate's template arguments by itself.
template<class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

} // namespace

QStringList WsdDumpLines::PropertyLines(const QList<Property>& properties)
{
    QStringList lines;
    for (const Property& property : properties)
        lines += PropertyLines(property);
    return lines;
}

QStringList WsdDumpLines::PropertyLines(const Property& property)
{
    const QString name = WsdPropertyNames::NameOf(property.formatId, property.propertyId);
    const auto one = [&](const QString& text) { return QStringList{Line(name, text)}; };
    return std::visit(
        Overloaded{
            [&](std::monostate) { return one(QStringLiteral("(empty)")); },
            [&](qint32 v) { return one(Hex32(quint32(v))); },
            [&](quint32 v) { return one(Hex32(v)); },
            [&](bool v) { return one(v ? QStringLiteral("TRUE") : QStringLiteral("FALSE")); },
            [&](quint64 v) { return one(QStringLiteral("%1").arg(v, 16, 16, QLatin1Char(' '))); },
            [&](const QString& v) { return one(v); },
            [&](const QUuid& v) { return one(WsdPropertyNames::RegistryForm(v)); },
            [&](const QStringList& v) { return VectorLines(name, v); },
            // A byte vector shows its element count, as a 32-bit value.
            [&](const QByteArray& v) { return one(Hex32(quint32(v.size()))); },
            [&](OtherType v) {
                return one(QStringLiteral("Variant Type %1 Unknown").arg(Hex32(v.typeCode)));
            },
        },
        property.value);
}

QString WsdDumpLines::Line(const QString& name, const QString& text)
{
    return name.rightJustified(kNameColumns, QLatin1Char(' ')) + QStringLiteral(" = ") + text
           + QLatin1Char('\n');
}

QString WsdDumpLines::Added(const QString& providerInstanceId)
{
    return QStringLiteral("Added: %1\n\n").arg(providerInstanceId);
}

QString WsdDumpLines::AddResult(bool succeeded)
{
    return QStringLiteral("QUA_ADD retval = %1\n")
        .arg(succeeded ? QStringLiteral("Succes") : QStringLiteral("False"));
}

QString WsdDumpLines::Error(quint32 result)
{
    return QStringLiteral("****** ERROR: 0x%1\n").arg(Hex32(result));
}

QString WsdDumpLines::EventNotification(const QString& provider, quint32 eventId)
{
    return QStringLiteral("%1 sent OnEvent notification %2\n.").arg(provider).arg(eventId);
}

QString WsdDumpLines::InstancesFound(int count)
{
    return QStringLiteral("Found %1 instances on your system.\n\n").arg(count);
}

QString WsdDumpLines::SearchComplete(quint32 eventId)
{
    return QStringLiteral("Event: FD_EVENTID_SEARCHCOMPLETE  %1\n").arg(eventId);
}

QString WsdDumpLines::Event(quint32 eventId)
{
    return QStringLiteral("Event: %1\n").arg(eventId);
}

QString WsdDumpLines::Hex32(quint32 value)
{
    return QStringLiteral("%1").arg(value, 8, 16, QLatin1Char('0'));
}

// The first element carries the name; the others an empty one, which makes
// them continuation lines.
QStringList WsdDumpLines::VectorLines(const QString& name, const QStringList& elements)
{
    QStringList lines;
    for (qsizetype i = 0; i < elements.size(); ++i)
        lines.append(Line(i == 0 ? name : QString(), elements.at(i)));
    return lines;
}
