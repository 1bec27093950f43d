#pragma once
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace qs {

// The flags of the device's status reply ("EQ") that WAITFOR can wait on: each names a bit of
// one character of the reply text.
struct StatusFlag {
    const char* name;     // two letters
    size_t position;      // character of the reply text
    unsigned char mask;   // bit(s) of that character

    // The flag is set in `reply`; a reply too short to hold the character has no flags set
    // and none clear (see Readable).
    bool IsSetIn(std::string_view reply) const {
        return Readable(reply) && (static_cast<unsigned char>(reply[position]) & mask) == mask;
    }
    bool Readable(std::string_view reply) const { return position < reply.size(); }
};

class StatusFlags {
public:
    static constexpr size_t kCount = 63;

    // The 63 flags in lookup order.
    static std::span<const StatusFlag> Table();
    // The flag named by the first two characters of `text`, in either case; nullopt when none
    // is (or the text is shorter).
    static std::optional<StatusFlag> Find(std::string_view text);
};

}  // namespace qs
