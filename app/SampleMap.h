#pragma once

class CNetDoc;

// A small hand-made office network: a broadband router, a domain controller,
// a file and print server with a shared printer, and two desktops in one
// domain, with their interfaces, labels and connections. The main job shows
// it until a survey has produced a map.
class SampleMap {
public:
    static void build(CNetDoc& document);
};
