#include <gtest/gtest.h>

#include <bit>
#include <optional>

#include "emulators/display/ValueText.h"

namespace qs::display {
namespace {

// A payload as the link stores it: the number's bytes in the machine's order, then a 0.
template <class T>
std::vector<uint8_t> Stored(T value) {
    std::vector<uint8_t> out(sizeof(T) + 1, 0);
    __builtin_memcpy(out.data(), &value, sizeof(T));
    return out;
}
std::vector<uint8_t> Text(const std::string& s) {
    std::vector<uint8_t> out(s.begin(), s.end());
    out.push_back(0);
    return out;
}

TEST(ValueTextPrint, FormatsFromTheDeviceAreChecked) {
    struct Row {
        uint8_t kind;
        std::string format;
        std::vector<uint8_t> payload;
        std::optional<std::string> text;
    };
    const Row rows[] = {
        {2, "%5d", Stored<int16_t>(4660), " 4660"},
        {2, "%n", Stored<int16_t>(4660), std::nullopt},
        {2, "%hd kg", Stored<int16_t>(-3), "-3 kg"},
        {3, "%ld", Stored<int32_t>(-70000), "-70000"},
        {3, "%08X", Stored<int32_t>(0xBEEF), "0000BEEF"},
        {1, "%c", Stored<int8_t>('A'), "A"},
        {1, "%d", Stored<int8_t>(-1), "-1"},
        {4, "%.2f", Stored<float>(1.5f), "1.50"},
        {5, "%Lf", Stored<double>(0.25), "0.250000"},
        {5, "%+.1e", Stored<double>(12345.0), "+1.2e+04"},
        {0, "%s", Text("ABC"), "ABC"},
        {0, "[%-5s]", Text("ab"), "[ab   ]"},
        {0, "Total", Text("x"), "Total"},
        {2, "50%%", Stored<int16_t>(1), "50%"},
        {0, "%d", Text("12"), std::nullopt},
        {2, "%s", Stored<int16_t>(1), std::nullopt},
        {4, "%d", Stored<float>(1.0f), std::nullopt},
        {2, "%d%d", Stored<int16_t>(1), std::nullopt},
        {2, "%*d", Stored<int16_t>(1), std::nullopt},
        {2, "%", Stored<int16_t>(1), std::nullopt},
        {2, "%999d", Stored<int16_t>(1), std::nullopt},
        {3, "%d", Stored<int16_t>(1), std::nullopt},  // shorter than its kind
        {5, "%f", Stored<float>(1.0f), std::nullopt},
        {6, "%d", Stored<int32_t>(1), std::nullopt},
        {15, "text", Stored<int32_t>(1), std::nullopt},
        {2, "12345678901234567890%d", Stored<int16_t>(7), "12345678901234567890"},
        {2, std::string("ab\0%n", 5), Stored<int16_t>(7), "ab"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ValueText::Print(row.kind, row.format, row.payload), row.text) << int(row.kind) << " " << row.format;
    }
}

TEST(ValueTextPrint, CutAt187Characters) {
    EXPECT_EQ(ValueText::Print(0, "%-200s", Text("x"))->size(), ValueText::kMaxText);
    EXPECT_EQ(ValueText::Print(0, "%s", Text(std::string(1024, 'y')))->size(), ValueText::kMaxText);
}

}  // namespace
}  // namespace qs::display
