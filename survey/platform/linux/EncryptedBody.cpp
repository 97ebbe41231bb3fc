#include "EncryptedBody.h"

#include <QtEndian>

namespace {

const QByteArray kBoundary = QByteArrayLiteral("--Encrypted Boundary");
const QByteArray kLengthKey = QByteArrayLiteral("Length=");
const QByteArray kOctetHeader = QByteArrayLiteral("\tContent-Type: application/octet-stream\r\n");

} // namespace

QByteArray EncryptedBody::ContentType()
{
    return QByteArrayLiteral("Content-Type: multipart/encrypted;protocol=\"") + kProtocol
        + QByteArrayLiteral("\";boundary=\"Encrypted Boundary\"");
}

QByteArray EncryptedBody::Frame(qsizetype plainLength, const QByteArray& signature, const QByteArray& sealed)
{
    QByteArray length(4, '\0');
    qToLittleEndian<quint32>(quint32(signature.size()), length.data());
    return kBoundary + "\r\n\tContent-Type: " + kProtocol
        + "\r\n\tOriginalContent: type=application/soap+xml;charset=UTF-8;Length="
        + QByteArray::number(plainLength) + "\r\n" + kBoundary + "\r\n" + kOctetHeader + length + signature
        + sealed + kBoundary + "--\r\n";
}

std::optional<EncryptedBody::Part> EncryptedBody::Unframe(const QByteArray& body)
{
    const QByteArray opening = kBoundary + "\r\n";
    if (!body.startsWith(opening))
        return std::nullopt;
    const qsizetype second = body.indexOf(opening, opening.size());
    if (second < 0)
        return std::nullopt;
    const QByteArray header = body.mid(opening.size(), second - opening.size());
    if (!header.contains(kProtocol))
        return std::nullopt;
    const qsizetype key = header.indexOf(kLengthKey);
    if (key < 0)
        return std::nullopt;
    bool number = false;
    const qsizetype plainLength = header.mid(key + kLengthKey.size()).trimmed().toLongLong(&number);
    qsizetype at = second + opening.size();
    if (!number || plainLength < 0 || body.mid(at, kOctetHeader.size()) != kOctetHeader)
        return std::nullopt;
    at += kOctetHeader.size();
    const QByteArray closing = kBoundary + "--\r\n";
    qsizetype end = body.size();
    if (body.endsWith(closing))
        end -= closing.size();
    if (end - at < 4)
        return std::nullopt;
    const quint32 signatureLength = qFromLittleEndian<quint32>(body.constData() + at);
    at += 4;
    if (signatureLength != kSignatureLength || end - at < qsizetype(signatureLength))
        return std::nullopt;
    Part part;
    part.plainLength = plainLength;
    part.signature = body.mid(at, signatureLength);
    part.sealed = body.mid(at + signatureLength, end - at - signatureLength);
    return part;
}
