// The main frame's printing: the print, preview and page setup commands
// and printing a map file without a window.
#include "CMainFrame.h"

#include "listview/CBottView.h"
#include "listview/DeviceListModel.h"
#include "listview/DeviceListRows.h"
#include "listview/ListPrinter.h"
#include "mapbuild/HostInventory.h"
#include "mapview/MapPrinter.h"
#include "shell/CChildFrame.h"
#include "shell/DocumentSession.h"
#include "shell/MapPreviewDialog.h"

#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace {

// A printer name ending in ".pdf" is that PDF file; an empty one the default.
void ChoosePrinter(QPrinter& printer, const QString& printerName, const CMainFrame::PageChoice& page)
{
    if (page.paper)
        printer.setPageSize(QPageSize(*page.paper));
    printer.setPageOrientation(page.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (printerName.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printerName);
    } else if (!printerName.isEmpty()) {
        printer.setPrinterName(printerName);
    }
}

} // namespace

void CMainFrame::OnFilePrint()
{
    DocumentSession* session = ActiveSession();
    if (!session)
        return;
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(m_printer.get(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The pane that has the focus is printed, as the active view is.
    CChildFrame* child = ActiveChild();
    if (child && child->ListView().hasFocus())
        ListPrinter(child->ListView().Model(), session->Title()).Print(*m_printer);
    else
        MapPrinter(session->Document()).Print(*m_printer);
}

void CMainFrame::OnFilePrintPreview()
{
    DocumentSession* session = ActiveSession();
    if (!session)
        return;
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    CChildFrame* child = ActiveChild();
    if (!child || !child->ListView().hasFocus()) {
        // A map's pages are drawn one at a time, when shown.
        MapPreviewDialog(session->Document(), *m_printer, this).exec();
        return;
    }
    QPrintPreviewDialog preview(m_printer.get(), this);
    preview.setWindowTitle(QStringLiteral("印刷プレビュー"));
    child->ListView().AskAboutEmptyColumns();
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [session, child](QPrinter* printer) {
        ListPrinter(child->ListView().Model(), session->Title()).Print(*printer, true);
    });
    preview.exec();
}

void CMainFrame::OnFilePrintSetup()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (QPageSetupDialog(m_printer.get(), this).exec() != QDialog::Accepted)
        return;
    // The page grid of every map follows the sheet now chosen.
    QPrinter* printer = m_printer.get();
    if (!m_pageSourceBefore)
        m_pageSourceBefore = CNetDoc::printerPage();
    CNetDoc::setPrinterPageSource([printer]() -> std::optional<Size> {
        const QSizeF mm = printer->pageLayout().fullRect(QPageLayout::Millimeter).size();
        if (mm.isEmpty())
            return std::nullopt;
        return Size{qint32(mm.width() * 10), qint32(mm.height() * 10)};
    });
    for (const std::unique_ptr<DocumentSession>& session : m_sessions) {
        session->Document().UpdatePageSize();
        session->Document().UpdatePageCount();
        session->Document().UpdateAllViews(0, nullptr);
    }
}

bool CMainFrame::PrintListFile(const QString& path, const QString& printerName, const PageChoice& page,
                               QString* error)
{
    CNetDoc document;
    if (!document.OnOpenDocument(path, error))
        return false;
    QPrinter printer(QPrinter::HighResolution);
    ChoosePrinter(printer, printerName, page);
    DeviceListModel model;
    model.SetRows(DeviceListRows::Of(document));
    model.SetColumns(HostInventory::MasterColumnNames(), document.m_astrHiddenColumns);
    model.Fill(true);
    if (!printer.isValid() || !ListPrinter(model, QFileInfo(path).fileName()).Print(printer)) {
        if (error)
            *error = QStringLiteral("印刷できません: %1").arg(printerName);
        return false;
    }
    return true;
}

bool CMainFrame::PrintFile(const QString& path, const QString& printerName, const PageChoice& page, QString* error)
{
    CNetDoc document;
    if (!document.OnOpenDocument(path, error))
        return false;
    QPrinter printer(QPrinter::HighResolution);
    ChoosePrinter(printer, printerName, page);
    if (!printer.isValid() || !MapPrinter(document).Print(printer)) {
        if (error)
            *error = QStringLiteral("印刷できません: %1").arg(printerName);
        return false;
    }
    return true;
}
