#pragma once

#include <QString>

class CChildFrame;
class MapComparison;
class QWidget;

// Marks what changed since an earlier map on a document window: outlines
// over the map and the device list's "変化" column, until cleared. The
// document and its file stay as they are.
class ChangeComparison {
public:
    static constexpr auto kSettingsKey = "Compare";
    static constexpr auto kAfterSurveyValue = "AfterSurvey";

    // Asks for the earlier map, compares and marks; false when nothing was
    // compared (cancelled, or the file could not be opened).
    static bool CompareWithFile(CChildFrame& child, QWidget* parent);
    // Marks the changes; the counts as the status bar shows them.
    static QString Show(CChildFrame& child, const MapComparison& comparison);
    static void Clear(CChildFrame& child);
    static bool IsShown(const CChildFrame& child);

    // Whether a survey's result is compared with the map it replaced (off
    // unless the user turns it on).
    static bool AfterSurvey();
    static void SetAfterSurvey(bool on);
};
