#pragma once

class CNetDoc;

// Draws the connections of a map: each interface with a default gateway is
// connected to the interface that holds that gateway address.
//
// An interface whose gateway no object holds, or is held on its own system
// (the survey gives an adapter without a gateway its own address as one),
// gets no connection: a line from a system to itself tells nothing. The
// walk goes on past such interfaces.
class InterfaceWiring {
public:
    // Adds the connections to the interfaces and at the head of the
    // document's list, the last one made first; returns how many.
    static int ConnectAllInterfaces(CNetDoc& document);
};
