// The WMI inventory over the real transport: NTLM logon, sealed messages
// and the enumeration against the test responder on the loopback interface.
#include "WsManResponder.h"

#include "survey/WmiInventoryStep.h"
#include "survey/platform/linux/LinuxLocalMachine.h"
#include "survey/platform/linux/LiveDeviceDiscovery.h"
#include "survey/platform/linux/WsManWmiProbe.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

struct Survey {
    WmiInventoryStep::Outputs outputs;
    bool listed = false;
    qint64 ms = 0;
};

class WsManTransport : public ::testing::Test {
protected:
    Survey Inventory(quint16 port, const QString& password = QString::fromLatin1(WsManResponder::kPassword),
                     WsManWmiProbe::Options options = {})
    {
        options.connection.port = port;
        const WsManWmiProbe probe(m_discovery, options);
        WmiInventoryStep::Inputs inputs;
        inputs.host = m_host;
        inputs.showFailures = true;
        inputs.credentialMode = 1;
        inputs.account = {QString::fromLatin1(WsManResponder::kDomain), QString::fromLatin1(WsManResponder::kUser),
                          password};
        inputs.inMapMode = [] { return true; };
        Survey survey;
        QElapsedTimer timer;
        timer.start();
        survey.listed = WmiInventoryStep::Run(probe, inputs, survey.outputs);
        survey.ms = timer.elapsed();
        return survey;
    }

    // A loopback port that was free a moment ago and has no listener.
    static quint16 ClosedPort()
    {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
        ::close(fd);
        return ntohs(address.sin_port);
    }

    static QStringList ListedClasses(const Survey& survey)
    {
        QStringList classes;
        for (const QString& line : survey.outputs.listing)
            if (!line.contains(QLatin1Char('\t')) && line != QLatin1String("end end"))
                classes.append(line);
        return classes;
    }

    LinuxLocalMachine m_machine;
    LiveDeviceDiscovery m_discovery{m_machine, {}};
    QString m_host = QStringLiteral("\\\\127.0.0.1");
};

#define START_RESPONDER(var, ...)                                                                              \
    const auto var = std::make_unique<WsManResponder>(QStringList __VA_ARGS__);                                                                 \
    if (!var->IsUp())                                                                                          \
    GTEST_SKIP() << "no test responder: " << var->Problem().toStdString()

} // namespace

TEST_F(WsManTransport, TheRightAccountGetsTheWholeInventory)
{
    START_RESPONDER(responder, {});
    const Survey survey = Inventory(responder->Port());
    ASSERT_TRUE(survey.listed) << survey.outputs.results.infoLines.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(ListedClasses(survey).size(), WmiInventoryStep::kClasses.size());
    const QStringList& listing = survey.outputs.listing;
    EXPECT_TRUE(listing.contains(QStringLiteral("Manufacturer                    \tLENOVO")))
        << listing.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(listing.contains(QStringLiteral("ChassisTypes                    \t35")));
    const WmiInterpreter::Results& results = survey.outputs.results;
    EXPECT_EQ(results.chassisCode, 35);
    EXPECT_TRUE(results.infoLines.join(QLatin1Char('\n')).contains(QStringLiteral("LENOVO")))
        << results.infoLines.join(QLatin1Char('\n')).toStdString();
}

TEST_F(WsManTransport, FailuresGiveTheTextOfTheirCause)
{
    START_RESPONDER(responder, {});
    START_RESPONDER(denying, {QStringLiteral("--deny-user"), QString::fromLatin1(WsManResponder::kUser)});
    const quint16 nothing = ClosedPort();

    const QString denied = QStringLiteral("アクセスが拒否されました。");
    const Survey wrong = Inventory(responder->Port(), QStringLiteral("wrong"));
    EXPECT_FALSE(wrong.listed);
    EXPECT_EQ(wrong.outputs.results.infoLines, (QStringList{QStringLiteral("ServerConnectは"), denied}));

    const Survey absent = Inventory(nothing);
    EXPECT_EQ(absent.outputs.results.infoLines,
              (QStringList{QStringLiteral("ServerConnectは"), QStringLiteral("RPC サーバーを利用できません。")}));

    // Every class refused: one line, not ten.
    const Survey refused = Inventory(denying->Port());
    EXPECT_TRUE(refused.listed);
    EXPECT_EQ(refused.outputs.results.infoLines, QStringList{QStringLiteral("RPCは") + denied});
}

