#pragma once

#include <QString>

// Names a Windows machine's operating system from its version facts and
// says whether WMI surveys can be run from it. Pure: the caller reads the
// facts from the platform.
class WindowsOsName {
public:
    static constexpr quint32 kPlatformWindows9x = 1;
    static constexpr quint32 kPlatformNt = 2;

    static constexpr quint8 kProductWorkstation = 1;
    static constexpr quint8 kProductDomainController = 2;
    static constexpr quint8 kProductServer = 3;

    static constexpr quint16 kArchitectureX86 = 0;
    static constexpr quint16 kArchitectureItanium = 6;
    static constexpr quint16 kArchitectureX64 = 9;

    static constexpr quint32 kSuiteEnterprise = 0x0002;
    static constexpr quint32 kSuiteDatacenter = 0x0080;
    static constexpr quint32 kSuitePersonal = 0x0200;
    static constexpr quint32 kSuiteBlade = 0x0400;
    static constexpr quint32 kSuiteStorageServer = 0x2000;
    static constexpr quint32 kSuiteComputeServer = 0x4000;
    static constexpr quint32 kSuiteHomeServer = 0x8000;

    struct VersionFacts {
        quint32 major = 0;
        quint32 minor = 0;
        quint32 build = 0;
        quint32 platformId = 0;
        QString servicePack;
        quint32 suiteMask = 0;
        quint8 productType = 0;
        quint16 processorArchitecture = 0;
        // The edition code of version 6 systems.
        quint32 productTypeCode = 0;
        // Set on a Server 2003 R2 installation.
        bool serverR2 = false;
    };

    struct Result {
        QString name;
        bool wmiCapable = false;
    };

    static Result Name(const VersionFacts& facts);
    // The edition text of a version 6 product type code, empty for unknown codes.
    static QString EditionText(quint32 productTypeCode);

private:
    static Result Windows9x(const VersionFacts& facts);
    static Result NtLine(const VersionFacts& facts);
    static Result Version6(const VersionFacts& facts);
    static Result Version5(const VersionFacts& facts);
    static Result Server2003Family(const VersionFacts& facts);
    static QString Server2003Edition(const VersionFacts& facts);
    static Result Windows2000(const VersionFacts& facts);
    static QString NtSuffix(const VersionFacts& facts);
    static QString Joined(const QString& product, const QString& edition);
};
