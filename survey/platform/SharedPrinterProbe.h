#pragma once

#include <QStringList>

// The print resources the network shares. Implementations must be safe to
// call from many threads at once.
class SharedPrinterProbe {
public:
    struct Result {
        quint32 error = 0; // 0 when the enumeration could be opened
        QStringList remoteNames; // "\\server\printer"
    };

    virtual ~SharedPrinterProbe() = default;
    virtual Result Enumerate() const = 0;
};
