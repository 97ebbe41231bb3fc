#include "WsdMetadata.h"

#include "XmlNames.h"

#include <QRegularExpression>

#include <pugixml.hpp>

namespace {

constexpr std::string_view kThisDevice = "http://schemas.xmlsoap.org/ws/2006/02/devprof/ThisDevice";
constexpr std::string_view kThisModel = "http://schemas.xmlsoap.org/ws/2006/02/devprof/ThisModel";
constexpr std::string_view kRelationship = "http://schemas.xmlsoap.org/ws/2006/02/devprof/Relationship";
// Device strings are short; a longer one is cut rather than carried into
// every label and table of the map.
constexpr qsizetype kMaxText = 256;

QString TextOf(const pugi::xml_node& parent, std::string_view uri, std::string_view local)
{
    const std::string_view text = XmlNames::Text(XmlNames::Child(parent, uri, local));
    return QString::fromUtf8(text.data(), qsizetype(text.size())).left(kMaxText);
}

void ReadThisDevice(const pugi::xml_node& device, WsdMetadata& metadata)
{
    metadata.friendlyName = TextOf(device, XmlNames::kDevProf, "FriendlyName");
    metadata.firmwareVersion = TextOf(device, XmlNames::kDevProf, "FirmwareVersion");
    metadata.serialNumber = TextOf(device, XmlNames::kDevProf, "SerialNumber");
}

void ReadThisModel(const pugi::xml_node& model, WsdMetadata& metadata)
{
    metadata.manufacturer = TextOf(model, XmlNames::kDevProf, "Manufacturer");
    metadata.manufacturerUrl = TextOf(model, XmlNames::kDevProf, "ManufacturerUrl");
    metadata.modelName = TextOf(model, XmlNames::kDevProf, "ModelName");
    metadata.modelNumber = TextOf(model, XmlNames::kDevProf, "ModelNumber");
    metadata.modelUrl = TextOf(model, XmlNames::kDevProf, "ModelUrl");
    metadata.presentationUrl = TextOf(model, XmlNames::kDevProf, "PresentationUrl");
    metadata.deviceCategories = TextOf(model, XmlNames::kPnpx, "DeviceCategory")
                                    .split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

void ReadRelationship(const pugi::xml_node& relationship, WsdMetadata& metadata)
{
    for (pugi::xml_node host = relationship.first_child(); host; host = host.next_sibling()) {
        if (!XmlNames::Is(host, XmlNames::kDevProf, "Host")
            && !XmlNames::Is(host, XmlNames::kDevProf, "Hosted"))
            continue;
        const QString computer = TextOf(host, XmlNames::kPub, "Computer");
        if (!computer.isEmpty()) {
            metadata.computer = computer;
            return;
        }
    }
}

} // namespace

std::optional<WsdMetadata> WsdMetadata::Parse(const QByteArray& body)
{
    pugi::xml_document document;
    if (!XmlNames::Load(document, body, kMaxBody))
        return std::nullopt;
    const pugi::xml_node envelope = document.document_element();
    if (!XmlNames::Is(envelope, XmlNames::kSoap, "Envelope"))
        return std::nullopt;
    const pugi::xml_node metadataNode = XmlNames::Child(
        XmlNames::Child(envelope, XmlNames::kSoap, "Body"), XmlNames::kMex, "Metadata");
    if (!metadataNode)
        return std::nullopt;
    WsdMetadata metadata;
    for (pugi::xml_node section = metadataNode.first_child(); section; section = section.next_sibling()) {
        if (!XmlNames::Is(section, XmlNames::kMex, "MetadataSection"))
            continue;
        const std::string_view dialect = section.attribute("Dialect").value();
        const pugi::xml_node content = section.find_child([](const pugi::xml_node& n) {
            return n.type() == pugi::node_element;
        });
        if (dialect == kThisDevice)
            ReadThisDevice(content, metadata);
        else if (dialect == kThisModel)
            ReadThisModel(content, metadata);
        else if (dialect == kRelationship)
            ReadRelationship(content, metadata);
    }
    return metadata;
}
