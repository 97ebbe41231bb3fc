#pragma once

#include "survey/platform/LocalMachineProbe.h"

// The Linux machine the survey runs on. There is no service manager for
// the discovery services: what a survey needs instead is an interface that
// is up with an IPv4 address and can multicast, and a socket that can join
// the WS-Discovery group.
class LinuxLocalMachine final : public LocalMachineProbe {
public:
    // The host name without its domain, upper-case as NetBIOS names are.
    QString ComputerName() const override;
    OsVersion Version() const override;
    QString OsName() const override;
    DiscoveryServiceCheck::Probe DiscoveryService(const QString& service) const override;
    DiscoveryServiceCheck::Verdict SurveyPrecondition() const override;
    bool WmiCapable() const override;

    // The workgroup this machine would announce: Samba's setting where
    // there is one, else Windows' default.
    static QString Workgroup();
    static QString WorkgroupOf(const QString& smbConfText);
};
