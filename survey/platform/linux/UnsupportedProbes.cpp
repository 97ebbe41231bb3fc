#include "UnsupportedProbes.h"

WmiProbe::Connection UnsupportedProbes::Connect(const QString&, const std::optional<Credentials>&) const
{
    return {kNotImplemented, nullptr};
}
