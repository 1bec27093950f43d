#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "platform/IniProfile.h"

namespace qs {

// The running instance's token in "QS3X.INI", section "Instance", key "hWnd", written as eight
// upper-case hex digits. The control socket, not this value, is how a second start finds the
// first; the token records which process holds the instance (its process id).
class InstanceToken {
public:
    static constexpr const char* kSection = "Instance";
    static constexpr const char* kKey = "hWnd";
    // Longest value read back; the rest of a longer one is ignored.
    static constexpr size_t kMaxTextLength = 16;

    // This process's token.
    static uint32_t Current();
    // "%08.8X".
    static std::string Format(uint32_t token);
    // False when the file cannot be written.
    [[nodiscard]] static bool Write(IniProfile& ini, uint32_t token = Current());
    // The hexadecimal value written there (leading blanks and a "0x" allowed, digits up to the
    // first other character); nullopt when missing, 0, not a number or wider than 32 bits.
    static std::optional<uint32_t> Read(const IniProfile& ini);
};

}  // namespace qs
