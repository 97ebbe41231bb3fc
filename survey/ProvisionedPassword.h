#pragma once

#include <QString>

// The password of the provisioned WMI collection account, built from the
// number stored beside the account name: the number in base 33, most
// significant digit first, without leading zeros (1 to 7 characters).
class ProvisionedPassword {
public:
    // The ten digits and the lower-case letters without i, l and o, which
    // are too easily read as 1 and 0. The provisioning tool must use the same.
    static constexpr char kAlphabet[] = "0123456789abcdefghjkmnpqrstuvwxyz";
    static constexpr quint32 kBase = sizeof(kAlphabet) - 1;

    static QString Build(quint32 number);
};
