#include "platform/ArchiveError.h"

namespace qs {

const char* ArchiveFaultName(ArchiveFault fault) {
    switch (fault) {
    case ArchiveFault::EndOfFile: return "end of file";
    case ArchiveFault::BadIndex: return "bad index";
    case ArchiveFault::BadClass: return "bad class";
    case ArchiveFault::BadSchema: return "bad schema";
    case ArchiveFault::TooLong: return "too long";
    case ArchiveFault::BadString: return "bad string";
    case ArchiveFault::TooDeep: return "nested too deeply";
    }
    return "unknown";
}

ArchiveError::ArchiveError(ArchiveFault fault, const std::string& what)
    : std::runtime_error(std::string(ArchiveFaultName(fault)) + ": " + what), fault_(fault) {}

}  // namespace qs
