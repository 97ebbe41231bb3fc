#include "SambaServerInfo.h"

#include "survey/platform/linux/HelperProcess.h"
#include "survey/platform/linux/ParallelWork.h"
#include "survey/platform/linux/UniqueFd.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

Q_LOGGING_CATEGORY(lcSmb, "varnex.smb", QtInfoMsg)

namespace {

constexpr qsizetype kMaxHelperOutput = 4 * 1024 * 1024;
constexpr auto kBackslashes = "\\\\";

// A field of the helper's input: a line break inside would shift the rest.
QByteArray Line(const QString& field)
{
    QByteArray bytes = field.toUtf8();
    bytes.replace('\n', QByteArray()).replace('\r', QByteArray());
    return bytes + '\n';
}

QString BareName(const QString& serverName)
{
    return serverName.startsWith(QLatin1String(kBackslashes)) ? serverName.mid(2) : serverName;
}

} // namespace

SambaServerInfo::SambaServerInfo(const LiveDeviceDiscovery& discovery, const Options& options)
    : m_discovery(discovery)
    , m_options(options)
{
}

ServerInfoProbe::Result SambaServerInfo::ServerInfo101(const QString& serverName) const
{
    return ServerInfo101(serverName, std::nullopt);
}

ServerInfoProbe::Result SambaServerInfo::ServerInfo101(const QString& serverName,
                                                       const std::optional<Account>& account) const
{
    const SmbQueryAnswer answer = Query(BareName(serverName), account);
    if (answer.infoStatus != 0)
        return {ErrorCode(answer.infoStatus), {}};
    return {0, answer.info};
}

SharedPrinterProbe::Result SambaServerInfo::Enumerate() const
{
    const QList<LiveDeviceDiscovery::Computer> computers = m_discovery.Computers();
    std::vector<SmbQueryAnswer> answers(size_t(computers.size()));
    // Most answers are on their way already: each host thread asks for its own.
    std::atomic<qsizetype> next = 0;
    ParallelWork::Run(int(std::min<qsizetype>(computers.size(), kParallelQueries)), [&] {
        for (qsizetype i = next++; i < computers.size(); i = next++)
            answers[size_t(i)] = Query(computers.at(i).name);
    });
    SharedPrinterProbe::Result result;
    for (qsizetype i = 0; i < computers.size(); ++i)
        for (const SmbQueryAnswer::Share& printer : answers[size_t(i)].Printers())
            result.remoteNames.append(QLatin1String(kBackslashes) + computers.at(i).name + QLatin1Char('\\')
                                      + printer.name);
    return result;
}

SmbQueryAnswer SambaServerInfo::Query(const QString& name, const std::optional<Account>& account) const
{
    const QString key = name.toUpper();
    std::optional<std::promise<SmbQueryAnswer>> promise;
    std::shared_future<SmbQueryAnswer> pending;
    bool retryWithAccount = false;
    {
        const std::lock_guard guard(m_lock);
        const quint64 generation = m_discovery.Generation();
        if (generation != m_generation) {
            m_answers.clear();
            m_generation = generation;
        }
        auto found = m_answers.find(key);
        // An anonymous answer that was refused is asked again by the first
        // caller that has an account to present.
        if (found != m_answers.end() && account && !found->withAccount
            && found->answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready
            && Refused(found->answer.get())) {
            m_answers.erase(found);
            found = m_answers.end();
            retryWithAccount = true;
        }
        if (found != m_answers.end()) {
            pending = found->answer;
        } else {
            promise.emplace();
            m_answers.insert(key, {promise->get_future().share(), account.has_value()});
        }
    }
    if (pending.valid())
        return pending.get();
    SmbQueryAnswer answer = retryWithAccount ? AskWithAccount(name, *account) : Ask(name, account);
    promise->set_value(answer);
    return answer;
}

bool SambaServerInfo::Refused(const SmbQueryAnswer& answer)
{
    return answer.infoStatus == kAccessDenied || answer.sharesStatus == kAccessDenied;
}

SmbQueryAnswer SambaServerInfo::Ask(const QString& name, const std::optional<Account>& account) const
{
    SmbQueryAnswer unreachable;
    unreachable.infoStatus = kBadNetPath;
    unreachable.sharesStatus = kBadNetPath;
    const QString address = m_discovery.AddressOf(name);
    if (address.isEmpty() || !PortAccepts(address))
        return unreachable;
    SmbQueryAnswer answer = RunHelper(address, std::nullopt);
    qCDebug(lcSmb) << name << address << "anonymous: info" << answer.infoStatus << "shares" << answer.sharesStatus
                   << answer.errors;
    if (!Refused(answer) || !account)
        return answer;
    return AskWithAccount(name, *account);
}

