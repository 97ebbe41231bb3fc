#include "NetSnmpProbe.h"

#include "survey/platform/linux/SnmpVariable.h"

#include <QDir>
#include <QStringList>

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <cstdlib>
#include <memory>
#include <mutex>
#include <vector>

namespace {

constexpr size_t kMaxOidLength = 128;

std::vector<oid> Identifier(const QString& text)
{
    std::vector<oid> parts;
    for (const QString& part : text.split(QLatin1Char('.'), Qt::SkipEmptyParts)) {
        bool ok = false;
        const qulonglong value = part.toULongLong(&ok);
        if (!ok || value > 0xffffffffULL || parts.size() >= kMaxOidLength)
            return {};
        parts.push_back(oid(value));
    }
    return parts;
}

struct SessionCloser {
    void operator()(void* session) const { snmp_sess_close(session); }
};
struct PduFreer {
    void operator()(netsnmp_pdu* pdu) const { snmp_free_pdu(pdu); }
};

} // namespace

void NetSnmpProbe::InitialiseOnce()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // No configuration, no persistent state and no MIB files: the
        // survey asks two numeric identifiers and writes nothing.
        setenv("MIBS", "", 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
        // Its set-up makes a certificate index folder in the persistent
        // directory whatever the settings say: let it make it in a scratch
        // folder, gone once the set-up is done.
        char scratch[] = "/tmp/varnex-snmp-XXXXXX";
        const bool haveScratch = mkdtemp(scratch) != nullptr;
        if (haveScratch)
            netsnmp_ds_set_string(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_PERSISTENT_DIR, scratch);
        // With no handler at all it would log to standard error.
        netsnmp_register_loghandler(NETSNMP_LOGHANDLER_NONE, LOG_EMERG);
        init_snmp("varnex");
        if (haveScratch)
            QDir(QString::fromLocal8Bit(scratch)).removeRecursively();
    });
}

SnmpProbe::Result NetSnmpProbe::Get(const QString& agent, const QString& community, const QString& oidText,
                                    int timeoutMs) const
{
    InitialiseOnce();
    // Debian's net-snmp is built without its own locks: its request ids and
    // counters are shared by every session.
    static std::mutex lock;
    const std::lock_guard guard(lock);
    const std::vector<oid> identifier = Identifier(oidText);
    if (identifier.empty())
        return {};
    const QByteArray peer = QStringLiteral("udp:%1:161").arg(agent).toLatin1();
    QByteArray name = community.toLatin1();
    netsnmp_session settings;
    snmp_sess_init(&settings);
    settings.version = SNMP_VERSION_1;
    settings.peername = const_cast<char*>(peer.constData());
    settings.community = reinterpret_cast<u_char*>(name.data());
    settings.community_len = size_t(name.size());
    settings.timeout = long(qMax(timeoutMs, 1)) * 1000;
    settings.retries = 0; // the caller repeats
    const std::unique_ptr<void, SessionCloser> session(snmp_sess_open(&settings));
    if (!session)
        return {};
    netsnmp_pdu* request = snmp_pdu_create(SNMP_MSG_GET);
    snmp_add_null_var(request, identifier.data(), identifier.size());
    netsnmp_pdu* answer = nullptr;
    const int status = snmp_sess_synch_response(session.get(), request, &answer);
    const std::unique_ptr<netsnmp_pdu, PduFreer> response(answer);
    if (status != STAT_SUCCESS || !response)
        return {};
    Result result;
    result.answered = true;
    result.errorStatus = quint32(response->errstat);
    if (response->errstat == SNMP_ERR_NOERROR && response->variables)
        result.value = SnmpVariable::ValueOf(*response->variables);
    return result;
}
