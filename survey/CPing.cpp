#include "CPing.h"

#include "survey/LocalNetworkFacts.h"

CPing::CPing(const NameResolutionProbe& names, const PingProbe& ping)
    : m_names(names)
    , m_ping(ping)
{
}

quint32 CPing::HostAddress(const QString& host) const
{
    if (!host.isEmpty() && !host.front().isDigit()) {
        const std::optional<NameResolutionProbe::HostEntry> entry = m_names.LookupHost(host);
        return entry ? LocalNetworkFacts::AddressValue(entry->address) : 0;
    }
    if (host.size() > kMaxAddressText)
        return 0;
    return LocalNetworkFacts::AddressValue(WithoutLeadingZeros(host));
}

bool CPing::Ping(const QString& host) const
{
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const quint32 address = HostAddress(host);
        if (address == 0)
            continue;
        if (m_ping.Echo(LocalNetworkFacts::AddressText(address), kTimeoutMs))
            return true;
    }
    return false;
}

QString CPing::WithoutLeadingZeros(const QString& text)
{
    QString result;
    result.reserve(text.size());
    bool componentStart = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool zeroBeforeDigit = c == QLatin1Char('0') && i + 1 < text.size()
            && text.at(i + 1).isDigit();
        if (componentStart && zeroBeforeDigit)
            continue;
        componentStart = c == QLatin1Char('.');
        result.append(c);
    }
    return result;
}
