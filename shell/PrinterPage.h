#pragma once

#include "document/Geometry.h"

#include <optional>

// The default printer's physical page in 0.1 mm (whole millimetres times
// ten), or nothing when no printer is set up. Needs a GUI application.
class PrinterPage {
public:
    static std::optional<Size> defaultPrinterPage();
};
