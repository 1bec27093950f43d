#include "link/Crc32.h"

#include <gtest/gtest.h>

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

}  // namespace qs::test
