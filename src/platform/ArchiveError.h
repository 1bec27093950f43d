#pragma once
#include <stdexcept>
#include <string>

namespace qs {

// Why an archive could not be read or written, each cause a value of its own, so a loader can
// tell a wrong file from a damaged one.
enum class ArchiveFault {
    EndOfFile,    // a read needed more bytes than the archive holds
    BadIndex,     // a wrong magic, or a tag or back-reference that names nothing usable
    BadClass,     // a class name that is not one of the classes the caller accepts
    BadSchema,    // a known class stored with another schema number
    TooLong,      // a count or length above the caller's bound or the bytes that are left
    BadString,    // a string in a form this program never writes (wide characters)
    TooDeep,      // objects nested inside objects beyond any sensible depth
};

const char* ArchiveFaultName(ArchiveFault fault);

// Thrown by ArchiveReader (and by loaders built on it, e.g. for a wrong file magic). Every
// read is checked before it touches memory, so this is the only way a damaged file surfaces;
// document loaders catch it, leave their document as it was and show a message.
class ArchiveError : public std::runtime_error {
public:
    ArchiveError(ArchiveFault fault, const std::string& what);
    ArchiveFault Fault() const { return fault_; }

private:
    ArchiveFault fault_;
};

}  // namespace qs
