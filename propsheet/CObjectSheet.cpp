#include "CObjectSheet.h"

#include "objects/CDrawSys.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

CObjectSheet::CObjectSheet(const CDrawObj& object, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("プロパティ"));
    auto* layout = new QVBoxLayout(this);
    auto* name = new QLabel(TitleOf(object), this);
    name->setObjectName(QStringLiteral("objectName"));
    name->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(name);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

QString CObjectSheet::TitleOf(const CDrawObj& object)
{
    if (object.IsKindOf(CDrawSys::StaticClass())) {
        const auto& system = static_cast<const CDrawSys&>(object);
        if (!system.m_strFqdn.isEmpty())
            return system.m_strFqdn;
        if (!system.m_strUncName.isEmpty())
            return system.m_strUncName;
        return QStringLiteral("(名前なし)");
    }
    return QString::fromLatin1(object.GetRuntimeClass().name);
}
