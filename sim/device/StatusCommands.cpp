#include "device/StatusCommands.h"

#include "device/CommandProcessor.h"

namespace sim {

std::string StatusConfig::DefaultReport() {
    return "        DURAVANE III TRANSACTION REPORT\r\n"
           "\r\n"
           "TRANSACTION   0001      ARM 1\r\n"
           "PRODUCT       UNLEADED\r\n"
           "GROSS         1000 GAL\r\n"
           "NET            998 GAL\r\n"
           "\r\n";
}

std::optional<std::string> StatusCommands::ParseState(std::string_view hex) {
    if (hex.size() != kStatusChars) return std::nullopt;
    std::string state;
    for (char c : hex) {
        int n;
        if (c >= '0' && c <= '9') n = c - '0';
        else if (c >= 'A' && c <= 'F') n = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f') n = c - 'a' + 10;
        else return std::nullopt;
        state.push_back(static_cast<char>(0x30 + n));
    }
    return state;
}

std::string StatusCommands::NextStatus(int address) {
    auto it = config_.states.find(address);
    if (it == config_.states.end() || it->second.empty()) return std::string(kStatusChars, '0');
    size_t& polled = polled_[address];
    const std::vector<std::string>& states = it->second;
    const std::string& state = states[polled < states.size() ? polled : states.size() - 1];
    if (polled < states.size()) ++polled;
    return state;
}

void StatusCommands::Install(CommandProcessor& commands) {
    commands.AddCommand("EQ", [this](int address, std::string_view c) {
        return c == "EQ" ? NextStatus(address) : CommandProcessor::Rejection(CommandProcessor::kInvalidCommand);
    });
    commands.AddCommand("PT", [](int, std::string_view c) {
        return c == "PT" ? std::string("PT") : CommandProcessor::Rejection(CommandProcessor::kInvalidCommand);
    });
    commands.AddStream("PT", [this](int, std::string_view c) { return c == "PT" ? config_.report : std::string(); });
}

}  // namespace sim
