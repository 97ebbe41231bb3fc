#pragma once

#include <QByteArray>
#include <QString>

#include <sys/socket.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

// A WS-Discovery device played on the loopback interface for the tests: a
// UDP responder that answers each Probe or Resolve through a script, and an
// HTTP responder that answers each request with a scripted reply.
class LoopbackPeer {
public:
    // Datagrams to send back for one received message. kind is "Probe" or
    // "Resolve"; messageId is the request's MessageID.
    using UdpScript = std::function<QList<QByteArray>(const QString& kind, const QString& messageId)>;
    // The whole HTTP response (status line, headers, body) for a request.
    using HttpScript = std::function<QByteArray(const QByteArray& request)>;

    // family AF_INET listens on 127.0.0.1, AF_INET6 on ::1.
    LoopbackPeer(UdpScript udp, HttpScript http, int family = AF_INET);
    ~LoopbackPeer();
    LoopbackPeer(const LoopbackPeer&) = delete;
    LoopbackPeer& operator=(const LoopbackPeer&) = delete;

    quint16 UdpPort() const { return m_udpPort; }
    quint16 HttpPort() const { return m_httpPort; }
    int ResolvesReceived() const { return m_resolves; }
    int GetsReceived() const { return m_gets; }

    static QByteArray HttpOk(const QByteArray& body);

private:
    void ServeUdp();
    void ServeHttp();
    void Answer(int client);

    UdpScript m_udpScript;
    HttpScript m_httpScript;
    int m_udp = -1;
    int m_http = -1;
    quint16 m_udpPort = 0;
    quint16 m_httpPort = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_resolves{0};
    std::atomic<int> m_gets{0};
    std::thread m_udpThread;
    std::thread m_httpThread;
    std::vector<std::thread> m_clients;
};