SmbQueryAnswer SambaServerInfo::AskWithAccount(const QString& name, const Account& account) const
{
    SmbQueryAnswer refused;
    refused.infoStatus = kAccessDenied;
    refused.sharesStatus = kAccessDenied;
    // The account goes only to a host no other device claims to be, and
    // only in a form the library reads as one user.
    if (m_discovery.Claims(name) > 1 || account.user.contains(QLatin1Char('%')) || account.domain.contains(QLatin1Char('%')))
        return refused;
    const QString address = m_discovery.AddressOf(name);
    if (address.isEmpty() || !PortAccepts(address))
        return refused;
    const SmbQueryAnswer answer = RunHelper(address, SplitUser(account));
    qCDebug(lcSmb) << name << address << "with the survey account: info" << answer.infoStatus << "shares"
                   << answer.sharesStatus << answer.errors;
    return answer;
}

ServerInfoProbe::Account SambaServerInfo::SplitUser(const Account& account)
{
    // "DOMAIN\\user" names the domain in the user field.
    const qsizetype slash = account.user.indexOf(QLatin1Char('\\'));
    if (slash < 0)
        return account;
    return {account.user.left(slash), account.user.mid(slash + 1), account.password};
}

SmbQueryAnswer SambaServerInfo::RunHelper(const QString& address, const std::optional<Account>& account) const
{
    // One line each: address, domain, user, password; all empty is anonymous.
    QByteArray input = address.toUtf8() + '\n';
    if (account)
        input += Line(account->domain) + Line(account->user) + Line(account->password);
    else
        input += "\n\n\n";
    const QString helper = m_options.helper.isEmpty() ? DefaultHelper() : m_options.helper;
    const HelperProcess::Outcome outcome =
        HelperProcess::Run(helper, input, m_options.deadlineMs, kMaxHelperOutput);
    SmbQueryAnswer answer = SmbQueryAnswer::Parse(outcome.output);
    if (answer.infoStatus == SmbQueryAnswer::kNoAnswer)
        answer.infoStatus = kBadNetPath; // not started, killed, or no answer at all
    if (answer.sharesStatus == SmbQueryAnswer::kNoAnswer)
        answer.sharesStatus = kBadNetPath;
    return answer;
}

bool SambaServerInfo::PortAccepts(const QString& address) const
{
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(m_options.port);
    if (inet_pton(AF_INET, address.toLatin1().constData(), &target.sin_addr) != 1)
        return false;
    const UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd.valid())
        return false;
    if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0)
        return true;
    if (errno != EINPROGRESS)
        return false;
    pollfd pfd{fd.get(), POLLOUT, 0};
    if (::poll(&pfd, 1, m_options.connectMs) <= 0)
        return false;
    int error = 0;
    socklen_t length = sizeof error;
    return ::getsockopt(fd.get(), SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

quint32 SambaServerInfo::ErrorCode(quint32 status)
{
    // Samba reports Windows error codes; what its transport says about an
    // unreachable host the survey reports as a network path not found.
    switch (status) {
    case 64: // ERROR_NETNAME_DELETED
    case 1225: // ERROR_CONNECTION_REFUSED
    case 1231: // ERROR_NETWORK_UNREACHABLE
    case 1232: // ERROR_HOST_UNREACHABLE
    case 1236: // ERROR_CONNECTION_ABORTED
    case kTimeout:
    case SmbQueryAnswer::kNoAnswer:
        return kBadNetPath;
    default:
        return status;
    }
}

QString SambaServerInfo::DefaultHelper()
{
    const QString configured = qEnvironmentVariable("VARNEX_SMB_QUERY");
    if (!configured.isEmpty())
        return configured;
    // Beside the program in a build tree, in libexec once installed.
    const QDir programs(QCoreApplication::applicationDirPath());
    const QString beside = programs.filePath(QStringLiteral("varnex-smb-query"));
    const QString installed = programs.filePath(QStringLiteral("../libexec/varnex/varnex-smb-query"));
    return QFileInfo::exists(beside) || !QFileInfo::exists(installed) ? beside : QDir::cleanPath(installed);
}
