#include <gtest/gtest.h>

#include "ScriptedDevice.h"
#include "DatabaseTransfer.h"
#include "RecordingUi.h"
#include "link/BlockWriter.h"
#include "link/TransferCodes.h"

namespace qs::test {

namespace {

// Ten NUL-terminated items of 100 bytes each, 1000 in all, with bytes the line must escape.
std::vector<std::string> ThousandBytes() {
    std::vector<std::string> items;
    for (int i = 0; i < 10; ++i) {
        std::string item(99, 'A');
        for (size_t k = 0; k < item.size(); ++k) item[k] = static_cast<char>(1 + (i * 37 + k * 11) % 254);
        items.push_back(item + '\0');
    }
    return items;
}

std::string Joined(const std::vector<std::string>& items, size_t from = 0, size_t to = SIZE_MAX) {
    std::string s;
    for (size_t i = from; i < items.size() && i < to; ++i) s += items[i];
    return s;
}

const std::string kHead = std::string("SV \x04\x19", 5);
constexpr const char* kPortTimeout = "Error on serial device at port 1: - Timeout waiting for response";

// A progress window whose k-th look at Cancel finds it pressed, noting how much had been
// written to the line by then.
class CancelAtPump final : public ProgressSink {
public:
    CancelAtPump(int k, const ScriptedStream* line, int* writesAtCancel) : k_(k), line_(line), at_(writesAtCancel) {}
    void SetRange(int, int, int) override {}
    void SetText(const std::string&) override {}
    int SetPos(int) override { return 0; }
    int OffsetPos(int) override { return 0; }
    int StepIt() override { return 0; }
    bool PeekAndPump(bool cancelOnEsc, bool modal) override {
        EXPECT_TRUE(cancelOnEsc);
        EXPECT_TRUE(modal);
        if (++pumps_ == k_) {
            cancelled_ = true;
            *at_ = line_->writeCalls;
        }
        return !cancelled_;
    }
    bool Cancelled() const override { return cancelled_; }
    void WaitForClose() override {}

private:
    int k_;
    const ScriptedStream* line_;
    int* at_;
    int pumps_ = 0;
    bool cancelled_ = false;
};

}  // namespace

TEST(BlockWriter, ThousandBytesGoOutInFilledFramesWithTotalAndClosingCrc) {
    RecordingUi ui;
    ScriptedDevice link;
    auto protocol = link.OpenMini();
    const auto items = ThousandBytes();
    BlockWriter writer(*protocol, kTransferWriteCardDatabase, DatabaseWriteTexts(), SecondWait(true));
    ASSERT_EQ(writer.Write({}, items), TransferOutcome::Done);
    EXPECT_TRUE(ui.Messages().empty());

    const auto sent = link.Frames();
    ASSERT_EQ(sent.size(), 4u);  // the initiation and three data frames
    for (const auto& b : sent) EXPECT_TRUE(b.wellFormed);
    EXPECT_EQ(Hex(link.stream->Written().substr(0, 12)), "02 30 31 53 56 20 04 19 03 3A 7F 00");
    EXPECT_EQ(Hex(sent[0].data), Hex(kHead));
    // Whole items only, no frame beyond 507 bytes but the last, which carries the 5 closing bytes.
    EXPECT_EQ(Hex(sent[1].data), Hex(kHead + U32Be(1001) + Joined(items, 0, 4)));
    EXPECT_EQ(Hex(sent[2].data), Hex(kHead + Joined(items, 4, 9)));
    const std::string payload = Joined(items) + '\0';
    ASSERT_EQ(payload.size(), 1001u);
    EXPECT_EQ(Hex(sent[3].data), Hex(kHead + Joined(items, 9) + '\0' + U32Be(BitwiseCrc32(payload))));
    EXPECT_LE(sent[1].data.size(), 507u);
    EXPECT_LE(sent[2].data.size(), 507u);
    EXPECT_LE(sent[3].data.size(), 512u);

    ASSERT_EQ(ui.progress.size(), 1u);
    const ProgressRecord& p = *ui.progress[0];
    EXPECT_EQ(p.title, "Downloading Database...");
    EXPECT_EQ(p.texts, std::vector<std::string>{"Sending..."});
    EXPECT_EQ(p.upper, 1001);
    EXPECT_EQ(p.steps, 1001);  // one per byte under the CRC, the closing 0x00 included
    EXPECT_EQ(p.pumps, 1001);
    EXPECT_EQ(p.pos, 1001);
}

TEST(BlockWriter, HeaderRidesInTheFirstFrameBehindTheTotal) {
    RecordingUi ui;
    ScriptedDevice link;
    auto protocol = link.OpenMini();
    const std::string header = std::string(29, 'N') + '\0' + U16Be(3);
    const std::vector<std::string> items = {std::string("one\0", 4), std::string("two\0", 4)};
    BlockWriter writer(*protocol, kTransferWriteTranslation, DatabaseWriteTexts(), SecondWait(true));
    ASSERT_EQ(writer.Write(Vec(header), items), TransferOutcome::Done);
    const auto sent = link.blocks;
    ASSERT_EQ(sent.size(), 2u);
    const std::string payload = header + "one" + '\0' + "two" + '\0' + '\0';
    EXPECT_EQ(Hex(sent[1]), Hex("SV \x04\x11" + U32Be(41) + payload + U32Be(BitwiseCrc32(payload))));
}

TEST(BlockWriter, AnItemThatCannotFitOneFrameIsRefusedBeforeAnythingIsSent) {
    RecordingUi ui;
    ScriptedDevice link;
    auto protocol = link.OpenMini();
    const std::vector<std::string> items = {std::string(100, 'a'), std::string(200, 'b'), std::string(503, 'c')};
    BlockWriter writer(*protocol, kTransferWriteCardDatabase, DatabaseWriteTexts(), SecondWait(true));
    EXPECT_EQ(writer.Write({}, items), TransferOutcome::Failed);
    EXPECT_EQ(ui.Messages(),
              std::vector<std::string>{"Error sending database -  - Item 3 is 503 bytes; one frame holds at most 502"});
    EXPECT_EQ(link.stream->writeCalls, 0);
    EXPECT_EQ(protocol->Port()->Status(), kStatusTransmitError);
    EXPECT_TRUE(ui.progress.empty());
}

TEST(BlockWriter, ItemsOfTheLargestSizeTravelOneAFrame) {
    RecordingUi ui;
    ScriptedDevice link;
    auto protocol = link.OpenMini();
    const std::vector<std::string> items = {std::string(502, 'x'), std::string(502, 'y')};
    BlockWriter writer(*protocol, kTransferWriteCardDatabase, DatabaseWriteTexts(), SecondWait(true));
    ASSERT_EQ(writer.Write({}, items), TransferOutcome::Done);
    const auto sent = link.blocks;
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(Hex(sent[1]), Hex(kHead + U32Be(1005)));  // the total alone: the item would pass 507
    EXPECT_EQ(sent[2], kHead + items[0]);
    EXPECT_EQ(sent[2].size(), 507u);
    EXPECT_EQ(sent[3].size(), 512u);
}

TEST(BlockWriter, ARefusedOrFailedStepEndsTheWriteWithItsPrefix) {
    struct Case {
        const char* name;
        int failAtBlock;
        std::string answer;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"initiation rejected", 0, BinaryReply(1, 0x0419, 0x8008), "Unable to initiate transfer -  - Download Already in Progress"},
        {"initiation unanswered", 0, "", kPortTimeout},
        {"second frame rejected", 2, BinaryReply(1, 0x0419, 0x8003), "Error sending database -  - Block Out of Sequence"},
        {"final rejected", 3, BinaryReply(1, 0x0419, 0x8006), "Error downloading database -  - Bad CRC"},
    };
    for (const Case& c : cases) {
        RecordingUi ui;
        ScriptedDevice link;
        auto protocol = link.OpenMini();
        link.onBlock = [&](const std::string&, int index) -> std::optional<std::string> {
            if (index == c.failAtBlock) return c.answer;
            return std::nullopt;
        };
        BlockWriter writer(*protocol, kTransferWriteCardDatabase, DatabaseWriteTexts(), SecondWait(true));
        EXPECT_EQ(writer.Write({}, ThousandBytes()), TransferOutcome::Failed) << c.name;
        EXPECT_EQ(ui.Messages(), std::vector<std::string>{c.message}) << c.name;
        EXPECT_EQ(ui.prompt.shown[0].type, static_cast<unsigned>(MB_OKCANCEL)) << c.name;
        EXPECT_EQ(link.Frames().size(), static_cast<size_t>(c.failAtBlock + 1)) << c.name;
    }
}

