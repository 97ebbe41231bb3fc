#include "PrinterPage.h"

#include <QPageLayout>
#include <QPrinterInfo>

std::optional<Size> PrinterPage::defaultPrinterPage()
{
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull())
        return std::nullopt;
    const QSizeF mm = printer.defaultPageSize().size(QPageSize::Millimeter);
    if (mm.isEmpty())
        return std::nullopt;
    return Size{qint32(mm.width()) * 10, qint32(mm.height()) * 10};
}
