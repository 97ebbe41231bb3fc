#pragma once

#include "mapbuild/MapComparison.h"

#include "document/Geometry.h"

#include <QHash>
#include <QList>
#include <QString>

class CNetDoc;
class QPainter;

// The changes since an earlier map, marked on the later one: new devices
// outlined green, changed ones amber, gone ones as dashed grey boxes where
// they were. Only drawn over the map: the document is not touched. Devices
// are found by name each time, so edits and undo never leave a mark on a
// device that is no longer there.
class ChangeOverlay {
public:
    explicit ChangeOverlay(const MapComparison& comparison);

    // Draws the marks in map units over a painter set up to draw the map.
    void Draw(QPainter& painter, const CNetDoc& document) const;
    // What changed about the device at the point, one line per change; a
    // gone device's box names the device.
    QString ToolTipAt(const CNetDoc& document, Point point) const;
    // The change of a device by its name, for the device list: "新規",
    // "変更: …", or empty.
    QString ListText(const QString& fqdn) const;
    bool IsEmpty() const { return m_marks.isEmpty() && m_gone.isEmpty(); }
    // What the gone devices' boxes cover, from the origin.
    Rect Bounds() const;

private:
    struct Mark {
        MapComparison::Kind kind;
        QStringList lines;
    };
    struct Gone {
        Rect position;
        QString name;
    };

    const Mark* MarkOf(const QString& fqdn) const;
    void DrawGone(QPainter& painter) const;

    QHash<QString, Mark> m_marks; // by the lower-cased name of the device
    QList<Gone> m_gone;
};
