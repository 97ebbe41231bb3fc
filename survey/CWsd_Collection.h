#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

// One device found by device discovery: its dump lines and the fields the
// survey reads from them.
class CWsd_Collection {
public:
    static constexpr int kKeyPatternCount = 10;
    static const std::array<QString, kKeyPatternCount>& KeyPatterns();

    // Gives the host name of an address, or empty when it has none. Plain
    // text may follow the name after "/" or "%"; Parse cuts it off.
    using ReverseLookup = std::function<QString(const QString& address)>;

    // One record per distinct identity, in order of first appearance. A
    // device whose identity contains one seen before is that device again;
    // lines before the first identity, and the lines of an identity line
    // without a value, belong to no record.
    static QList<CWsd_Collection> GroupDumpLines(const QStringList& lines);
    // The text after the first "=" and the blank behind it, without the
    // line break; empty for a line without "=".
    static QString LineValue(const QString& line);
    // The index of the first key pattern the line contains, or -1.
    static int PatternOf(const QString& line);

    // Fills the fields from m_astrLines. Other devices than computers are
    // named through reverseLookup.
    void Parse(const ReverseLookup& reverseLookup);
    bool IsComputer() const;

    QString m_strIdentity;
    QString m_strAddress;
    QString m_strCategory;
    QStringList m_astrCategories;
    QString m_strDeviceCategory;
    QString m_strFriendlyName;
    QString m_strFirmwareVersion;
    QString m_strSerialNumber;
    QString m_strComputerInfo;
    QString m_strName;
    QString m_strManufacturer;
    QStringList m_astrLines;

private:
    void ClearFields();
    // Returns whether a following continuation line extends the category list.
    bool ApplyLine(int pattern, const QString& value, bool inCategoryList);
    void NameComputer();
    void NameOtherDevice(const ReverseLookup& reverseLookup);
};
