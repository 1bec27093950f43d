#include "wire/Crc32.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace sim::test {

TEST(SimCrc32, MatchesTheStandardCheckValues) {
    EXPECT_EQ(Crc32::Of("123456789"), 0xCBF43926u);
    EXPECT_EQ(Crc32::Of("The quick brown fox jumps over the lazy dog"), 0x414FA339u);
    EXPECT_EQ(Crc32::Of(""), 0x00000000u);
    EXPECT_EQ(Crc32::Of(std::string(1, '\0')), 0xD202EF8Du);
}

TEST(SimCrc32, RunningValueAfterEachPieceEqualsTheWholeBuffer) {
    std::mt19937 rng(7);
    std::string data(3000, '\0');
    for (char& c : data) c = static_cast<char>(rng());
    Crc32 running;
    size_t at = 0;
    while (at < data.size()) {
        size_t piece = std::min<size_t>(data.size() - at, rng() % 97);
        running.Update(std::string_view(data).substr(at, piece));
        at += piece;
        EXPECT_EQ(running.Value(), Crc32::Of(std::string_view(data).substr(0, at)));
    }
}

}  // namespace sim::test
