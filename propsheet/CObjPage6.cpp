#include "CObjPage6.h"

#include "propsheet/CObjSheet.h"

#include "objects/CDrawSys.h"
#include "objects/GdiMapping.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>

CObjPage6::CObjPage6(CObjSheet& sheet)
    : CObjPage(sheet, QStringLiteral("描画"))
{
    // The spin box keeps the width within 0 to 30, so no value outside
    // the range can reach OK.
    m_width = new QSpinBox(this);
    m_width->setObjectName(QStringLiteral("lineWidth"));
    m_width->setRange(0, kMaxWidth);
    m_width->setValue(qBound(0, sheet.m_nLineWidth, kMaxWidth));
    connect(m_width, &QSpinBox::valueChanged, this, [this](int width) { m_sheet.m_nLineWidth = width; });
    m_noFill = new QCheckBox(QStringLiteral("塗り潰さない"), this);
    m_noFill->setObjectName(QStringLiteral("noFill"));
    m_noFill->setChecked(sheet.m_bNoFill != 0);
    connect(m_noFill, &QCheckBox::toggled, this, [this](bool on) { m_sheet.m_bNoFill = on ? 1 : 0; });
    auto* line = new QPushButton(QStringLiteral("線の色"), this);
    line->setObjectName(QStringLiteral("lineColor"));
    connect(line, &QPushButton::clicked, this, &CObjPage6::ChooseLineColor);
    auto* fill = new QPushButton(QStringLiteral("塗りつぶしの色"), this);
    fill->setObjectName(QStringLiteral("fillColor"));
    connect(fill, &QPushButton::clicked, this, &CObjPage6::ChooseFillColor);
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("線の太さ"), m_width);
    form->addRow(m_noFill);
    form->addRow(line);
    form->addRow(fill);
}

void CObjPage6::ChooseLineColor()
{
    CDrawSys& system = m_sheet.System();
    if (const std::optional<QColor> chosen = m_sheet.ChooseColor(GdiMapping::color(system.m_logpen.lopnColor)))
        system.SetLineColor(GdiMapping::colorRef(*chosen));
}

void CObjPage6::ChooseFillColor()
{
    CDrawSys& system = m_sheet.System();
    if (const std::optional<QColor> chosen = m_sheet.ChooseColor(GdiMapping::color(system.m_logbrush.lbColor)))
        system.SetFillColor(GdiMapping::colorRef(*chosen));
}
