#include "SmbQueryAnswer.h"

namespace {

quint32 Number(const QByteArray& text)
{
    bool ok = false;
    const quint32 value = text.toUInt(&ok);
    return ok ? value : SmbQueryAnswer::kNoAnswer;
}

QString Text(const QList<QByteArray>& fields, qsizetype index)
{
    return SmbQueryAnswer::Unescaped(fields.value(index)).left(SmbQueryAnswer::kMaxText);
}

void TakeLine(const QList<QByteArray>& fields, SmbQueryAnswer& answer)
{
    const QByteArray& key = fields.first();
    if (key == "info")
        answer.infoStatus = Number(fields.value(1));
    else if (key == "platform")
        answer.info.platformId = Number(fields.value(1));
    else if (key == "name")
        answer.info.name = Text(fields, 1);
    else if (key == "version") {
        answer.info.versionMajor = Number(fields.value(1));
        answer.info.versionMinor = Number(fields.value(2));
    } else if (key == "type")
        answer.info.type = Number(fields.value(1));
    else if (key == "comment")
        answer.info.comment = Text(fields, 1);
    else if (key == "shares")
        answer.sharesStatus = Number(fields.value(1));
    else if (key == "share" && answer.shares.size() < SmbQueryAnswer::kMaxShares)
        answer.shares.append({Number(fields.value(1)), Text(fields, 2), Text(fields, 3)});
    else if (key == "error" && answer.errors.size() < 2)
        answer.errors.append(Text(fields, 1));
    else if (key == "end")
        answer.complete = true;
}

} // namespace

SmbQueryAnswer SmbQueryAnswer::Parse(const QByteArray& output)
{
    SmbQueryAnswer answer;
    for (const QByteArray& line : output.split('\n')) {
        if (line.isEmpty())
            continue;
        TakeLine(line.split('\t'), answer);
    }
    return answer;
}

QString SmbQueryAnswer::Unescaped(const QByteArray& text)
{
    QByteArray plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            plain += text[i];
            continue;
        }
        const char next = text[++i];
        plain += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return QString::fromUtf8(plain);
}

QList<SmbQueryAnswer::Share> SmbQueryAnswer::Printers() const
{
    QList<Share> printers;
    for (const Share& share : shares)
        if ((share.type & 0xff) == kPrinterShare)
            printers.append(share);
    return printers;
}
