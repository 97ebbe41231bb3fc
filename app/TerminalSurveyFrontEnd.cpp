#include "TerminalSurveyFrontEnd.h"

#include "objects/AsciiText.h"

#include <sys/ioctl.h>
#include <unistd.h>

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
    const QString line = QLatin1Char('[') + QString(filled, QLatin1Char('#')) + QString(kBarWidth - filled, QLatin1Char('.'))
        + QStringLiteral("] ") + m_strCount + QLatin1Char(' ') + m_strMessage;
    // One terminal line, redrawn in place: a longer one would wrap and
    // leave a trail of lines. Clear to the end: the previous may be longer.
    m_err << '\r' << FitToWidth(line, TerminalColumns() - 1) << "\x1b[K";
    m_err.flush();
    m_bLineOpen = true;
}

QString TerminalSurveyFrontEnd::FitToWidth(const QString& text, int columns)
{
    int used = 0;
    qsizetype end = 0;
    for (; end < text.size(); ++end) {
        const int width = IsWide(text.at(end).unicode()) ? 2 : 1;
        if (used + width > columns)
            break;
        used += width;
    }
    return text.left(end);
}

bool TerminalSurveyFrontEnd::IsWide(char16_t u)
{
    // The East Asian wide and full-width ranges a survey's texts use.
    return (u >= 0x1100 && u <= 0x115f) || (u >= 0x2e80 && u <= 0xa4cf) || (u >= 0xac00 && u <= 0xd7a3)
        || (u >= 0xf900 && u <= 0xfaff) || (u >= 0xfe30 && u <= 0xfe4f) || (u >= 0xff00 && u <= 0xff60)
        || (u >= 0xffe0 && u <= 0xffe6);
}

int TerminalSurveyFrontEnd::TerminalColumns()
{
    winsize size {};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return kDefaultColumns;
}

QString TerminalSurveyFrontEnd::Printable(const QString& text)
{
    // Names come from the network: an escape sequence in a device's name
    // must not retitle or clear the user's terminal.
    return AsciiText::printable(text);
}

void TerminalSurveyFrontEnd::EndLine()
{
    if (!m_bLineOpen)
        return;
    m_err << '\n';
    m_err.flush();
    m_bLineOpen = false;
}
