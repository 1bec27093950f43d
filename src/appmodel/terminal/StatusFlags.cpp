#include "appmodel/terminal/StatusFlags.h"

#include <array>
#include <cctype>

namespace qs {

namespace {

constexpr std::array<StatusFlag, StatusFlags::kCount> kFlags = {{
    {"AU", 0, 1},  {"FL", 0, 2},  {"RL", 0, 4},  {"PW", 0, 8},  {"KY", 1, 1},  {"BD", 1, 2},  {"TD", 1, 4},
    {"TP", 1, 8},  {"SA", 2, 1},  {"SF", 2, 2},  {"ST", 2, 4},  {"AL", 2, 8},  {"PF", 3, 1},  {"TO", 3, 2},
    {"DP", 3, 4},  {"PC", 3, 8},  {"I3", 4, 1},  {"I2", 4, 2},  {"I1", 4, 4},  {"CE", 4, 8},  {"I7", 5, 1},
    {"I6", 5, 2},  {"I5", 5, 4},  {"I4", 5, 8},  {"IB", 6, 1},  {"IA", 6, 2},  {"I9", 6, 4},  {"I8", 6, 8},
    {"IF", 7, 1},  {"IE", 7, 2},  {"ID", 7, 4},  {"IC", 7, 8},  {"IJ", 8, 1},  {"II", 8, 2},  {"IH", 8, 4},
    {"IG", 8, 8},  {"IN", 9, 1},  {"IM", 9, 2},  {"IL", 9, 4},  {"IK", 9, 8},  {"JD", 10, 1}, {"JC", 10, 2},
    {"JB", 10, 4}, {"JA", 10, 8}, {"JH", 11, 1}, {"JG", 11, 2}, {"JF", 11, 4}, {"JE", 11, 8}, {"JL", 12, 1},
    {"JK", 12, 2}, {"JJ", 12, 4}, {"JI", 12, 8}, {"JP", 13, 1}, {"JO", 13, 2}, {"JN", 13, 4}, {"JM", 13, 8},
    {"JT", 14, 1}, {"JS", 14, 2}, {"JR", 14, 4}, {"JQ", 14, 8}, {"CD", 15, 2}, {"PD", 15, 4}, {"PP", 15, 8},
}};

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

}  // namespace

std::span<const StatusFlag> StatusFlags::Table() { return kFlags; }

std::optional<StatusFlag> StatusFlags::Find(std::string_view text) {
    if (text.size() < 2) return std::nullopt;
    for (const StatusFlag& flag : kFlags)
        if (Upper(text[0]) == flag.name[0] && Upper(text[1]) == flag.name[1]) return flag;
    return std::nullopt;
}

}  // namespace qs
