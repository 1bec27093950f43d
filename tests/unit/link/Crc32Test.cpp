#include "link/Crc32.h"

#include <gtest/gtest.h>

#include "DeviceFrames.h"

#include <random>
#include <string>

namespace qs::test {

TEST(Crc32, KnownValues) {
    EXPECT_EQ(Crc32("123456789", 9), 0xCBF43926u);
    EXPECT_EQ(Crc32("", 0), 0u);
    const unsigned char zero = 0;
    EXPECT_EQ(Crc32(&zero, 1), 0xD202EF8Du);
    EXPECT_EQ(Crc32("The quick brown fox jumps over the lazy dog", 43), 0x414FA339u);
}

TEST(Crc32, BytewiseMatchesWholeBufferAtEveryPrefix) {
    std::mt19937 rng(7);
    std::string data(3000, '\0');
    for (auto& c : data) c = static_cast<char>(rng());
    uint32_t state;
    Crc32Init(&state);
    EXPECT_EQ(state, 0xFFFFFFFFu);
    for (size_t i = 0; i < data.size(); ++i) {
        uint32_t running = Crc32UpdateByte(&state, static_cast<unsigned char>(data[i]));
        if (i % 97 == 0 || i + 1 == data.size()) {
            ASSERT_EQ(running, Crc32(data.data(), i + 1)) << i;
        }
    }
}

// The whole-buffer CRC takes eight bytes a step: every length and start alignment around that
// step against the bit-by-bit definition.
TEST(Crc32, EveryLengthAndAlignmentMatchesTheBitwiseDefinition) {
    std::mt19937 rng(11);
    std::string data(96, '\0');
    for (auto& c : data) c = static_cast<char>(rng());
    for (size_t start = 0; start < 8; ++start)
        for (size_t length = 0; start + length <= data.size(); ++length)
            ASSERT_EQ(Crc32(data.data() + start, length), BitwiseCrc32(data.substr(start, length))) << start << "+" << length;
}

}  // namespace qs::test
