#include "TerminalSurveyFrontEnd.h"

TerminalSurveyFrontEnd::TerminalSurveyFrontEnd(QTextStream& err, bool interactive)
    : m_err(err)
    , m_bInteractive(interactive)
{
}

void TerminalSurveyFrontEnd::ShowMessage(const QString& text)
{
    EndLine();
    m_strLastMessage = text;
    m_err << Printable(text) << '\n';
    m_err.flush();
}

void TerminalSurveyFrontEnd::OpenHelpPage(const QString& page)
{
    EndLine();
    m_err << "help: " << page << '\n';
    m_err.flush();
}

void TerminalSurveyFrontEnd::Beep(int, int)
{
}

void TerminalSurveyFrontEnd::SetSurveying(bool)
{
}

void TerminalSurveyFrontEnd::RepaintMap()
{
}

void TerminalSurveyFrontEnd::OpenProgressWindow()
{
    m_nMaximum = 0;
    m_nValue = 0;
    m_strCount.clear();
    m_strMessage.clear();
}

void TerminalSurveyFrontEnd::CloseProgressWindow()
{
    EndLine();
}

void TerminalSurveyFrontEnd::SetProgressHeader(const QString& text)
{
    EndLine();
    m_err << Printable(text) << '\n';
    m_err.flush();
}

void TerminalSurveyFrontEnd::SetProgressCount(const QString& text)
{
    m_strCount = Printable(text);
    if (m_bInteractive)
        Show();
}

void TerminalSurveyFrontEnd::SetProgressMessage(const QString& text)
{
    m_strMessage = Printable(text);
    Show();
}

void TerminalSurveyFrontEnd::InitProgressBar(int maximum)
{
    m_nMaximum = maximum;
    m_nValue = 0;
}

void TerminalSurveyFrontEnd::StepProgressBar()
{
    m_nValue = std::min(m_nValue + 1, m_nMaximum);
    if (m_bInteractive)
        Show();
}

void TerminalSurveyFrontEnd::Show()
{
    if (!m_bInteractive) {
        m_err << m_strMessage;
        if (!m_strCount.isEmpty())
            m_err << "  (" << m_strCount << ')';
        m_err << '\n';
        m_err.flush();
        return;
    }
    const int filled = m_nMaximum > 0 ? kBarWidth * m_nValue / m_nMaximum : 0;
    // Clear to the end of the line: the previous message may have been longer.
    m_err << '\r' << '[' << QString(filled, QLatin1Char('#'))
          << QString(kBarWidth - filled, QLatin1Char('.')) << "] " << m_strCount << ' '
          << m_strMessage << "\x1b[K";
    m_err.flush();
    m_bLineOpen = true;
}

QString TerminalSurveyFrontEnd::Printable(const QString& text)
{
    // Names come from the network: an escape sequence in a device's name
    // must not retitle or clear the user's terminal.
    QString printable = text;
    for (QChar& c : printable) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7f && u < 0xa0) || (u >= 0x202a && u <= 0x202e) || (u >= 0x2066 && u <= 0x2069))
            c = QLatin1Char('?');
    }
    return printable;
}

void TerminalSurveyFrontEnd::EndLine()
{
    if (!m_bLineOpen)
        return;
    m_err << '\n';
    m_err.flush();
    m_bLineOpen = false;
}
