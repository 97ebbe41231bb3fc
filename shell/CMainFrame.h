#pragma once

#include <QHash>
#include "document/CNetDoc.h"

#include <QMainWindow>
#include <QPageSize>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class CChildFrame;
class MapComparison;
class DocumentSession;
class NetworkProbes;
class NetworkMenu;
class NetworkSelection;
class QAction;
class FindBar;
class QActionGroup;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPrinter;
class SurveySettings;

// The main window: menus, the "標準" toolbar, the status bar and the tabbed
// document windows, one tab per window on an open map. Commands go to the
// active document window; the window rectangle, the look and the recent
// files are remembered between runs.
//
// Ownership: the window owns the open maps (sessions); a map closes with
// its last document window.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kRecentFiles = 4;

    CMainFrame(const NetworkProbes& probes, SurveySettings& settings, QWidget* parent = nullptr);
    // Lets the user switch the surveys between the live and the demo
    // network; without it the probes given at construction are used.
    void SetNetworkSelection(NetworkSelection* selection);
    ~CMainFrame() override;

    // Opens a map in a new document window; false with a message on failure.
    bool OpenFile(const QString& path);
    CChildFrame* NewDocument();
    // The sheet to print on from the command line; the printer's own
    // paper when none is named.
    struct PageChoice {
        bool landscape = false;
        std::optional<QPageSize::PageSizeId> paper;
    };
    // Prints a map without showing it. printerName ending in ".pdf" prints
    // to that PDF file; empty means the default printer.
    static bool PrintFile(const QString& path, const QString& printerName, const PageChoice& page, QString* error);
    // The map's device list, one line per host, on the printer.
    static bool PrintListFile(const QString& path, const QString& printerName, const PageChoice& page,
                              QString* error);

    CChildFrame* ActiveChild() const;
    QList<CChildFrame*> Children() const;
    // Commands beyond the original program's, numbered apart from its own.
    static constexpr int kExportPicture = 33001;
    static constexpr int kCopyPicture = 33002;
    static constexpr int kTabbedView = 33003;
    static constexpr int kZoomIn = 33004;
    static constexpr int kZoomOut = 33005;
    static constexpr int kZoomReset = 33006;
    static constexpr int kZoomFit = 33007;
    static constexpr int kFind = 33008;
    static constexpr int kCompare = 33009;
    static constexpr int kClearComparison = 33010;
    static constexpr int kCompareAfterSurvey = 33011;

    QAction* Action(int id) const { return m_actions.value(id); }
    QStringList RecentFiles() const { return m_astrRecent; }
    void UpdateActions();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* AddAction(QMenu* menu, int id, const QString& text, void (CMainFrame::*slot)());
    void CreateMenus();
    void CreateFileMenu();
    void CreateEditMenu();
    void CreateViewMenu();
    void CreateToolsMenu();
    void CreateWindowAndHelpMenus();
    void CreateToolBar();
    void SetPrompt(int id, const QString& prompt);
    void SetPrompts();
    void SetShortcuts();

    CChildFrame* AddWindow(DocumentSession& session);
    DocumentSession* ActiveSession() const;
    bool ConfirmClose(DocumentSession& session);
    void ShowReady();
    void ListWindows(QMenu* menu);
    CChildFrame* AddSession(int untitledNumber);
    // The active window when it shows an untitled map nobody touched yet.
    CChildFrame* UntouchedBlank() const;
    bool ConfirmReplace(DocumentSession& session);
    // Save, Discard or Cancel for a modified map; false on Cancel or when
    // the save failed.
    bool AskToSave(DocumentSession& session, const QString& question);
    bool SaveSession(DocumentSession& session, bool askName);
    void ForgetClosedSession(DocumentSession* session);
    void UpdateTitles();
    void AddRecent(const QString& path);
    void RebuildRecentMenu();
    void RestoreWindowRect();
    void SaveWindowRect();
    void OnSurveyingChanged(bool surveying);

    void OnFileNew();
    void OnFileOpen();
    void OnFileClose();
    void OnFileSave();
    void OnFileSaveAs();
    void OnFileExportCsv();
    void OnFileExportPicture();
    void OnEditCopyPicture();
    void OnZoomIn();
    void OnZoomOut();
    void OnZoomReset();
    void OnZoomFit();
    void OnFind();
    void OnCompare();
    void OnClearComparison();
    void OnCompareAfterSurvey();
    void ShowSurveyChanges(DocumentSession& session, const MapComparison& comparison);
    void OnFilePrint();
    void OnFilePrintPreview();
    void OnFilePrintSetup();
    void OnEditUndo();
    void OnEditRedo();
    void OnEditCut();
    void OnEditCopy();
    void OnEditPaste();
    void OnEditInsertObject();
    void OnViewStatusBar();
    void OnBackColor();
    void OnGrid();
    void OnSurveyStart();
    void OnSurveyStop();
    void OnRelayout();
    void OnRewire();
    void OnSurveySettings();
    bool AnySurveyRuns() const;
    void OnOneLine(bool oneLine);
    void OnColumnSelect();
    void OnDeleteEmptyColumns();
    // " [シミュレーション: …]" while a simulated network is selected.
    QString NetworkNotice() const;
    void OnWindowNew();
    void OnAbout();
    void OnHelp();
    void OnLook(int id);
    void OnTool(int shape);
    void OpenPropertySheet(class CDrawObj* object);

    const NetworkProbes& m_probes;
    SurveySettings& m_settings;
    QMdiArea* m_pMdi;
    QHash<int, QAction*> m_actions;
    // What the documents took their page size from before Page Setup.
    std::optional<CNetDoc::PrinterPageSource> m_pageSourceBefore;
    QActionGroup* m_pWindowList = nullptr;
    FindBar* m_pFindBar = nullptr;
    QAction* m_pWindowSeparator = nullptr;
    QList<QMenu*> m_topMenus;
    QMenu* m_pRecentMenu = nullptr;
    QStringList m_astrRecent;
    std::vector<std::unique_ptr<DocumentSession>> m_sessions;
    NetworkMenu* m_pNetworkMenu = nullptr; // child of the frame
    std::unique_ptr<QPrinter> m_printer;
    int m_nUntitled = 0;
    int m_nLook;
};
