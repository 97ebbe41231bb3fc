#pragma once

#include <QString>

#include <optional>

// The server service of a computer: its level-101 information. Implementations
// must be safe to call from many threads at once.
class ServerInfoProbe {
public:
    struct Info101 {
        quint32 platformId = 0;
        QString name;
        quint32 versionMajor = 0;
        quint32 versionMinor = 0;
        quint32 type = 0;
        QString comment;
    };

    struct Result {
        quint32 error = 0; // 0 on success, else the system error code
        Info101 info;
    };

    // An identity to present where anonymous access is refused.
    struct Account {
        QString domain;
        QString user;
        QString password;
    };

    virtual ~ServerInfoProbe() = default;
    // serverName is a computer name, with or without two leading backslashes.
    virtual Result ServerInfo101(const QString& serverName) const = 0;
    // The same, retried with the account when anonymous access is refused.
    // A service that knows a single identity ignores the account.
    virtual Result ServerInfo101(const QString& serverName, const std::optional<Account>& account) const
    {
        (void)account;
        return ServerInfo101(serverName);
    }
};