TEST(BlockWriter, FinalReplyLateOnceCountsOnlyWhenTheOwnerWaitsTwice) {
    {
        RecordingUi ui;
        ScriptedDevice link;
        auto protocol = link.OpenMini();
        link.stream->TimeOutFirstReadAfterWrites(4);  // after the fourth frame: the final one
        BlockWriter writer(*protocol, kTransferWriteCardDatabase, DatabaseWriteTexts(), SecondWait(true));
        EXPECT_EQ(writer.Write({}, ThousandBytes()), TransferOutcome::Done);
        EXPECT_EQ(link.stream->hiccups, 1);
        EXPECT_TRUE(ui.Messages().empty());
    }
    {
        RecordingUi ui;
        ScriptedDevice link;
        auto protocol = link.OpenMini();
        link.stream->TimeOutFirstReadAfterWrites(4);
        BlockWriter writer(*protocol, kTransferWriteCardDatabase, DatabaseWriteTexts(), SecondWait(false));
        EXPECT_EQ(writer.Write({}, ThousandBytes()), TransferOutcome::Failed);
        EXPECT_EQ(ui.Messages(), std::vector<std::string>{kPortTimeout});
        EXPECT_EQ(link.blocks.size(), 3u);  // the final answer was never read
    }
    {
        // Late once and then not at all: the second wait is the last.
        RecordingUi ui;
        ScriptedDevice link;
        auto protocol = link.OpenMini();
        link.stream->TimeOutFirstReadAfterWrites(4);
        link.onBlock = [](const std::string&, int index) -> std::optional<std::string> {
            if (index == 3) return std::string();
            return std::nullopt;
        };
        BlockWriter writer(*protocol, kTransferWriteCardDatabase, DatabaseWriteTexts(), SecondWait(true));
        EXPECT_EQ(writer.Write({}, ThousandBytes()), TransferOutcome::Failed);
        EXPECT_EQ(ui.Messages(), std::vector<std::string>{kPortTimeout});
        EXPECT_EQ(link.blocks.size(), 4u);  // the second wait asked the line
        EXPECT_EQ(link.Frames().size(), 4u);
    }
    {
        // A rejection of the final frame is no time-out: no second wait.
        RecordingUi ui;
        ScriptedDevice link;
        auto protocol = link.OpenMini();
        int finalAnswers = 0;
        link.onBlock = [&](const std::string&, int index) -> std::optional<std::string> {
            if (index < 3) return std::nullopt;
            ++finalAnswers;
            return BinaryReply(1, 0x0419, 0x8006);
        };
        BlockWriter writer(*protocol, kTransferWriteCardDatabase, DatabaseWriteTexts(), SecondWait(true));
        EXPECT_EQ(writer.Write({}, ThousandBytes()), TransferOutcome::Failed);
        EXPECT_EQ(finalAnswers, 1);
        EXPECT_EQ(ui.Messages().size(), 1u);
    }
}

