#pragma once

#include "CWsd_Collection.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// Decides which domain or workgroup every discovered host belongs to, from
// the "\\NAME/Domain:X" or "\\NAME/Workgroup:Y" texts that computers
// announce. Devices that are not computers join the survey domain: the first
// domain any computer names, else the group of the last computer.
class DomainAssignment {
public:
    static DomainAssignment Assign(const QList<CWsd_Collection>& hostRecords);
    // The texts after the first "/" of the computers' infos, in host order.
    static QStringList Candidates(const QList<CWsd_Collection>& hostRecords);
    static QString SurveyDomain(const QStringList& candidates);

    QString m_strSurveyDomain;
    QStringList m_astrSurveyHosts;
    QMap<QString, QString> DomainOfHost;
    QStringList OtherDeviceAddresses;

private:
    static bool HasGroupText(const CWsd_Collection& record);
    void AddOtherDevice(const CWsd_Collection& record);
    void AddComputer(const CWsd_Collection& record);
};
