#pragma once

#include <QList>
#include <QString>

// The looks the application offers: each command id stands for a Qt style
// with a palette of ours. The choice is process-wide and remembered.
class ApplicationLook {
public:
    struct Look {
        int id;
        const char* menuText;
        bool office2007; // listed in the "Office 2007" submenu
    };

    static constexpr int kDefaultLook = 210;

    static const QList<Look>& Looks();
    static bool IsLook(int id);
    // Applies a look to the running application.
    static void Apply(int id);
    static int Stored();
    static void Store(int id);
};
