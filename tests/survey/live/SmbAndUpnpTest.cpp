#include "support/TestFiles.h"
#include "survey/platform/linux/HelperProcess.h"
#include "survey/platform/linux/LiveDeviceDiscovery.h"
#include "survey/platform/linux/LinuxLocalMachine.h"
#include "survey/platform/linux/SambaServerInfo.h"
#include "survey/platform/linux/SmbQueryAnswer.h"
#include "survey/platform/linux/UpnpDescription.h"

#include <QElapsedTimer>
#include <QFile>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

QString Script(const QString& name, const QByteArray& body)
{
    const QString path = TestFiles::scratchPath(name);
    TestFiles::writeAll(path, "#!/bin/sh\n" + body);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

const QByteArray kSambaAnswer = "info\t0\nplatform\t500\nname\tLABSMB\nversion\t6\t1\ntype\t8428035\n"
                                "comment\tLab file server\nshares\t0\nshare\t0\tpublic\tLab public files\n"
                                "share\t1\tLabPrinter\tlabA laser printer\nshare\t2147483651\tIPC$\tIPC Service\nend\n";

// A listening socket on the loopback interface, so the SMB port check passes.
class LoopbackListener {
public:
    LoopbackListener()
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(m_fd, 8);
        ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
    }
    ~LoopbackListener() { ::close(m_fd); }
    quint16 Port() const { return m_port; }

private:
    int m_fd = -1;
    quint16 m_port = 0;
};

QByteArray GatewayDescription(const QString& control, const QString& service = "WANIPConnection:1")
{
    return QStringLiteral(
               "<?xml version=\"1.0\"?><root xmlns=\"urn:schemas-upnp-org:device-1-0\"><device>"
               "<deviceType>urn:schemas-upnp-org:device:InternetGatewayDevice:1</deviceType>"
               "<friendlyName>Lab Router</friendlyName><manufacturer>Varnex Lab</manufacturer>"
               "<modelName>LabGW</modelName><modelNumber>1</modelNumber>"
               "<presentationURL>http://10.77.0.1/</presentationURL>"
               "<deviceList><device><deviceType>urn:schemas-upnp-org:device:WANDevice:1</deviceType>"
               "<deviceList><device><deviceType>urn:schemas-upnp-org:device:WANConnectionDevice:1</deviceType>"
               "<serviceList><service><serviceType>urn:schemas-upnp-org:service:%2</serviceType>"
               "<controlURL>%1</controlURL></service></serviceList></device></deviceList>"
               "</device></deviceList></device></root>")
        .arg(control, service)
        .toUtf8();
}

} // namespace

TEST(SmbQueryAnswer, ReadsTheHelpersLinesWithinBounds)
{
    const SmbQueryAnswer answer = SmbQueryAnswer::Parse(kSambaAnswer);
    EXPECT_TRUE(answer.complete);
    EXPECT_EQ(answer.infoStatus, 0u);
    EXPECT_EQ(answer.info.platformId, 500u);
    EXPECT_EQ(answer.info.name, "LABSMB");
    EXPECT_EQ(answer.info.versionMajor, 6u);
    EXPECT_EQ(answer.info.type, 0x00809a03u);
    EXPECT_EQ(answer.info.comment, "Lab file server");
    ASSERT_EQ(answer.Printers().size(), 1);
    EXPECT_EQ(answer.Printers()[0].name, "LabPrinter");
    EXPECT_EQ(answer.Printers()[0].comment, "labA laser printer");

    QByteArray hostile = "info\t0\ncomment\t" + QByteArray(100000, 'c') + "\\t\\n\\\\\nplatform\t-7\nshares\t0\n";
    for (int i = 0; i < SmbQueryAnswer::kMaxShares + 50; ++i)
        hostile += "share\t1\tP" + QByteArray::number(i) + "\tx\n";
    const SmbQueryAnswer bounded = SmbQueryAnswer::Parse(hostile);
    EXPECT_EQ(bounded.info.comment.size(), SmbQueryAnswer::kMaxText);
    EXPECT_EQ(bounded.info.platformId, SmbQueryAnswer::kNoAnswer);
    EXPECT_EQ(bounded.shares.size(), SmbQueryAnswer::kMaxShares);
    EXPECT_FALSE(bounded.complete);
    EXPECT_EQ(SmbQueryAnswer::Unescaped("a\\tb\\nc\\\\d\\"), "a\tb\nc\\d\\");
    EXPECT_EQ(SmbQueryAnswer::Parse("garbage\x01\x02\n\n\t\t\n").infoStatus, SmbQueryAnswer::kNoAnswer);
}