TEST_F(WsManTransport, ALogOnGoesOnlyToAHostNoOtherAddressClaimsToBe)
{
    START_RESPONDER(responder, {});
    m_host = QStringLiteral("\\\\PC-KEIRI");
    // Two responders of one host, and its IPv6 answer: one claimant.
    m_discovery.Remember({{QStringLiteral("PC-KEIRI"), QStringLiteral("127.0.0.1")},
                          {QStringLiteral("pc-keiri"), QStringLiteral("127.0.0.1")},
                          {QStringLiteral("PC-KEIRI"), QStringLiteral("fe80::1")}});
    const Survey sole = Inventory(responder->Port());
    EXPECT_TRUE(sole.listed) << sole.outputs.results.infoLines.join(QLatin1Char('\n')).toStdString();

    // Another address claims the name too: no logon goes to either.
    m_discovery.Remember({{QStringLiteral("PC-KEIRI"), QStringLiteral("127.0.0.1")},
                          {QStringLiteral("pc-keiri"), QStringLiteral("127.0.0.2")}});
    const Survey contested = Inventory(responder->Port());
    EXPECT_FALSE(contested.listed);
    EXPECT_EQ(contested.outputs.results.infoLines,
              (QStringList{QStringLiteral("ServerConnectは"), QStringLiteral("アクセスが拒否されました。")}));
}

TEST_F(WsManTransport, ABusyServerEndsTheRemainingClasses)
{
    START_RESPONDER(responder, {QStringLiteral("--busy"), QStringLiteral("Win32_Processor")});
    const Survey survey = Inventory(responder->Port());
    EXPECT_EQ(ListedClasses(survey), (QStringList{QStringLiteral("ComputerSystem"), QStringLiteral("OperatingSystem"),
                                                  QStringLiteral("Processor")}));
    EXPECT_TRUE(survey.outputs.results.infoLines.contains(QStringLiteral("RPCは認証設定が必要です。")));
}

TEST_F(WsManTransport, HugeEndlessOrSlowClassesCostBoundedTime)
{
    WsManWmiProbe::Options small;
    small.limits.maxInstances = 5000;
    small.limits.maxPulls = 40;
    const QString tooLarge = QStringLiteral("RPCは") + QStringLiteral("このコマンドを実行するのに十分な記憶域がありません。");
    {
        START_RESPONDER(responder, {QStringLiteral("--huge"), QStringLiteral("Win32_Product:100000")});
        const Survey survey = Inventory(responder->Port(), QString::fromLatin1(WsManResponder::kPassword), small);
        EXPECT_TRUE(survey.outputs.results.infoLines.contains(tooLarge));
        // The classes after it are still read.
        EXPECT_EQ(ListedClasses(survey).size(), WmiInventoryStep::kClasses.size());
    }
    {
        START_RESPONDER(responder, {QStringLiteral("--never-ending"), QStringLiteral("Win32_Product")});
        const Survey survey = Inventory(responder->Port(), QString::fromLatin1(WsManResponder::kPassword), small);
        EXPECT_TRUE(survey.outputs.results.infoLines.contains(tooLarge));
        EXPECT_EQ(ListedClasses(survey).size(), WmiInventoryStep::kClasses.size());
    }
    {
        START_RESPONDER(responder, {QStringLiteral("--slow-ms"), QStringLiteral("300")});
        WsManWmiProbe::Options hurried;
        hurried.hostBudgetMs = 1700;
        const Survey survey = Inventory(responder->Port(), QString::fromLatin1(WsManResponder::kPassword), hurried);
        EXPECT_LT(survey.ms, 4000);
        EXPECT_EQ(survey.outputs.results.infoLines.count(QStringLiteral("RPCは")
                                                         + QStringLiteral("タイムアウト期間が経過したため、この操作は終了しました。")),
                  1)
            << survey.outputs.results.infoLines.join(QLatin1Char('\n')).toStdString();
    }
}

TEST_F(WsManTransport, OverHttpsTheLogOnTravelsInTlsAndOnlyATrustedServerIsAsked)
{
    QTemporaryDir keys;
    const QString cert = keys.filePath(QStringLiteral("cert.pem"));
    const QString key = keys.filePath(QStringLiteral("key.pem"));
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1", "-subj", "/CN=127.0.0.1",
                   "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", key, "-out", cert});
    if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0)
        GTEST_SKIP() << "no openssl to make a test certificate";
    START_RESPONDER(responder, {QStringLiteral("--tls"), cert, key});
    WsManWmiProbe::Options options;
    options.connection.https = true;
    options.connection.caFile = cert;
    const Survey trusted = Inventory(responder->Port(), QString::fromLatin1(WsManResponder::kPassword), options);
    EXPECT_TRUE(trusted.listed) << trusted.outputs.results.infoLines.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(trusted.outputs.listing.contains(QStringLiteral("Manufacturer                    \tLENOVO")));

    options.connection.caFile.clear(); // the system's anchors do not know it
    const Survey untrusted = Inventory(responder->Port(), QString::fromLatin1(WsManResponder::kPassword), options);
    EXPECT_FALSE(untrusted.listed);
    EXPECT_TRUE(untrusted.outputs.listing.isEmpty());
}
