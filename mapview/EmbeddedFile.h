#pragma once

#include <QByteArray>
#include <QString>

class CDrawItem;
class CNetDoc;

// A file embedded in a map as an OLE package: the file's bytes in an
// "\1Ole10Native" stream, its name as the item's type name, and for
// pictures a copy the map can draw. Double-clicking the object opens the
// file with the desktop's application for it.
class EmbeddedFile {
public:
    // The program's own map files are never embedded.
    static bool IsOwnMapFile(const QString& path);
    static QString RefusalMessage(); // "OLE Varnex Document ファイルを呼出す事は出来ません。"

    // A new item holding the file, numbered after the document's items;
    // null with the reason when the file cannot be read.
    static CDrawItem* ItemFromFile(const CNetDoc& document, const QString& path, QString* error);
    // The name and bytes of a packaged file; empty when the item holds none.
    static QString FileName(const CDrawItem& item);
    static QByteArray FileData(const CDrawItem& item);
    // Writes the file to a private temporary folder and opens it there.
    static bool Open(const CDrawItem& item);
    // The file written to a new folder only the user can enter; empty when
    // the item holds no file or it cannot be written.
    static QString WriteToPrivateFolder(const CDrawItem& item);

    static QByteArray NativeStream(const QString& fileName, const QByteArray& data);
    struct Package {
        QString fileName;
        QByteArray data;
    };
    static Package Unpack(const CDrawItem& item);
    static QByteArray CompObjStream(const QString& typeName);
};
