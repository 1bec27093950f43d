#pragma once
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sim {

class CommandProcessor;

// What the device says of itself to the host: the status bitmap ("EQ") and the transaction
// report printed to the host ("PT").
struct StatusConfig {
    // Per address, the status states successive EQ polls answer with (each 16 characters, as
    // ParseState makes them); the last one stays. An address not listed answers all clear.
    std::map<int, std::vector<std::string>> states;
    // The report text that follows the reply to PT on the same link.
    std::string report = DefaultReport();

    static std::string DefaultReport();
};

// Answers EQ with 16 status characters, each carrying one nibble as 0x30 + n, and PT with "PT"
// followed, outside any frame, by the report text; the host reads it until the line goes quiet.
class StatusCommands {
public:
    static constexpr size_t kStatusChars = 16;
    static constexpr size_t kMaxReport = 64 * 1024;

    explicit StatusCommands(StatusConfig config) : config_(std::move(config)) {}

    // "0123456789ABCDEF" (16 hex digits, either case) as the status characters "0123456789:;<=>?";
    // nullopt for anything else.
    static std::optional<std::string> ParseState(std::string_view hex);

    void Install(CommandProcessor& commands);
    // The state the next EQ at `address` answers with (and moves on to the one after it).
    std::string NextStatus(int address);

private:
    StatusConfig config_;
    std::map<int, size_t> polled_;
};

}  // namespace sim
