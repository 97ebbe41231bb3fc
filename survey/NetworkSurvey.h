#pragma once

#include "mapbuild/HostInventory.h"
#include "survey/CWsd_Collection.h"
#include "survey/LocalNetworkFacts.h"
#include "survey/SurveyProgress.h"
#include "survey/SurveyReportChannel.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QElapsedTimer>
#include <QTimer>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>

class CNetDoc;
class CTh_Worker;
class NativeThread;
class NetworkProbes;
class SurveyFrontEnd;
class SurveySettings;

// The survey of one document: finds the devices of the network, starts one
// analysis thread per device plus one for the default gateway, shows their
// progress and ends in one of three ways. A survey replaces the document's
// whole map: its objects are deleted when the survey starts, and when it
// ends normally the map is built from one system object per device.
//
// Everything here runs on the user-interface thread except the device
// search and the analysis threads. The user interface never waits for a
// thread: threads are started one per timer tick, and a stop lets the
// threads finish on their own, the survey ending when the last one has.
class NetworkSurvey : public QObject {
    Q_OBJECT

public:
    enum class Ending {
        Finished, // every thread ended normally; the map is wanted
        Aborted, // stopped; the map is gone
        NoHosts, // the search found no device
    };

    // All four outlive the survey.
    NetworkSurvey(CNetDoc& document, const NetworkProbes& probes, const SurveySettings& settings,
                  SurveyFrontEnd& frontEnd, QObject* parent = nullptr);
    // Stops a running survey and waits for its threads.
    ~NetworkSurvey() override;

    // "システム解析". A survey that is still running is stopped first.
    void PickUp();
    // "システム解析中止".
    void Stop();
    bool IsIdle() const { return m_bSurveyIdle; }
    // The user closed the progress window; reports are dropped from now on.
    void OnProgressWindowClosed();

    const QList<CWsd_Collection>& HostRecords() const { return m_hostRecords; }
    // The discovered devices as the inventory tables read them.
    QList<HostInventory::Device> InventoryDevices() const;
    // Survey threads still running: the remaining count of the progress.
    int RemainingThreads() const { return m_nRemaining; }
    // Threads that exist, running or not yet reaped.
    int LiveThreads() const { return int(m_threads.size()); }
    // Hosts of the last survey whose thread the system never let start.
    int Unsurveyed() const { return m_nUnsurveyed; }
    // Whether the last survey found nothing because the system refused to
    // start its search thread, rather than because nothing answered.
    bool SearchRefused() const { return m_bSearchRefused; }
    // The most host threads that ran at the same time in the last survey.
    int PeakRunning() const { return m_nPeakRunning; }

    // For the survey threads.
    const NetworkProbes& Probes() const { return m_probes; }
    CNetDoc& Document() { return m_document; }
    void Report(const QString& text, const std::atomic<bool>& mapMode);
    void ThreadEnded(CTh_Worker& thread);

signals:
    // Every thread ended normally and the map has been built from the
    // results; the progress window still shows.
    void mapBuilt();
    void ended(NetworkSurvey::Ending ending);

private:
    // What the device search thread hands over.
    struct SearchOutcome {
        QStringList lines;
        QList<CWsd_Collection> records;
        QMap<QString, QString> arpTable;
        quint32 localGateway = 0;
        QList<LocalNetworkFacts::Subnet> localSubnets;
    };

    bool PreconditionHolds();
    void StartSearch();
    SearchOutcome Search() const;
    QMap<QString, QString> NeighbourTable(const QList<CWsd_Collection>& records) const;
    void OnSearchDone();
    void OnDevicesCollected(SearchOutcome outcome);
    void StartDomainMap();
    void AssignDomains();
    void Launch();
    void AddThread(std::unique_ptr<CTh_Worker> thread);
    void ResumeNext();
    // The running-thread limit in effect, and the waiting threads started
    // as far as it allows.
    int RunningLimit() const;
    void StartWaiting();
    void ResumeAll();
    void RetryDeferred();
    void OrderSurveyObjects();
    void DropDeferred();
    void Resume(CTh_Worker* worker);
    void RemoveWorker(CTh_Worker* worker);
    void TakeReports();
    void ShowReport(const QString& text);
    void ShowStopTexts();
    void OnThreadsDone();
    void Reap(quint64 id);
    void JoinAll();
    void DeleteMap();
    void EndFinished();
    void EndAborted();
    void EndWithoutHosts();
    void CloseProgress();
    void ReturnToIdle();

    CNetDoc& m_document;
    const NetworkProbes& m_probes;
    const SurveySettings& m_settings;
    SurveyFrontEnd& m_frontEnd;

    bool m_bSurveyIdle = true;
    std::atomic<bool> m_bStopRequested = false;
    bool m_bPickUpPending = false;
    bool m_bProgressOpen = false;

    std::unique_ptr<NativeThread> m_searchThread;
    SearchOutcome m_searchOutcome;
    QList<CWsd_Collection> m_hostRecords;

    // WorkerList: the threads whose end protocol has not run yet.
    std::mutex m_workersLock;
    QList<LocalNetworkFacts::Subnet> m_localSubnets; // of the last search
    QList<CTh_Worker*> m_workers;
    std::atomic<int> m_nRemaining = 0;
    // Every thread of the survey, owned, until it has finished.
    std::map<quint64, std::unique_ptr<CTh_Worker>> m_threads;
    quint64 m_nNextThreadId = 0;
    QList<CTh_Worker*> m_unstarted;
    QTimer m_launchTimer;
    // Threads the system refused to create, tried again as others end.
    static constexpr int kRetryMs = 20;
    static constexpr int kGiveUpMs = 10000;
    QList<CTh_Worker*> m_deferred;
    QTimer m_retryTimer;
    QElapsedTimer m_sinceLastStart;
    int m_nUnsurveyed = 0;
    bool m_bSearchRefused = false;
    // Threads waiting for a running one to end (the running-thread limit).
    QList<CTh_Worker*> m_waiting;
    int m_nRunning = 0;
    int m_nPeakRunning = 0;

    SurveyProgress m_progress;
    SurveyReportChannel m_reports;
};
