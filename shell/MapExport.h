#pragma once

#include <QString>

class CNetDoc;
class QMimeData;
class QWidget;

// The map as a picture for other programs: exported to a PNG, SVG or PDF
// file the user names (the folder is remembered), or put on the clipboard.
class MapExport {
public:
    static constexpr auto kSettingsKey = "Export";
    static constexpr auto kFolderValue = "Folder";

    // Asks for a file and writes it; false when nothing was written.
    static bool ExportToFile(CNetDoc& document, const QString& title, QWidget* parent);
    // Writes the picture of the kind the file name ends in (.png, .svg, .pdf).
    static bool Write(CNetDoc& document, const QString& path);
    // A PNG picture and the SVG drawing of the whole map.
    static QMimeData* PictureData(CNetDoc& document);
    static void CopyToClipboard(CNetDoc& document);
};
