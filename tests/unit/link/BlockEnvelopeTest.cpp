#include <gtest/gtest.h>

#include "DeviceFrames.h"
#include "ScriptedStream.h"
#include "link/MiniProtocol.h"
#include "RecordingUi.h"
#include "link/BlockEnvelope.h"
#include "link/BlockTransfer.h"
#include "link/TransferCodes.h"

namespace qs::test {

TEST(BlockEnvelope, RequestsAndRepliesHaveTheirFixedLayout) {
    EXPECT_EQ(Hex(Text(BlockEnvelope::Head(0x0419))), "53 56 20 04 19");
    EXPECT_EQ(Hex(Text(BlockEnvelope::ReadRequest(0x0418, 0x0102))), "53 56 20 04 18 01 02");

    const std::string first = "SV \x04\x12" + U16Be(0) + U32Be(0x00012345) + U32Be(0xCBF43926);
    auto a = BlockEnvelope::ParseFirstReply(Vec(first));
    ASSERT_TRUE(a.has_value());
    EXPECT_EQ(a->length, 0x00012345u);
    EXPECT_EQ(a->crc, 0xCBF43926u);
    EXPECT_FALSE(BlockEnvelope::ParseFirstReply(Vec(first.substr(0, 14))).has_value());
    EXPECT_EQ(BlockEnvelope::StatusWord(Vec(std::string("SV \x04\x12\x80\x06", 7))), 0x8006);

    const std::vector<uint8_t> block = Vec(std::string("SV \x04\x12\x00\x00xyz", 10));
    const auto data = BlockEnvelope::BlockData(block);
    EXPECT_EQ(std::string(data.begin(), data.end()), "xyz");
    EXPECT_TRUE(BlockEnvelope::BlockData(Vec(std::string("SV \x04\x12\x00\x00", 7))).empty());
    EXPECT_TRUE(BlockEnvelope::BlockData(Vec("SV")).empty());
    // Fields past the end read as 0 rather than beyond the reply.
    EXPECT_EQ(BlockEnvelope::U32At(Vec("abc"), 0), 0u);
    EXPECT_EQ(BlockEnvelope::U16At(Vec("abc"), 2), 0u);
    EXPECT_EQ(BlockEnvelope::U16At(Vec("abc"), 9), 0u);
}

TEST(TransferCodes, ReportIndexesMapToTheirCodesAndNothingElseDoes) {
    const uint16_t reads[] = {0x0408, 0x040A, 0x040C, 0x040E, 0x041B};
    const uint16_t writes[] = {0x0409, 0x040B, 0x040D, 0x040F, 0x041C};
    for (int k = 0; k < kReportDefinitionCount; ++k) {
        EXPECT_EQ(ReportReadCode(k), reads[k]) << k;
        EXPECT_EQ(ReportWriteCode(k), writes[k]) << k;
    }
    for (int k : {-1, 5, 100}) {
        EXPECT_EQ(ReportReadCode(k), 0) << k;
        EXPECT_EQ(ReportWriteCode(k), 0) << k;
    }
}

TEST(BlockTransfer, NeedsAMinicomputerProtocolOnEightDataBitsBeforeAnythingIsSent) {
    RecordingUi ui;
    {
        auto s = std::make_unique<ScriptedStream>(false, 8);
        ScriptedStream* line = s.get();
        TerminalProtocol terminal(std::move(s), 1);
        EXPECT_EQ(BlockTransfer::RequireBinaryLink(&terminal), nullptr);
        EXPECT_EQ(ui.LastMessage(), "Minicomputer Mode Required for this function");
        EXPECT_EQ(line->writeCalls, 0);
    }
    {
        // Minicomputer framing by index, but not a protocol that speaks binary blocks.
        TerminalProtocol odd(std::make_unique<ScriptedStream>(false, 8), 1, kProtocolMini);
        EXPECT_EQ(BlockTransfer::RequireBinaryLink(&odd), nullptr);
        EXPECT_EQ(ui.LastMessage(), "Minicomputer Mode Required for this function");
    }
    {
        auto s = std::make_unique<ScriptedStream>(false, 7);
        ScriptedStream* line = s.get();
        MiniProtocol seven(std::move(s), 1);
        EXPECT_EQ(BlockTransfer::RequireBinaryLink(&seven), nullptr);
        EXPECT_EQ(ui.LastMessage(), "An 8-Bit Data Protocol Required for this function");
        EXPECT_EQ(line->writeCalls, 0);
    }
    const size_t shown = ui.prompt.shown.size();
    EXPECT_EQ(shown, 3u);
    MiniProtocol eight(std::make_unique<ScriptedStream>(true, 8), 1);
    EXPECT_EQ(BlockTransfer::RequireBinaryLink(&eight), &eight);
    EXPECT_EQ(BlockTransfer::RequireBinaryLink(nullptr), nullptr);
    EXPECT_EQ(ui.prompt.shown.size(), shown);
}

}  // namespace qs::test
