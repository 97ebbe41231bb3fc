#pragma once

#include <QList>
#include <QMap>
#include <QString>

#include <functional>

class CDrawDomain;
class CDrawNic;
class CDrawObj;
class CDrawSys;
class CNetDoc;

// Map construction, layout, re-layout and re-wiring done the slow, plain
// way: every "first object that ..." is a walk over the document's list and
// every step is written out as it is defined, without indexes. The tests
// hold the indexed implementation to its results.
class LiteralMapConstruction {
public:
    using StatusSink = std::function<void(const QString&)>;

    static void MakeDomain(CNetDoc& document, const StatusSink& status);
    static void Relayout(CNetDoc& document);
    static void Rewire(CNetDoc& document);

private:
    LiteralMapConstruction(CNetDoc& document, StatusSink status);

    void Run();
    void AnalyseObjects();
    void CreateSharedPrinter(CDrawSys& sharer, const QString& share);
    void HandleGateway(CDrawNic& nic, quint32 gateway);
    void CreateDomain(const QString& name);
    void JoinDomains();
    void CompleteHostName(CDrawSys& system, const QString& domain);
    void AttachSegments();

    bool IsKnown(quint32 address) const;
    CDrawSys* NewGatewaySystem(int typeCode, const CDrawNic& nic);
    CDrawNic* NewInterface(CDrawSys& system);
    void AddGatewayInterface(CDrawSys& system, quint32 gateway, int nRequest);
    void Register(CDrawSys& router);
    bool BearsGatewayName(const CDrawObj* object) const;

    static void Regroup(CNetDoc& document, bool deleteConnections);
    static void ResetPositions(CNetDoc& document);
    static void Layout(CNetDoc& document);
    static void ConnectAllInterfaces(CNetDoc& document);
    static void LayoutTree(CNetDoc& document, CDrawDomain& domain);
    static void LayoutSystems(CNetDoc& document, const QList<CDrawObj*>& systems, qint32 spacing);
    static void LayoutForest(CNetDoc& document, CDrawDomain& forest);
    static void LayoutLoose(CNetDoc& document);
    static QList<CDrawObj*> Loose(CNetDoc& document);
    static void ToOrigin(CDrawObj* system);
    static void RepositionPrinters(CNetDoc& document);

    CNetDoc& m_document;
    StatusSink m_status;
    QMap<QString, QString> m_dnsSuffixTable;
    QStringList m_createdDomains;
    int m_nForestFlag = 1;
};
