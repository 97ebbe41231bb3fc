#pragma once

#include "survey/platform/WmiSession.h"

#include <QByteArray>
#include <QString>

#include <pugixml.hpp>

// What a WS-Management server answered to Identify, Enumerate, Pull or
// Release: the WMI instances it sent, the enumeration's state, or a fault
// with the error code it stands for. Pure: the answer arrives as bytes.
class WsManReply {
public:
    enum class Kind { Malformed, Fault, Identified, Enumerated, Pulled, Released };

    static constexpr qsizetype kMaxBody = 4 * 1024 * 1024;
    static constexpr quint32 kAccessDenied = 0x80070005; // E_ACCESSDENIED
    static constexpr quint32 kInvalidClass = 0x80041010; // WBEM_E_INVALID_CLASS
    static constexpr quint32 kWsManFailure = 0x80338000; // a fault that names no code

    Kind kind = Kind::Malformed;
    quint32 faultCode = 0;
    // A Pull that found nothing to send within the operation time-out: the
    // enumeration goes on and the client asks again.
    bool timedOut = false;
    QString context; // of the enumeration; empty once it ended
    bool endOfSequence = false;
    QList<WmiSession::Instance> instances;

    static WsManReply Parse(const QByteArray& body);
    // A WMI instance as WS-Management writes it: one element per property
    // in the class's order, an array as the element repeated, a null as
    // xsi:nil and a date as a cim:Datetime inside.
    static WmiSession::Instance ReadInstance(const pugi::xml_node& element);
    static WmiSession::Value ScalarValue(const QString& text);
    static QDateTime ParseDatetime(const QString& text);

private:
    static void ReadFault(const pugi::xml_node& fault, WsManReply& reply);
    static void ReadItems(const pugi::xml_node& items, WsManReply& reply);
    static WmiSession::Value PropertyValue(const pugi::xml_node& element);
    static WmiSession::Value ArrayValue(const QList<WmiSession::Value>& elements);
    static quint32 CodeOf(std::string_view text);
};
