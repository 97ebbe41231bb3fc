#include "CObjSheet.h"

#include "propsheet/CObjPage1.h"
#include "propsheet/CObjPage2.h"
#include "propsheet/CObjPage3.h"
#include "propsheet/CObjPage4.h"
#include "propsheet/CObjPage5.h"
#include "propsheet/CObjPage6.h"
#include "propsheet/CObjPage7.h"
#include "propsheet/CObjPage8.h"

#include "document/CNetDoc.h"
#include "objects/CDrawConnect.h"
#include "objects/CDrawNic.h"
#include "objects/CDrawSys.h"
#include "objects/CDrawText.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// Where a printer without interfaces sits next to its host, when it has no
// place of its own yet.
constexpr qint32 kPrinterOffsetX = 400;
constexpr qint32 kPrinterOffsetY = 30;

} // namespace

CObjSheet::CObjSheet(CDrawSys& system, QWidget* parent)
    : QDialog(parent)
    , m_system(system)
{
    setWindowTitle(QStringLiteral("システム　プロパティ"));
    setObjectName(QStringLiteral("objectSheet"));
    m_prompts.inform = [this](const QString& text) {
        QMessageBox::information(this, windowTitle(), text);
    };
    m_prompts.askYesNoCancel = [this](const QString& text) {
        return QMessageBox::question(this, windowTitle(), text,
                                     QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    };
    m_prompts.chooseColor = [this](const QColor& initial) -> std::optional<QColor> {
        const QColor chosen = QColorDialog::getColor(initial, this);
        return chosen.isValid() ? std::optional<QColor>(chosen) : std::nullopt;
    };
    FillWorkingValues();

    m_tabs = new QTabWidget(this);
    m_pages = {new CObjPage1(*this), new CObjPage2(*this), new CObjPage7(*this), new CObjPage4(*this),
               new CObjPage3(*this), new CObjPage5(*this), new CObjPage6(*this), new CObjPage8(*this)};
    for (CObjPage* page : m_pages)
        m_tabs->addTab(page, page->Title());
    connect(m_tabs, &QTabWidget::currentChanged, this, &CObjSheet::OnTabChanged);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    buttons->button(QDialogButtonBox::Apply)->setText(QStringLiteral("適用(&A)"));
    // No page has anything to apply before OK.
    buttons->button(QDialogButtonBox::Apply)->setEnabled(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &CObjSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CObjSheet::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
    m_pages.front()->Enter();
}

CObjSheet::~CObjSheet() = default;

CNetDoc& CObjSheet::Document() const
{
    return *m_system.m_pDocument;
}

CObjPage* CObjSheet::Page(int index) const
{
    return index >= 0 && index < kPageCount ? m_pages[size_t(index)] : nullptr;
}

void CObjSheet::Inform(const QString& text) const
{
    m_prompts.inform(text);
}

QMessageBox::StandardButton CObjSheet::AskYesNoCancel(const QString& text) const
{
    return m_prompts.askYesNoCancel(text);
}

std::optional<QColor> CObjSheet::ChooseColor(const QColor& initial) const
{
    return m_prompts.chooseColor(initial);
}

int CObjSheet::KindOf(const CDrawSys& system)
{
    switch (system.m_nTypeCode) {
    case CDrawSys::kDesktop:
        return 1;
    case CDrawSys::kPrinter:
        return system.m_nics.isEmpty() ? 3 : 2;
    case CDrawSys::kRouter:
        return 4;
    case CDrawSys::kHub:
        return 5;
    case CDrawSys::kNotebook:
        return 6;
    case CDrawSys::kPocketPc:
        return 7;
    case CDrawSys::kRackMount:
        return 8;
    default:
        return 0;
    }
}

void CObjSheet::FillWorkingValues()
{
    m_strFqdn = m_system.m_strFqdn;
    m_nKind = m_nAcceptedKind = KindOf(m_system);
    const QList<quint32>& flags = m_system.RoleFlags();
    for (int i = 0; i < kRoleCount; ++i)
        m_roles[size_t(i)] = flags.value(i) ? 1 : 0;
    m_astrNotes = m_system.m_astrServerNotes;
    m_bNoFill = m_system.m_bBrush ? 0 : 1;
    m_nLineWidth = m_system.m_bPen ? m_system.m_logpen.lopnWidth.x : 0;
    m_astrWmiLines = m_system.WmiListing();
}

void CObjSheet::OnTabChanged(int index)
{
    CObjPage* left = Page(m_nCurrentTab);
    if (left && index != m_nCurrentTab && !left->Leave()) {
        const QSignalBlocker blocker(m_tabs);
        m_tabs->setCurrentIndex(m_nCurrentTab);
        return;
    }
    m_nCurrentTab = index;
    if (CObjPage* entered = Page(index))
        entered->Enter();
}

void CObjSheet::accept()
{
    if (CObjPage* current = Page(m_nCurrentTab); current && !current->Leave())
        return;
    ApplyToSystem();
    QDialog::accept();
}

void CObjSheet::ApplyToSystem()
{
    CDrawSys& s = m_system;
    s.m_bBrush = m_bNoFill ? 0 : 1;
    s.m_bPen = m_nLineWidth != 0 ? 1 : 0;
    if (m_nLineWidth != 0)
        s.m_logpen.lopnWidth = Point{m_nLineWidth, m_nLineWidth};
    s.DeleteLabels();
    QList<quint32>& flags = s.RoleFlags();
    flags.fill(0, kRoleCount);
    for (int i = 0; i < kRoleCount; ++i)
        flags[i] = quint32(m_roles[size_t(i)]);
    s.m_astrServerNotes = m_astrNotes;
    s.SetFqdn(m_strFqdn);
    s.RebuildRoleLabel();
    if (s.m_nTypeCode == CDrawSys::kPrinter && s.m_nics.isEmpty() && s.m_nMoveX == 0 && s.m_nMoveY == 0) {
        s.m_nMoveX = kPrinterOffsetX;
        s.m_nMoveY = kPrinterOffsetY;
    }
    s.RecalcExtent();
    s.RepositionPrinter();
    const CDrawSys& wired = s.m_pOwnerSys ? *s.m_pOwnerSys : s;
    for (CDrawObj* nic : wired.m_nics) {
        if (!nic || !nic->IsKindOf(CDrawNic::StaticClass()))
            continue;
        for (CDrawObj* connection : static_cast<CDrawNic*>(nic)->m_connections)
            if (connection && connection->IsKindOf(CDrawConnect::StaticClass()))
                static_cast<CDrawConnect*>(connection)->Route();
    }
    CNetDoc& document = Document();
    document.UpdateAllViews(1, &s);
    document.SetModifiedFlag(true);
    document.SaveSnapshot();
}

bool CObjSheet::EditProperties(CDrawSys& system, QWidget* parent)
{
    if (!system.m_pDocument || system.IsKindOf(CDrawNic::StaticClass()) || system.IsKindOf(CDrawText::StaticClass()))
        return false;
    CNetDoc& document = *system.m_pDocument;
    const bool wasModified = document.IsModified();
    // Undo after OK returns to this state, provisioning included.
    const QByteArray before = document.SaveContents();
    document.SaveSnapshotUnlessCurrent(before);
    system.ProvisionForEditing();
    bool accepted = false;
    {
        CObjSheet sheet(system, parent);
        accepted = sheet.exec() == QDialog::Accepted;
    }
    if (accepted)
        return true;
    // Cancel leaves no change, also of what pages did at once.
    if (document.SaveContents() != before)
        document.RestoreContents(before);
    document.SetModifiedFlag(wasModified);
    return false;
}
