#pragma once

#include <QJsonObject>

class CNetDoc;

// A complete listing of a document as JSON: every persistent member of the
// document and of every object; objects by their archive index, references
// between them as indexes (0 is null).
class DocumentDump {
public:
    static QJsonObject toJson(CNetDoc& document);
};
