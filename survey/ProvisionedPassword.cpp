#include "ProvisionedPassword.h"

static_assert(ProvisionedPassword::kBase == 33);

QString ProvisionedPassword::Build(quint32 number)
{
    QString digits;
    do {
        digits.prepend(QLatin1Char(kAlphabet[number % kBase]));
        number /= kBase;
    } while (number != 0);
    return digits;
}
