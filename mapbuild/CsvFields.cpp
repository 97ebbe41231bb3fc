#include "CsvFields.h"

namespace {

const QChar kQuote(u'"');
const QChar kComma(u',');

bool NeedsQuotes(const QString& text)
{
    for (const QChar c : text)
        if (c == kComma || c == kQuote || c == u'\r' || c == u'\n')
            return true;
    return false;
}

} // namespace

QString CsvFields::Field(const QString& text)
{
    if (!NeedsQuotes(text))
        return text;
    QString quoted = text;
    quoted.replace(kQuote, QStringLiteral("\"\""));
    return kQuote + quoted + kQuote;
}

QString CsvFields::Join(const QStringList& fields)
{
    QStringList written;
    written.reserve(fields.size());
    for (const QString& field : fields)
        written.append(Field(field));
    return written.join(kComma);
}

QStringList CsvFields::Split(const QString& line)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    bool inQuotes = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (inQuotes) {
            if (c != kQuote)
                field += c;
            else if (i + 1 < line.size() && line.at(i + 1) == kQuote)
                field += line.at(++i);
            else
                inQuotes = false;
        } else if (c == kComma) {
            fields.append(field);
            field.clear();
            quoted = false;
        } else if (c == kQuote && field.isEmpty() && !quoted) {
            inQuotes = quoted = true;
        } else {
            field += c;
        }
    }
    fields.append(field);
    return fields;
}

QString CsvFields::Neutralised(const QString& field)
{
    QString safe = field;
    for (qsizetype i = 0; i < safe.size(); ++i) {
        const QChar c = safe.at(i);
        const bool pairs = c.isHighSurrogate() && i + 1 < safe.size() && safe.at(i + 1).isLowSurrogate();
        if (pairs)
            ++i;
        else if (c.isSurrogate())
            safe[i] = QChar::ReplacementCharacter;
    }
    static const QString kFormulaStarts = QStringLiteral("=+-@\t\r");
    if (!safe.isEmpty() && kFormulaStarts.contains(safe.front()))
        safe.prepend(QLatin1Char('\''));
    return safe;
}

QString CsvFields::NeutralisedLine(const QString& line)
{
    QStringList fields = Split(line);
    for (QString& field : fields)
        field = Neutralised(field);
    return Join(fields);
}
