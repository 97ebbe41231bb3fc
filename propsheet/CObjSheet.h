#pragma once

#include <QByteArray>
#include <QColor>
#include <QDialog>
#include <QMessageBox>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

class CDrawSys;
class CNetDoc;
class CObjPage;
class QTabWidget;

// "システム　プロパティ": the property sheet of one system, with its eight
// pages. Some pages change the map at once (the OS name, the kind, colours,
// interfaces, domains, segments, the host of a shared device); the rest is
// carried in the working values below and applied on OK. OK makes the
// whole edit one undo step; Cancel puts the map back as it was.
class CObjSheet : public QDialog {
    Q_OBJECT

public:
    static constexpr int kRoleCount = 30;
    static constexpr int kPageCount = 8;

    // Information boxes and questions go through these, so a test can
    // answer them; by default they are message boxes over the sheet.
    struct Prompts {
        std::function<void(const QString&)> inform;
        std::function<QMessageBox::StandardButton(const QString&)> askYesNoCancel;
        std::function<std::optional<QColor>(const QColor&)> chooseColor;
    };

    CObjSheet(CDrawSys& system, QWidget* parent = nullptr);
    ~CObjSheet() override;

    // The whole edit of a system: provisioning a drawn one, the sheet, and
    // what OK or Cancel do to the map. True when the user chose OK.
    static bool EditProperties(CDrawSys& system, QWidget* parent);

    CDrawSys& System() const { return m_system; }
    CNetDoc& Document() const;
    Prompts& prompts() { return m_prompts; }
    void Inform(const QString& text) const;
    QMessageBox::StandardButton AskYesNoCancel(const QString& text) const;
    std::optional<QColor> ChooseColor(const QColor& initial) const;

    QTabWidget* Tabs() const { return m_tabs; }
    CObjPage* Page(int index) const;

    // The working values, filled when the sheet opens.
    QString m_strFqdn;
    int m_nKind = 0;
    int m_nAcceptedKind = 0;
    std::array<int, kRoleCount> m_roles{};
    QStringList m_astrNotes;
    int m_bNoFill = 0;
    int m_nLineWidth = 0;
    QStringList m_astrWmiLines;

    // The device-page kind (0 to 8) of a type code, a printer by whether
    // it has interfaces.
    static int KindOf(const CDrawSys& system);
    static bool IsSharedKind(int kind) { return kind == 3 || kind == 5; }

    // What OK does to the system, in order.
    void ApplyToSystem();

public slots:
    void accept() override;

private:
    void FillWorkingValues();
    void OnTabChanged(int index);

    CDrawSys& m_system;
    QTabWidget* m_tabs = nullptr;
    std::array<CObjPage*, kPageCount> m_pages{};
    int m_nCurrentTab = 0;
    Prompts m_prompts;
};
