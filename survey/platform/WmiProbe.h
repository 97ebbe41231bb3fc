#pragma once

#include "survey/platform/WmiSession.h"

#include <QString>

#include <memory>
#include <optional>

// Opens WMI sessions to remote hosts. Implementations must be safe to call
// from many threads at once.
class WmiProbe {
public:
    struct Credentials {
        QString domain;
        QString user;
        QString password;
    };

    struct Connection {
        quint32 hresult = 0; // 0 on success
        std::unique_ptr<WmiSession> session;
        // The failure came from setting up the call security, after the
        // host was reached.
        bool inSecurityStep = false;
    };

    virtual ~WmiProbe() = default;
    // host is "\\NAME"; without credentials the caller's own logon is used.
    virtual Connection Connect(const QString& host,
                               const std::optional<Credentials>& credentials) const = 0;
};
