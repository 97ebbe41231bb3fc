#include "MapPreviewDialog.h"

#include "document/CNetDoc.h"
#include "objects/GdiMapping.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr double kUnitsPerInch = 254.0;
// Grey around the page, in pixels.
constexpr int kPageMargin = 16;

} // namespace

MapPreviewDialog::MapPreviewDialog(CNetDoc& document, QPrinter& printer, QWidget* parent)
    : QDialog(parent)
    , m_document(document)
    , m_printer(printer)
    , m_mapPrinter(document)
{
    setWindowTitle(QStringLiteral("印刷プレビュー"));
    m_document.UpdatePageSize();
    m_sheet = MapPrinter::PrintableArea(printer);
    m_nPages = std::max(1, m_mapPrinter.PreparePages(m_sheet));

    auto* previous = new QPushButton(QStringLiteral("前のページ(&V)"), this);
    auto* next = new QPushButton(QStringLiteral("次のページ(&N)"), this);
    m_pageBox = new QSpinBox(this);
    m_pageBox->setObjectName(QStringLiteral("page"));
    m_pageBox->setRange(1, m_nPages);
    m_pageBox->setSuffix(QStringLiteral(" / %1").arg(m_nPages));
    auto* print = new QPushButton(QStringLiteral("印刷(&P)..."), this);
    auto* close = new QPushButton(QStringLiteral("閉じる(&C)"), this);
    connect(previous, &QPushButton::clicked, this, [this] { ShowPage(m_nPage - 1); });
    connect(next, &QPushButton::clicked, this, [this] { ShowPage(m_nPage + 1); });
    connect(m_pageBox, &QSpinBox::valueChanged, this, &MapPreviewDialog::ShowPage);
    connect(print, &QPushButton::clicked, this, &MapPreviewDialog::Print);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* bar = new QHBoxLayout;
    for (QWidget* widget : {static_cast<QWidget*>(print), static_cast<QWidget*>(previous),
                            static_cast<QWidget*>(m_pageBox), static_cast<QWidget*>(next)})
        bar->addWidget(widget);
    bar->addStretch();
    bar->addWidget(close);

    m_picture = new QLabel;
    m_picture->setAlignment(Qt::AlignCenter);
    m_scroll = new QScrollArea(this);
    m_scroll->setWidget(m_picture);
    m_scroll->setWidgetResizable(true);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->viewport()->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_scroll, 1);
    resize(900, 1000);
    ShowPage(1);
}

void MapPreviewDialog::ShowPage(int page)
{
    page = std::clamp(page, 1, m_nPages);
    if (page == m_nPage)
        return;
    m_nPage = page;
    {
        const QSignalBlocker block(m_pageBox);
        m_pageBox->setValue(page);
    }
    Render();
}

bool MapPreviewDialog::eventFilter(QObject* watched, QEvent* event)
{
    // The page follows the size of the area that shows it.
    if (watched == m_scroll->viewport() && event->type() == QEvent::Resize && m_nPage > 0)
        Render();
    return QDialog::eventFilter(watched, event);
}

void MapPreviewDialog::Render()
{
    // The whole sheet in the window, never beyond the screen's resolution.
    const QSize room = m_scroll->viewport()->size() - QSize(kPageMargin, kPageMargin);
    const double fit = std::min(room.width() * kUnitsPerInch / std::max(m_sheet.cx, 1),
                                room.height() * kUnitsPerInch / std::max(m_sheet.cy, 1));
    const int dpi = std::max(10, int(std::min<double>(logicalDpiY(), fit)));
    m_image = QImage(std::max(1, int(m_sheet.cx * dpi / kUnitsPerInch)), std::max(1, int(m_sheet.cy * dpi / kUnitsPerInch)),
                     QImage::Format_RGB32);
    m_image.fill(Qt::white);
    QPainter painter(&m_image);
    m_mapPrinter.PrintPage(painter, m_nPage, dpi, dpi);
    painter.end();
    m_picture->setPixmap(QPixmap::fromImage(m_image));
}

void MapPreviewDialog::Print()
{
    QPrintDialog dialog(&m_printer, this);
    if (dialog.exec() == QDialog::Accepted)
        MapPrinter(m_document).Print(m_printer);
}
