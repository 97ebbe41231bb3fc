#pragma once

#include "propsheet/CObjPage.h"

class QButtonGroup;
class QListWidget;

// "WMI情報": the WMI listing of the device, one class section at a time.
class CObjPage8 : public CObjPage {
    Q_OBJECT

public:
    static const QStringList kCaptions;
    static const QStringList kSections;

    explicit CObjPage8(CObjSheet& sheet);

    void ShowSection(int index);
    // The lines of one section of a listing: after the line that names it,
    // up to the next "end end".
    static QStringList SectionLines(const QStringList& listing, const QString& section);
    // Tabs expanded to the next stop of eight columns.
    static QString ExpandTabs(const QString& line);

private:
    QButtonGroup* m_sections = nullptr;
    QListWidget* m_list = nullptr;
    int m_nShown = -1;
};
