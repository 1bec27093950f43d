#include "programdata/Revision.h"

#include <charconv>

namespace qs {

std::string FormatRevision(double revision, int width) {
    char buffer[400];  // room for the widest double in fixed notation
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, revision, std::chars_format::fixed, 2);
    std::string text(buffer, result.ec == std::errc() ? result.ptr : buffer);
    if (width > 0 && text.size() < static_cast<size_t>(width)) text.insert(0, static_cast<size_t>(width) - text.size(), ' ');
    return text;
}

std::string ProgramRevisionText() { return "Revision " + FormatRevision(kProgramRevision, 5); }

}  // namespace qs
