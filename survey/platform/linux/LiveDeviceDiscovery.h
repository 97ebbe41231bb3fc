#pragma once

#include "survey/platform/DeviceDiscoveryProbe.h"
#include "survey/platform/LocalMachineProbe.h"
#include "survey/platform/linux/WsDiscoveryClient.h"

#include <mutex>

// The devices of the local links as a survey sees them: every WS-Discovery
// device, and this machine itself, published as a computer the way the
// resource publication service of a Windows machine publishes its own.
class LiveDeviceDiscovery final : public DeviceDiscoveryProbe {
public:
    LiveDeviceDiscovery(const LocalMachineProbe& machine, const WsDiscoveryClient::Options& options);

    Result Discover() const override;

    struct Computer {
        QString name; // the computer name, as it publishes itself
        QString address;
    };
    // The computers the last search found, this machine among them.
    QList<Computer> Computers() const;
    // Takes these as the computers found (what a search ends with).
    void Remember(QList<Computer> computers) const;
    // How many different IPv4 addresses, the ones logons go to, publish
    // this name. A name claimed from several gets no logon: any of them may
    // be an impostor collecting logons. (Two responders of one host give
    // the same address, and its IPv6 answers are not counted.)
    int Claims(const QString& name) const;
    // The IPv4 address of a computer by the name it publishes, else by
    // the resolver; empty when neither knows it.
    QString AddressOf(const QString& name) const;
    // Counts the searches: what was learned about hosts before belongs to
    // an earlier survey.
    quint64 Generation() const;
    static QList<Computer> ComputersOf(const Result& result);

    // This machine's own device: a computer in its workgroup at its address.
    static Device LocalPublication(const QString& computerName, const QString& workgroup,
                                   const QString& address);
    // The address other hosts reach this machine at: the interface of the
    // default route, else the first usable one; empty without any.
    static QString PrimaryAddress();

private:
    const LocalMachineProbe& m_machine;
    WsDiscoveryClient m_client;
    mutable std::mutex m_lock;
    mutable QList<Computer> m_computers; // guarded by m_lock
    mutable quint64 m_generation = 0; // guarded by m_lock
};
