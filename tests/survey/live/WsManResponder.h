#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// The test WS-Management responder (tests/lab/wsman) on the loopback
// interface, for the life of the object.
class WsManResponder {
public:
    static constexpr auto kDomain = "LABWG";
    static constexpr auto kUser = "wmiuser";
    static constexpr auto kPassword = "Lab-Pass-1";

    // switches: the responder's own, such as {"--busy", "Win32_Processor"}.
    explicit WsManResponder(const QStringList& switches = {});
    ~WsManResponder();
    WsManResponder(const WsManResponder&) = delete;
    WsManResponder& operator=(const WsManResponder&) = delete;

    bool IsUp() const { return m_port != 0; }
    // Why it is not up (the responder's own words).
    QString Problem() const { return m_problem; }
    quint16 Port() const { return m_port; }

    static QString Directory();

private:
    QTemporaryDir m_files;
    QProcess m_process;
    quint16 m_port = 0;
    QString m_problem;
};
