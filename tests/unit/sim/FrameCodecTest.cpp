#include "wire/FrameCodec.h"

#include <gtest/gtest.h>

#include <string>

namespace sim::test {

using namespace std::string_literals;

TEST(SimFrameCodec, ProgramFramesCarryTheTrailerWhereTheLinkNeedsIt) {
    // "PV SY 111" to address 1: the LRC of "01PV SY 111" ETX is 0x3F.
    EXPECT_EQ(FrameCodec::MiniRequest(1, "PV SY 111", false, true),
              "\x02" "01PV SY 111\x03\x3F\x7F\x00"s);
    EXPECT_EQ(FrameCodec::MiniRequest(1, "PV SY 111", false, false), "\x02" "01PV SY 111\x03"s);
    // A block carries the trailer on TCP too.
    EXPECT_EQ(FrameCodec::MiniRequest(1, "SV \x04\x18\x00\x00"s, true, false),
              "\x02" "01SV \x04\x18\x00\x00\x03\x3B\x7F\x00"s);
}

TEST(SimFrameCodec, RepliesInBothFramings) {
    EXPECT_EQ(FrameCodec::TerminalFrame(1, "NO14"), "*01NO14\r\n");
    EXPECT_EQ(FrameCodec::TerminalFrame(7, "NO14", false), "*07NO14\n");
    EXPECT_EQ(FrameCodec::MiniFrame(1, "NO14", false, true, 0), "\x02" "01NO14\x03\x06\x00"s);
    EXPECT_EQ(FrameCodec::MiniFrame(1, "PV SY 111 5", false, true, 0x7F), "\x02" "01PV SY 111 5\x03\x2A\x7F"s);
    EXPECT_EQ(FrameCodec::MiniFrame(1, "NO14", false, true, 0, true), "\x02" "01NO14\x03\xF9\x00"s);
    EXPECT_EQ(FrameCodec::MiniFrame(42, "NO14", false, false, 0), "\x02" "42NO14\x03"s);
}

TEST(SimFrameCodec, BlockReplyIsEscapedAndItsLrcCoversTheEscapedBytes) {
    const std::string frame = FrameCodec::MiniFrame(1, "\x02\x03\x7F\x1B" "A"s, true, true, 0);
    EXPECT_EQ(frame.substr(0, frame.size() - 2), "\x02" "01\x1BS\x1B" "E\x1BP\x1B\x1B" "A\x03"s);
    uint8_t lrc = 0;
    for (size_t i = 1; i + 2 < frame.size(); ++i) lrc ^= static_cast<uint8_t>(frame[i]);
    EXPECT_EQ(static_cast<uint8_t>(frame[frame.size() - 2]), lrc);
}

TEST(SimFrameCodec, EveryByteValueSurvivesEscaping) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::string escaped = FrameCodec::Escape(all);
    EXPECT_EQ(escaped.size(), 256u + 4u);
    for (char forbidden : {'\x02', '\x03', '\x7F'}) EXPECT_EQ(escaped.find(forbidden), std::string::npos);
    const UnescapeResult back = FrameCodec::Unescape(escaped);
    EXPECT_TRUE(back.clean);
    EXPECT_EQ(back.data, all);
}

TEST(SimFrameCodec, UnknownEscapesAreFlagged) {
    UnescapeResult r = FrameCodec::Unescape("A\x1BQ" "B"s);
    EXPECT_FALSE(r.clean);
    EXPECT_EQ(r.data, "A\0B"s);
    r = FrameCodec::Unescape("AB\x1B"s);
    EXPECT_FALSE(r.clean);
    EXPECT_EQ(r.data, "AB");
}

TEST(SimFrameCodec, AddressDigitsAreTwoDecimalDigits) {
    EXPECT_EQ(FrameCodec::AddressDigits(0), "00");
    EXPECT_EQ(FrameCodec::AddressDigits(5), "05");
    EXPECT_EQ(FrameCodec::AddressDigits(99), "99");
    EXPECT_EQ(FrameCodec::AddressDigits(250), "99");
    EXPECT_EQ(FrameCodec::AddressDigits(-3), "00");
}

}  // namespace sim::test
