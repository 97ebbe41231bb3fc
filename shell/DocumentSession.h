#pragma once

#include "document/CNetDoc.h"
#include "shell/GuiSurveyFrontEnd.h"
#include "survey/NetworkSurvey.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

class MapComparison;
class NetworkProbes;
class SurveySettings;

// One open map: its document, the file it belongs to, and the survey that
// may run on it. Every document window showing the map shares it.
//
// Ownership: members are destroyed in reverse order, so a running survey is
// stopped and its threads joined before the document goes.
class DocumentSession : public QObject {
    Q_OBJECT

public:
    DocumentSession(const NetworkProbes& probes, const SurveySettings& settings,
                    QWidget* window, int untitledNumber);
    ~DocumentSession() override;

    CNetDoc& Document() { return m_document; }
    NetworkSurvey& Survey() { return m_survey; }
    GuiSurveyFrontEnd& FrontEnd() { return m_frontEnd; }

    const QString& Path() const { return m_strPath; }
    // The file name, or "Varnex<n>" for a map never saved.
    QString Title() const;

    bool Open(const QString& path, QString* error);
    bool Save(const QString& path, QString* error);

    // Keeps what the map holds before a survey replaces it: when the
    // survey completes, what changed is announced.
    void KeepMapBeforeSurvey();

signals:
    void titleChanged();
    void changesSinceSurvey(std::shared_ptr<const MapComparison> comparison);

private:
    void OnSurveyEnded(NetworkSurvey::Ending ending);

    CNetDoc m_document;
    GuiSurveyFrontEnd m_frontEnd;
    NetworkSurvey m_survey;
    QString m_strPath;
    int m_nUntitled;
    QByteArray m_mapBeforeSurvey;
};
