#include "DocumentSession.h"

#include <QFileInfo>

DocumentSession::DocumentSession(const NetworkProbes& probes, const SurveySettings& settings,
                                 QWidget* window, int untitledNumber)
    : m_document()
    , m_frontEnd(m_document, window)
    , m_survey(m_document, probes, settings, m_frontEnd)
    , m_nUntitled(untitledNumber)
{
    m_document.OnNewDocument();
    connect(&m_frontEnd, &GuiSurveyFrontEnd::progressWindowClosed, &m_survey,
            &NetworkSurvey::OnProgressWindowClosed);
    connect(&m_document, &CNetDoc::modifiedChanged, this, &DocumentSession::titleChanged);
}

DocumentSession::~DocumentSession() = default;

QString DocumentSession::Title() const
{
    if (m_strPath.isEmpty())
        return QStringLiteral("Varnex%1").arg(m_nUntitled);
    return QFileInfo(m_strPath).fileName();
}

bool DocumentSession::Open(const QString& path, QString* error)
{
    if (!m_document.OnOpenDocument(path, error))
        return false;
    m_strPath = path;
    emit titleChanged();
    return true;
}

bool DocumentSession::Save(const QString& path, QString* error)
{
    if (!m_document.OnSaveDocument(path, error))
        return false;
    m_strPath = path;
    emit titleChanged();
    return true;
}
