#include "CWsd_Collection.h"

#include "mapbuild/SubstringIndex.h"

namespace {

enum Pattern {
    kIdentity,
    kAddress,
    kCategory,
    kDeviceCategory,
    kContinuation,
    kFriendlyName,
    kFirmwareVersion,
    kSerialNumber,
    kComputerInfo,
    kManufacturer,
};

bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

QString cutBefore(const QString& text, QChar mark)
{
    const qsizetype at = text.indexOf(mark);
    return at < 0 ? text : text.left(at);
}

} // namespace

const std::array<QString, CWsd_Collection::kKeyPatternCount>& CWsd_Collection::KeyPatterns()
{
    // The manufacturer pattern keeps its leading blanks so that the longer
    // manufacturer-address key does not match it.
    static const std::array<QString, kKeyPatternCount> patterns{
        QStringLiteral("{656A3BB3-ECC0-43FD-8477-4AE0404A96CD}-00001005"),
        QStringLiteral("PNPX_IpAddress"),
        QStringLiteral("{78C34FC8-104A-4ACA-9EA4-524D52996E57}-0000005a"),
        QStringLiteral("PNPX_DeviceCategory"),
        QString(31, QLatin1Char(' ')) + QLatin1Char('='),
        QStringLiteral("PNPX_FriendlyName"),
        QStringLiteral("PNPX_FirmwareVersion"),
        QStringLiteral("PNPX_SerialNumber"),
        QStringLiteral("{63C6D5B8-F73A-4ACA-967E-0CC787E0B559}-00005003"),
        QString(13, QLatin1Char(' ')) + QStringLiteral("PNPX_Manufacturer"),
    };
    return patterns;
}

QList<CWsd_Collection> CWsd_Collection::GroupDumpLines(const QStringList& lines)
{
    QList<CWsd_Collection> records;
    // An identity that contains an earlier one is that device again.
    SubstringIndex seen;
    bool collecting = false;
    for (const QString& line : lines) {
        if (PatternOf(line) != kIdentity) {
            if (collecting)
                records.last().m_astrLines.append(line);
            continue;
        }
        const QString identity = LineValue(line);
        // Every text contains the empty one: an empty identity would swallow
        // every device after it.
        collecting = !identity.isEmpty() && seen.FirstWithin(identity) < 0;
        if (!collecting)
            continue;
        seen.Add(identity, int(records.size()));
        records.append(CWsd_Collection());
        records.last().m_astrLines.append(line);
    }
    return records;
}

QString CWsd_Collection::LineValue(const QString& line)
{
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0)
        return {};
    qsizetype start = equals + 1;
    if (start < line.size() && line.at(start) == QLatin1Char(' '))
        ++start;
    qsizetype end = line.size();
    while (end > start && isLineBreak(line.at(end - 1)))
        --end;
    return line.mid(start, end - start);
}

int CWsd_Collection::PatternOf(const QString& line)
{
    const auto& patterns = KeyPatterns();
    for (int i = 0; i < kKeyPatternCount; ++i) {
        if (line.contains(patterns[i]))
            return i;
    }
    return -1;
}

void CWsd_Collection::Parse(const ReverseLookup& reverseLookup)
{
    ClearFields();
    bool inCategoryList = false;
    for (const QString& line : std::as_const(m_astrLines))
        inCategoryList = ApplyLine(PatternOf(line), LineValue(line), inCategoryList);
    if (IsComputer())
        NameComputer();
    else
        NameOtherDevice(reverseLookup);
}

bool CWsd_Collection::IsComputer() const
{
    return !m_astrCategories.isEmpty()
           && m_astrCategories.first().contains(QStringLiteral("Computer"));
}

void CWsd_Collection::ClearFields()
{
    const QStringList lines = m_astrLines;
    *this = CWsd_Collection();
    m_astrLines = lines;
}

bool CWsd_Collection::ApplyLine(int pattern, const QString& value, bool inCategoryList)
{
    switch (pattern) {
    case kIdentity:
        m_strIdentity = value;
        break;
    case kAddress:
        m_strAddress = cutBefore(value, QLatin1Char('%'));
        break;
    case kCategory:
        m_strCategory = value;
        m_astrCategories.append(value);
        return true;
    case kDeviceCategory:
        m_strDeviceCategory = value;
        break;
    case kContinuation:
        if (inCategoryList)
            m_astrCategories.append(value);
        return inCategoryList;
    case kFriendlyName:
        m_strFriendlyName = value;
        break;
    case kFirmwareVersion:
        m_strFirmwareVersion = value;
        break;
    case kSerialNumber:
        m_strSerialNumber = value;
        break;
    case kComputerInfo:
        m_strComputerInfo = value;
        break;
    case kManufacturer:
        m_strManufacturer = value;
        break;
    default:
        break;
    }
    return false;
}

// "PC1/Domain:CORP" becomes the UNC-style "\\PC1/Domain:CORP" named "\\PC1".
// Without a "/" the whole text is the name; without any computer info the
// record keeps both empty rather than a bare "\\".
void CWsd_Collection::NameComputer()
{
    if (m_strComputerInfo.isEmpty())
        return;
    m_strComputerInfo.prepend(QStringLiteral("\\\\"));
    m_strName = cutBefore(m_strComputerInfo, QLatin1Char('/'));
}

void CWsd_Collection::NameOtherDevice(const ReverseLookup& reverseLookup)
{
    const QString host = reverseLookup ? reverseLookup(m_strAddress) : QString();
    m_strComputerInfo = host.contains(QLatin1Char('/')) ? cutBefore(host, QLatin1Char('/'))
                                                        : cutBefore(host, QLatin1Char('%'));
    m_strName = m_strComputerInfo;
}
