#include "survey/platform/linux/IcmpEchoProbe.h"
#include "survey/platform/linux/LinuxLocalMachine.h"
#include "survey/platform/linux/LiveDeviceDiscovery.h"
#include "survey/platform/linux/NetlinkLocalNetwork.h"
#include "survey/platform/linux/ResolverNames.h"

#include "survey/CFDNotificationCallback.h"
#include "survey/CWsd_Collection.h"

#include <gtest/gtest.h>

TEST(IcmpEchoProbe, RequestsCarryTheSurveyPayloadAndAValidChecksum)
{
    const QByteArray request = IcmpEchoProbe::Request(0x1234, 0x0102, IcmpEchoProbe::Payload());
    ASSERT_EQ(request.size(), 8 + 18);
    EXPECT_EQ(quint8(request[0]), 8);
    EXPECT_EQ(request.mid(8), QByteArray("This is Ping Test\0", 18));
    // A message with its checksum in place sums to zero.
    EXPECT_EQ(IcmpEchoProbe::Checksum(request), 0);
}

TEST(IcmpEchoProbe, RepliesAreMatchedBySequenceAndPayload)
{
    const QByteArray payload = IcmpEchoProbe::Payload();
    QByteArray reply = IcmpEchoProbe::Request(0x9999, 7, payload);
    reply[0] = 0; // echo reply; the kernel may have rewritten the id
    EXPECT_TRUE(IcmpEchoProbe::IsReply(reply, 7, payload));
    EXPECT_FALSE(IcmpEchoProbe::IsReply(reply, 8, payload));
    EXPECT_FALSE(IcmpEchoProbe::IsReply(reply, 7, QByteArray("other payload.....", 18)));
    EXPECT_FALSE(IcmpEchoProbe::IsReply(reply.left(12), 7, payload));
    QByteArray request = reply;
    request[0] = 8;
    EXPECT_FALSE(IcmpEchoProbe::IsReply(request, 7, payload));
}

TEST(IcmpEchoProbe, LoopbackAnswersAndAnUnusableAddressDoesNot)
{
    if (IcmpEchoProbe::SocketMode() == IcmpEchoProbe::Mode::Unavailable)
        GTEST_SKIP() << "no ICMP socket is allowed for this user (net.ipv4.ping_group_range)";
    const IcmpEchoProbe ping;
    EXPECT_TRUE(ping.Echo(QStringLiteral("127.0.0.1"), 500));
    EXPECT_FALSE(ping.Echo(QStringLiteral("not an address"), 500));
}

TEST(NetlinkLocalNetwork, MasksAndTheLoopbackAdapter)
{
    EXPECT_EQ(NetlinkLocalNetwork::MaskText(24), "255.255.255.0");
    EXPECT_EQ(NetlinkLocalNetwork::MaskText(0), "0.0.0.0");
    EXPECT_EQ(NetlinkLocalNetwork::MaskText(32), "255.255.255.255");
    EXPECT_EQ(NetlinkLocalNetwork::MaskText(17), "255.255.128.0");
    // Reading the tables must work; the loopback adapter is never listed.
    for (const LocalNetworkProbe::Adapter& adapter : NetlinkLocalNetwork().Adapters())
        EXPECT_NE(adapter.name, "lo");
}

TEST(ResolverNames, LoopbackNamesAndUnknownNames)
{
    const ResolverNames names;
    EXPECT_EQ(names.ForwardLookup(QStringLiteral("localhost")), "127.0.0.1");
    EXPECT_EQ(names.ReverseLookup(QString()), QString());
    EXPECT_EQ(names.ReverseLookup(QStringLiteral("not-an-address")), "not-an-address");
    EXPECT_FALSE(names.LookupHost(QString(300, QLatin1Char('a'))));
    const auto entry = names.LookupHost(QStringLiteral("localhost"));
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->address, "127.0.0.1");
}

TEST(LinuxLocalMachine, WorkgroupFromSambasGlobalSection)
{
    const struct {
        const char* conf;
        const char* workgroup;
    } cases[] = {
        {"", "WORKGROUP"},
        {"[global]\n   workgroup = labwg\n", "LABWG"},
        {"[global]\n; workgroup = NOPE\n\tWorkGroup=Office ; comment\n", "OFFICE"},
        {"[homes]\nworkgroup = SHARE\n[global]\nserver string = x\n", "WORKGROUP"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LinuxLocalMachine::WorkgroupOf(QString::fromLatin1(c.conf)), c.workgroup) << c.conf;
}

TEST(LinuxLocalMachine, NamesTheMachineAndItsSystem)
{
    const LinuxLocalMachine machine;
    EXPECT_FALSE(machine.ComputerName().isEmpty());
    EXPECT_EQ(machine.ComputerName(), machine.ComputerName().toUpper());
    EXPECT_FALSE(machine.ComputerName().contains(QLatin1Char('.')));
    EXPECT_FALSE(machine.OsName().isEmpty());
    EXPECT_TRUE(machine.WmiCapable());
}

TEST(LiveDeviceDiscovery, TheMachinePublishesItselfAsAComputerOfItsWorkgroup)
{
    DeviceDiscoveryProbe::Result result;
    result.devices.append(LiveDeviceDiscovery::LocalPublication(QStringLiteral("LABSURV"),
                                                                QStringLiteral("LABWG"),
                                                                QStringLiteral("10.77.0.10")));
    CFDNotificationCallback sink;
    sink.Replay(result);
    QList<CWsd_Collection> records = CWsd_Collection::GroupDumpLines(sink.Lines());
    ASSERT_EQ(records.size(), 1);
    records[0].Parse([](const QString& address) { return address; });
    EXPECT_EQ(records[0].m_strComputerInfo, "\\\\LABSURV/Workgroup:LABWG");
    EXPECT_EQ(records[0].m_strAddress, "10.77.0.10");
    // The same machine keeps its identity from one survey to the next.
    EXPECT_EQ(LiveDeviceDiscovery::LocalPublication("LABSURV", "X", "1.2.3.4").providerInstanceId,
              result.devices[0].providerInstanceId);
}
