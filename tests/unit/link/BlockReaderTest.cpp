#include <gtest/gtest.h>

#include "ScriptedDevice.h"
#include "DatabaseTransfer.h"
#include "RecordingUi.h"
#include "link/BlockReader.h"
#include "link/TransferCodes.h"

namespace qs::test {

namespace {

std::string Pattern(size_t n, unsigned seed = 7) {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 131 + seed * (i >> 8) + seed) & 0xFF);
    return s;
}

// The whole first reply of a read, as the device would put it on the line.
std::string FirstReply(uint32_t length, uint32_t crc, uint16_t status = 0x0000) {
    return BinaryReply(1, kTransferReadCardDatabase, status, Vec(U32Be(length) + U32Be(crc)));
}

constexpr const char* kPortProtocolError = "Error on serial device at port 1: - Protocol error in response";

}  // namespace

TEST(BlockReader, ReadsEveryBlockInTurnAndHandsOverTheCheckedData) {
    RecordingUi ui;
    ScriptedDevice link;
    auto protocol = link.OpenMini();
    link.dataSet = Pattern(1234);  // holds 0x02, 0x03, 0x1B and 0x7F: escaped both ways
    std::vector<uint8_t> data;
    BlockReader reader(*protocol, kTransferReadCardDatabase, DatabaseReadTexts(), 65000);

    ASSERT_EQ(reader.Read(data), TransferOutcome::Done);
    EXPECT_EQ(Text(data), link.dataSet);
    EXPECT_EQ(reader.AnnouncedLength(), 1234u);
    EXPECT_TRUE(ui.Messages().empty());

    const auto sent = link.Frames();
    ASSERT_EQ(sent.size(), 4u);
    for (uint16_t k = 0; k < 4; ++k) {
        EXPECT_EQ(Hex(sent[k].data), Hex(ReadRequestBytes(0x0418, k))) << "block " << k;
        EXPECT_TRUE(sent[k].wellFormed);
    }
    EXPECT_EQ(Hex(link.stream->Written().substr(0, 14)), "02 30 31 53 56 20 04 18 00 00 03 3B 7F 00");

    ASSERT_EQ(ui.progress.size(), 1u);
    const ProgressRecord& p = *ui.progress[0];
    EXPECT_EQ(p.title, "Reading Database...");
    EXPECT_EQ(p.texts, std::vector<std::string>{"Uploading..."});
    EXPECT_EQ(p.lower, 0);
    EXPECT_EQ(p.upper, 1234);
    EXPECT_EQ(p.pos, 1234);
    EXPECT_EQ(p.steps, 3);  // one per block
    EXPECT_EQ(p.pumps, 3);
}

TEST(BlockReader, FirstReplyMustCarryLengthAndCrc) {
    {
        // 14 bytes: head, status and seven data bytes, one short of the CRC.
        RecordingUi ui;
        ScriptedDevice link;
        auto protocol = link.OpenMini();
        link.stream->respond = nullptr;
        link.stream->QueueReply(BinaryReply(1, 0x0418, 0x0000, Vec(U32Be(4) + "\x11\x22\x33")));
        std::vector<uint8_t> data = Vec("kept");
        BlockReader reader(*protocol, kTransferReadCardDatabase, DatabaseReadTexts(), 65000);
        EXPECT_EQ(reader.Read(data), TransferOutcome::Failed);
        EXPECT_EQ(ui.Messages(), std::vector<std::string>{kPortProtocolError});
        EXPECT_EQ(ui.prompt.shown[0].type, static_cast<unsigned>(MB_OKCANCEL));
        EXPECT_EQ(link.Frames().size(), 1u);
        EXPECT_TRUE(ui.progress.empty());
        EXPECT_EQ(Text(data), "kept");
    }
    {
        // 15 bytes announcing nothing: done at once, with the CRC of no bytes.
        RecordingUi ui;
        ScriptedDevice link;
        auto protocol = link.OpenMini();
        link.stream->respond = nullptr;
        link.stream->QueueReply(FirstReply(0, 0x00000000));
        std::vector<uint8_t> data = Vec("old");
        BlockReader reader(*protocol, kTransferReadCardDatabase, DatabaseReadTexts(), 65000);
        EXPECT_EQ(reader.Read(data), TransferOutcome::Done);
        EXPECT_TRUE(data.empty());
        EXPECT_EQ(link.Frames().size(), 1u);
        EXPECT_TRUE(ui.Messages().empty());
    }
    {
        // Nothing announced, but a CRC that no empty set has.
        RecordingUi ui;
        ScriptedDevice link;
        auto protocol = link.OpenMini();
        link.stream->respond = nullptr;
        link.stream->QueueReply(FirstReply(0, 0x12345678));
        std::vector<uint8_t> data = Vec("old");
        BlockReader reader(*protocol, kTransferReadCardDatabase, DatabaseReadTexts(), 65000);
        EXPECT_EQ(reader.Read(data), TransferOutcome::Failed);
        EXPECT_EQ(ui.LastMessage(), "CRC of returned card database does not match expected value.");
        EXPECT_EQ(Text(data), "old");
    }
}

