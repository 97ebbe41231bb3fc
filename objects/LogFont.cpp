#include "LogFont.h"

#include "document/Archive.h"

#include <QtEndian>

namespace {

// Offsets of the fields within the record.
constexpr int kHeight = 0;
constexpr int kWeight = 16;
constexpr int kItalic = 20;
constexpr int kUnderline = 21;
constexpr int kStrikeOut = 22;
constexpr int kCharSet = 23;
constexpr int kOutPrecision = 24;
constexpr int kClipPrecision = 25;
constexpr int kQuality = 26;
constexpr int kPitchAndFamily = 27;
constexpr int kFaceName = 28;
constexpr int kFaceNameChars = 32;

const QString kDefaultFace = QStringLiteral("Noto Sans Mono CJK JP");

} // namespace

LogFont LogFont::labelDefault()
{
    LogFont font;
    font.setInt32At(kHeight, 28);
    font.setInt32At(kWeight, 400);
    font.bytes[kCharSet] = 128;
    font.bytes[kOutPrecision] = 3;
    font.bytes[kClipPrecision] = 2;
    font.bytes[kQuality] = 1;
    font.bytes[kPitchAndFamily] = 0x31;
    for (qsizetype i = 0; i < kDefaultFace.size() && i < kFaceNameChars - 1; ++i)
        qToLittleEndian<quint16>(kDefaultFace.at(i).unicode(), font.bytes.data() + kFaceName + 2 * i);
    return font;
}

void LogFont::Serialize(Archive& ar)
{
    if (ar.IsStoring())
        ar.writeRaw(bytes.data(), kSize);
    else
        ar.readRaw(bytes.data(), kSize);
}

qint32 LogFont::int32At(int offset) const
{
    return qFromLittleEndian<qint32>(bytes.data() + offset);
}

void LogFont::setInt32At(int offset, qint32 value)
{
    qToLittleEndian(value, bytes.data() + offset);
}

qint32 LogFont::height() const
{
    return int32At(kHeight);
}

qint32 LogFont::weight() const
{
    return int32At(kWeight);
}

bool LogFont::italic() const
{
    return bytes[kItalic] != 0;
}

bool LogFont::underline() const
{
    return bytes[kUnderline] != 0;
}

bool LogFont::strikeOut() const
{
    return bytes[kStrikeOut] != 0;
}

QString LogFont::faceName() const
{
    QString face;
    for (int i = 0; i < kFaceNameChars; ++i) {
        const quint16 c = qFromLittleEndian<quint16>(bytes.data() + kFaceName + 2 * i);
        if (c == 0)
            break;
        face.append(QChar(c));
    }
    return face;
}

QFont LogFont::toFont() const
{
    QFont font;
    font.setFamilies({faceName(), kDefaultFace, QStringLiteral("monospace")});
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(std::max(1, std::abs(height())));
    font.setWeight(weight() >= 600 ? QFont::Bold : QFont::Normal);
    font.setItalic(italic());
    font.setUnderline(underline());
    font.setStrikeOut(strikeOut());
    return font;
}
