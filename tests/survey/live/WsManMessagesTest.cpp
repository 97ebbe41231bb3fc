#include "survey/platform/linux/EncryptedBody.h"
#include "survey/platform/linux/WsManReply.h"
#include "survey/platform/linux/WsManRequest.h"

#include <gtest/gtest.h>

#include <QTimeZone>

namespace {

const char* kHead = R"(<s:Envelope xmlns:s="http://www.w3.org/2003/05/soap-envelope")"
                    R"( xmlns:n="http://schemas.xmlsoap.org/ws/2004/09/enumeration")"
                    R"( xmlns:w="http://schemas.dmtf.org/wbem/wsman/1/wsman.xsd"><s:Header/><s:Body>)";
const char* kTail = "</s:Body></s:Envelope>";

QByteArray Envelope(const char* body)
{
    return QByteArray(kHead) + body + kTail;
}

const char* kProcessor =
    R"(<p:Win32_Processor xmlns:p="http://schemas.microsoft.com/wbem/wsman/1/wmi/root/cimv2/Win32_Processor")"
    R"( xmlns:cim="http://schemas.dmtf.org/wbem/wscim/1/common" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">)"
    R"(<p:Name>Intel(R) Core(TM) i5 &amp; more</p:Name><p:MaxClockSpeed>3000</p:MaxClockSpeed>)"
    R"(<p:SerialNumber>007</p:SerialNumber><p:PowerManagementSupported>false</p:PowerManagementSupported>)"
    R"(<p:Description xsi:nil="true"/><p:Caption/>)"
    R"(<p:ChassisTypes>35</p:ChassisTypes><p:ChassisTypes>3</p:ChassisTypes>)"
    R"(<p:Roles>LM_Workstation</p:Roles><p:Roles>7</p:Roles>)"
    R"(<p:InstallDate><cim:Datetime>2026-11-30T08:15:00.123456+09:00</cim:Datetime></p:InstallDate>)"
    R"(</p:Win32_Processor>)";

} // namespace

TEST(WsManReply, ReadsTheInstancesOfAnOptimisedEnumeration)
{
    const QByteArray body = Envelope((std::string("<n:EnumerateResponse><n:EnumerationContext>ctx-1</n:EnumerationContext>"
                                                  "<w:Items>")
                                      + kProcessor + kProcessor + "</w:Items></n:EnumerateResponse>")
                                         .c_str());
    const WsManReply reply = WsManReply::Parse(body);
    ASSERT_EQ(reply.kind, WsManReply::Kind::Enumerated);
    EXPECT_EQ(reply.context, QStringLiteral("ctx-1"));
    ASSERT_EQ(reply.instances.size(), 2);
    const QList<WmiSession::Property>& p = reply.instances.first().properties;
    ASSERT_EQ(p.size(), 9);
    EXPECT_EQ(p[0].name, QStringLiteral("Name"));
    EXPECT_EQ(std::get<QString>(p[0].value), QStringLiteral("Intel(R) Core(TM) i5 & more"));
    EXPECT_EQ(std::get<qint64>(p[1].value), 3000);
    EXPECT_EQ(std::get<QString>(p[2].value), QStringLiteral("007")); // not a number: reads back otherwise
    EXPECT_EQ(std::get<bool>(p[3].value), false);
    EXPECT_TRUE(std::holds_alternative<WmiSession::Null>(p[4].value));
    EXPECT_EQ(std::get<QString>(p[5].value), QString());
    EXPECT_EQ(std::get<QList<qint32>>(p[6].value), (QList<qint32>{35, 3}));
    EXPECT_EQ(std::get<QStringList>(p[7].value), (QStringList{QStringLiteral("LM_Workstation"), QStringLiteral("7")}));
    const QDateTime when = std::get<QDateTime>(p[8].value);
    EXPECT_EQ(when.toUTC(), QDateTime(QDate(2026, 11, 29), QTime(23, 15, 0, 123), QTimeZone::utc()));
}

TEST(WsManReply, FollowsThePullsToTheEndOfTheSequence)
{
    const WsManReply more = WsManReply::Parse(Envelope(
        "<n:PullResponse><n:EnumerationContext>ctx-2</n:EnumerationContext><n:Items/></n:PullResponse>"));
    EXPECT_EQ(more.kind, WsManReply::Kind::Pulled);
    EXPECT_EQ(more.context, QStringLiteral("ctx-2"));
    const WsManReply last = WsManReply::Parse(Envelope(
        "<n:PullResponse><n:EnumerationContext>ctx-2</n:EnumerationContext><n:Items/><n:EndOfSequence/></n:PullResponse>"));
    EXPECT_TRUE(last.endOfSequence);
    EXPECT_TRUE(last.context.isEmpty());
}

