#include "CTh_Worker.h"

#include "survey/NetworkSurvey.h"

CTh_Worker::CTh_Worker(NetworkSurvey& survey, CDrawSys* system, const QString& name)
    : m_survey(survey)
    , m_pSystem(system)
    , m_strName(name)
    , m_thread([this] { Run(); }, kStackSize)
{
}

void CTh_Worker::Run()
{
    DoSurvey();
    m_survey.ThreadEnded(*this);
}

void CTh_Worker::DoSurvey()
{
}

void CTh_Worker::ReleaseResults()
{
}

void CTh_Worker::Report(const QString& text)
{
    m_survey.Report(text, m_bMapMode);
}
