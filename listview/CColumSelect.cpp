#include "CColumSelect.h"

#include "document/CNetDoc.h"
#include "objects/AsciiText.h"
#include "mapbuild/HostInventory.h"
#include "shell/SettingsStore.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kHiddenColumnsKey = QStringLiteral("List_Del");

} // namespace

CColumSelect::CColumSelect(CNetDoc& document, QWidget* parent)
    : QDialog(parent)
    , m_document(document)
    , m_astrMaster(HostInventory::MasterColumnNames())
    , m_astrHidden(document.m_astrHiddenColumns)
    , m_pUsed(new QListWidget(this))
    , m_pHidden(new QListWidget(this))
{
    setWindowTitle(QStringLiteral("表示/印刷のカラム指定"));
    auto* group = new QGroupBox(QStringLiteral("リストビュー列の選択/非選択"), this);
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(QStringLiteral("表示/印刷で使用する列"), group), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("表示/印刷で使用しない列"), group), 0, 2);
    grid->addWidget(m_pUsed, 1, 0);
    grid->addWidget(m_pHidden, 1, 2);
    auto* buttons = new QVBoxLayout;
    const struct {
        const char* text;
        void (CColumSelect::*action)();
    } moves[] = {{"＞", &CColumSelect::HideSelected},
                 {"＞＞", &CColumSelect::HideAll},
                 {"＜", &CColumSelect::ShowSelected},
                 {"＜＜", &CColumSelect::ShowAll}};
    for (const auto& move : moves) {
        auto* button = new QPushButton(QString::fromUtf8(move.text), group);
        connect(button, &QPushButton::clicked, this, move.action);
        buttons->addWidget(button);
    }
    grid->addLayout(buttons, 1, 1);
    auto* box = new QDialogButtonBox(this);
    box->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    box->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    connect(box, &QDialogButtonBox::accepted, this, &CColumSelect::accept);
    connect(box, &QDialogButtonBox::rejected, this, &CColumSelect::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(box);
    Refill();
}

QStringList CColumSelect::Hide(const QStringList& master, const QStringList& hidden, const QString& name)
{
    const qsizetype at = master.indexOf(name);
    if (at < 0 || hidden.contains(name))
        return hidden;
    QStringList result = hidden;
    // In front of the first hidden name that comes later in master order.
    for (qsizetype j = at + 1; j < master.size(); ++j) {
        const qsizetype position = result.indexOf(master.at(j));
        if (position >= 0) {
            result.insert(position, name);
            return result;
        }
    }
    result.append(name);
    return result;
}

bool CColumSelect::IsHidden(const QStringList& hidden, const QString& name)
{
    return std::any_of(hidden.cbegin(), hidden.cend(),
                       [&name](const QString& entry) { return AsciiText::equalsIgnoringCase(entry, name); });
}

void CColumSelect::HideSelected()
{
    if (const QListWidgetItem* item = m_pUsed->currentItem())
        m_astrHidden = Hide(m_astrMaster, m_astrHidden, item->text());
    Refill();
}

void CColumSelect::HideAll()
{
    m_astrHidden = m_astrMaster;
    Refill();
}

void CColumSelect::ShowSelected()
{
    // The right-hand list shows the hidden names in master order; find the
    // entry by its name, so that a list from elsewhere cannot mislead.
    if (const QListWidgetItem* item = m_pHidden->currentItem()) {
        const QString name = item->text();
        m_astrHidden.removeIf([&name](const QString& entry) { return AsciiText::equalsIgnoringCase(entry, name); });
    }
    Refill();
}

void CColumSelect::ShowAll()
{
    m_astrHidden.clear();
    Refill();
}

void CColumSelect::accept()
{
    m_document.m_astrHiddenColumns = m_astrHidden;
    if (!m_document.m_objects.isEmpty()) {
        m_document.SetModifiedFlag(true);
    } else {
        SettingsStore store;
        store.deleteKey(kHiddenColumnsKey);
        store.writeUncountedList(kHiddenColumnsKey, m_astrHidden);
    }
    QDialog::accept();
}

void CColumSelect::Refill()
{
    m_pUsed->clear();
    m_pHidden->clear();
    for (const QString& name : std::as_const(m_astrMaster))
        (IsHidden(m_astrHidden, name) ? m_pHidden : m_pUsed)->addItem(name);
}
