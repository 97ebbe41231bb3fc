#include "DomainAssignment.h"

namespace {

const QString kDomainMark = QStringLiteral("Domain");

QString afterFirst(const QString& text, QChar mark)
{
    return text.mid(text.indexOf(mark) + 1);
}

} // namespace

DomainAssignment DomainAssignment::Assign(const QList<CWsd_Collection>& hostRecords)
{
    DomainAssignment result;
    result.m_strSurveyDomain = SurveyDomain(Candidates(hostRecords));
    for (const CWsd_Collection& record : hostRecords) {
        if (!record.IsComputer())
            result.AddOtherDevice(record);
        else if (HasGroupText(record))
            result.AddComputer(record);
    }
    return result;
}

QStringList DomainAssignment::Candidates(const QList<CWsd_Collection>& hostRecords)
{
    QStringList candidates;
    for (const CWsd_Collection& record : hostRecords) {
        if (record.IsComputer() && HasGroupText(record))
            candidates.append(afterFirst(record.m_strComputerInfo, QLatin1Char('/')));
    }
    return candidates;
}

QString DomainAssignment::SurveyDomain(const QStringList& candidates)
{
    for (qsizetype i = 0; i < candidates.size(); ++i) {
        const QString& candidate = candidates.at(i);
        const bool hasColon = candidate.contains(QLatin1Char(':'));
        if (candidate.contains(kDomainMark)) {
            if (hasColon)
                return afterFirst(candidate, QLatin1Char(':'));
        } else if (i == candidates.size() - 1 && hasColon) {
            return afterFirst(candidate, QLatin1Char(':'));
        }
    }
    return {};
}

bool DomainAssignment::HasGroupText(const CWsd_Collection& record)
{
    return record.m_strComputerInfo.contains(QLatin1Char('/'));
}

void DomainAssignment::AddOtherDevice(const CWsd_Collection& record)
{
    m_astrSurveyHosts.append(record.m_strComputerInfo);
    OtherDeviceAddresses.append(record.m_strAddress);
    DomainOfHost[record.m_strComputerInfo] = m_strSurveyDomain;
}

void DomainAssignment::AddComputer(const CWsd_Collection& record)
{
    const QString& info = record.m_strComputerInfo;
    const QString uncName = info.left(info.indexOf(QLatin1Char('/')));
    m_astrSurveyHosts.append(uncName);
    if (info.contains(QLatin1Char(':')))
        DomainOfHost[uncName] = afterFirst(info, QLatin1Char(':'));
}
