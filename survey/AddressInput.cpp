#include "AddressInput.h"

#include <algorithm>

namespace {

constexpr quint8 kLoopbackNet = 127;
constexpr quint8 kBroadcastOctet = 255;

} // namespace

AddressInput::Check AddressInput::ForGateway(const Octets& octets)
{
    if (octets[3] == 0)
        return {Verdict::Rejected, QStringLiteral("ネットワークアドレスは、使用できません。"), QString()};
    return LoopbackOrBroadcast(octets);
}

AddressInput::Check AddressInput::ForPrinter(const Octets& octets)
{
    if (octets[3] == 0)
        return {};
    return LoopbackOrBroadcast(octets);
}

QString AddressInput::DottedText(const Octets& octets)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(octets[0])
        .arg(octets[1])
        .arg(octets[2])
        .arg(octets[3]);
}

QString AddressInput::GatewayLabel(const QString& gateway)
{
    if (gateway.isEmpty())
        return QStringLiteral("設定されていません");
    return QStringLiteral("設定値 ") + gateway;
}

AddressInput::Check AddressInput::LoopbackOrBroadcast(const Octets& octets)
{
    if (octets[0] == kLoopbackNet) {
        return {Verdict::Rejected, QStringLiteral("127から始まるIPアドレスは、使用できません。"),
                QString()};
    }
    if (std::find(octets.begin(), octets.end(), kBroadcastOctet) != octets.end()) {
        return {Verdict::Rejected, QStringLiteral("ブロードキャストIPアドレスは、使用できません。"),
                QString()};
    }
    return {Verdict::Accepted, QString(), DottedText(octets)};
}
