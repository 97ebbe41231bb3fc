#pragma once

#include "survey/platform/WmiSession.h"
#include "survey/platform/linux/WsManConnection.h"

#include <memory>

// WMI classes read over WS-Management: Enumerate, then Pull until the
// server ends the sequence. A class that would not end, or would not fit,
// is released and reported as a failure instead of held without bound.
class WsManWmiSession final : public WmiSession {
public:
    struct Limits {
        qsizetype maxInstances = 20000; // per class
        int maxPulls = 2000; // per class
    };

    WsManWmiSession(std::unique_ptr<WsManConnection> connection, const Limits& limits);

    Enumeration Instances(const QString& className) const override;

private:
    void Release(const QString& className, const QString& context) const;

    std::unique_ptr<WsManConnection> m_connection; // one thread at a time, as sessions are
    Limits m_limits;
};
