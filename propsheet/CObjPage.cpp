#include "CObjPage.h"

CObjPage::CObjPage(CObjSheet& sheet, const QString& title)
    : m_sheet(sheet)
    , m_title(title)
{
}
