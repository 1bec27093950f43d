#pragma once
#include <cctype>
#include <string_view>

namespace qs {

// How the terminal and its macros read a line: keywords in any case at its start, arguments
// without the blanks around them.
struct TerminalText {
    // `keyword` (upper case) starts the line, in any case.
    static bool StartsWith(std::string_view line, std::string_view keyword) {
        if (line.size() < keyword.size()) return false;
        for (size_t i = 0; i < keyword.size(); ++i)
            if (std::toupper(static_cast<unsigned char>(line[i])) != keyword[i]) return false;
        return true;
    }
    // Without the blanks and tabs around it.
    static std::string_view Trim(std::string_view text) {
        const size_t first = text.find_first_not_of(" \t");
        if (first == std::string_view::npos) return {};
        return text.substr(first, text.find_last_not_of(" \t") - first + 1);
    }
};

}  // namespace qs