TEST(BlockWriter, CancelAfterKStepsSendsNothingMore) {
    // Steps 1-400 fill the first frame, 401-900 the second, 901-1000 the third; 1001 is the
    // closing 0x00.
    for (int k : {1, 400, 401, 900, 1001}) {
        RecordingUi ui;
        ScriptedDevice link;
        auto protocol = link.OpenMini();
        int writesAtCancel = -1;
        UiServices services = Ui();
        services.progress = [&](const std::string&, bool) -> std::unique_ptr<ProgressSink> {
            return std::make_unique<CancelAtPump>(k, link.stream, &writesAtCancel);
        };
        ScopedUiServices scope(services);
        BlockWriter writer(*protocol, kTransferWriteCardDatabase, DatabaseWriteTexts(), SecondWait(true));
        EXPECT_EQ(writer.Write({}, ThousandBytes()), TransferOutcome::Cancelled) << k;
        EXPECT_TRUE(ui.Messages().empty()) << k;
        EXPECT_EQ(link.stream->writeCalls, writesAtCancel) << k;
        const size_t framesBefore = k <= 400 ? 1 : k <= 900 ? 2 : 3;
        EXPECT_EQ(link.Frames().size(), framesBefore) << k;
    }
}

TEST(BlockWriter, AFailedSendIsReportedAndEndsTheWrite) {
    {
        RecordingUi ui;
        ScriptedDevice link;
        auto protocol = link.OpenMini();
        link.stream->FailWritesFrom(2);  // the first data frame
        BlockWriter writer(*protocol, kTransferWriteCardDatabase, DatabaseWriteTexts(), SecondWait(true));
        EXPECT_EQ(writer.Write({}, ThousandBytes()), TransferOutcome::Failed);
        ASSERT_EQ(ui.prompt.shown.size(), 1u);
        EXPECT_EQ(ui.prompt.shown[0].caption, "Communications Error");
        EXPECT_EQ(link.stream->writeCalls, 2);
    }
    {
        // A frame the protocol refuses to send (more than a block holds) is no silent loss.
        RecordingUi ui;
        ScriptedDevice link;
        auto protocol = link.OpenMini();
        BlockWriter writer(*protocol, kTransferWriteEquations, DatabaseWriteTexts());
        writer.Begin(2000);
        ASSERT_EQ(writer.Initiate(), TransferOutcome::Done);
        writer.StartFirstFrame();
        ASSERT_EQ(writer.Append(std::string(1100, 'q')), TransferOutcome::Done);
        EXPECT_EQ(writer.SendFrame("Error writing data - "), TransferOutcome::Failed);
        EXPECT_EQ(ui.Messages(),
                  std::vector<std::string>{"Error on serial device at port 1: - Error In Transmission of Data"});
        EXPECT_EQ(link.Frames().size(), 1u);
    }
}

