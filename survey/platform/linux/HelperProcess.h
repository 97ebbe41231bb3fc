#pragma once

#include <QByteArray>
#include <QString>

// Runs a helper program to completion or to its deadline, whichever comes
// first: its input is written to its standard input, its standard output
// is collected up to a limit, and a helper that overruns is killed. The
// child is always reaped, on every path.
class HelperProcess {
public:
    // Helpers running at once, process-wide; further runs wait their turn.
    static constexpr int kMaxRunning = 16;

    struct Outcome {
        bool started = false;
        bool killed = false; // the deadline passed, or the output grew too large
        int exitCode = -1;
        QByteArray output;
    };

    static Outcome Run(const QString& program, const QByteArray& input, int deadlineMs, qsizetype maxOutput);
};
