#include "NetworkSurvey.h"

#include <QThread>

#include "document/CNetDoc.h"
#include "objects/CDrawSys.h"
#include "objects/CDrawText.h"
#include "objects/CDrawSegment.h"
#include "objects/CDrawNic.h"
#include "survey/CFDNotificationCallback.h"
#include "survey/CTh_Analysis.h"
#include "survey/DiscoveryServiceCheck.h"
#include "survey/DomainAssignment.h"
#include "survey/LocalNetworkFacts.h"
#include "document/NativeThread.h"
#include "mapbuild/MapConstruction.h"
#include "survey/SurveyFrontEnd.h"
#include "survey/SurveySettings.h"
#include "survey/platform/NetworkProbes.h"

#include <algorithm>
#include <mutex>
#include <typeinfo>
#include <utility>

namespace {

// Serialises the end protocol of every survey thread of the process.
std::mutex s_threadEndLock;

constexpr int kSurveySettingCount = 5;
constexpr std::size_t kSearchStackSize = 1024 * 1024;
constexpr int kPauseSetting = 4;

const QString kNoHostsMessage = QStringLiteral(
    "ネットワークのマスタブラウザ上に有効なクライアント情報が検出されません。\n"
    " NetBIOS上で記憶されているＰＣを確認してください。(nbtstat -c)　\n"
    "　VarnexクライアントＰＣ／共有リソース調査は終了します。");

} // namespace

NetworkSurvey::NetworkSurvey(CNetDoc& document, const NetworkProbes& probes,
                             const SurveySettings& settings, SurveyFrontEnd& frontEnd,
                             QObject* parent)
    : QObject(parent)
    , m_document(document)
    , m_probes(probes)
    , m_settings(settings)
    , m_frontEnd(frontEnd)
    , m_reports([this] {
        QMetaObject::invokeMethod(this, &NetworkSurvey::TakeReports, Qt::QueuedConnection);
    })
{
    connect(&m_launchTimer, &QTimer::timeout, this, &NetworkSurvey::ResumeNext);
    m_retryTimer.setSingleShot(true);
    connect(&m_retryTimer, &QTimer::timeout, this, &NetworkSurvey::RetryDeferred);
}

NetworkSurvey::~NetworkSurvey()
{
    m_bStopRequested = true;
    {
        const std::lock_guard lock(m_workersLock);
        for (CTh_Worker* worker : std::as_const(m_workers))
            worker->ClearMapMode();
    }
    m_reports.Close();
    ResumeAll();
    DropDeferred();
    if (m_searchThread)
        m_searchThread->Join();
    JoinAll();
}

void NetworkSurvey::PickUp()
{
    if (!m_bSurveyIdle) {
        m_bPickUpPending = true;
        Stop();
        return;
    }
    if (!PreconditionHolds())
        return;
    m_frontEnd.SetSurveying(true);
    DeleteMap();
    m_bSurveyIdle = false;
    m_bStopRequested = false;
    m_nUnsurveyed = 0;
    m_nRunning = 0;
    m_nPeakRunning = 0;
    m_document.m_astrWsdNames.clear();
    m_document.m_survey.DeviceDumpLines.clear();
    m_frontEnd.RepaintMap();
    m_frontEnd.OpenProgressWindow();
    m_bProgressOpen = true;
    m_reports.Open();
    m_frontEnd.SetProgressHeader(QStringLiteral("ただいま調査中です。"));
    m_frontEnd.SetProgressCount(QStringLiteral("検索中です。"));
    m_frontEnd.SetProgressMessage(QStringLiteral("ホストピックアップの調査を開始しました。"));
    StartSearch();
}

bool NetworkSurvey::PreconditionHolds()
{
    const DiscoveryServiceCheck::Verdict verdict = m_probes.LocalMachine().SurveyPrecondition();
    if (verdict.holds)
        return true;
    m_frontEnd.ShowMessage(verdict.message);
    if (verdict.openHelpPage)
        m_frontEnd.OpenHelpPage(DiscoveryServiceCheck::kHelpPage);
    return false;
}

void NetworkSurvey::StartSearch()
{
    m_searchThread = std::make_unique<NativeThread>(
        [this] {
            m_searchOutcome = Search();
            QMetaObject::invokeMethod(this, &NetworkSurvey::OnSearchDone, Qt::QueuedConnection);
        },
        kSearchStackSize);
    m_bSearchRefused = !m_searchThread->Start();
    if (m_bSearchRefused) {
        // Without a search nothing can be found.
        m_searchThread.reset();
        QMetaObject::invokeMethod(this, [this] { OnDevicesCollected({}); }, Qt::QueuedConnection);
    }
}

