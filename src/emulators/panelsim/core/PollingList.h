#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

namespace qs::panelsim {

// The arm addresses Panelsim polls, in list order, read from the "AddressList" text: pieces
// separated by ",", each a decimal number. Only addresses 1-99 are arms (0 would end the list
// and 100 and up are no arm's), and the list holds at most 32 of them, one per bit of the
// attention mask; other pieces are passed over.
class PollingList {
public:
    static constexpr size_t kMaxArms = 32;
    static constexpr int kMaxAddress = 99;

    static std::vector<uint8_t> Parse(std::string_view text);
};

}  // namespace qs::panelsim
