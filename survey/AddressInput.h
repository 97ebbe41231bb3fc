#pragma once

#include <QString>

#include <array>

// Checks an IPv4 address typed into the settings dialog's address fields.
class AddressInput {
public:
    using Octets = std::array<quint8, 4>;

    enum class Verdict {
        Accepted,
        // The user is told why (message).
        Rejected,
        // Nothing happens and nothing is shown.
        Ignored,
    };

    struct Check {
        Verdict verdict = Verdict::Ignored;
        QString message;
        // The four decimal octets joined by dots, when accepted.
        QString text;
    };

    // A gateway must not be a network, loopback or broadcast address.
    static Check ForGateway(const Octets& octets);
    // As for the gateway, except that a network address is silently ignored.
    static Check ForPrinter(const Octets& octets);
    static QString DottedText(const Octets& octets);

    // "設定値 <address>", or "設定されていません" when no gateway is set.
    static QString GatewayLabel(const QString& gateway);

private:
    static Check LoopbackOrBroadcast(const Octets& octets);
};
