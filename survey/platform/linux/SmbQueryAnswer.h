#pragma once

#include "survey/platform/ServerInfoProbe.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The answer of the SMB query helper, read back from its output lines.
// Whatever the helper (or a hostile server through it) wrote, the result
// is bounded: texts are cut, the share list is capped.
class SmbQueryAnswer {
public:
    static constexpr qsizetype kMaxText = 256;
    static constexpr qsizetype kMaxShares = 10000;
    static constexpr quint32 kPrinterShare = 1; // STYPE_PRINTQ
    static constexpr quint32 kNoAnswer = 0xFFFFFFFF;

    struct Share {
        quint32 type = 0;
        QString name;
        QString comment;
    };

    quint32 infoStatus = kNoAnswer;
    ServerInfoProbe::Info101 info;
    quint32 sharesStatus = kNoAnswer;
    QList<Share> shares;
    bool complete = false; // the helper reached its last line
    QStringList errors; // the library's texts for its failures

    static SmbQueryAnswer Parse(const QByteArray& output);
    static QString Unescaped(const QByteArray& text);
    // The printer shares, which the shares' type marks in its low byte.
    QList<Share> Printers() const;
};
