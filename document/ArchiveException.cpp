#include "ArchiveException.h"

namespace {

std::string describe(ArchiveException::Cause cause, const std::string& detail)
{
    const char* text = "";
    switch (cause) {
    case ArchiveException::Cause::EndOfFile:
        text = "unexpected end of file";
        break;
    case ArchiveException::Cause::BadClass:
        text = "bad class";
        break;
    case ArchiveException::Cause::BadSchema:
        text = "bad schema";
        break;
    case ArchiveException::Cause::InvalidArgument:
        text = "invalid argument";
        break;
    case ArchiveException::Cause::Generic:
        text = "bad file format";
        break;
    }
    return detail.empty() ? std::string(text) : std::string(text) + ": " + detail;
}

} // namespace

ArchiveException::ArchiveException(Cause cause, const std::string& detail)
    : std::runtime_error(describe(cause, detail))
    , m_cause(cause)
{
}