TEST(WsManReply, GivesTheCodeAFaultStandsFor)
{
    struct Case {
        const char* subcode;
        const char* detail;
        quint32 code;
        bool timedOut;
    } cases[] = {
        {"w:AccessDenied", "", 0x80070005, false},
        {"w:DestinationUnreachable", "", 0x80041010, false},
        {"w:InternalError",
         R"(<f:WSManFault xmlns:f="http://schemas.microsoft.com/wbem/wsman/1/wsmanfault" Code="2147944123"/>)",
         0x800706BB, false},
        {"w:InternalError",
         R"(<f:WSManFault xmlns:f="http://schemas.microsoft.com/wbem/wsman/1/wsmanfault" Code="2150858752">)"
         R"(<f:Message><p:MSFT_WmiError xmlns:p="urn:x"><p:error_Code>2147749904</p:error_Code></p:MSFT_WmiError>)"
         R"(</f:Message></f:WSManFault>)",
         0x80041010, false},
        {"w:TimedOut", "", 0x80338000, true},
        {"w:Strange", R"(<f:WSManFault xmlns:f="x" Code="not a number"/>)", 0x80338000, false},
    };
    for (const Case& c : cases) {
        const std::string fault = std::string("<s:Fault><s:Code><s:Value>s:Receiver</s:Value><s:Subcode><s:Value>")
            + c.subcode + "</s:Value></s:Subcode></s:Code><s:Detail>" + c.detail + "</s:Detail></s:Fault>";
        const WsManReply reply = WsManReply::Parse(Envelope(fault.c_str()));
        EXPECT_EQ(reply.kind, WsManReply::Kind::Fault) << c.subcode;
        EXPECT_EQ(reply.faultCode, c.code) << c.subcode << c.detail;
        EXPECT_EQ(reply.timedOut, c.timedOut) << c.subcode;
    }
}

TEST(WsManReply, RefusesWhatIsNoAnswer)
{
    const QByteArray deep = QByteArray("<a>").repeated(100) + QByteArray("</a>").repeated(100);
    const QByteArray entities = R"(<!DOCTYPE s [<!ENTITY a "aaaaaaaa"><!ENTITY b "&a;&a;&a;&a;&a;">]>)"
        + Envelope("<n:PullResponse><n:Items><p:X xmlns:p='u'><p:Y>&b;&b;&b;</p:Y></p:X></n:Items></n:PullResponse>");
    for (const QByteArray& body : {QByteArray(), QByteArray("not xml"), QByteArray("<s:Envelope/>"), deep,
                                   QByteArray(WsManReply::kMaxBody + 1, ' '),
                                   Envelope("<x:Other xmlns:x='urn:other'/>")})
        EXPECT_EQ(WsManReply::Parse(body).kind, WsManReply::Kind::Malformed) << body.left(60).constData();
    // No entity of a document type grows into the values.
    const WsManReply reply = WsManReply::Parse(entities);
    for (const WmiSession::Instance& instance : reply.instances)
        for (const WmiSession::Property& property : instance.properties)
            EXPECT_LT(std::get<QString>(property.value).size(), 16);
}

TEST(WsManRequest, EscapesWhatTheServerHandedOver)
{
    const QByteArray pull = WsManRequest::Pull(QStringLiteral("http://10.77.0.20:5985/wsman"),
                                               QStringLiteral("Win32_Product"), QStringLiteral("<ctx>&\"'"));
    EXPECT_TRUE(pull.contains("&lt;ctx&gt;&amp;"));
    EXPECT_TRUE(pull.contains("http://schemas.microsoft.com/wbem/wsman/1/wmi/root/cimv2/Win32_Product"));
    EXPECT_TRUE(pull.contains("http://schemas.xmlsoap.org/ws/2004/09/enumeration/Pull"));
}

TEST(EncryptedBody, FramesAndUnframesASealedMessage)
{
    const QByteArray signature(16, '\x5a');
    // Sealed bytes may hold anything, the boundary's text too.
    const char raw[] = "\x01\x02--Encrypted Boundary\r\n\x03";
    const QByteArray sealed(raw, sizeof raw - 1);
    const QByteArray body = EncryptedBody::Frame(sealed.size(), signature, sealed);
    EXPECT_TRUE(body.startsWith("--Encrypted Boundary\r\n\tContent-Type: application/HTTP-SPNEGO-session-encrypted\r\n"
                                "\tOriginalContent: type=application/soap+xml;charset=UTF-8;Length=25\r\n"));
    EXPECT_TRUE(body.endsWith("--Encrypted Boundary--\r\n"));
    const std::optional<EncryptedBody::Part> part = EncryptedBody::Unframe(body);
    ASSERT_TRUE(part);
    EXPECT_EQ(part->plainLength, sealed.size());
    EXPECT_EQ(part->signature, signature);
    EXPECT_EQ(part->sealed, sealed);
}

TEST(EncryptedBody, RefusesBrokenFrames)
{
    const QByteArray good = EncryptedBody::Frame(3, QByteArray(16, 'S'), "abc");
    QByteArray wrongSignatureLength = good;
    wrongSignatureLength[good.indexOf("octet-stream\r\n") + 14] = 15;
    for (const QByteArray& body : {QByteArray(), QByteArray("plain soap"), good.left(good.indexOf("octet-stream")),
                                   wrongSignatureLength, QByteArray(good).replace("Length=3", "Length=x"),
                                   QByteArray(good).replace("SPNEGO", "Kerberos")})
        EXPECT_FALSE(EncryptedBody::Unframe(body)) << body.left(80).constData();
}
