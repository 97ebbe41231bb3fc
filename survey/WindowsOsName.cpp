#include "WindowsOsName.h"

#include <algorithm>
#include <array>

namespace {

struct CodeText {
    quint32 code;
    const char* text;
};

constexpr auto kEditions = std::to_array<CodeText>({
    {1, "Ultimate Edition"},
    {2, "Home Basic Edition"},
    {3, "Home Premium Edition"},
    {4, "Enterprise Edition"},
    {6, "Business Edition"},
    {7, "Standard Edition"},
    {8, "Server Datacenter (full installation)"},
    {9, "Small Business Server"},
    {10, "Enterprise Edition"},
    {11, "Starter Edition"},
    {12, "Datacenter Edition (core installation)"},
    {13, "Standard Edition (core installation)"},
    {14, "Enterprise Edition (core installation)"},
    {15, "Enterprise Edition for Itanium-based Systems"},
    {17, "Web Server Edition"},
    {18, "Cluster Server Edition"},
    {19, "Windows Storage Server 2008 R2 Essentials"},
    {20, "Storage Server Express"},
    {21, "Storage Server Standard"},
    {22, "Storage Server Workgroup"},
    {23, "Storage Server Enterprise"},
    {24, "Windows Server 2008 for Windows Essential Server Solutions"},
    {25, "Small Business Server Premium Edition"},
    {26, "Home Premium N"},
    {28, "Ultimate N"},
    {29, "Web Server (core installation)"},
    {30, "Windows Essential Business Server Management Server"},
    {31, "Windows Essential Business Server Security Server"},
    {32, "Windows Essential Business Server Messaging Server"},
    {33, "Server Foundation"},
    {34, "Windows Home Server 2011"},
    {35, "Windows Server 2008 without Hyper-V for Windows Essential Server Solutions"},
    {36, "Server Standard without Hyper-V"},
    {37, "Server Datacenter without Hyper-V (full installation)"},
    {38, "Server Enterprise without Hyper-V (full installation)"},
    {39, "Server Datacenter without Hyper-V (core installation)"},
    {40, "Server Standard without Hyper-V (core installation)"},
    {41, "Server Enterprise without Hyper-V (core installation)"},
    {42, "Microsoft Hyper-V Server"},
    {43, "Storage Server Express (core installation)"},
    {44, "Storage Server Standard (core installation)"},
    {45, "Storage Server Workgroup (core installation)"},
    {46, "Storage Server Enterprise (core installation)"},
    {47, "Starter N"},
    {48, "Professional"},
    {50, "Windows Small Business Server 2011 Essentials"},
    {51, "Server For SB Solutions"},
    {52, "Server Solutions Premium"},
    {53, "Server Solutions Premium (core installation)"},
    {55, "Server For SB Solutions EM"},
    {56, "Windows MultiPoint Server"},
    {59, "Windows Essential Server Solution Management"},
    {60, "Windows Essential Server Solution Additional"},
    {61, "Windows Essential Server Solution Management SVC"},
    {62, "Windows Essential Server Solution Additional SVC"},
    {63, "Small Business Server Premium (core installation)"},
    {64, "Server Hyper Core V"},
});

// Home and starter editions may not be surveyed remotely through WMI.
constexpr std::array<quint32, 4> kEditionsWithoutWmi{2, 3, 11, 26};

struct ProductPair {
    const char* workstation;
    const char* server;
};

// Version 6 names by minor version.
constexpr auto kVersion6Products = std::to_array<ProductPair>({
    {"Windows Vista ", "Windows Server 2008 "},
    {"Windows 7 ", "Windows Server 2008 R2 "},
    {"Windows 8 ", "Windows Server 2012"},
    {"Windows 8.1 ", "Windows Server 2012 R2"},
});

QString latin(const char* text)
{
    return QString::fromLatin1(text);
}

} // namespace

WindowsOsName::Result WindowsOsName::Name(const VersionFacts& facts)
{
    if (facts.platformId == kPlatformWindows9x)
        return Windows9x(facts);
    if (facts.platformId == kPlatformNt)
        return NtLine(facts);
    return {};
}

QString WindowsOsName::EditionText(quint32 productTypeCode)
{
    const auto found = std::find_if(kEditions.begin(), kEditions.end(),
                                    [&](const CodeText& e) { return e.code == productTypeCode; });
    return found == kEditions.end() ? QString() : latin(found->text);
}

WindowsOsName::Result WindowsOsName::Windows9x(const VersionFacts& facts)
{
    switch (facts.minor) {
    case 0:
        return {latin("Windows 95"), false};
    case 10:
        return {latin("Windows 98"), false};
    case 90:
        return {latin("Windows ME"), false};
    default:
        return {};
    }
}

