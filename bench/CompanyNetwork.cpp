#include "CompanyNetwork.h"

#include "document/CNetDoc.h"
#include "support/RecordingFrontEnd.h"
#include "survey/NetworkSurvey.h"
#include "survey/SurveySettings.h"

#include <QEventLoop>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// The inventory of the demo network's first computer that has one.
QJsonObject DemoInventory()
{
    QFile file(QStringLiteral(VARNEX_SOURCE_DIR "/data/demo-network.json"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    for (const QJsonValue host : QJsonDocument::fromJson(file.readAll()).object().value("hosts").toArray())
        if (host.toObject().contains(QStringLiteral("wmi")))
            return host.toObject().value(QStringLiteral("wmi")).toObject();
    return {};
}

} // namespace

std::unique_ptr<SimulatedNetwork> Company(int hosts, bool inventory)
{
    const QJsonObject wmi = inventory ? DemoInventory() : QJsonObject();
    const SimulatedLan::Tweak answersWmi = [&wmi](QJsonObject& host) { host.insert(QStringLiteral("wmi"), wmi); };
    SimulatedLan lan;
    for (int n = 0; n < hosts; ++n) {
        const QString address = QStringLiteral("10.77.%1.%2").arg(n / 250).arg(n % 250 + 1);
        const QString name = QStringLiteral("HOST%1").arg(n, 5, 10, QLatin1Char('0'));
        if (n % 10 == 9)
            lan.Printer(name.toLower() + QStringLiteral(".corp.example"), address);
        else
            lan.Computer(name, address, QStringLiteral("Domain:CORP"), inventory ? answersWmi : SimulatedLan::Tweak());
    }
    return lan.Build();
}

double PeakResidentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}


void SurveyCompany(CNetDoc& document, int hosts, bool inventory)
{
    SurveyInto(document, *Company(hosts, inventory), inventory);
}

void SurveyInto(CNetDoc& document, const SimulatedNetwork& network, bool inventory)
{
    document.m_bSnapshotsWanted = false;
    document.OnNewDocument();
    document.m_adwSurveySettings = {0, inventory ? 1u : 0u, 0, 0, 0};
    SurveySettings settings;
    RecordingFrontEnd frontEnd;
    NetworkSurvey survey(document, network, settings, frontEnd);
    QEventLoop loop;
    QObject::connect(&survey, &NetworkSurvey::ended, &loop, &QEventLoop::quit);
    survey.PickUp();
    loop.exec();
}
