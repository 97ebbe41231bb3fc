#include "GuiSurveyFrontEnd.h"

#include "document/CNetDoc.h"
#include "shell/CSerachDlg.h"
#include "shell/HelpPages.h"

#include <QApplication>
#include <QMessageBox>

GuiSurveyFrontEnd::GuiSurveyFrontEnd(CNetDoc& document, QWidget* window)
    : m_document(document)
    , m_pWindow(window)
{
}

GuiSurveyFrontEnd::~GuiSurveyFrontEnd()
{
    delete m_pProgress;
}

void GuiSurveyFrontEnd::ShowMessage(const QString& text)
{
    QMessageBox::information(m_pWindow, QStringLiteral("Varnex"), text);
}

void GuiSurveyFrontEnd::OpenHelpPage(const QString& page)
{
    HelpPages::Open(page, m_pWindow);
}

void GuiSurveyFrontEnd::Beep(int, int)
{
    QApplication::beep();
}

void GuiSurveyFrontEnd::SetSurveying(bool surveying)
{
    if (surveying)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    else if (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    emit surveyingChanged(surveying);
}

void GuiSurveyFrontEnd::RepaintMap()
{
    m_document.UpdateAllViews(0, nullptr);
}

void GuiSurveyFrontEnd::OpenProgressWindow()
{
    delete m_pProgress;
    m_pProgress = new CSerachDlg(m_pWindow);
    connect(m_pProgress, &CSerachDlg::closedByUser, this, &GuiSurveyFrontEnd::progressWindowClosed);
    m_pProgress->SetNotice(m_strNetworkNotice);
    m_pProgress->show();
}

void GuiSurveyFrontEnd::CloseProgressWindow()
{
    delete m_pProgress;
}

void GuiSurveyFrontEnd::SetProgressHeader(const QString& text)
{
    if (m_pProgress)
        m_pProgress->SetHeader(text);
}

void GuiSurveyFrontEnd::SetProgressCount(const QString& text)
{
    if (m_pProgress)
        m_pProgress->SetCount(text);
}

void GuiSurveyFrontEnd::SetProgressMessage(const QString& text)
{
    if (m_pProgress)
        m_pProgress->SetMessage(text);
}

void GuiSurveyFrontEnd::InitProgressBar(int maximum)
{
    if (m_pProgress)
        m_pProgress->InitBar(maximum);
}

void GuiSurveyFrontEnd::StepProgressBar()
{
    if (m_pProgress)
        m_pProgress->StepBar();
}
