// The roles and operating system a system's server information names.
#include "CDrawSys.h"

#include "ServerRoles.h"

namespace {

// Places of the server-information records (levels 101 and 102 agree).
constexpr size_t kPlatformId = 0;
constexpr size_t kMajor = 2;
constexpr size_t kMinor = 3;
constexpr size_t kTypeBits = 4;

// SetShapeKind takes the type code plus one.
constexpr int kDesktopKind = CDrawSys::kDesktop + 1;
constexpr int kPrinterKind = CDrawSys::kPrinter + 1;

} // namespace

void CDrawSys::SetChassisType(qint32 chassis)
{
    const int kind = ServerRoles::ShapeKindForChassis(chassis);
    if (kind == 0) {
        m_nChassisType = 0;
        return;
    }
    m_nChassisType = chassis;
    SetShapeKind(kind);
}

void CDrawSys::SetServerInfo(const ServerRecord101& info)
{
    const quint32 typeBits = info[kTypeBits];
    m_astrRoles.clear();
    m_dwServerType = typeBits;
    m_nOsMajor = qint32(info[kMajor]);
    m_nOsMinor = qint32(info[kMinor]);
    const bool platformLineKept = NameOperatingSystem(info);
    if (m_wServerInfoOk == 1) {
        AddServerLine(typeBits, platformLineKept);
        if (!ServerRoles::IsServerOrDevice(typeBits) && m_nChassisType == 0)
            SetShapeKind(kDesktopKind);
    } else {
        if (!m_astrFailureLines.isEmpty())
            m_astrRoles = m_astrFailureLines;
        if (m_nChassisType == 0)
            SetShapeKind(kDesktopKind);
    }
    if (!m_bNtFamily)
        CreateLabel(m_astrRoles, 13);
    ComputeRoleFlags();
}

bool CDrawSys::NameOperatingSystem(const ServerRecord101& info)
{
    const quint32 platform = info[kPlatformId];
    const QString platformLine = ServerRoles::PlatformLine(platform);
    if (!platformLine.isEmpty())
        m_astrRoles.append(platformLine);
    if (platform == ServerRoles::kPlatformOs2)
        m_bNtFamily = 0;
    const ServerRoles::OsName os
        = ServerRoles::NameFor(platform, info[kMajor], info[kMinor], info[kTypeBits]);
    // A caption the inventory found first wins.
    if (m_strOs.isEmpty())
        m_strOs = os.name;
    switch (os.family) {
    case ServerRoles::Family::Nt:
        SetRoleLine(0, m_strOs);
        m_bNtFamily = 1;
        break;
    case ServerRoles::Family::Windows9x:
        SetRoleLine(0, m_strOs);
        m_bNtFamily = 0;
        break;
    case ServerRoles::Family::Windows9xOther:
        m_bNtFamily = 0;
        break;
    case ServerRoles::Family::Other:
        SetRoleLine(0, m_strOs);
        break;
    }
    if (os.isPrinter)
        SetShapeKind(kPrinterKind);
    return os.family == ServerRoles::Family::Windows9xOther && !platformLine.isEmpty();
}

void CDrawSys::AddServerLine(quint32 typeBits, bool platformLineKept)
{
    const QString line = ServerRoles::ServerLine(typeBits);
    if (!line.isEmpty())
        SetRoleLine(platformLineKept ? 2 : 1, line);
}

void CDrawSys::SetRoleLine(qsizetype index, const QString& line)
{
    while (m_astrRoles.size() <= index)
        m_astrRoles.append(QString());
    m_astrRoles[index] = line;
}

void CDrawSys::SetServerRoleNames(const ServerRecord102& info)
{
    if (m_wServerTypeNames == 1) {
        if (m_bNtFamily)
            m_astrRoles.append(ServerRoles::RoleNames(info[kTypeBits]));
        CreateLabel(m_astrRoles, 13);
        return;
    }
    if (m_wServerInfoOk == 1 && !m_astrFailureLines.isEmpty())
        m_astrRoles.append(m_astrFailureLines);
    if (m_bNtFamily)
        CreateLabel(m_astrRoles, 13);
}

void CDrawSys::ComputeRoleFlags()
{
    // Taken from the level-101 record, not from m_dwServerType.
    RoleFlags() = (m_wServerInfoOk == 1 && m_bNtFamily)
        ? ServerRoles::FlagsFor(m_serverInfo101[kTypeBits])
        : QList<quint32>(ServerRoles::kRoleFlagCount, 0);
}

void CDrawSys::RebuildRoleLabel()
{
    if (m_nTypeCode == kHub || m_nTypeCode == kPrinter)
        return;
    const QList<quint32>& flags = RoleFlags();
    CheckIndex(ServerRoles::kRoleFlagCount - 1, flags.size());
    m_astrRoles = QStringList{m_strOs} + ServerRoles::FlagLines(flags) + m_astrServerNotes;
    CreateLabel(m_astrRoles, 13);
}
