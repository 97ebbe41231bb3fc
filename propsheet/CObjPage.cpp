#include "CObjPage.h"

#include <QPushButton>

CObjPage::CObjPage(CObjSheet& sheet, const QString& title)
    : m_sheet(sheet)
    , m_title(title)
{
}

QPushButton* CObjPage::NamedButton(const QString& text, const char* name)
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(QLatin1String(name));
    return button;
}
