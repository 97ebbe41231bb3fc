#include "DocumentSession.h"

#include "mapbuild/MapComparison.h"

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
    connect(&m_survey, &NetworkSurvey::ended, this, &DocumentSession::OnSurveyEnded);
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

void DocumentSession::KeepMapBeforeSurvey()
{
    m_mapBeforeSurvey = m_document.m_objects.isEmpty() ? QByteArray() : m_document.SaveContents();
}

void DocumentSession::OnSurveyEnded(NetworkSurvey::Ending ending)
{
    const QByteArray before = std::exchange(m_mapBeforeSurvey, QByteArray());
    if (ending != NetworkSurvey::Ending::Finished || before.isEmpty())
        return;
    CNetDoc earlier;
    earlier.m_bSnapshotsWanted = false;
    if (!earlier.RestoreContents(before))
        return;
    emit changesSinceSurvey(std::make_shared<const MapComparison>(MapComparison::Compare(earlier, m_document)));
}
