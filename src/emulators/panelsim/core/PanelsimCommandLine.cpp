#include "emulators/panelsim/core/PanelsimCommandLine.h"

#include "emulators/display/CommandLineWords.h"

namespace qs::panelsim {

PanelsimCommandLine PanelsimCommandLine::Parse(std::string_view text) {
    PanelsimCommandLine line;
    if (const size_t at = text.find("COM"); at != std::string_view::npos) {
        line.port = display::CommandLineWords::DecimalAfter(text.substr(at + 3));
        if (!line.port) line.refused.push_back("COM");
    }
    if (const size_t at = text.find("ARMS"); at != std::string_view::npos) {
        line.addressList = std::string(text.substr(at + 4, kMaxAddressText));
    }
    return line;
}

}  // namespace qs::panelsim
