#include "survey/LinuxOsName.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct LinuxCase {
    const char* label;
    const char* osRelease;
    const char* kernel;
    const char* name;

    friend void PrintTo(const LinuxCase& c, std::ostream* os) { *os << c.label; }
};

class LinuxNames : public ::testing::TestWithParam<LinuxCase> {};

TEST_P(LinuxNames, NameFromOsReleaseAndKernel)
{
    const LinuxCase& c = GetParam();
    EXPECT_EQ(LinuxOsName::Name(QString::fromUtf8(c.osRelease), QString::fromUtf8(c.kernel)),
              QString::fromUtf8(c.name));
}

INSTANTIATE_TEST_SUITE_P(
    Files, LinuxNames,
    ::testing::Values(
        LinuxCase{"debian",
                  "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nNAME=\"Debian GNU/Linux\"\n"
                  "VERSION_ID=\"12\"\nID=debian\n",
                  "6.1.0-18-amd64", "Debian GNU/Linux 12 (bookworm) (kernel 6.1.0-18-amd64)"},
        LinuxCase{"single quotes", "PRETTY_NAME='Fedora Linux 40'\n", "6.8.5",
                  "Fedora Linux 40 (kernel 6.8.5)"},
        LinuxCase{"bare value", "PRETTY_NAME=Alpine\n", "6.6.1", "Alpine (kernel 6.6.1)"},
        LinuxCase{"escapes", "PRETTY_NAME=\"My \\\"Own\\\" \\\\ OS\"\n", "1",
                  "My \"Own\" \\ OS (kernel 1)"},
        LinuxCase{"crlf and blanks", "# comment\r\n\r\n  PRETTY_NAME=\"Arch Linux\"  \r\n",
                  " 6.9.arch1-1\n", "Arch Linux (kernel 6.9.arch1-1)"},
        LinuxCase{"later wins", "PRETTY_NAME=\"A\"\nPRETTY_NAME=\"B\"\n", "5", "B (kernel 5)"},
        LinuxCase{"name and version", "NAME=\"Ubuntu\"\nVERSION=\"24.04 LTS (Noble Numbat)\"\n",
                  "6.8.0", "Ubuntu 24.04 LTS (Noble Numbat) (kernel 6.8.0)"},
        LinuxCase{"name only", "NAME=Gentoo\n", "6.6", "Gentoo (kernel 6.6)"},
        LinuxCase{"empty pretty name", "PRETTY_NAME=\"\"\nNAME=Void\n", "6.6", "Void (kernel 6.6)"},
        LinuxCase{"empty file", "", "6.6", "Linux (kernel 6.6)"},
        LinuxCase{"no kernel", "PRETTY_NAME=\"Debian\"\n", "", "Debian"},
        LinuxCase{"prefix of another variable", "PRETTY_NAME_X=\"no\"\nXPRETTY_NAME=no\n", "",
                  "Linux"},
        LinuxCase{"unbalanced quote", "PRETTY_NAME=\"Half\n", "", "\"Half"},
        LinuxCase{"utf-8", "PRETTY_NAME=\"Système 1\"\n", "", "Système 1"}));

TEST(LinuxOsName, ValueOfAbsentVariableIsEmpty)
{
    EXPECT_EQ(LinuxOsName::Value(QStringLiteral("ID=debian\n"), QStringLiteral("VERSION_ID")),
              QString());
    EXPECT_EQ(LinuxOsName::Value(QStringLiteral("ID=debian\n"), QStringLiteral("ID")),
              QStringLiteral("debian"));
}

} // namespace
