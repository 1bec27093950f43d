#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qs::panelsim {

// What the words of Panelsim's command line ask for, each looked for anywhere in the text, case
// and all, its first occurrence counting: "COM" and a decimal number (the port), and "ARMS",
// after which the rest of the text, from the character that follows the word, is the list of
// arm addresses.
struct PanelsimCommandLine {
    // A longer address text is cut here; the list holds at most 32 addresses anyway.
    static constexpr size_t kMaxAddressText = 512;

    std::optional<int> port;                 // absent: the stored port stays
    std::optional<std::string> addressList;  // absent: the stored list stays
    std::vector<std::string> refused;        // words that were present but could not be read

    static PanelsimCommandLine Parse(std::string_view text);
};

}  // namespace qs::panelsim
