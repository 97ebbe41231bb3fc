#pragma once

#include <QByteArray>
#include <QString>
#include <QtEndian>

// Builds archive bytes by hand, for tests that check the exact encoding.
class ArchiveBytes {
public:
    ArchiveBytes& byte(quint8 v)
    {
        m_bytes.append(char(v));
        return *this;
    }
    ArchiveBytes& word(quint16 v)
    {
        char b[2];
        qToLittleEndian(v, b);
        m_bytes.append(b, 2);
        return *this;
    }
    ArchiveBytes& dword(quint32 v)
    {
        char b[4];
        qToLittleEndian(v, b);
        m_bytes.append(b, 4);
        return *this;
    }
    ArchiveBytes& rect(qint32 l, qint32 t, qint32 r, qint32 b)
    {
        return dword(quint32(l)).dword(quint32(t)).dword(quint32(r)).dword(quint32(b));
    }
    ArchiveBytes& raw(const QByteArray& bytes)
    {
        m_bytes.append(bytes);
        return *this;
    }
    ArchiveBytes& wideString(const QString& s)
    {
        byte(0xFF).word(0xFFFE);
        if (s.size() < 0xFF)
            byte(quint8(s.size()));
        else if (s.size() < 0xFFFE)
            byte(0xFF).word(quint16(s.size()));
        else
            byte(0xFF).word(0xFFFF).dword(quint32(s.size()));
        for (QChar c : s)
            word(c.unicode());
        return *this;
    }
    // A new-class tag with schema 0.
    ArchiveBytes& newClass(const QByteArray& name, quint16 schema = 0)
    {
        word(0xFFFF).word(schema).word(quint16(name.size()));
        return raw(name);
    }
    // A CDrawObj record with default pen and brush.
    ArchiveBytes& drawObjRecord(qint32 l, qint32 t, qint32 r, qint32 b)
    {
        rect(l, t, r, b);
        word(1).dword(6).dword(1).dword(1).dword(0);
        word(1).dword(0).dword(0x00C0C0C0).dword(0);
        rect(0, 0, 0, 0).rect(l, t, r, b);
        dword(200).dword(0).dword(0).dword(0);
        return emptyReserve(35);
    }
    ArchiveBytes& emptyReserve(int items)
    {
        for (int i = 0; i < items; ++i)
            word(0);
        return *this;
    }

    const QByteArray& bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};
