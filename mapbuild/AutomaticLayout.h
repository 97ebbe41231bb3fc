#pragma once

#include "document/Geometry.h"

#include <QList>
#include <QSet>

#include <array>

class CDrawDomain;
class CDrawObj;
class CNetDoc;

// Places the systems of a map: the forest's domains side by side, and
// inside each domain the systems in bands by role (routers, domain
// controllers, servers, printers, hubs, computers), each band in rows no
// wider than the printer page and centred on it.
//
// One object serves one layout run on the user-interface thread; the
// document's list must not change during the run.
class AutomaticLayout {
public:
    enum Band { Routers, DomainControllers, Servers, Printers, Hubs, Computers, kBandCount };
    // Server type bits of the two server bands.
    static constexpr quint32 kDomainControllerBits = 0x18;
    static constexpr quint32 kServerBits = 0x83004EFC;

    explicit AutomaticLayout(CNetDoc& document);

    // Lays out the forest with a domain named WORKGROUP last.
    void LayoutWorkgroupLast(CDrawDomain& forest);
    void LayoutTree(CDrawDomain& domain);
    void LayoutSystems(CDrawDomain& domain);
    // Lays out the systems that belong to no domain and hang on no system
    // (hosts the survey could not name) like one more domain, to the right
    // of everything the forest holds, rather than leaving them piled up at
    // the origin. They must stand at the origin, as the survey leaves them.
    void LayoutLooseSystems();

    // Those systems, in list order.
    static QList<CDrawObj*> LooseSystems(const QList<CDrawObj*>& objects);

    // Moves every hosted printer of the document to its offset from its host.
    static void RepositionPrinters(const CNetDoc& document);
    // The band of a system, or -1 for a system the layout leaves in place.
    static int BandOf(const CDrawObj* system);

private:
    using Rows = QList<Rect>;

    void LayoutMembers(const QList<CDrawObj*>& members, qint32 spacing);
    void PackRows(const QList<CDrawObj*>& members, qint32 spacing,
                  std::array<Rows, kBandCount>& bands,
                  std::array<qint32, kBandCount>& heights) const;
    void PlaceRows(std::array<Rows, kBandCount>& bands, std::array<qint32, kBandCount>& heights,
                   qint32 spacing) const;
    static void PlaceSystems(const QList<CDrawObj*>& members,
                             const std::array<Rows, kBandCount>& bands, qint32 spacing);
    qint32 ForestWidth() const;

    CNetDoc& m_document;
    // The first forest of the document's list, found once for the run.
    const CDrawObj* m_pForest = nullptr;
    // Domains laid out in this run: a domain tree read from a file may hold
    // a cycle, which must not recurse for ever.
    QSet<const CDrawDomain*> m_laidOut;
    bool m_bPagesCounted = false;
};
