#pragma once

#include "propsheet/CObjPage.h"

class QCheckBox;
class QSpinBox;

// "描画": outline width and filling, applied on OK, and the line and fill
// colours, which change the system at once.
class CObjPage6 : public CObjPage {
    Q_OBJECT

public:
    static constexpr int kMaxWidth = 30;

    explicit CObjPage6(CObjSheet& sheet);

    void ChooseLineColor();
    void ChooseFillColor();

private:
    QSpinBox* m_width = nullptr;
    QCheckBox* m_noFill = nullptr;
};
