#pragma once

#include "survey/WmiInterpreter.h"
#include "survey/platform/WmiProbe.h"
#include "survey/platform/WmiSession.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The hardware and software inventory of one computer over WMI: connects to
// the host, lists the ten inventory classes into the WMI listing, and
// interprets the few properties the map shows.
class WmiInventoryStep {
public:
    static constexpr quint32 kServerTooBusy = 0x800706BB; // RPC_S_SERVER_TOO_BUSY
    static const QStringList kClasses;

    struct Inputs {
        QString host; // "\\NAME"
        bool showFailures = false;
        quint32 credentialMode = 0;
        QStringList account; // domain, user, password
        std::function<bool()> inMapMode;
    };

    struct Outputs {
        QStringList listing;
        WmiInterpreter::Results results;
    };

    // True when the class listing ran; false when the connection or a stop
    // ended it. Failure texts join the information lines.
    static bool Run(const WmiProbe& probe, const Inputs& inputs, Outputs& outputs);

    static std::optional<WmiProbe::Credentials> Identity(const Inputs& inputs);
    static QString ValueText(const WmiSession::Value& value);
    // The failure text of a class that could not be listed.
    static QString EnumerationFailure(quint32 hresult);

private:
    static quint32 ListClass(const WmiSession& session, const QString& className, const Inputs& inputs,
                             Outputs& outputs);
    // The lines of a connection that failed: the call, then the system's
    // text, or the call and the code when the system has none.
    static QStringList ConnectFailure(const WmiProbe::Connection& connection);
};
