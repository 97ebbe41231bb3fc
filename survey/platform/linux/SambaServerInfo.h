#pragma once

#include "survey/platform/ServerInfoProbe.h"
#include "survey/platform/SharedPrinterProbe.h"
#include "survey/platform/linux/LiveDeviceDiscovery.h"
#include "survey/platform/linux/SmbQueryAnswer.h"

#include <QHash>
#include <QString>

#include <future>
#include <mutex>

// Server information and shared printers of the network's computers over
// SMB. Each host is asked once per survey, by a helper process that runs
// Samba's client library (which tolerates neither a second thread nor a
// short time-out); many helpers run at once, each killed at its deadline.
// A host whose SMB port does not accept a connection is not handed to
// Samba at all.
class SambaServerInfo final : public ServerInfoProbe, public SharedPrinterProbe {
public:
    struct Options {
        int connectMs = 1500; // to see the SMB port accept a connection
        int deadlineMs = 8000; // for the helper's whole exchange
        quint16 port = 445;
        QString helper; // empty: varnex-smb-query beside the program
    };

    static constexpr quint32 kBadNetPath = 53; // ERROR_BAD_NETPATH
    static constexpr quint32 kTimeout = 1460; // ERROR_TIMEOUT
    static constexpr int kParallelQueries = 16;

    SambaServerInfo(const LiveDeviceDiscovery& discovery, const Options& options);

    static constexpr quint32 kAccessDenied = 5; // ERROR_ACCESS_DENIED

    ServerInfoProbe::Result ServerInfo101(const QString& serverName) const override;
    // Anonymous first; the account only where anonymous access is refused.
    ServerInfoProbe::Result ServerInfo101(const QString& serverName,
                                          const std::optional<Account>& account) const override;
    SharedPrinterProbe::Result Enumerate() const override;

    // The answer for one host, asked once and kept for the next caller.
    SmbQueryAnswer Query(const QString& name, const std::optional<Account>& account = std::nullopt) const;
    // The Windows error code the survey reports for a failed query.
    static quint32 ErrorCode(quint32 status);
    static QString DefaultHelper();

private:
    SmbQueryAnswer Ask(const QString& name, const std::optional<Account>& account) const;
    SmbQueryAnswer AskWithAccount(const QString& name, const Account& account) const;
    static Account SplitUser(const Account& account);
    static bool Refused(const SmbQueryAnswer& answer);
    // One helper run; the account's password travels on its standard input.
    SmbQueryAnswer RunHelper(const QString& address, const std::optional<Account>& account) const;
    bool PortAccepts(const QString& address) const;

    const LiveDeviceDiscovery& m_discovery;
    Options m_options;
    mutable std::mutex m_lock;
    struct Entry {
        std::shared_future<SmbQueryAnswer> answer;
        bool withAccount = false; // an account could be presented
    };
    mutable QHash<QString, Entry> m_answers; // upper-case name; guarded
    mutable quint64 m_generation = 0; // the search the answers belong to; guarded
};
