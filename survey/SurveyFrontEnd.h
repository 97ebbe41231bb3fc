#pragma once

#include <QString>

// What a survey shows the user: messages, sounds, the survey's progress
// window and the state of the window that started it. The desktop shows
// dialogs; the command line writes to the terminal. Called on the
// user-interface thread only.
class SurveyFrontEnd {
public:
    virtual ~SurveyFrontEnd() = default;

    // Returns when the user has read the message.
    virtual void ShowMessage(const QString& text) = 0;
    virtual void OpenHelpPage(const QString& page) = 0;
    virtual void Beep(int frequencyHz, int durationMs) = 0;
    // While surveying the menus are greyed and the wait cursor shows.
    virtual void SetSurveying(bool surveying) = 0;
    virtual void RepaintMap() = 0;

    // The progress window. The user may close it at any time; the front end
    // then tells the survey (NetworkSurvey::OnProgressWindowClosed).
    virtual void OpenProgressWindow() = 0;
    virtual void CloseProgressWindow() = 0;
    virtual void SetProgressHeader(const QString& text) = 0;
    virtual void SetProgressCount(const QString& text) = 0;
    virtual void SetProgressMessage(const QString& text) = 0;
    virtual void InitProgressBar(int maximum) = 0;
    virtual void StepProgressBar() = 0;
};