TEST(HelperProcess, AnOverrunningOrFloodingHelperIsKilledAndReaped)
{
    const struct {
        const char* name;
        QByteArray body;
        bool killed;
    } cases[] = {
        {"sleeps.sh", "sleep 30\n", true},
        {"floods.sh", "yes\n", true},
        {"answers.sh", "read host\necho \"got $host\"\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QElapsedTimer clock;
        clock.start();
        const HelperProcess::Outcome outcome =
            HelperProcess::Run(Script(c.name, c.body), "10.77.0.20\n", 300, 64 * 1024);
        EXPECT_TRUE(outcome.started);
        EXPECT_EQ(outcome.killed, c.killed);
        EXPECT_LT(clock.elapsed(), 10000);
        EXPECT_LE(outcome.output.size(), 64 * 1024);
        if (!c.killed) {
            EXPECT_EQ(outcome.output, "got 10.77.0.20\n");
        }
    }
    EXPECT_FALSE(HelperProcess::Run("/nonexistent/helper", "", 300, 10).started);
}

TEST(SambaServerInfo, TheHelpersAnswerBecomesServerInformation)
{
    const LinuxLocalMachine machine;
    const LiveDeviceDiscovery discovery(machine, {});
    const LoopbackListener smb;
    SambaServerInfo::Options options;
    options.port = smb.Port();
    options.deadlineMs = 3000;
    const QString answer = TestFiles::scratchPath("samba-answer.txt");
    TestFiles::writeAll(answer, kSambaAnswer);
    options.helper = Script("samba-answer.sh", "cat > /dev/null\ncat '" + answer.toUtf8() + "'\n");
    const SambaServerInfo samba(discovery, options);
    const ServerInfoProbe::Result result = samba.ServerInfo101(QStringLiteral("\\\\127.0.0.1"));
    EXPECT_EQ(result.error, 0u);
    EXPECT_EQ(result.info.name, "LABSMB");
    EXPECT_EQ(result.info.type, 0x00809a03u);
}

TEST(SambaServerInfo, UnreachableAndSilentHostsGetTheNetworkPathError)
{
    const LinuxLocalMachine machine;
    const LiveDeviceDiscovery discovery(machine, {});
    const LoopbackListener smb;
    SambaServerInfo::Options options;
    options.port = smb.Port();
    options.deadlineMs = 300;
    options.helper = Script("hangs.sh", "sleep 30\n");
    const SambaServerInfo hanging(discovery, options);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(hanging.ServerInfo101(QStringLiteral("\\\\127.0.0.1")).error, SambaServerInfo::kBadNetPath);
    EXPECT_LT(clock.elapsed(), 10000);
    // Asked once per search: the second caller gets the same answer at once.
    EXPECT_EQ(hanging.ServerInfo101(QStringLiteral("127.0.0.1")).error, SambaServerInfo::kBadNetPath);

    options.port = 1; // nothing listens there
    const SambaServerInfo closed(discovery, options);
    EXPECT_EQ(closed.ServerInfo101(QStringLiteral("\\\\127.0.0.1")).error, SambaServerInfo::kBadNetPath);
    EXPECT_EQ(closed.ServerInfo101(QStringLiteral("\\\\no-such-host.invalid")).error, SambaServerInfo::kBadNetPath);

    const std::pair<quint32, quint32> codes[] = {{5, 5}, {53, 53}, {1232, 53}, {1460, 53}, {87, 87}, {0xFFFFFFFF, 53}};
    for (const auto& [status, code] : codes)
        EXPECT_EQ(SambaServerInfo::ErrorCode(status), code) << status;
}

TEST(UpnpDescription, FindsTheConnectionServiceAndKeepsItOnTheGateway)
{
    const QString origin = QStringLiteral("http://10.77.0.1:5555/rootDesc.xml");
    const auto description = UpnpDescription::Parse(GatewayDescription("/ctl/IPConn"), origin);
    ASSERT_TRUE(description);
    EXPECT_EQ(description->friendlyName, "Lab Router");
    EXPECT_EQ(description->manufacturer, "Varnex Lab");
    EXPECT_EQ(description->modelName, "LabGW");
    EXPECT_EQ(description->modelNumber, "1");
    EXPECT_EQ(description->presentationUrl, "http://10.77.0.1/");
    EXPECT_EQ(description->serviceType, "urn:schemas-upnp-org:service:WANIPConnection:1");
    EXPECT_EQ(description->controlUrl, "http://10.77.0.1:5555/ctl/IPConn");
    EXPECT_TRUE(UpnpDescription::OnSameHost(description->controlUrl, origin));

    const auto ppp = UpnpDescription::Parse(GatewayDescription("/ctl/PPP", "WANPPPConnection:1"), origin);
    ASSERT_TRUE(ppp);
    EXPECT_EQ(ppp->serviceType, "urn:schemas-upnp-org:service:WANPPPConnection:1");

    const auto elsewhere = UpnpDescription::Parse(GatewayDescription("http://10.78.0.99:80/steal"), origin);
    ASSERT_TRUE(elsewhere);
    EXPECT_FALSE(UpnpDescription::OnSameHost(elsewhere->controlUrl, origin));
    EXPECT_FALSE(UpnpDescription::OnSameHost("http://10.77.0.1:80/ctl", origin));
    EXPECT_FALSE(UpnpDescription::OnSameHost("file:///etc/passwd", origin));

    EXPECT_FALSE(UpnpDescription::Parse("<html/>", origin));
    EXPECT_FALSE(UpnpDescription::Parse(QByteArray(UpnpDescription::kMaxBody + 1, ' '), origin));
    QByteArray deep = "<root xmlns=\"urn:schemas-upnp-org:device-1-0\"><device>";
    for (int i = 0; i < 5000; ++i)
        deep += "<deviceList><device>";
    for (int i = 0; i < 5000; ++i)
        deep += "</device></deviceList>";
    deep += "</device></root>";
    // Nesting beyond any gateway's is refused before it is read.
    EXPECT_FALSE(UpnpDescription::Parse(deep, origin));
    EXPECT_FALSE(UpnpDescription::OnSameHost("http://x:80@10.77.0.1:5555/ctl", origin));

    const QByteArray answer = "<?xml version=\"1.0\"?><s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\">"
                              "<s:Body><u:GetExternalIPAddressResponse xmlns:u=\"urn:schemas-upnp-org:service:WANIPConnection:1\">"
                              "<NewExternalIPAddress>%1</NewExternalIPAddress></u:GetExternalIPAddressResponse></s:Body></s:Envelope>";
    const struct {
        const char* value;
        std::optional<QString> address;
    } answers[] = {
        {"10.78.0.2", QStringLiteral("10.78.0.2")},
        {"", QString()},
        {"<b>10.78.0.2</b>", QString()},
        {"not an address", std::nullopt},
    };
    for (const auto& a : answers)
        EXPECT_EQ(UpnpDescription::ExternalAddress(QString::fromLatin1(answer).arg(QLatin1String(a.value)).toUtf8()), a.address)
            << a.value;
    EXPECT_TRUE(UpnpDescription::IsConnectionServiceType("urn:schemas-upnp-org:service:WANIPConnection:1"));
    EXPECT_FALSE(UpnpDescription::IsConnectionServiceType("urn:schemas-upnp-org:service:WANIPConnection:1\r\nX: y"));
}

TEST(SambaServerInfo, TheSurveyAccountIsPresentedOnlyWhenAnonymousAccessIsRefused)
{
    const LinuxLocalMachine machine;
    const LiveDeviceDiscovery discovery(machine, {});
    const LoopbackListener smb;
    const QString answer = TestFiles::scratchPath("account-answer.txt");
    TestFiles::writeAll(answer, kSambaAnswer);
    const QString log = TestFiles::scratchPath("account-calls.txt");
    SambaServerInfo::Options options;
    options.port = smb.Port();
    options.deadlineMs = 3000;
    // Refuses anonymous callers; logs what it was given on its command line
    // and whether a password came on its input.
    options.helper = Script("account.sh",
                            "read host; read domain; read user; read password\n"
                            "echo \"args=[$*] user=$domain/$user password-given=${password:+yes}\" >> '"
                                + log.toUtf8() + "'\n"
                                "if [ \"$user\" = admin ] && [ \"$password\" = 's3cret' ]; then cat '"
                                + answer.toUtf8() + "'; else printf 'info\\t5\\nshares\\t5\\nend\\n'; fi\n");
    const SambaServerInfo samba(discovery, options);
    EXPECT_EQ(samba.ServerInfo101(QStringLiteral("\\\\127.0.0.1"), std::nullopt).error, SambaServerInfo::kAccessDenied);

    const SambaServerInfo withAccount(discovery, options);
    const ServerInfoProbe::Account account{QStringLiteral("CORP"), QStringLiteral("admin"), QStringLiteral("s3cret")};
    const ServerInfoProbe::Result result = withAccount.ServerInfo101(QStringLiteral("localhost"), account);
    EXPECT_EQ(result.error, 0u);
    EXPECT_EQ(result.info.name, "LABSMB");
    const QString calls = QString::fromUtf8(TestFiles::readAll(log));
    EXPECT_EQ(calls,
              "args=[] user=/ password-given=\n"
              "args=[] user=/ password-given=\n"
              "args=[] user=CORP/admin password-given=yes\n");
    EXPECT_FALSE(calls.contains("s3cret"));
}

TEST(SambaServerInfo, ARefusedAnonymousAnswerIsAskedAgainByTheFirstCallerWithAnAccount)
{
    const LinuxLocalMachine machine;
    const LiveDeviceDiscovery discovery(machine, {});
    const LoopbackListener smb;
    const QString answer = TestFiles::scratchPath("retry-answer.txt");
    TestFiles::writeAll(answer, kSambaAnswer);
    SambaServerInfo::Options options;
    options.port = smb.Port();
    options.deadlineMs = 3000;
    options.helper = Script("retry.sh", "read host; read domain; read user; read password\n"
                                        "if [ \"$user\" = admin ]; then cat '" + answer.toUtf8()
                                        + "'; else printf 'info\\t5\\nshares\\t5\\nend\\n'; fi\n");
    const SambaServerInfo samba(discovery, options);
    // The shared-printer walk asks first, without an account.
    EXPECT_EQ(samba.Query(QStringLiteral("localhost")).infoStatus, SambaServerInfo::kAccessDenied);
    const ServerInfoProbe::Account account{QStringLiteral("CORP"), QStringLiteral("admin"), QStringLiteral("pw")};
    EXPECT_EQ(samba.ServerInfo101(QStringLiteral("\\\\localhost"), account).error, 0u);
    EXPECT_EQ(samba.Query(QStringLiteral("LOCALHOST")).info.name, "LABSMB") << "the better answer is kept";
    // A user that the library would split at its password separator is not presented.
    const SambaServerInfo odd(discovery, options);
    const ServerInfoProbe::Account split{QStringLiteral("CORP"), QStringLiteral("ad%min"), QStringLiteral("pw")};
    EXPECT_EQ(odd.ServerInfo101(QStringLiteral("\\\\localhost"), split).error, SambaServerInfo::kAccessDenied);
}
