#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qs::display {

// The printed form of a text or number object. The format comes from the device, so it never
// reaches printf as it is: its field is cut at its 21st byte; literal text, "%%" and at most
// one conversion are allowed (flags, width, precision; h, l and L are read and ignored; d i u
// x X o c for the integer kinds, f e E g G for the floating kinds, s for text); a format
// without a conversion prints its literal text; anything else prints nothing. The value must
// have the bytes of its kind, and the result is cut at 187 characters.
class ValueText {
public:
    static constexpr size_t kFormatField = 21;
    static constexpr size_t kMaxText = 187;

    // `kind` is the type's low four bits; `payload` as stored (numbers in the machine's order).
    static std::optional<std::string> Print(uint8_t kind, std::string_view format, std::span<const uint8_t> payload);
};

}  // namespace qs::display
