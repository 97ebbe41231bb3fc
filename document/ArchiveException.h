#pragma once

#include <stdexcept>
#include <string>

// The failures a map file or an object operation can report. They travel as
// exceptions from the archive and the objects up to the command that started
// the work, which turns them into a message.
class ArchiveException : public std::runtime_error {
public:
    enum class Cause {
        EndOfFile,        // the input ends inside an item
        BadClass,         // unknown class, wrong class, or an index naming nothing
        BadSchema,        // a class whose schema is not 0
        InvalidArgument,  // an index outside an array
        Generic,          // a file that is structurally impossible (nesting too deep)
    };

    ArchiveException(Cause cause, const std::string& detail);

    Cause cause() const { return m_cause; }

private:
    Cause m_cause;
};