TEST(BlockReader, RejectionsAndPortFailuresEndTheReadWithTheOwnersPrefix) {
    struct Case {
        const char* name;
        int failAtBlock;              // which request gets the bad answer
        std::string answer;           // on the wire; "" = none at all
        std::string message;
    };
    const std::vector<Case> cases = {
        {"block 0 rejected", 0, BinaryReply(1, 0x0418, 0x8008), "Error initiating read -  - Download Already in Progress"},
        {"block 0 unanswered", 0, "", "Error on serial device at port 1: - Timeout waiting for response"},
        {"block 2 rejected", 2, BinaryReply(1, 0x0418, 0x8003), "Error in transfer -  - Block Out of Sequence"},
        {"block 2 with a bad LRC", 2, MiniReply(1, EscapeForWire(Vec(std::string("SV \x04\x18\x00\x00" "abc", 10))), 1),
         kPortProtocolError},
        {"block 1 unanswered", 1, "", "Error on serial device at port 1: - Timeout waiting for response"},
        {"block 1 of four bytes", 1, MiniReply(1, "SV \x04"), kPortProtocolError},
    };
    for (const Case& c : cases) {
        RecordingUi ui;
        ScriptedDevice link;
        auto protocol = link.OpenMini();
        link.dataSet = Pattern(1400);
        link.onBlock = [&](const std::string&, int index) -> std::optional<std::string> {
            if (index == c.failAtBlock) return c.answer;
            return std::nullopt;
        };
        std::vector<uint8_t> data = Vec("kept");
        BlockReader reader(*protocol, kTransferReadCardDatabase, DatabaseReadTexts(), 65000);
        EXPECT_EQ(reader.Read(data), TransferOutcome::Failed) << c.name;
        EXPECT_EQ(ui.Messages(), std::vector<std::string>{c.message}) << c.name;
        EXPECT_EQ(link.Frames().size(), static_cast<size_t>(c.failAtBlock + 1)) << c.name;
        EXPECT_EQ(Text(data), "kept") << c.name;
    }
}

TEST(BlockReader, AnnouncedLengthAboveTheOwnersLimitIsRefusedBeforeBlockOne) {
    for (uint32_t length : {1001u, 0xFFFFFFFFu}) {
        RecordingUi ui;
        ScriptedDevice link;
        auto protocol = link.OpenMini();
        link.stream->respond = nullptr;
        link.stream->QueueReply(FirstReply(length, 0));
        std::vector<uint8_t> data;
        BlockReader reader(*protocol, kTransferReadCardDatabase, DatabaseReadTexts(), 1000);
        EXPECT_EQ(reader.Read(data), TransferOutcome::Failed);
        EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Error initiating read -  - Data too large for Target Buffer (" +
                                                          std::to_string(length) + " bytes announced, at most 1000 accepted)"});
        EXPECT_EQ(link.Frames().size(), 1u);
        EXPECT_TRUE(ui.progress.empty());
    }
    // Exactly the limit is taken.
    RecordingUi ui;
    ScriptedDevice link;
    auto protocol = link.OpenMini();
    link.dataSet = Pattern(1000);
    std::vector<uint8_t> data;
    BlockReader reader(*protocol, kTransferReadCardDatabase, DatabaseReadTexts(), 1000);
    EXPECT_EQ(reader.Read(data), TransferOutcome::Done);
    EXPECT_EQ(Text(data), link.dataSet);
}

TEST(BlockReader, BlocksWithoutDataEndTheReadInsteadOfAskingForEver) {
    RecordingUi ui;
    ScriptedDevice link;
    auto protocol = link.OpenMini();
    link.dataSet = Pattern(900);
    link.onBlock = [](const std::string&, int index) -> std::optional<std::string> {
        if (index == 2) return BinaryReply(1, 0x0418, 0x0000);  // head and status only
        return std::nullopt;
    };
    std::vector<uint8_t> data;
    BlockReader reader(*protocol, kTransferReadCardDatabase, DatabaseReadTexts(), 65000);
    EXPECT_EQ(reader.Read(data), TransferOutcome::Failed);
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{kPortProtocolError});
    EXPECT_EQ(link.Frames().size(), 3u);
    EXPECT_TRUE(data.empty());
}

