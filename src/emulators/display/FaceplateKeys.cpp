#include "emulators/display/FaceplateKeys.h"

namespace qs::display {

const std::array<FaceplateKey, FaceplateKeys::kCount>& FaceplateKeys::All() {
    static constexpr std::array<FaceplateKey, kCount> keys{{
        {1000, "1", '1'},     {1001, "2", '2'},     {1002, "3", '3'},      {1003, "4", '4'},
        {1004, "5", '5'},     {1005, "6", '6'},     {1006, "7", '7'},      {1007, "8", '8'},
        {1008, "9", '9'},     {1009, "Sign", '+'},  {1010, "0", '0'},      {1011, "DECIMAL", '.'},
        {1012, "F1", ';'},    {1013, "F2", '<'},    {1014, "Set", '?'},    {1015, "Print", '@'},
        {1016, "Clear", 0x08}, {1017, "Start", 'A'}, {1018, "Enter", 0x0D}, {1019, "Stop", 'B'},
    }};
    return keys;
}

std::optional<uint8_t> FaceplateKeys::CodeOf(int id) {
    if (id < kFirstId || id >= kFirstId + kCount) return std::nullopt;
    return All()[static_cast<size_t>(id - kFirstId)].code;
}

}  // namespace qs::display
