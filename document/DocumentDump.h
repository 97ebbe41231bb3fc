#pragma once

#include <QJsonObject>

class CNetDoc;
class QTextStream;

// A complete listing of a document as JSON: every persistent member of the
// document and of every object; objects by their archive index, references
// between them as indexes (0 is null).
class DocumentDump {
public:
    static QJsonObject toJson(CNetDoc& document);
    // The same listing, indented, written object by object: the objects of
    // a large map are never all held as JSON at once. False when the stream
    // could not take it.
    static bool Write(CNetDoc& document, QTextStream& out);

private:
    static QJsonObject Members(CNetDoc& document);
    // "    "key": value" as an indented document writes a member at depth 1.
    static QByteArray MemberText(const QString& key, const QJsonValue& value);
};