WindowsOsName::Result WindowsOsName::NtLine(const VersionFacts& facts)
{
    Result result{QString(), true};
    if (facts.major == 3)
        result.name = latin("Windows NT 3.51");
    else if (facts.major == 4)
        result.name = latin("Windows NT 4.0");
    else if (facts.major == 6)
        result = Version6(facts);
    else if (facts.major == 5)
        result = Version5(facts);
    result.name += NtSuffix(facts);
    if (facts.major == 10 && facts.minor == 0) {
        const bool workstation = facts.productType == kProductWorkstation;
        result.name.prepend(latin(workstation ? "Windows 10" : "Windows Server 2016"));
    }
    return result;
}

WindowsOsName::Result WindowsOsName::Version6(const VersionFacts& facts)
{
    QString product;
    if (facts.minor < kVersion6Products.size()) {
        const ProductPair& pair = kVersion6Products[facts.minor];
        product = latin(facts.productType == kProductWorkstation ? pair.workstation : pair.server);
    }
    const bool noWmi = std::find(kEditionsWithoutWmi.begin(), kEditionsWithoutWmi.end(),
                                 facts.productTypeCode)
                       != kEditionsWithoutWmi.end();
    return {Joined(product, EditionText(facts.productTypeCode)), !noWmi};
}

WindowsOsName::Result WindowsOsName::Version5(const VersionFacts& facts)
{
    switch (facts.minor) {
    case 2:
        return Server2003Family(facts);
    case 1: {
        const bool home = facts.suiteMask & kSuitePersonal;
        return {latin(home ? "Windows XP Home Edition" : "Windows XP Professional"), !home};
    }
    case 0:
        return Windows2000(facts);
    default:
        return {QString(), true};
    }
}

WindowsOsName::Result WindowsOsName::Server2003Family(const VersionFacts& facts)
{
    QString product;
    if (facts.serverR2)
        product = latin("Windows Server 2003 R2 ");
    else if (facts.suiteMask & kSuiteStorageServer)
        product = latin("Windows Storage Server 2003");
    else if (facts.suiteMask & kSuiteHomeServer)
        product = latin("Windows Home Server");
    else if (facts.productType == kProductWorkstation
             && facts.processorArchitecture == kArchitectureX64)
        product = latin("Windows XP Professional x64 Edition");
    else
        product = latin("Windows Server 2003 ");
    if (facts.productType == kProductWorkstation)
        return {product, true};
    return {Joined(product, Server2003Edition(facts)), true};
}

QString WindowsOsName::Server2003Edition(const VersionFacts& facts)
{
    const quint32 suite = facts.suiteMask;
    if (facts.processorArchitecture == kArchitectureItanium) {
        if (suite & kSuiteDatacenter)
            return latin("Datacenter Edition for Itanium-based Systems");
        if (suite & kSuiteEnterprise)
            return latin("Enterprise Edition for Itanium-based Systems");
        return {};
    }
    if (facts.processorArchitecture == kArchitectureX64) {
        if (suite & kSuiteDatacenter)
            return latin("Datacenter x64 Edition");
        if (suite & kSuiteEnterprise)
            return latin("Enterprise x64 Edition");
        return latin("Standard x64 Edition");
    }
    if (suite & kSuiteComputeServer)
        return latin("Compute Cluster Edition");
    if (suite & kSuiteDatacenter)
        return latin("Datacenter Edition");
    if (suite & kSuiteEnterprise)
        return latin("Enterprise Edition");
    if (suite & kSuiteBlade)
        return latin("Web Edition");
    return latin("Standard Edition");
}

WindowsOsName::Result WindowsOsName::Windows2000(const VersionFacts& facts)
{
    const char* edition = "Server";
    if (facts.productType == kProductWorkstation)
        edition = "Professional";
    else if (facts.suiteMask & kSuiteDatacenter)
        edition = "Datacenter Server";
    else if (facts.suiteMask & kSuiteEnterprise)
        edition = "Advanced Server";
    return {latin("Windows 2000 ") + latin(edition), false};
}

QString WindowsOsName::NtSuffix(const VersionFacts& facts)
{
    QString suffix;
    if (!facts.servicePack.isEmpty())
        suffix += QLatin1Char(' ') + facts.servicePack;
    suffix += QStringLiteral(" (build %1)").arg(facts.build);
    if (facts.major > 5 && facts.processorArchitecture == kArchitectureX64)
        suffix += latin(" 64-bit");
    else if (facts.major > 5 && facts.processorArchitecture == kArchitectureX86)
        suffix += latin(" 32-bit");
    return suffix;
}

// Some product names carry no trailing blank; without one the edition would
// run into the last word ("Windows Server 2012Standard Edition").
QString WindowsOsName::Joined(const QString& product, const QString& edition)
{
    if (edition.isEmpty() || product.isEmpty() || product.endsWith(QLatin1Char(' ')))
        return product + edition;
    return product + QLatin1Char(' ') + edition;
}
