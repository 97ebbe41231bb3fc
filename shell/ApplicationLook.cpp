#include "ApplicationLook.h"

#include "shell/SettingsStore.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

#include <memory>

namespace {

const QString kSettingsKey = QStringLiteral("Workspace");
const QString kLookName = QStringLiteral("ApplicationLook");

// A light palette tinted by one colour.
QPalette Tinted(const QColor& window, const QColor& highlight)
{
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette palette = fusion->standardPalette();
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::Button, window);
    palette.setColor(QPalette::Highlight, highlight);
    return palette;
}

QPalette Dark()
{
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(45, 45, 48));
    palette.setColor(QPalette::WindowText, Qt::white);
    palette.setColor(QPalette::Base, QColor(30, 30, 30));
    palette.setColor(QPalette::AlternateBase, QColor(45, 45, 48));
    palette.setColor(QPalette::Text, Qt::white);
    palette.setColor(QPalette::Button, QColor(55, 55, 58));
    palette.setColor(QPalette::ButtonText, Qt::white);
    palette.setColor(QPalette::ToolTipBase, QColor(55, 55, 58));
    palette.setColor(QPalette::ToolTipText, Qt::white);
    palette.setColor(QPalette::Highlight, QColor(0, 122, 204));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    return palette;
}

} // namespace

const QList<ApplicationLook::Look>& ApplicationLook::Looks()
{
    static const QList<Look> looks{
        {205, "Windows 2000(&2)", false},
        {206, "Office XP(&X)", false},
        {207, "Windows XP(&W)", false},
        {208, "Office 2003(&3)", false},
        {209, "Visual Studio 200&5", false},
        {210, "Visual Studio 200&8", false},
        {215, "ブルー スタイル(&B)", true},
        {216, "ブラック スタイル(&L)", true},
        {217, "シルバー スタイル(&S)", true},
        {218, "アクア スタイル(&A)", true},
        {219, "Windows 7(&D)", false},
    };
    return looks;
}

bool ApplicationLook::IsLook(int id)
{
    for (const Look& look : Looks())
        if (look.id == id)
            return true;
    return false;
}

void ApplicationLook::Apply(int id)
{
    const QString style = id == 205 ? QStringLiteral("Windows") : QStringLiteral("Fusion");
    QApplication::setStyle(QStyleFactory::create(style));
    QPalette palette = QApplication::style()->standardPalette();
    switch (id) {
    case 208:
    case 215:
        palette = Tinted(QColor(213, 228, 242), QColor(51, 153, 255));
        break;
    case 216:
        palette = Dark();
        break;
    case 217:
        palette = Tinted(QColor(230, 232, 236), QColor(110, 120, 140));
        break;
    case 218:
        palette = Tinted(QColor(208, 236, 240), QColor(0, 150, 170));
        break;
    case 219:
        palette = Tinted(QColor(235, 241, 250), QColor(51, 153, 255));
        break;
    default:
        break;
    }
    QApplication::setPalette(palette);
}

int ApplicationLook::Stored()
{
    quint32 id = kDefaultLook;
    SettingsStore().readDword(kSettingsKey, kLookName, id);
    return IsLook(int(id)) ? int(id) : kDefaultLook;
}

void ApplicationLook::Store(int id)
{
    SettingsStore().writeDword(kSettingsKey, kLookName, quint32(id));
}
