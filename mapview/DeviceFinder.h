#pragma once

#include <QList>
#include <QString>

class CDrawSys;
class CNetDoc;

// The devices of a map a search text names: by host name, by an address
// of one of its interfaces, or by an interface's MAC address (letters in
// any case, "-" or ":" between the bytes), in the map's order.
class DeviceFinder {
public:
    static QList<CDrawSys*> Matches(const CNetDoc& document, const QString& text);

private:
    static bool Names(const CDrawSys& system, const QString& wanted);
    static QString MacForm(const QString& text);
};