NetworkSurvey::SearchOutcome NetworkSurvey::Search() const
{
    CFDNotificationCallback sink;
    sink.Replay(m_probes.Discovery().Discover());
    SearchOutcome outcome;
    outcome.lines = sink.Lines();
    outcome.records = CWsd_Collection::GroupDumpLines(outcome.lines);
    const NameResolutionProbe& names = m_probes.Names();
    for (CWsd_Collection& record : outcome.records)
        record.Parse([&names](const QString& address) { return names.ReverseLookup(address); });
    outcome.arpTable = NeighbourTable(outcome.records);
    const QList<LocalNetworkProbe::Adapter> adapters = m_probes.LocalNetwork().Adapters();
    outcome.localGateway = LocalNetworkFacts::LocalGateway(adapters);
    outcome.localSubnets = LocalNetworkFacts::GatewaySubnets(adapters);
    return outcome;
}

QMap<QString, QString> NetworkSurvey::NeighbourTable(const QList<CWsd_Collection>& records) const
{
    const LocalNetworkProbe& local = m_probes.LocalNetwork();
    QMap<QString, QString> table = LocalNetworkFacts::NeighbourSnapshot(local.Neighbours());
    for (const CWsd_Collection& record : records) {
        const QString address = record.m_strAddress.trimmed();
        if (!address.contains(QLatin1Char(':')))
            continue;
        const std::optional<QByteArray> mac = local.ResolveIpv6Neighbour(address);
        if (!mac)
            continue;
        const QString text = LocalNetworkFacts::MacTextUpper(*mac);
        if (!text.isEmpty() && !LocalNetworkFacts::IsPlaceholderMac(text))
            table.insert(record.m_strAddress, text);
    }
    return table;
}

void NetworkSurvey::OnSearchDone()
{
    m_searchThread->Join();
    m_searchThread.reset();
    // A stop during the search ends the survey before any thread starts.
    if (m_bStopRequested) {
        DeleteMap();
        EndAborted();
        return;
    }
    OnDevicesCollected(std::move(m_searchOutcome));
}

void NetworkSurvey::OnDevicesCollected(SearchOutcome outcome)
{
    m_document.m_survey.DeviceDumpLines = outcome.lines;
    m_hostRecords = std::move(outcome.records);
    for (const CWsd_Collection& record : std::as_const(m_hostRecords))
        m_document.m_astrWsdNames.append(record.m_strComputerInfo);
    {
        const std::lock_guard lock(m_document.DocumentLock());
        m_document.m_survey.ArpTable = outcome.arpTable;
        m_document.m_survey.LocalGatewayAddress = outcome.localGateway;
        m_localSubnets = outcome.localSubnets;
        m_document.m_survey.GatewayHostName.clear();
    }
    StartDomainMap();
}

void NetworkSurvey::StartDomainMap()
{
    if (m_bProgressOpen)
        m_frontEnd.SetProgressMessage(QStringLiteral("ドメインマップ作成を開始しました。"));
    AssignDomains();
    if (m_hostRecords.isEmpty()) {
        EndWithoutHosts();
        return;
    }
    Launch();
}

void NetworkSurvey::AssignDomains()
{
    DomainAssignment assignment = DomainAssignment::Assign(m_hostRecords);
    m_document.m_astrSurveyHosts = std::move(assignment.m_astrSurveyHosts);
    m_document.m_survey.DomainOfHost = std::move(assignment.DomainOfHost);
    m_document.m_survey.OtherDeviceAddresses = std::move(assignment.OtherDeviceAddresses);
}

