#include "device/TotalsCommands.h"

namespace sim {
namespace {

constexpr std::string_view kLetters = "RGNPM";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Two digits 01-99.
bool TwoDigits(std::string_view s, int& out) {
    if (s.size() != 2 || !IsDigit(s[0]) || !IsDigit(s[1])) return false;
    out = (s[0] - '0') * 10 + (s[1] - '0');
    return out > 0;
}

std::string Total(std::string_view command, long value) { return std::string(command) + " " + std::to_string(value); }

}  // namespace

std::string TotalsCommands::Answer(int address, std::string_view command) {
    const long base = static_cast<long>(address) * 10000;
    int n = 0;
    if (command.size() == 6 && command.substr(0, 4) == "VT A" && TwoDigits(command.substr(4), n))
        return Total(command, base + (200 + n) * 10L);
    if (command.size() == 7 && command.substr(0, 3) == "VT " && command[4] == ' ') {
        const size_t q = kLetters.find(command[3]);
        const std::string_view item = command.substr(5);
        if (q != std::string_view::npos) {
            const long quantity = static_cast<long>(q) + 1;
            if (item[0] == 'P' && IsDigit(item[1]) && item[1] != '0')
                return Total(command, base + (item[1] - '0') * 10L + quantity);
            if (TwoDigits(item, n)) return Total(command, base + (100 + n) * 10L + quantity);
        }
    }
    return CommandProcessor::Rejection(CommandProcessor::kInvalidCommand);
}

void TotalsCommands::Install(CommandProcessor& commands) { commands.AddCommand("VT", &TotalsCommands::Answer); }

}  // namespace sim
