#pragma once

#include <QByteArray>

#include <optional>

// The body of a WinRM message sealed with the session key of the HTTP
// logon ("multipart/encrypted"): a header part that gives the plain
// message's length, then the signature and the sealed bytes. The sealing
// itself belongs to the security context; this is only the framing.
class EncryptedBody {
public:
    static constexpr const char* kProtocol = "application/HTTP-SPNEGO-session-encrypted";
    static constexpr qsizetype kSignatureLength = 16;

    struct Part {
        qsizetype plainLength = 0;
        QByteArray signature;
        QByteArray sealed;
    };

    // The Content-Type header line of an encrypted message.
    static QByteArray ContentType();
    static QByteArray Frame(qsizetype plainLength, const QByteArray& signature, const QByteArray& sealed);
    // Nothing when the body is not one framed part of this protocol.
    static std::optional<Part> Unframe(const QByteArray& body);
};