void NetworkSurvey::Launch()
{
    const int hosts = int(m_hostRecords.size());
    m_progress = SurveyProgress(hosts);
    if (m_bProgressOpen) {
        m_frontEnd.InitProgressBar(m_progress.RangeMaximum());
        m_frontEnd.SetProgressMessage(SurveyProgress::GatewayStartMessage());
        if (const std::optional<QString> count = m_progress.Report(hosts, hosts + 1)) {
            m_frontEnd.SetProgressCount(*count);
            m_frontEnd.StepProgressBar();
        }
    }

    // Files from elsewhere may carry fewer options; missing ones are off.
    QList<quint32> settings = m_document.m_adwSurveySettings;
    if (settings.size() < kSurveySettingCount)
        settings.resize(kSurveySettingCount, 0);

    CTh_Analysis::Parameters common;
    common.surveySettings = settings;
    common.wmiAccount = m_document.m_astrWmiAccount;
    if (m_settings.SurveyorGatewayWiring)
        common.surveyorSubnets = m_localSubnets;
    common.otherDeviceAddresses = m_document.m_survey.OtherDeviceAddresses;
    common.communities = m_settings.CommunityList;
    common.defaultGatewaySetting = m_settings.DefaultGatewaySetting;
    common.snmp = m_settings.SnmpSurveyFlag == 1;
    {
        const std::lock_guard lock(m_document.DocumentLock());
        m_document.m_survey.GatewayInfoLines.clear();
        m_document.m_survey.GatewayExternalAddressText.clear();
        m_document.m_survey.GatewayExternalAddress = 0;
        m_document.m_survey.GatewayShape = m_settings.GatewayShape;
    }
    AddThread(std::make_unique<CTh_Analysis>(*this, nullptr, QString(), common));

    for (const CWsd_Collection& record : std::as_const(m_hostRecords)) {
        auto* system = new CDrawSys(m_document.m_rcDefaultSize[1]);
        system->m_pDocument = &m_document;
        system->m_nSpacing = m_document.m_nObjectSpacing;
        {
            const std::lock_guard lock(m_document.DocumentLock());
            m_document.m_objects.append(system);
        }
        CTh_Analysis::Parameters parameters = common;
        parameters.address = record.m_strAddress;
        parameters.deviceCategory = record.m_strDeviceCategory;
        parameters.friendlyName = record.m_strFriendlyName;
        parameters.firmwareVersion = record.m_strFirmwareVersion;
        parameters.serialNumber = record.m_strSerialNumber;
        parameters.categories = record.m_astrCategories;
        parameters.mac = m_document.m_survey.ArpTable.value(record.m_strAddress);
        parameters.placeholderSeed = quint32(m_nNextThreadId + 1);
        AddThread(std::make_unique<CTh_Analysis>(*this, system, record.m_strName, parameters));
    }

    const quint32 pause = settings.at(kPauseSetting);
    if (pause == 0) {
        ResumeAll();
        return;
    }
    ResumeNext();
    m_launchTimer.start(int(pause));
}

void NetworkSurvey::AddThread(std::unique_ptr<CTh_Worker> thread)
{
    const quint64 id = ++m_nNextThreadId;
    CTh_Worker* worker = thread.get();
    worker->SetId(id);
    m_threads.emplace(id, std::move(thread));
    m_unstarted.append(worker);
    const std::lock_guard lock(m_workersLock);
    m_workers.append(worker);
    m_nRemaining = int(m_workers.size());
}

void NetworkSurvey::ResumeNext()
{
    if (!m_unstarted.isEmpty())
        Resume(m_unstarted.takeFirst());
    if (m_unstarted.isEmpty())
        m_launchTimer.stop();
}

void NetworkSurvey::ResumeAll()
{
    m_launchTimer.stop();
    while (!m_unstarted.isEmpty())
        Resume(m_unstarted.takeFirst());
}

// A thread the system refuses to create (a process limit, say) is tried
// again as others end; only when none could start for a while is its host
// given up, and counted, so that the survey still comes to its end.
void NetworkSurvey::Resume(CTh_Worker* worker)
{
    // Beyond the limit a thread waits for a running one to end; a stopped
    // survey's threads end at once, so they need no place.
    if (!m_bStopRequested && m_nRunning >= RunningLimit()) {
        m_waiting.append(worker);
        return;
    }
    if (worker->Start()) {
        m_nPeakRunning = std::max(m_nPeakRunning, ++m_nRunning);
        return;
    }
    if (m_bStopRequested) {
        RemoveWorker(worker);
        return;
    }
    m_deferred.append(worker);
    if (!m_retryTimer.isActive()) {
        m_sinceLastStart.start();
        m_retryTimer.start(kRetryMs);
    }
}

