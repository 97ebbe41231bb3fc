#pragma once

#include <QString>
#include <QStringList>

#include <random>

class CDrawSys;
class CNetDoc;

// Fills a document the way a finished survey leaves it: one system per
// host, made at the tower's default size and filled through the calls of
// the survey's transfer, plus the host table and the gateway results. The
// same seed gives the same survey.
class SurveyGenerator {
public:
    explicit SurveyGenerator(quint32 seed);

    void Fill(CNetDoc& document, int hostCount);

private:
    struct Host {
        QString name;
        QString unc;
        bool computer = true;
        QString fqdn;
        QString domain;
    };

    Host NewHost(int index);
    QString HostName(int index, bool computer);
    QString DnsName(const QString& name, const QString& domain);
    void Transfer(CDrawSys& system, const Host& host, int index);
    void AddAdapters(CDrawSys& system, int index);
    void AddSharedPrinters(CDrawSys& system, const Host& host);
    void SetGatewayResults(CNetDoc& document);

    bool Chance(int percent);
    int Pick(int count);

    std::mt19937 m_random;
    QStringList m_domains;
    QList<quint32> m_gateways;
    QStringList m_hostNames;
    QStringList m_dnsNames;
};
