#pragma once

#include <QList>

class CDrawObj;
class CDrawSys;
class CNetDoc;

// The re-layout ("再配置") and re-wiring ("再結線") commands of the map view
// and the document operations they are made of. User-interface thread only,
// while no survey runs.
class MapRebuild {
public:
    // Both commands are enabled when no survey runs and the document holds
    // at least one system (not a label, interface or connection).
    static bool CommandsEnabled(bool surveyRunning, const QList<CDrawObj*>& objects);

    // Places every surveyed system again and draws all connections anew,
    // with a snapshot before and after.
    static void Relayout(CNetDoc& document);
    // Throws all connections away and draws them again.
    static void Rewire(CNetDoc& document);

    // Rebuilds the document's list in class order: domains, connections,
    // segments, systems, interfaces, labels, embedded objects, then every
    // other drawing in its own order. With deleteConnections every
    // connection is destroyed and every system forgets its last handle.
    static void Regroup(CNetDoc& document, bool deleteConnections);
    // Moves the systems of the forest's domains, and on a map with a forest
    // the systems of no domain, back to the origin, each with its labels
    // and hosted printers as the survey left them, and empties the domains'
    // and the forest's rectangles.
    static void ResetPositions(CNetDoc& document);
    // The automatic layout of the first forest and of the systems of no
    // domain, then printer repositioning.
    static void Layout(CNetDoc& document);
    // One wiring run for each forest of the document.
    static void Wire(CNetDoc& document);

    // Puts the labels, interface labels and hosted printers of a system back
    // at their offsets from it, and recomputes its extent.
    static void PlaceAttachments(CDrawSys& system);

private:
    static void DeleteConnections(CNetDoc& document);
    static void MoveToOrigin(CDrawObj* member);
};