TEST(BlockReader, BlockNumbersThatWouldWrapEndTheRead) {
    // One byte a block cannot bring 70000 bytes before block 65535; block 0 must never be asked
    // for a second time.
    RecordingUi ui;
    ScriptedDevice link;
    auto protocol = link.OpenMini();
    link.dataSet = Pattern(70000);
    link.blockSize = 1;
    std::vector<uint8_t> data;
    BlockReader reader(*protocol, kTransferReadCardDatabase, DatabaseReadTexts(), 100000);
    EXPECT_EQ(reader.Read(data), TransferOutcome::Failed);
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{kPortProtocolError});
    ASSERT_EQ(link.blocks.size(), 65536u);
    EXPECT_EQ(Hex(link.blocks.back()), Hex(ReadRequestBytes(0x0418, 0xFFFF)));
    EXPECT_TRUE(data.empty());
}

TEST(BlockReader, NeverTakesMoreThanTheAnnouncedLength) {
    // The device's last block runs past the announced length; the CRC covers the length only.
    RecordingUi ui;
    ScriptedDevice link;
    auto protocol = link.OpenMini();
    const std::string set = Pattern(30);
    link.onBlock = [&](const std::string& block, int) -> std::optional<std::string> {
        if (block.size() == 7 && block[6] == 0) return FirstReply(10, BitwiseCrc32(set.substr(0, 10)));
        return BinaryReply(1, 0x0418, 0x0000, Vec(set));
    };
    std::vector<uint8_t> data;
    BlockReader reader(*protocol, kTransferReadCardDatabase, DatabaseReadTexts(), 10);
    EXPECT_EQ(reader.Read(data), TransferOutcome::Done);
    EXPECT_EQ(Text(data), set.substr(0, 10));
    EXPECT_EQ(link.Frames().size(), 2u);
    EXPECT_EQ(ui.progress[0]->pos, 10);
}

TEST(BlockReader, CrcMismatchKeepsNothing) {
    RecordingUi ui;
    ScriptedDevice link;
    auto protocol = link.OpenMini();
    link.dataSet = Pattern(1200);
    link.onBlock = [&](const std::string& block, int) -> std::optional<std::string> {
        if (block.size() == 7 && block[6] == 0) return FirstReply(1200, BitwiseCrc32(link.dataSet) ^ 1);
        return std::nullopt;
    };
    std::vector<uint8_t> data = Vec("previous");
    BlockReader reader(*protocol, kTransferReadCardDatabase, DatabaseReadTexts(), 65000);
    EXPECT_EQ(reader.Read(data), TransferOutcome::Failed);
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"CRC of returned card database does not match expected value."});
    EXPECT_EQ(Text(data), "previous");
    EXPECT_EQ(link.Frames().size(), 4u);  // every block was read before the check
}

TEST(BlockReader, CancelAfterABlockEndsSilentlyAndAsksForNoMore) {
    for (int k : {1, 2}) {
        RecordingUi ui;
        ui.CancelAfterPumps(k);
        ScriptedDevice link;
        auto protocol = link.OpenMini();
        link.dataSet = Pattern(2400);
        std::vector<uint8_t> data = Vec("kept");
        BlockReader reader(*protocol, kTransferReadCardDatabase, DatabaseReadTexts(), 65000);
        EXPECT_EQ(reader.Read(data), TransferOutcome::Cancelled);
        EXPECT_TRUE(ui.Messages().empty());
        EXPECT_EQ(link.Frames().size(), static_cast<size_t>(k + 1));  // block 0 and k data blocks
        EXPECT_EQ(Text(data), "kept");
    }
}

TEST(BlockReader, AFailedSendIsReported) {
    RecordingUi ui;
    ScriptedDevice link;
    auto protocol = link.OpenMini();
    link.dataSet = Pattern(1200);
    link.stream->FailWritesFrom(3);  // block 0 and block 1 (a write each) go; block 2 does not
    std::vector<uint8_t> data;
    BlockReader reader(*protocol, kTransferReadCardDatabase, DatabaseReadTexts(), 65000);
    EXPECT_EQ(reader.Read(data), TransferOutcome::Failed);
    ASSERT_EQ(ui.prompt.shown.size(), 1u);
    EXPECT_EQ(ui.prompt.shown[0].caption, "Communications Error");
    EXPECT_EQ(link.stream->writeCalls, 3);
}

TEST(BlockReader, TitleIsShownAsItStands) {
    RecordingUi ui;
    ScriptedDevice link;
    auto protocol = link.OpenMini();
    link.dataSet = Pattern(10);
    TransferTexts texts = DatabaseReadTexts();
    texts.title = "Reading 100% %s%n...";
    std::vector<uint8_t> data;
    BlockReader reader(*protocol, kTransferReadCardDatabase, texts, 65000);
    EXPECT_EQ(reader.Read(data), TransferOutcome::Done);
    EXPECT_EQ(ui.progress[0]->title, "Reading 100% %s%n...");
}

}  // namespace qs::test
