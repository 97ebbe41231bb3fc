#include "CObjPage8.h"

#include "propsheet/CObjSheet.h"

#include <QButtonGroup>
#include <QFontDatabase>
#include <QGridLayout>
#include <QListWidget>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr int kTabStop = 8;
constexpr int kColumns = 5;
const QString kEnd = QStringLiteral("end end");

} // namespace

const QStringList CObjPage8::kCaptions = {
    QStringLiteral("ComputerSystem"), QStringLiteral("OperatingSystem"), QStringLiteral("Processor"),
    QStringLiteral("DiskDrive"), QStringLiteral("NetworkAdapter"), QStringLiteral("SystemEnclosure"),
    QStringLiteral("Printer"), QStringLiteral("Product"), QStringLiteral("FixEngine"), QStringLiteral("LoginProf"),
};

const QStringList CObjPage8::kSections = {
    QStringLiteral("ComputerSystem"), QStringLiteral("OperatingSystem"), QStringLiteral("Processor"),
    QStringLiteral("DiskDrive"), QStringLiteral("NetworkAdapter"), QStringLiteral("SystemEnclosure"),
    QStringLiteral("Printer"), QStringLiteral("Product"), QStringLiteral("QuickFixEngineering"),
    QStringLiteral("NetworkLoginProfile"),
};

CObjPage8::CObjPage8(CObjSheet& sheet)
    : CObjPage(sheet, QStringLiteral("WMI情報"))
{
    auto* radios = new QGridLayout;
    m_sections = new QButtonGroup(this);
    for (int i = 0; i < kCaptions.size(); ++i) {
        auto* radio = new QRadioButton(kCaptions.at(i), this);
        radio->setObjectName(QStringLiteral("section%1").arg(i));
        m_sections->addButton(radio, i);
        radios->addWidget(radio, i / kColumns, i % kColumns);
    }
    connect(m_sections, &QButtonGroup::idClicked, this, &CObjPage8::ShowSection);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("wmiListing"));
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(radios);
    layout->addWidget(m_list);
}

void CObjPage8::ShowSection(int index)
{
    if (index == m_nShown || index < 0 || index >= kSections.size())
        return;
    m_nShown = index;
    m_sections->button(index)->setChecked(true);
    if (m_sheet.m_astrWmiLines.isEmpty())
        return;
    m_list->clear();
    for (const QString& line : SectionLines(m_sheet.m_astrWmiLines, kSections.at(index)))
        m_list->addItem(ExpandTabs(line));
}

QStringList CObjPage8::SectionLines(const QStringList& listing, const QString& section)
{
    QStringList lines;
    bool inSection = false;
    for (const QString& line : listing) {
        if (inSection && line == kEnd)
            inSection = false;
        else if (inSection)
            lines.append(line);
        else if (line == section)
            inSection = true;
    }
    return lines;
}

QString CObjPage8::ExpandTabs(const QString& line)
{
    QString expanded;
    for (const QChar c : line) {
        if (c == QLatin1Char('\t'))
            expanded += QString(kTabStop - expanded.size() % kTabStop, QLatin1Char(' '));
        else
            expanded += c;
    }
    return expanded;
}
