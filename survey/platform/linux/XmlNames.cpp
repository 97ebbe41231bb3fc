#include "XmlNames.h"

#include <string>

namespace {

std::string_view Prefix(std::string_view qualified)
{
    const size_t colon = qualified.find(':');
    return colon == std::string_view::npos ? std::string_view() : qualified.substr(0, colon);
}

std::string_view Trimmed(std::string_view text)
{
    const std::string_view blanks = " \t\r\n";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

} // namespace

std::string_view XmlNames::LocalName(const pugi::xml_node& element)
{
    const std::string_view qualified = element.name();
    const size_t colon = qualified.find(':');
    return colon == std::string_view::npos ? qualified : qualified.substr(colon + 1);
}

std::string_view XmlNames::NamespaceUri(const pugi::xml_node& element)
{
    const std::string_view prefix = Prefix(element.name());
    const std::string attribute =
        prefix.empty() ? std::string("xmlns") : "xmlns:" + std::string(prefix);
    for (pugi::xml_node node = element; node.type() == pugi::node_element; node = node.parent()) {
        const pugi::xml_attribute declaration = node.attribute(attribute.c_str());
        if (declaration)
            return declaration.value();
    }
    return {};
}

bool XmlNames::Is(const pugi::xml_node& element, std::string_view uri, std::string_view local)
{
    return element.type() == pugi::node_element && LocalName(element) == local
        && NamespaceUri(element) == uri;
}

pugi::xml_node XmlNames::Child(const pugi::xml_node& parent, std::string_view uri,
                               std::string_view local)
{
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling())
        if (Is(child, uri, local))
            return child;
    return {};
}

bool XmlNames::WithinBounds(const pugi::xml_document& document)
{
    size_t elements = 0;
    size_t depth = 0;
    pugi::xml_node node = document.first_child();
    while (node) {
        if (node.type() == pugi::node_element) {
            if (++elements > kMaxElements || depth >= kMaxDepth)
                return false;
            size_t attributes = 0;
            for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute())
                if (++attributes > kMaxAttributes)
                    return false;
        }
        // Walk the tree without recursion: down, else along, else up.
        if (node.first_child()) {
            node = node.first_child();
            ++depth;
            continue;
        }
        while (node && !node.next_sibling()) {
            node = node.parent();
            if (depth == 0)
                return true;
            --depth;
        }
        if (node)
            node = node.next_sibling();
    }
    return true;
}

bool XmlNames::Load(pugi::xml_document& document, const QByteArray& bytes, qsizetype maxBytes)
{
    // No DOCTYPE processing: pugixml expands only the predefined and
    // numeric entities, so no entity can grow the document.
    return bytes.size() <= maxBytes
        && document.load_buffer(bytes.constData(), size_t(bytes.size()), pugi::parse_default)
        && WithinBounds(document);
}

std::string_view XmlNames::Attribute(const pugi::xml_node& element, std::string_view uri,
                                    std::string_view local)
{
    for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute()) {
        const std::string_view qualified = a.name();
        const std::string_view prefix = Prefix(qualified);
        // Unprefixed attributes belong to no namespace.
        if (prefix.empty() || prefix == "xmlns" || qualified.substr(prefix.size() + 1) != local)
            continue;
        const std::string declaration = "xmlns:" + std::string(prefix);
        for (pugi::xml_node node = element; node.type() == pugi::node_element; node = node.parent())
            if (const pugi::xml_attribute d = node.attribute(declaration.c_str())) {
                if (d.value() == uri)
                    return a.value();
                break;
            }
    }
    return {};
}

std::string_view XmlNames::Text(const pugi::xml_node& element)
{
    return Trimmed(element.child_value());
}
