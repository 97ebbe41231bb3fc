#pragma once

#include "shell/CSerachDlg.h"
#include "survey/SurveyFrontEnd.h"

#include <QObject>
#include <QPointer>

class CNetDoc;
class QWidget;

// Shows a document's survey on the desktop: message boxes, the help
// window, the progress window, and a signal for the main window to grey its
// menus while the survey runs.
class GuiSurveyFrontEnd : public QObject, public SurveyFrontEnd {
    Q_OBJECT

public:
    GuiSurveyFrontEnd(CNetDoc& document, QWidget* window);
    ~GuiSurveyFrontEnd() override;

    // A line the progress window shows above everything else, naming the
    // simulated network a survey runs on; empty for the live network.
    void SetNetworkNotice(const QString& notice) { m_strNetworkNotice = notice; }

    CSerachDlg* ProgressWindow() const { return m_pProgress; }

    void ShowMessage(const QString& text) override;
    void OpenHelpPage(const QString& page) override;
    void Beep(int frequencyHz, int durationMs) override;
    void SetSurveying(bool surveying) override;
    void RepaintMap() override;
    void OpenProgressWindow() override;
    void CloseProgressWindow() override;
    void SetProgressHeader(const QString& text) override;
    void SetProgressCount(const QString& text) override;
    void SetProgressMessage(const QString& text) override;
    void InitProgressBar(int maximum) override;
    void StepProgressBar() override;

signals:
    void surveyingChanged(bool surveying);
    // The user closed the progress window with Esc.
    void progressWindowClosed();

private:
    CNetDoc& m_document;
    QPointer<QWidget> m_pWindow;
    QPointer<CSerachDlg> m_pProgress;
    QString m_strNetworkNotice;
};
