#pragma once

#include "ArpTableLookup.h"

#include <QList>
#include <QMap>
#include <QString>

#include <functional>

class AddressHolders;
class CDrawNic;
class CDrawObj;
class CDrawSys;
class CNetDoc;

// Gives the default gateway of a surveyed interface a place on the map: the
// surveyed computer that holds it becomes a router or server, or the host
// bearing the gateway's DNS name gets a further interface, or a new router
// (a tower for the server shape) is made and registered under its name.
//
// Lives for one map construction on the user-interface thread; refers to
// the document, the run's DNS suffix table and address index, which it
// extends with what it creates.
class GatewayHandler {
public:
    using StatusSink = std::function<void(const QString&)>;

    // Gateway shapes of the survey settings; any other value is automatic.
    static constexpr quint32 kRouterShape = 0;
    static constexpr quint32 kServerShape = 1;

    GatewayHandler(CNetDoc& document, QMap<QString, QString>& dnsSuffixTable,
                   AddressHolders& holders, StatusSink status);

    void Handle(CDrawNic& nic, quint32 gateway);
    // The systems registered under a name since the last call.
    QList<CDrawSys*> TakeRegistered();

private:
    void HandleAutomatic(CDrawNic& nic, quint32 gateway);
    void HandleRouterOrServer(CDrawNic& nic, quint32 gateway, quint32 shape);
    void AssignDefaultRouterName(const CDrawNic& nic);
    CDrawSys* NewGatewaySystem(int typeCode, const CDrawNic& nic);
    CDrawNic* NewInterface(CDrawSys& system);
    void GiveAddress(CDrawNic& nic, quint32 gateway, int nRequest);
    void AddGatewayInterface(CDrawSys& system, quint32 gateway, int nRequest);
    void Register(CDrawSys& router);
    bool BearsGatewayName(const CDrawObj* object) const;
    CDrawSys* FirstHostBearingGatewayName() const;
    QList<CDrawSys*> HostsBearingGatewayName() const;

    CNetDoc& m_document;
    QMap<QString, QString>& m_dnsSuffixTable;
    AddressHolders& m_holders;
    StatusSink m_status;
    ArpTableLookup m_arp;
    QList<CDrawSys*> m_registered;
};