TEST(BlockWriter, StepsCombineIntoOneRecordPerFrame) {
    // The way equation sets go out: the total and a header in the first frame, one record a
    // frame, the closing bytes alone, no second wait.
    RecordingUi ui;
    ScriptedDevice link;
    auto protocol = link.OpenMini();
    TransferTexts texts;
    texts.title = "Downloading Equation...";
    texts.initiation = "Unable to initiate download - ";
    texts.final = "Error in response to final packet - ";
    const std::string header(30, 'H'), record(50, 'R');
    BlockWriter writer(*protocol, kTransferWriteEquations, texts);
    writer.Begin(81);
    ASSERT_EQ(writer.Initiate(), TransferOutcome::Done);
    writer.StartFirstFrame();
    ASSERT_EQ(writer.Append(header), TransferOutcome::Done);
    ASSERT_EQ(writer.SendFrame("Error writing data - "), TransferOutcome::Done);
    ASSERT_EQ(writer.Append(record), TransferOutcome::Done);
    ASSERT_EQ(writer.SendFrame("Error downloading equation line - "), TransferOutcome::Done);
    ASSERT_EQ(writer.Close(), TransferOutcome::Done);

    const std::string head("SV \x04\x13", 5);
    const auto sent = link.blocks;
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(Hex(sent[0]), Hex(head));
    EXPECT_EQ(Hex(sent[1]), Hex(head + U32Be(81) + header));
    EXPECT_EQ(Hex(sent[2]), Hex(head + record));
    EXPECT_EQ(Hex(sent[3]), Hex(head + '\0' + U32Be(BitwiseCrc32(header + record + '\0'))));
    EXPECT_EQ(ui.progress[0]->steps, 81);

    // A rejected record frame names the owner's prefix for it.
    RecordingUi ui2;
    ScriptedDevice link2;
    auto protocol2 = link2.OpenMini();
    link2.onBlock = [](const std::string&, int index) -> std::optional<std::string> {
        if (index == 2) return BinaryReply(1, 0x0413, 0x8002);
        return std::nullopt;
    };
    BlockWriter writer2(*protocol2, kTransferWriteEquations, texts);
    writer2.Begin(81);
    ASSERT_EQ(writer2.Initiate(), TransferOutcome::Done);
    writer2.StartFirstFrame();
    ASSERT_EQ(writer2.Append(header), TransferOutcome::Done);
    ASSERT_EQ(writer2.SendFrame("Error writing data - "), TransferOutcome::Done);
    ASSERT_EQ(writer2.Append(record), TransferOutcome::Done);
    EXPECT_EQ(writer2.SendFrame("Error downloading equation line - "), TransferOutcome::Failed);
    EXPECT_EQ(ui2.Messages(), std::vector<std::string>{"Error downloading equation line -  - Bad Message Format"});
}

}  // namespace qs::test
