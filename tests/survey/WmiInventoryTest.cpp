#include "survey/WmiInterpreter.h"
#include "survey/WmiInventoryStep.h"

#include <QHash>

#include <gtest/gtest.h>

namespace {

using Value = WmiSession::Value;

WmiSession::Instance Instance(const QList<std::pair<const char*, Value>>& properties)
{
    WmiSession::Instance instance;
    for (const auto& [name, value] : properties)
        instance.properties.append({QString::fromLatin1(name), value});
    return instance;
}

class FakeSession final : public WmiSession {
public:
    QHash<QString, Enumeration> classes;
    QStringList* asked = nullptr; // the probe's record, which outlives the session
    Enumeration Instances(const QString& className) const override
    {
        asked->append(className);
        return classes.value(className);
    }
};

class FakeWmi final : public WmiProbe {
public:
    quint32 connectResult = 0;
    FakeSession session;
    mutable std::optional<Credentials> credentialsGiven;
    Connection Connect(const QString&, const std::optional<Credentials>& credentials) const override
    {
        credentialsGiven = credentials;
        if (connectResult)
            return {connectResult, nullptr};
        auto copy = std::make_unique<FakeSession>();
        copy->classes = session.classes;
        copy->asked = &asked;
        return {0, std::move(copy)};
    }
    mutable QStringList asked;
};

WmiInventoryStep::Inputs Inputs(bool showFailures = true)
{
    WmiInventoryStep::Inputs inputs;
    inputs.host = QStringLiteral("\\\\PC1");
    inputs.showFailures = showFailures;
    inputs.inMapMode = [] { return true; };
    return inputs;
}

WmiInterpreter::Results Interpret(const QString& className, const QList<std::pair<QString, QString>>& values)
{
    WmiInterpreter::Results results;
    WmiInterpreter interpreter(results);
    interpreter.BeginClass(className);
    for (const auto& [property, value] : values)
        interpreter.Take(property, value);
    return results;
}

} // namespace

TEST(WmiInterpreter, MemoryAndDiskSizes)
{
    const std::pair<const char*, const char*> memory[] = {
        {"1234567", "1234MB"}, {"123", "MB"}, {"", "MB"}, {"16645360", "16645MB"}};
    for (const auto& [kilobytes, text] : memory)
        EXPECT_EQ(WmiInterpreter::Megabytes(kilobytes), text) << kilobytes;
    const std::pair<const char*, const char*> disks[] = {
        {"500107862016", "500"}, {"250059350", "0.2"}, {"80026361", "0.08"}, {"1234567", ""}, {"1000204886016", "1000"}};
    for (const auto& [bytes, text] : disks)
        EXPECT_EQ(WmiInterpreter::Gigabytes(bytes), text) << bytes;
}

TEST(WmiInterpreter, WorkedCasesOfTheClasses)
{
    const WmiInterpreter::Results os = Interpret(
        "Win32_OperatingSystem", {{"FreePhysicalMemory", "8123456"},
                                  {"Name", "Microsoft Windows 10 Pro|C:\\WINDOWS|\\Device\\Harddisk0\\Partition2"},
                                  {"TotalVisibleMemorySize", "16645360"},
                                  {"Version", "10.0.19045"}});
    EXPECT_EQ(os.caption, "Windows 10 Pro Ver10.0.19045");
    EXPECT_EQ(os.infoLines, QStringList({"Mem   TotalMemory   16645MB", "      FreeMemory    8123MB"}));

    const WmiInterpreter::Results adapters = Interpret(
        "Win32_NetworkAdapter", {{"MACAddress", "00:1A:2B:3C:4D:5E"}, {"Name", "Intel(R) Ethernet"},
                                 {"MACAddress", ""}, {"Name", "WAN Miniport (IP)"},
                                 {"MACAddress", "00:1A:2B:3C:4D:5F"}, {"Name", "ras async adapter"}});
    EXPECT_EQ(adapters.adapters, QStringList{"00-1A-2B-3C-4D-5E//Intel(R) Ethernet"});

    EXPECT_EQ(Interpret("Win32_Printer", {{"Caption", "Lab laser"}, {"ShareName", "NULL"}}).printers,
              QStringList{"NULL//Lab laser"});
    EXPECT_EQ(Interpret("Win32_SystemEnclosure", {{"ChassisTypes", "3"}}).chassisCode, 3);
    EXPECT_EQ(Interpret("Win32_SystemEnclosure", {{"ChassisTypes", "10  3"}}).chassisCode, 10);

    const WmiInterpreter::Results disks = Interpret(
        "Win32_DiskDrive", {{"Model", "Disk A"}, {"Size", "500107862016"}, {"Model", "Disk B"}, {"Size", "80026361"}});
    EXPECT_EQ(disks.infoLines, QStringList({"HD    Model/Size    Disk A/500G", "      Model/Size    Disk B/0.08G"}));

    const WmiInterpreter::Results cpu = Interpret(
        "Win32_Processor", {{"Caption", "Intel64 Family 6"}, {"CurrentClockSpeed", "3096"}, {"Name", "Core i5"}});
    EXPECT_EQ(cpu.infoLines, QStringList({"CPU   Name          Core i5", "      Caption       Intel64 Family 6",
                                          "      ClockSpeed    3096"}));
    EXPECT_EQ(Interpret("Win32_ComputerSystem", {{"Manufacturer", "Dell Inc."}, {"Model", "OptiPlex"}}).infoLines,
              QStringList({"Comp  Manufacturer  Dell Inc.", "      Model         OptiPlex"}));
}

