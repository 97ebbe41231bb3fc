#pragma once

#include <QFont>
#include <QString>

#include <array>

class Archive;

// A label's font as map files store it: the 92-byte wide-character logical
// font record of Windows (height, width, escapement, orientation, weight,
// italic, underline, strike-out, character set, precisions, quality, pitch
// and family, face name). The bytes are kept as read, so a record written
// back is unchanged even where the face name holds leftovers.
class LogFont {
public:
    static constexpr int kSize = 92;

    // Height 28, weight 400, character set 128 (Japanese), fixed pitch,
    // modern family, our face name.
    static LogFont labelDefault();

    void Serialize(Archive& ar);

    qint32 height() const;
    qint32 weight() const;
    bool italic() const;
    bool underline() const;
    bool strikeOut() const;
    QString faceName() const;
    // A Qt font of this height in logical units; a face that is not
    // installed falls back to a fixed-pitch font with Japanese glyphs.
    QFont toFont() const;

    std::array<quint8, kSize> bytes{};

    friend bool operator==(const LogFont&, const LogFont&) = default;

private:
    qint32 int32At(int offset) const;
    void setInt32At(int offset, qint32 value);
};
