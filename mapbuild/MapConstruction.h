#pragma once

#include "AddressHolders.h"
#include "GatewayHandler.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

class CDrawDomain;
class CDrawNic;
class CDrawObj;
class CDrawSys;
class CNetDoc;

// Turns the flat result of a survey (one system per host in the document's
// list, the host table and the gateway results in m_survey) into the map:
// shared printers, routers for unknown gateways, one domain per domain or
// workgroup under the forest, memberships, fully qualified host names, the
// automatic layout, the connections, and DNS names for the domains.
//
// Runs once per finished survey on the user-interface thread, after every
// survey thread has ended; takes no lock. Status lines go to the sink (the
// survey progress window's message line), each replacing the one before.
class MapConstruction {
public:
    using StatusSink = std::function<void(const QString&)>;

    // The progress window's headline while the map is built.
    static QString Headline();

    // Builds the map. A failure part way (out of memory, a bad index) ends
    // the run and keeps what was built so far.
    static void MakeDomain(CNetDoc& document, const StatusSink& status);

private:
    MapConstruction(CNetDoc& document, StatusSink status);

    void Run();
    // The host-table and UNC indexes serve steps that run before anything
    // changes what they index; the address index grows with every interface
    // the gateway handling adds.
    void BuildIndexes();
    void NameDomainsFromHostTable();
    void RecordDnsSuffixes();
    void RewriteHostTable();
    void AnalyseObjects();
    void CreateSharedPrinters(CDrawObj& object);
    void CreateSharedPrinter(CDrawSys& sharer, const QString& share);
    void HandleGateway(CDrawObj& object);
    void CreateDomainFor(const QString& name);
    void JoinDomains();
    void JoinDomain(CDrawDomain& domain, const QList<CDrawObj*>& members);
    void CompleteHostName(CDrawSys& system, const CDrawDomain& domain);
    void HangSegmentsUnderForest();
    void LayoutAndWire();
    void UseDnsDomainNames();

    // The object whose domain a new domain joins: the last forest of the list.
    CDrawObj* LastForest() const;
    CDrawSys* HostOfShare(const QString& hostPart) const;

    CNetDoc& m_document;
    StatusSink m_status;
    // NetBIOS domain or workgroup name to the DNS suffix of its members.
    QMap<QString, QString> m_dnsSuffixTable;
    QSet<QString> m_createdDomains; // ASCII-case keys
    bool m_bForestPending = true;
    AddressHolders m_holders;
    GatewayHandler m_gateways;
    // Host-table values by ASCII-case key, in table order.
    QHash<QString, QStringList> m_hostTableValues;
    // Systems by ASCII-case UNC name, the first of the list for each.
    QHash<QString, CDrawSys*> m_systemsByUnc;
    // Forests by where they sit: inserted at the head, present before the
    // run, appended at the tail (each in list order).
    QList<CDrawObj*> m_headForests;
    QList<CDrawObj*> m_listedForests;
    QList<CDrawObj*> m_tailForests;
    // Where the walk of the analysis stands in the list.
    qsizetype m_nWalk = 0;
};
