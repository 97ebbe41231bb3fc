#include "FindBar.h"

#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>

FindBar::FindBar(QWidget* parent)
    : QToolBar(QStringLiteral("検索"), parent)
{
    setObjectName(QStringLiteral("findBar"));
    m_field = new QLineEdit(this);
    m_field->setObjectName(QStringLiteral("findText"));
    m_field->setPlaceholderText(QStringLiteral("ホスト名、IPアドレスまたはMACアドレス"));
    m_field->setClearButtonEnabled(true);
    m_field->setMinimumWidth(260);
    addWidget(m_field);
    QAction* previous = addAction(QStringLiteral("前へ"), this, &FindBar::Previous);
    previous->setShortcut(QKeySequence::FindPrevious);
    QAction* next = addAction(QStringLiteral("次へ"), this, &FindBar::Next);
    next->setShortcut(QKeySequence::FindNext);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("findStatus"));
    addWidget(m_status);
    QAction* close = addAction(QStringLiteral("閉じる"), this, &QWidget::hide);
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    close->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(m_field, &QLineEdit::textChanged, this, &FindBar::searchRequested);
    connect(m_field, &QLineEdit::returnPressed, this, &FindBar::Next);
}

void FindBar::Start()
{
    show();
    m_field->setFocus();
    m_field->selectAll();
    emit searchRequested(m_field->text());
}

void FindBar::SetMatches(const QList<CDrawSys*>& matches)
{
    m_matches = matches;
    Show(matches.isEmpty() ? -1 : 0);
}

void FindBar::Next()
{
    if (!m_matches.isEmpty())
        Show((m_nCurrent + 1) % int(m_matches.size()));
}

void FindBar::Previous()
{
    if (!m_matches.isEmpty())
        Show((m_nCurrent + int(m_matches.size()) - 1) % int(m_matches.size()));
}

QString FindBar::Status() const
{
    return m_status->text();
}

void FindBar::Show(int index)
{
    m_nCurrent = index;
    if (index < 0) {
        m_status->setText(m_field->text().trimmed().isEmpty() ? QString() : QStringLiteral("見つかりません"));
        emit found(nullptr);
        return;
    }
    m_status->setText(QStringLiteral("%1 / %2").arg(index + 1).arg(m_matches.size()));
    emit found(m_matches.at(index));
}
