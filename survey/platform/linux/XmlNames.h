#pragma once

#include <QByteArray>

#include <pugixml.hpp>

#include <string_view>

// Element matching by namespace URI and local name. Peers choose their own
// prefixes (wsdd2 writes "un0:" where others write "pnpx:"), so a prefix
// never decides what an element is.
class XmlNames {
public:
    static constexpr std::string_view kSoap = "http://www.w3.org/2003/05/soap-envelope";
    static constexpr std::string_view kAddressing = "http://schemas.xmlsoap.org/ws/2004/08/addressing";
    static constexpr std::string_view kDiscovery = "http://schemas.xmlsoap.org/ws/2005/04/discovery";
    static constexpr std::string_view kDevProf = "http://schemas.xmlsoap.org/ws/2006/02/devprof";
    static constexpr std::string_view kMex = "http://schemas.xmlsoap.org/ws/2004/09/mex";
    static constexpr std::string_view kPnpx = "http://schemas.microsoft.com/windows/pnpx/2005/10";
    static constexpr std::string_view kPub = "http://schemas.microsoft.com/windows/pub/2005/07";
    static constexpr std::string_view kWsMan = "http://schemas.dmtf.org/wbem/wsman/1/wsman.xsd";
    static constexpr std::string_view kEnumeration = "http://schemas.xmlsoap.org/ws/2004/09/enumeration";
    static constexpr std::string_view kIdentity = "http://schemas.dmtf.org/wbem/wsman/identity/1/wsmanidentity.xsd";
    static constexpr std::string_view kWsManFault = "http://schemas.microsoft.com/wbem/wsman/1/wsmanfault";
    static constexpr std::string_view kCim = "http://schemas.dmtf.org/wbem/wscim/1/common";
    static constexpr std::string_view kXsi = "http://www.w3.org/2001/XMLSchema-instance";

    static std::string_view LocalName(const pugi::xml_node& element);
    // The namespace URI in scope for the element's prefix; empty when the
    // prefix is not declared.
    static std::string_view NamespaceUri(const pugi::xml_node& element);
    static bool Is(const pugi::xml_node& element, std::string_view uri, std::string_view local);
    // The first child element with that name, or an empty node.
    static pugi::xml_node Child(const pugi::xml_node& parent, std::string_view uri,
                                std::string_view local);
    // The value of the element's attribute of that namespace and local name;
    // empty when it has none.
    static std::string_view Attribute(const pugi::xml_node& element, std::string_view uri,
                                      std::string_view local);
    // The element's text with surrounding blanks removed.
    static std::string_view Text(const pugi::xml_node& element);

    // Whether a parsed document stays within what a peer's message needs:
    // looking names up walks an element's ancestors and their attributes,
    // so deep nesting, crowds of attributes or of elements would make the
    // reading cost grow with the square of the input.
    static bool WithinBounds(const pugi::xml_document& document);
    // Parses a peer's bytes (no larger than maxBytes) and checks the bounds.
    static bool Load(pugi::xml_document& document, const QByteArray& bytes, qsizetype maxBytes);
    static constexpr size_t kMaxDepth = 32;
    static constexpr size_t kMaxAttributes = 32;
    static constexpr size_t kMaxElements = 20000;
};
