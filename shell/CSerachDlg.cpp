#include "CSerachDlg.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace {

// Texts in dark blue on the white window.
QLabel* MakeLabel(QWidget* parent, Qt::Alignment alignment)
{
    auto* label = new QLabel(parent);
    label->setAlignment(alignment);
    label->setStyleSheet(QStringLiteral("color: rgb(0, 0, 128); background: transparent;"));
    return label;
}

} // namespace

CSerachDlg::CSerachDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setModal(false);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setMinimumWidth(420);
    auto* layout = new QVBoxLayout(this);
    m_pNotice = MakeLabel(this, Qt::AlignCenter);
    m_pNotice->setStyleSheet(QStringLiteral("color: rgb(192, 0, 0); background: transparent; font-weight: bold;"));
    m_pNotice->hide();
    m_pHeader = MakeLabel(this, Qt::AlignLeft);
    m_pCount = MakeLabel(this, Qt::AlignLeft);
    m_pMessage = MakeLabel(this, Qt::AlignCenter);
    m_pMessage->setWordWrap(true);
    m_pMessage->setMinimumHeight(2 * fontMetrics().height());
    m_pBar = new QProgressBar(this);
    m_pBar->setTextVisible(false);
    m_pBar->setRange(0, 0);
    m_pBar->setStyleSheet(QStringLiteral(
        "QProgressBar { background: rgb(255, 0, 0); border: 1px solid gray; }"
        "QProgressBar::chunk { background: rgb(27, 150, 36); }"));
    layout->addWidget(m_pNotice);
    layout->addWidget(m_pHeader);
    layout->addWidget(m_pCount);
    layout->addWidget(m_pMessage);
    layout->addWidget(m_pBar);
}

void CSerachDlg::SetNotice(const QString& text)
{
    m_pNotice->setText(text);
    m_pNotice->setVisible(!text.isEmpty());
}

QString CSerachDlg::Notice() const
{
    return m_pNotice->text();
}

void CSerachDlg::SetHeader(const QString& text)
{
    m_pHeader->setText(text);
}

void CSerachDlg::SetCount(const QString& text)
{
    m_pCount->setText(text);
}

void CSerachDlg::SetMessage(const QString& text)
{
    m_pMessage->setText(text);
}

void CSerachDlg::InitBar(int maximum)
{
    m_pBar->setStyleSheet(QStringLiteral(
        "QProgressBar { background: white; border: 1px solid gray; }"
        "QProgressBar::chunk { background: rgb(27, 150, 36); }"));
    m_pBar->setRange(0, maximum);
    m_pBar->setValue(0);
}

void CSerachDlg::StepBar()
{
    m_pBar->setValue(std::min(m_pBar->value() + 1, m_pBar->maximum()));
}

QString CSerachDlg::Header() const
{
    return m_pHeader->text();
}

QString CSerachDlg::Count() const
{
    return m_pCount->text();
}

QString CSerachDlg::Message() const
{
    return m_pMessage->text();
}

int CSerachDlg::BarValue() const
{
    return m_pBar->value();
}

void CSerachDlg::reject()
{
    QDialog::reject();
    emit closedByUser();
}
