#pragma once
#include <optional>
#include <string_view>

namespace qs::display {

// How the emulators read the numbers of their command-line words.
class CommandLineWords {
public:
    // A decimal integer as atoi reads it (blanks, a sign, digits; none gives 0), or nullopt when
    // it does not fit an int.
    static std::optional<int> DecimalAfter(std::string_view text);
};

}  // namespace qs::display