void NetworkSurvey::RetryDeferred()
{
    while (!m_deferred.isEmpty() && !m_bStopRequested && m_deferred.first()->Start()) {
        m_deferred.removeFirst();
        m_nPeakRunning = std::max(m_nPeakRunning, ++m_nRunning);
        m_sinceLastStart.restart();
    }
    if (m_deferred.isEmpty())
        return;
    if (m_bStopRequested || m_sinceLastStart.elapsed() >= kGiveUpMs) {
        DropDeferred();
        return;
    }
    m_retryTimer.start(kRetryMs);
}

void NetworkSurvey::DropDeferred()
{
    m_retryTimer.stop();
    const QList<CTh_Worker*> left = std::exchange(m_deferred, {});
    if (!m_bStopRequested)
        m_nUnsurveyed += int(left.size());
    for (CTh_Worker* worker : left)
        RemoveWorker(worker);
}

// The last worker to leave ends the survey, once the current command is done.
void NetworkSurvey::RemoveWorker(CTh_Worker* worker)
{
    bool last = false;
    {
        const std::lock_guard lock(m_workersLock);
        m_workers.removeOne(worker);
        m_nRemaining = int(m_workers.size());
        last = m_workers.isEmpty();
    }
    if (last)
        QMetaObject::invokeMethod(this, &NetworkSurvey::OnThreadsDone, Qt::QueuedConnection);
}

void NetworkSurvey::Report(const QString& text, const std::atomic<bool>& mapMode)
{
    m_reports.Deliver(text, mapMode);
}

void NetworkSurvey::TakeReports()
{
    const QStringList texts = m_reports.Take();
    if (m_bStopRequested)
        return;
    for (const QString& text : texts)
        ShowReport(text);
}

void NetworkSurvey::ShowReport(const QString& text)
{
    if (!m_bProgressOpen)
        return;
    m_frontEnd.SetProgressMessage(text);
    const int total = int(m_document.m_astrSurveyHosts.size());
    if (const std::optional<QString> count = m_progress.Report(total, m_nRemaining)) {
        m_frontEnd.SetProgressCount(*count);
        m_frontEnd.StepProgressBar();
    }
}

void NetworkSurvey::ThreadEnded(CTh_Worker& thread)
{
    const std::lock_guard end(s_threadEndLock);
    thread.Report(SurveyProgress::ThreadEndMessage(thread.Name()));
    RemoveWorker(&thread);
    const quint64 id = thread.Id();
    QMetaObject::invokeMethod(this, [this, id] { Reap(id); }, Qt::QueuedConnection);
}

void NetworkSurvey::Stop()
{
    if (m_bSurveyIdle)
        return;
    m_bStopRequested = true;
    ShowStopTexts();
    {
        const std::lock_guard lock(m_workersLock);
        for (CTh_Worker* worker : std::as_const(m_workers))
            worker->ClearMapMode();
    }
    m_reports.WakeAll();
    // Threads not started yet start now and end at once.
    ResumeAll();
    StartWaiting();
    DropDeferred();
}

void NetworkSurvey::ShowStopTexts()
{
    if (!m_bProgressOpen)
        return;
    m_frontEnd.SetProgressHeader(QStringLiteral("ただいま、終了準備中"));
    m_frontEnd.SetProgressCount(QStringLiteral("　　0台"));
    m_frontEnd.SetProgressMessage(
        QStringLiteral("クライアントとの通信を切断中です。しばらくお待ちください。"));
}

void NetworkSurvey::OnThreadsDone()
{
    JoinAll();
    if (m_bStopRequested) {
        DeleteMap();
        EndAborted();
        return;
    }
    EndFinished();
}

void NetworkSurvey::Reap(quint64 id)
{
    const auto it = m_threads.find(id);
    if (it == m_threads.end())
        return;
    it->second->Join();
    m_threads.erase(it);
    m_nRunning = std::max(0, m_nRunning - 1);
    StartWaiting();
}

int NetworkSurvey::RunningLimit() const
{
    if (m_settings.RunningThreadLimit > 0)
        return m_settings.RunningThreadLimit;
    // Enough to wait on many slow hosts at once, far from a user's
    // process limit.
    return std::clamp(32 * QThread::idealThreadCount(), 64, 256);
}

void NetworkSurvey::StartWaiting()
{
    while (!m_waiting.isEmpty() && (m_bStopRequested || m_nRunning < RunningLimit()))
        Resume(m_waiting.takeFirst());
}

void NetworkSurvey::JoinAll()
{
    for (auto& [id, thread] : m_threads)
        thread->Join();
    m_threads.clear();
}