TEST(WmiInventoryStep, ValueTexts)
{
    const QList<std::pair<Value, const char*>> cases = {
        {WmiSession::Empty{}, "EMPTY"},
        {WmiSession::Null{}, "NULL"},
        {qint64(-42), "-42"},
        {1.5, "1.500000"},
        {true, "TRUE"},
        {false, "FALSE"},
        {QStringLiteral("text"), "text"},
        {QList<qint32>{10, 3}, "10  3"},
        {QStringList{"a", "b"}, "a  b"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(WmiInventoryStep::ValueText(value), text);
}

TEST(WmiInventoryStep, ListsEveryClassInOrderWithTheListingFormat)
{
    FakeWmi wmi;
    wmi.session.classes.insert("Win32_ComputerSystem",
                               {0, {Instance({{"Manufacturer", QStringLiteral("Dell Inc.")}, {"Model", WmiSession::Null{}}})}});
    WmiInventoryStep::Outputs outputs;
    ASSERT_TRUE(WmiInventoryStep::Run(wmi, Inputs(false), outputs));
    ASSERT_GE(outputs.listing.size(), 4);
    EXPECT_EQ(outputs.listing.at(0), "ComputerSystem");
    EXPECT_EQ(outputs.listing.at(1), QStringLiteral("Manufacturer").leftJustified(32) + "\tDell Inc.");
    EXPECT_EQ(outputs.listing.at(2), QStringLiteral("Model").leftJustified(32) + "\tNULL");
    EXPECT_EQ(outputs.listing.at(3), "end end");
    EXPECT_EQ(outputs.listing.last(), "NetworkLoginProfile");
    EXPECT_EQ(outputs.listing.count("end end"), 9);
    EXPECT_EQ(wmi.asked, WmiInventoryStep::kClasses);
}

TEST(WmiInventoryStep, FailureTexts)
{
    const struct {
        const char* name;
        quint32 connect;
        bool showFailures;
        QStringList lines;
    } connects[] = {
        {"access denied", 0x80070005, true, {"ServerConnectは", "アクセスが拒否されました。"}},
        {"no text", 0x80041003, true, {"ServerConnect Cause 0x80041003"}},
        {"failures hidden", 0x80070005, false, {}},
    };
    for (const auto& c : connects) {
        SCOPED_TRACE(c.name);
        FakeWmi wmi;
        wmi.connectResult = c.connect;
        WmiInventoryStep::Outputs outputs;
        EXPECT_FALSE(WmiInventoryStep::Run(wmi, Inputs(c.showFailures), outputs));
        EXPECT_EQ(outputs.results.infoLines, c.lines);
        EXPECT_TRUE(outputs.listing.isEmpty());
    }

    FakeWmi wmi;
    wmi.session.classes.insert("Win32_Processor", {0x80041010, {}});
    wmi.session.classes.insert("Win32_DiskDrive", {0x80041010, {}});
    wmi.session.classes.insert("Win32_Printer", {WmiInventoryStep::kServerTooBusy, {}});
    WmiInventoryStep::Outputs outputs;
    EXPECT_TRUE(WmiInventoryStep::Run(wmi, Inputs(), outputs));
    // The repeated failure is written once; a busy server ends the listing.
    EXPECT_EQ(outputs.results.infoLines, QStringList({"EnumWbem Cause 0x80041010", "RPCは認証設定が必要です。"}));
    EXPECT_EQ(outputs.listing.last(), "Printer");
    EXPECT_EQ(wmi.asked.size(), 7);
}

TEST(WmiInventoryStep, AStopBetweenClassesEndsTheStep)
{
    FakeWmi wmi;
    int checks = 0;
    WmiInventoryStep::Inputs inputs = Inputs();
    inputs.inMapMode = [&checks] { return ++checks < 4; };
    WmiInventoryStep::Outputs outputs;
    EXPECT_FALSE(WmiInventoryStep::Run(wmi, inputs, outputs));
    EXPECT_LT(wmi.asked.size(), WmiInventoryStep::kClasses.size());
}

TEST(WmiInventoryStep, TheIdentityFollowsTheCredentialMode)
{
    WmiInventoryStep::Inputs inputs = Inputs();
    inputs.account = {QStringLiteral("CORP"), QStringLiteral("admin"), QStringLiteral("secret")};
    EXPECT_FALSE(WmiInventoryStep::Identity(inputs));
    inputs.credentialMode = 1;
    auto identity = WmiInventoryStep::Identity(inputs);
    ASSERT_TRUE(identity);
    EXPECT_EQ(identity->domain, "CORP");
    EXPECT_EQ(identity->user, "admin");
    EXPECT_EQ(identity->password, "secret");
    inputs.credentialMode = 2;
    EXPECT_EQ(WmiInventoryStep::Identity(inputs)->domain, "PC1");
    inputs.account.removeLast();
    EXPECT_FALSE(WmiInventoryStep::Identity(inputs));
    const QString longPassword(80, QLatin1Char('p'));
    inputs.account = {QStringLiteral("CORP"), QStringLiteral("admin"), longPassword};
    inputs.credentialMode = 1;
    EXPECT_EQ(WmiInventoryStep::Identity(inputs)->password, longPassword) << "kept whole, never cut";
}
