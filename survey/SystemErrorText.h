#pragma once

#include <QString>

// The texts the system gives for the errors the survey meets, as a Japanese
// desktop shows them: Win32 error codes and the HRESULTs that wrap them.
// Empty for an error without a known text.
class SystemErrorText {
public:
    static QString Text(quint32 error);
};
