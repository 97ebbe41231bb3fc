#pragma once

#include <QString>

// Names a Linux machine's operating system from the text of its os-release
// file and its kernel release. Pure: the caller reads both.
class LinuxOsName {
public:
    // "<PRETTY_NAME> (kernel <release>)"; without a kernel release the
    // parenthesis is left out.
    static QString Name(const QString& osReleaseText, const QString& kernelRelease);
    // The value of one os-release variable, unquoted and unescaped; empty
    // when the variable is absent.
    static QString Value(const QString& osReleaseText, const QString& variable);

private:
    static QString DistributionName(const QString& osReleaseText);
    static QString Unquoted(const QString& raw);
};
