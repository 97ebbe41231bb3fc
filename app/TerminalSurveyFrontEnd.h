#pragma once

#include "survey/SurveyFrontEnd.h"

#include <QString>
#include <QTextStream>

// Shows a survey on the terminal: a progress bar redrawn in place when
// standard error is a terminal, one plain line per message otherwise.
class TerminalSurveyFrontEnd final : public SurveyFrontEnd {
public:
    // The text with every control character (C0, DEL, C1, bidirectional
    // overrides) replaced by "?".
    static QString Printable(const QString& text);
    // The longest start of the text that fits the columns, East Asian wide
    // characters counting two.
    static QString FitToWidth(const QString& text, int columns);
    static bool IsWide(char16_t unit);
    static constexpr int kDefaultColumns = 80;

    TerminalSurveyFrontEnd(QTextStream& err, bool interactive);

    // The last message the survey wanted the user to read.
    const QString& LastMessage() const { return m_strLastMessage; }

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

private:
    static constexpr int kBarWidth = 30;
    // The width of the terminal on standard error.
    static int TerminalColumns();

    void Show();
    void EndLine();

    QTextStream& m_err;
    const bool m_bInteractive;
    bool m_bLineOpen = false;
    int m_nMaximum = 0;
    int m_nValue = 0;
    QString m_strCount;
    QString m_strMessage;
    QString m_strLastMessage;
};
