#pragma once

#include <QString>

#include <functional>

// Decides from the start types of the two discovery services whether a
// survey may start, and which message the user sees when it may not. The
// caller asks the service manager; this class only judges the answers.
class DiscoveryServiceCheck {
public:
    static const QString kFunctionDiscoveryHost; // "fdPHost"
    static const QString kResourcePublication; // "FDResPub"
    static const QString kHelpPage; // "vx_set_infra.aspx"

    enum Stage {
        kNoFailure = 0,
        kOpenManager = 1,
        kOpenService = 2,
        kQueryConfig = 3,
    };

    // What the service manager said about one service: the last stage that
    // failed with its system error code, and whether it starts automatically.
    // Asking for the configuration's size first fails with error 122 as a
    // matter of course, so stage 3 with 122 is the normal answer.
    struct Probe {
        Stage failedStage = kNoFailure;
        quint32 error = 0;
        bool automatic = false;
    };

    struct Verdict {
        bool holds = false;
        QString message;
        // Open the help page after the user has closed the message.
        bool openHelpPage = false;
    };

    using Prober = std::function<Probe(const QString& service)>;

    // Probes "fdPHost" and, only when it starts automatically, "FDResPub".
    static Verdict Decide(const Prober& probe);
    static QString DiagnosticText(const QString& service, const Probe& probe);

private:
    static QString OpenServiceText(quint32 error);
    static QString QueryConfigText(const QString& service, const Probe& probe);
};