void NetworkSurvey::DeleteMap()
{
    {
        const std::lock_guard lock(m_document.DocumentLock());
        m_document.DeleteAllObjects();
    }
    m_document.UpdateAllViews(0, nullptr);
}

void NetworkSurvey::EndFinished()
{
    if (m_bProgressOpen)
        m_frontEnd.SetProgressMessage(QStringLiteral("調査スレッドが正常終了しました。"));
    m_frontEnd.Beep(500, 100);
    if (m_bProgressOpen)
        m_frontEnd.SetProgressHeader(MapConstruction::Headline());
    OrderSurveyObjects();
    MapConstruction::MakeDomain(m_document, [this](const QString& line) {
        if (m_bProgressOpen)
            m_frontEnd.SetProgressMessage(line);
    });
    if (m_nUnsurveyed > 0)
        m_frontEnd.ShowMessage(QStringLiteral("%1 台の機器は、調査スレッドを起動できなかったため調査できませんでした。")
                                   .arg(m_nUnsurveyed));
    HostInventory inventory;
    inventory.Build(m_document, InventoryDevices());
    m_document.m_astrHostTable = inventory.Lines();
    emit mapBuilt();
    ReturnToIdle();
    m_frontEnd.RepaintMap();
    emit ended(Ending::Finished);
}

// The threads add their hosts' labels, interfaces and segments as they
// finish, in whatever order that is. Put them in host order (each host's
// in the order its thread made them, segments last by address), so that the
// same network always gives the same map file.
void NetworkSurvey::OrderSurveyObjects()
{
    QList<CDrawObj*>& objects = m_document.m_objects;
    QHash<const CDrawObj*, int> hostRank;
    qsizetype firstAdded = 0;
    for (qsizetype i = 0; i < objects.size(); ++i)
        if (auto* system = dynamic_cast<CDrawSys*>(objects.at(i)); system && typeid(*system) == typeid(CDrawSys)) {
            hostRank.insert(system, int(hostRank.size()));
            firstAdded = i + 1;
        }
    const int segments = int(hostRank.size());
    const auto rank = [&](const CDrawObj* object) -> std::pair<int, quint64> {
        if (const auto* text = dynamic_cast<const CDrawText*>(object)) {
            const CDrawObj* owner = text->m_pLabelSys;
            if (!owner)
                if (const auto* nic = dynamic_cast<const CDrawNic*>(text->m_pLabelOwner))
                    owner = nic->m_pNicOwner;
            return {hostRank.value(owner, segments + 1), 0};
        }
        if (const auto* nic = dynamic_cast<const CDrawNic*>(object))
            return {hostRank.value(nic->m_pNicOwner, segments + 1), 0};
        if (const auto* segment = dynamic_cast<const CDrawSegment*>(object))
            return {segments, (quint64(segment->m_dwAddress) << 32) | segment->m_dwMask};
        return {segments + 1, 0};
    };
    std::stable_sort(objects.begin() + firstAdded, objects.end(),
                     [&rank](const CDrawObj* a, const CDrawObj* b) { return rank(a) < rank(b); });
}

QList<HostInventory::Device> NetworkSurvey::InventoryDevices() const
{
    QList<HostInventory::Device> devices;
    for (const CWsd_Collection& record : m_hostRecords)
        devices.append({record.m_strName, record.m_strManufacturer, record.m_strFirmwareVersion,
                        record.m_strSerialNumber, record.m_astrCategories});
    return devices;
}

void NetworkSurvey::EndAborted()
{
    m_frontEnd.Beep(1000, 200);
    ReturnToIdle();
    emit ended(Ending::Aborted);
    if (m_bPickUpPending) {
        m_bPickUpPending = false;
        PickUp();
    }
}

void NetworkSurvey::EndWithoutHosts()
{
    m_frontEnd.ShowMessage(kNoHostsMessage);
    ReturnToIdle();
    m_frontEnd.RepaintMap();
    emit ended(Ending::NoHosts);
}

void NetworkSurvey::ReturnToIdle()
{
    m_bSurveyIdle = true;
    CloseProgress();
    m_frontEnd.SetSurveying(false);
}

void NetworkSurvey::CloseProgress()
{
    m_reports.Close();
    if (!m_bProgressOpen)
        return;
    m_bProgressOpen = false;
    m_frontEnd.CloseProgressWindow();
}

void NetworkSurvey::OnProgressWindowClosed()
{
    m_bProgressOpen = false;
    m_reports.Close();
}
