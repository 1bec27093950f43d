#include "emulators/panelsim/core/PollingList.h"

#include "emulators/display/CommandLineWords.h"

namespace qs::panelsim {

std::vector<uint8_t> PollingList::Parse(std::string_view text) {
    std::vector<uint8_t> arms;
    size_t from = 0;
    while (from <= text.size() && arms.size() < kMaxArms) {
        const size_t comma = text.find(',', from);
        const std::string_view piece = text.substr(from, comma == std::string_view::npos ? text.size() - from : comma - from);
        const std::optional<int> address = display::CommandLineWords::DecimalAfter(piece);
        if (address && *address >= 1 && *address <= kMaxAddress) arms.push_back(static_cast<uint8_t>(*address));
        if (comma == std::string_view::npos) break;
        from = comma + 1;
    }
    return arms;
}

}  // namespace qs::panelsim
