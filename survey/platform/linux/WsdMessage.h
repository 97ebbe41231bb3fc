#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// The WS-Discovery (2005/04, SOAP 1.2) messages the survey sends, and the
// answers it reads back. Pure text in, text out: the sockets are elsewhere.
class WsdMessage {
public:
    // Largest datagram accepted; a SOAP-over-UDP message fits in one.
    static constexpr qsizetype kMaxDatagram = 65507;

    enum class Kind { ProbeMatch, ResolveMatch, Hello, Bye, Other };

    // One match or announcement: a device endpoint and where it listens.
    struct Match {
        QString endpoint; // wsa:Address of the endpoint reference
        QStringList types;
        QStringList xaddrs;
    };

    struct Parsed {
        Kind kind = Kind::Other;
        QString relatesTo;
        QList<Match> matches;
    };

    static QByteArray Probe(const QString& messageId);
    static QByteArray Resolve(const QString& messageId, const QString& endpoint);
    // The WS-Transfer Get that asks a device for its metadata.
    static QByteArray TransferGet(const QString& messageId, const QString& endpoint);
    static QString NewMessageId();

    // Nothing when the datagram is not a well-formed SOAP envelope.
    static std::optional<Parsed> Parse(const QByteArray& datagram);

private:
    static QByteArray Envelope(const QString& to, const QString& action, const QString& messageId,
                               const QByteArray& body);
    static QString Escaped(const QString& text);
};
