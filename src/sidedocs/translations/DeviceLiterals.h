#pragma once
#include <cstddef>
#include <string_view>

namespace qs {

// The controller's own texts (prompts, messages, menu lines, program-code names and its lists),
// in the controller's order, as its current firmware holds them: the texts a translation
// replaces one by one. The last entry is a sentinel that ends the table and is never sent.
// The table is generated at build time from the readable source in src/resources/literals.
class DeviceLiterals {
public:
    static constexpr size_t kTableSize = 4575;
    // Texts the controller shows and a translation replaces: entries 0 to 4573.
    static constexpr size_t kLiteralCount = kTableSize - 1;
    static constexpr std::string_view kSentinel = "LAST LITERAL";
    // The longest text a literal may be.
    static constexpr size_t kMaxLength = 135;

    // Entry `index`; "" outside the table.
    static std::string_view Text(size_t index);
};

}  // namespace qs
