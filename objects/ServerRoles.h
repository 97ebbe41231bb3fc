#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The fixed tables that turn a host's server information (platform id,
// version, server type bits) and its chassis code into the texts and flags a
// system shows: the operating-system name, the role label lines and the 30
// role flags. Pure functions; the system object applies them.
class ServerRoles {
public:
    static constexpr int kRoleFlagCount = 30;

    // Platform ids of the server information.
    static constexpr quint32 kPlatformOs2 = 400;
    static constexpr quint32 kPlatformNt = 500;

    // What the version rows say about the operating-system family.
    enum class Family {
        Nt, // line 0 is the name, NT family
        Windows9x, // line 0 is the name, not NT family
        Windows9xOther, // no name, not NT family, the platform line stays
        Other, // line 0 is the name (maybe empty), family unchanged
    };

    struct OsName {
        QString name;
        Family family = Family::Other;
        // A host nothing is known about is shown as a printer.
        bool isPrinter = false;
    };

    // "DOS", "OS2", "NT", "OSF", "VMS", or empty for other platforms.
    static QString PlatformLine(quint32 platform);
    static OsName NameFor(quint32 platform, quint32 major, quint32 minor, quint32 typeBits);
    // "DOMAIN_CTRL", "BACK_DOMAIN_CTRL", "NT_SERVER" or empty.
    static QString ServerLine(quint32 typeBits);
    // Without any of these bits a host is a desktop computer.
    static bool IsServerOrDevice(quint32 typeBits);
    // The role names of the level-102 type bits, in label order.
    static QStringList RoleNames(quint32 typeBits);
    // 30 flags, 0 or 1, from level-101 type bits.
    static QList<quint32> FlagsFor(quint32 typeBits);
    // The label lines of the set flags, in label order; flags must hold 30 entries.
    static QStringList FlagLines(const QList<quint32>& flags);
    // The SetShapeKind value of a chassis code, 0 for an unknown code.
    static int ShapeKindForChassis(qint32 chassis);

private:
    static QString NameForOtherMajor(quint32 typeBits);
};
