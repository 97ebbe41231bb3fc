#pragma once

#include <QByteArray>
#include <QString>

// SOAP texts as the lab's responders send them, with the namespace prefixes
// they really use.
namespace WsdFixtures {

inline QByteArray Matches(const QString& action, const QString& relatesTo, const QString& endpoint,
                          const QString& xaddrs, const QString& prefix = QStringLiteral("wsd"))
{
    const QString element = action == QLatin1String("ProbeMatches") ? QStringLiteral("ProbeMatch")
                                                                     : QStringLiteral("ResolveMatch");
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
               "<soap:Envelope xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\""
               " xmlns:wsa=\"http://schemas.xmlsoap.org/ws/2004/08/addressing\""
               " xmlns:%1=\"http://schemas.xmlsoap.org/ws/2005/04/discovery\">"
               "<soap:Header><wsa:To>http://schemas.xmlsoap.org/ws/2004/08/addressing/role/anonymous</wsa:To>"
               "<wsa:Action>http://schemas.xmlsoap.org/ws/2005/04/discovery/%2</wsa:Action>"
               "<wsa:MessageID>urn:uuid:0d1e2f30-0000-4000-8000-000000000001</wsa:MessageID>"
               "<wsa:RelatesTo>%3</wsa:RelatesTo></soap:Header>"
               "<soap:Body><%1:%2><%1:%4><wsa:EndpointReference><wsa:Address>%5</wsa:Address>"
               "</wsa:EndpointReference><%1:Types>wsdp:Device pub:Computer</%1:Types>%6"
               "<%1:MetadataVersion>1</%1:MetadataVersion></%1:%4></%1:%2></soap:Body></soap:Envelope>")
        .arg(prefix, action, relatesTo, element, endpoint,
             xaddrs.isEmpty() ? QString()
                              : QStringLiteral("<%1:XAddrs>%2</%1:XAddrs>").arg(prefix, xaddrs))
        .toUtf8();
}

// A wsdd2-style metadata response: the model section uses the prefix "un0".
inline QByteArray Metadata(const QString& computer, const QString& category = QStringLiteral("Computers"))
{
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
               "<soap:Envelope xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\""
               " xmlns:wsa=\"http://schemas.xmlsoap.org/ws/2004/08/addressing\""
               " xmlns:wsx=\"http://schemas.xmlsoap.org/ws/2004/09/mex\""
               " xmlns:wsdp=\"http://schemas.xmlsoap.org/ws/2006/02/devprof\""
               " xmlns:un0=\"http://schemas.microsoft.com/windows/pnpx/2005/10\""
               " xmlns:pub=\"http://schemas.microsoft.com/windows/pub/2005/07\">"
               "<soap:Header><wsa:Action>http://schemas.xmlsoap.org/ws/2004/09/transfer/GetResponse</wsa:Action>"
               "</soap:Header><soap:Body><wsx:Metadata>"
               "<wsx:MetadataSection Dialect=\"http://schemas.xmlsoap.org/ws/2006/02/devprof/ThisDevice\">"
               "<wsdp:ThisDevice><wsdp:FriendlyName>WSD Device %1</wsdp:FriendlyName>"
               "<wsdp:FirmwareVersion>1.0</wsdp:FirmwareVersion><wsdp:SerialNumber>SN-0001</wsdp:SerialNumber>"
               "</wsdp:ThisDevice></wsx:MetadataSection>"
               "<wsx:MetadataSection Dialect=\"http://schemas.xmlsoap.org/ws/2006/02/devprof/ThisModel\">"
               "<wsdp:ThisModel><wsdp:Manufacturer>VarnexLab</wsdp:Manufacturer>"
               "<wsdp:ModelName>LabNAS</wsdp:ModelName><un0:DeviceCategory>%2</un0:DeviceCategory>"
               "</wsdp:ThisModel></wsx:MetadataSection>"
               "<wsx:MetadataSection Dialect=\"http://schemas.xmlsoap.org/ws/2006/02/devprof/Relationship\">"
               "<wsdp:Relationship Type=\"http://schemas.xmlsoap.org/ws/2006/02/devprof/host\">"
               "<wsdp:Host><wsa:EndpointReference><wsa:Address>urn:uuid:1</wsa:Address></wsa:EndpointReference>"
               "<wsdp:Types>pub:Computer</wsdp:Types><wsdp:ServiceId>urn:uuid:1</wsdp:ServiceId>"
               "<pub:Computer>%1</pub:Computer></wsdp:Host></wsdp:Relationship></wsx:MetadataSection>"
               "</wsx:Metadata></soap:Body></soap:Envelope>")
        .arg(computer, category)
        .toUtf8();
}

} // namespace WsdFixtures
