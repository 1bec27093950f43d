#include "wire/FrameParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sim::test {

using namespace std::string_literals;

namespace {

std::vector<Frame> FeedBytewise(FrameParser& p, const std::string& data, int64_t now = 0) {
    std::vector<Frame> all;
    for (char c : data) {
        for (Frame& f : p.Feed(std::string(1, c), now)) all.push_back(std::move(f));
    }
    return all;
}

}  // namespace

TEST(SimFrameParser, TerminalFrameArrivingByteByByte) {
    FrameParser p(false, 2000);
    auto frames = FeedBytewise(p, "*01PV SY 111\r\n");
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_TRUE(frames[0].Sound());
    EXPECT_EQ(frames[0].framing, Framing::Terminal);
    EXPECT_EQ(frames[0].address, 1);
    EXPECT_EQ(frames[0].payload, "PV SY 111");
    EXPECT_EQ(frames[0].raw, "*01PV SY 111\r\n");
    EXPECT_TRUE(p.Idle());
}

TEST(SimFrameParser, MiniTextFrameHasATrailerOnSerialOnly) {
    const std::string serialFrame = "\x02" "01PV SY 111\x03\x3F\x7F\x00"s;
    FrameParser tcp(false, 2000);
    auto frames = tcp.Feed("\x02" "01PV SY 111\x03" "\x02" "01GP\x03"s, 0);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_TRUE(frames[0].Sound());
    EXPECT_EQ(frames[0].payload, "PV SY 111");
    EXPECT_EQ(frames[1].payload, "GP");

    FrameParser serial(true, 2000);
    frames = serial.Feed(serialFrame.substr(0, 13), 0);  // up to ETX
    EXPECT_TRUE(frames.empty());
    EXPECT_FALSE(serial.Idle());
    frames = serial.Feed(serialFrame.substr(13), 0);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_TRUE(frames[0].Sound()) << frames[0].error;
    EXPECT_EQ(frames[0].raw, serialFrame);
    EXPECT_EQ(frames[0].payload, "PV SY 111");
}

TEST(SimFrameParser, TrailerIsCheckedAndNeverTakenForTheNextFrame) {
    // A read request whose LRC happens to be STX (0x02), followed at once by another frame.
    const std::string block = "\x02" "01SV \x04\x18\x00\x39\x03\x02\x7F\x00"s;
    FrameParser tcp(false, 2000);
    auto frames = tcp.Feed(block + "\x02" "01GP\x03"s, 0);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_TRUE(frames[0].Sound()) << frames[0].error;
    EXPECT_TRUE(frames[0].binary);
    EXPECT_EQ(frames[0].payload, "SV \x04\x18\x00\x39"s);
    EXPECT_TRUE(frames[1].Sound());
    EXPECT_EQ(frames[1].payload, "GP");

    FrameParser serial(true, 2000);
    frames = serial.Feed("\x02" "01PV SY 111\x03\x3E\x7F\x00"s, 0);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].error, "bad LRC");
    frames = serial.Feed("\x02" "01PV SY 111\x03\x3F\x00\x00"s, 0);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].error, "bad trailer");
}

TEST(SimFrameParser, BlocksAreUnescapedAndBadEscapesFlagged) {
    FrameParser p(false, 2000);
    auto frames = p.Feed("\x02" "01SV \x04\x19\x1BS\x1B" "E\x1BP\x1B\x1B\x03"s, 0);
    ASSERT_TRUE(frames.empty());  // the trailer is still to come
    // LRC of "01SV " 04 19 1B 53 1B 45 1B 50 1B 1B 03
    uint8_t lrc = 0;
    for (char c : "01SV \x04\x19\x1BS\x1B" "E\x1BP\x1B\x1B\x03"s) lrc ^= static_cast<uint8_t>(c);
    frames = p.Feed(std::string{static_cast<char>(lrc), '\x7F', '\0'}, 0);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_TRUE(frames[0].Sound()) << frames[0].error;
    EXPECT_EQ(frames[0].payload, "SV \x04\x19\x02\x03\x7F\x1B"s);

    lrc = 0;
    for (char c : "01SV \x04\x19\x1BQ\x03"s) lrc ^= static_cast<uint8_t>(c);
    frames = p.Feed("\x02" "01SV \x04\x19\x1BQ\x03"s + std::string{static_cast<char>(lrc), '\x7F', '\0'}, 0);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].error, "bad escape");
}

TEST(SimFrameParser, NoiseBeforeAStartIsReportedSeparately) {
    FrameParser p(false, 2000);
    auto frames = p.Feed("\x00\xFFxyz*01GP\r\n"s, 0);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_TRUE(frames[0].IsNoise());
    EXPECT_EQ(frames[0].raw, "\x00\xFFxyz"s);
    EXPECT_TRUE(frames[1].Sound());
    EXPECT_EQ(frames[1].payload, "GP");
}

TEST(SimFrameParser, FaultyFramesCarryTheirReason) {
    FrameParser p(false, 2000);
    auto frames = p.Feed("*01GP\n*X1GP\r\n"s, 0);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].error, "no CR before LF");
    EXPECT_EQ(frames[1].error, "bad address");
    // A start in the middle of a frame: the old one is given up, the new one kept.
    frames = p.Feed("\x02" "01PV S\x02" "01GP\x03"s, 0);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].error, "interrupted frame");
    EXPECT_TRUE(frames[1].Sound());
    EXPECT_EQ(frames[1].payload, "GP");
}

TEST(SimFrameParser, OverlongFrameIsDroppedAndTheLinkRecovers) {
    FrameParser p(false, 2000);
    std::string longLine = "*01" + std::string(FrameParser::kMaxFrame + 10, 'A') + "\r\n";
    auto frames = p.Feed(longLine + "*01GP\r\n", 0);
    ASSERT_GE(frames.size(), 2u);
    EXPECT_EQ(frames[0].error, "frame too long");
    EXPECT_LE(frames[0].raw.size(), FrameParser::kMaxFrame);
    EXPECT_TRUE(frames.back().Sound());
    EXPECT_EQ(frames.back().payload, "GP");
}

TEST(SimFrameParser, HalfAFrameIsGivenUpAfterTheFrameTimeout) {
    FrameParser p(false, 2000);
    EXPECT_TRUE(p.Feed("*01PV", 0).empty());
    // Within the time-out the bytes still belong to the frame.
    auto frames = p.Feed(" SY 111\r\n", 1500);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].payload, "PV SY 111");

    EXPECT_TRUE(p.Feed("*01PV", 2000).empty());
    frames = p.Feed("*01GP\r\n", 4001);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].error, "incomplete frame");
    EXPECT_TRUE(frames[0].IsNoise());
    EXPECT_EQ(frames[1].payload, "GP");
}

}  // namespace sim::test
