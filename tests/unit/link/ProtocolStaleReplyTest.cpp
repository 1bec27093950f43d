// A reply that comes after its command timed out must never be taken for the answer to the
// next one: the replies to PV, XV, PC and XC echo their command, so an echo of another command
// is dropped and the wait goes on until the deadline of the first; and the command after a
// failed reply first drains what is still on its way.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "DeviceFrames.h"
#include "RecordingUi.h"
#include "ScriptedStream.h"
#include "TestEnv.h"
#include "link/MiniProtocol.h"
#include "link/TerminalProtocol.h"

namespace qs::test {
namespace {

struct Link {
    ScriptedStream* stream = nullptr;
    std::unique_ptr<TerminalProtocol> protocol;
};

Link Over(Framing framing, bool network) {
    auto s = std::make_unique<ScriptedStream>(network);
    Link link{s.get(), nullptr};
    if (framing == Framing::Mini) link.protocol = std::make_unique<MiniProtocol>(std::move(s), 1);
    else link.protocol = std::make_unique<TerminalProtocol>(std::move(s), 1);
    return link;
}

std::string ReplyFrame(Framing framing, const std::string& text) {
    return framing == Framing::Mini ? MiniReply(1, text) : TerminalReply(1, text);
}

class ProtocolStaleReply : public ::testing::TestWithParam<LinkKind> {
protected:
    Framing framing() const { return GetParam().framing; }
    bool network() const { return GetParam().transport == Transport::Tcp; }
    RecordingUi ui;
    FakeClock clock;
    ScopedClock scoped{clock};
};

TEST_P(ProtocolStaleReply, EachReplyIsTakenOnlyByTheCommandItEchoes) {
    struct Row {
        const char* command;
        std::vector<std::string> replies;  // arriving in this order after the command
        int status;
        const char* reply;
        size_t leftUnread;  // replies still waiting afterwards
    };
    const Row rows[] = {
        // The late answer to the PV before is dropped; the level's own reply is taken.
        {"XV CF 753", {"PV CF 753 4", "XV CF 753 5"}, kStatusOk, "XV CF 753 5", 0},
        {"PV CF 754", {"PV CF 753 4", "XV CF 753 5", "PV CF 754 0"}, kStatusOk, "PV CF 754 0", 0},
        {"PC SY 104 NORTH", {"PV SY 104 SOUTH", "PC SY 104 NORTH"}, kStatusOk, "PC SY 104 NORTH", 0},
        // An echo without its value, and one of the command itself, are answers.
        {"PC SY 001 7", {"PC SY 001"}, kStatusOk, "PC SY 001", 0},
        {"PV SY 111", {"PV SY 111"}, kStatusOk, "PV SY 111", 0},
        // Only the head counts: a value that differs is the device's own.
        {"PC SY 001 7", {"PC SY 001 007"}, kStatusOk, "PC SY 001 007", 0},
        // Rejections carry no echo: taken as they come.
        {"PV CF 754", {"NO14", "PV CF 754 0"}, kStatusRejected, "NO14", 1},
        // A reply echoing no command answers none: a protocol fault, nothing read after it.
        {"PV CF 754", {"OK", "PV CF 754 0"}, kStatusProtocolError, "", 1},
        {"PV CF 754", {"PV CF 75", "PV CF 754 0"}, kStatusProtocolError, "", 1},
        {"PV CF 754", {"PV CF 7540", "PV CF 754 0"}, kStatusProtocolError, "", 1},
        // Commands that do not echo take whatever reply comes.
        {"GP", {"PV CF 753 4"}, kStatusOk, "PV CF 753 4", 0},
        {"pv cf 754", {"PV CF 753 4"}, kStatusOk, "PV CF 753 4", 0},
        // Only stale replies: the wait ends as a time-out.
        {"XV CF 753", {"PV CF 753 4"}, kStatusTimeout, "", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        Link link = Over(framing(), network());
        std::string wire;
        for (const std::string& r : row.replies) wire += ReplyFrame(framing(), r);
        link.stream->QueueReply(wire);
        ASSERT_NE(link.protocol->Send(row.command), nullptr);
        std::string reply;
        EXPECT_EQ(link.protocol->Receive(reply), row.status);
        EXPECT_EQ(reply, row.reply);
        EXPECT_EQ(link.stream->Status(), row.status);
        std::string rest;
        for (size_t i = row.replies.size() - row.leftUnread; i < row.replies.size(); ++i)
            rest += ReplyFrame(framing(), row.replies[i]);
        EXPECT_EQ(Hex(link.stream->Pending()), Hex(rest));
        EXPECT_EQ(link.stream->WaitLimit(), 0) << "the limit outlived the receive";
    }
}

TEST_P(ProtocolStaleReply, AfterAStaleReplyTheWaitEndsByTheDeadlineOfTheFirst) {
    Link link = Over(framing(), network());
    link.stream->readWaitMs = 4000;
    const int64_t start = clock.now;
    link.stream->QueueReply(ReplyFrame(framing(), "PV CF 753 4") + ReplyFrame(framing(), "XV CF 753 5"));
    ASSERT_NE(link.protocol->Send("XV CF 753"), nullptr);
    link.stream->readLimits.clear();
    // Time passes while the stale reply is read; the deadline stays that of the first wait.
    link.stream->onRead = [&] { clock.now += 700; };
    std::string reply;
    ASSERT_EQ(link.protocol->Receive(reply), kStatusOk);
    EXPECT_EQ(reply, "XV CF 753 5");
    ASSERT_FALSE(link.stream->readLimits.empty());
    EXPECT_EQ(link.stream->readLimits.front(), 0);
    EXPECT_EQ(link.stream->readLimits.back(), start + 4000);
}

TEST_P(ProtocolStaleReply, ADeviceThatOnlyRepeatsOldAnswersIsAProtocolFault) {
    Link link = Over(framing(), network());
    std::string wire;
    for (int i = 0; i <= TerminalProtocol::kMaxStaleReplies; ++i) wire += ReplyFrame(framing(), "PV CF 753 4");
    link.stream->QueueReply(wire + ReplyFrame(framing(), "XV CF 753 5"));
    ASSERT_NE(link.protocol->Send("XV CF 753"), nullptr);
    std::string reply;
    EXPECT_EQ(link.protocol->Receive(reply), kStatusProtocolError);
    EXPECT_EQ(Hex(link.stream->Pending()), Hex(ReplyFrame(framing(), "XV CF 753 5")));
}

TEST_P(ProtocolStaleReply, TheCommandAfterAFailedReplyDrainsWhatIsStillComing) {
    Link link = Over(framing(), network());
    std::string reply;
    // Nothing came in time.
    link.stream->QueueReply("");
    ASSERT_NE(link.protocol->Send("PV CF 753"), nullptr);
    ASSERT_EQ(link.protocol->Receive(reply), kStatusTimeout);

    // Then the late reply arrives, and with it the start of a second one.
    link.stream->Feed(ReplyFrame(framing(), "PV CF 753 4") + "\x02" "01PV");
    link.stream->QueueReply(ReplyFrame(framing(), "XV CF 753 5"));
    link.stream->readLimits.clear();
    ASSERT_NE(link.protocol->Send("XV CF 753"), nullptr);
    EXPECT_EQ(link.stream->Pending(), "");
    // Read with the quiet interval as the limit, until the line had nothing more; the port's
    // status of the failed reply stays until the next reply.
    ASSERT_GE(link.stream->readLimits.size(), 2u);
    EXPECT_EQ(link.stream->readLimits.front(), clock.now + TerminalProtocol::kQuietMs);
    EXPECT_EQ(link.stream->Status(), kStatusTimeout);
    EXPECT_EQ(link.stream->WaitLimit(), 0);
    ASSERT_EQ(link.protocol->Receive(reply), kStatusOk);
    EXPECT_EQ(reply, "XV CF 753 5");

    // After a reply that came, nothing is read before the next command goes out.
    link.stream->QueueReply(ReplyFrame(framing(), "PV CF 754 0"));
    const int readsBefore = link.stream->readCalls;
    ASSERT_NE(link.protocol->Send("PV CF 754"), nullptr);
    EXPECT_EQ(link.stream->readCalls, readsBefore);
    ASSERT_EQ(link.protocol->Receive(reply), kStatusOk);
}

TEST(ProtocolStaleBlock, ABlockRequestAfterAFailedReplyDrainsToo) {
    RecordingUi ui;
    for (bool network : {false, true}) {
        SCOPED_TRACE(network ? "network" : "serial");
        Link link = Over(Framing::Mini, network);
        auto& mini = static_cast<MiniProtocol&>(*link.protocol);
        const std::vector<uint8_t> request{'S', 'V', ' ', 4, 0x18, 0, 0};
        std::vector<uint8_t> out;
        link.stream->QueueReply("");
        ASSERT_NE(mini.SendBinary(request), nullptr);
        ASSERT_EQ(mini.ReceiveBinary(out), -kStatusTimeout);
        link.stream->Feed(BinaryReply(1, 0x0418, 0, {0, 0, 0, 1}));
        link.stream->readLimits.clear();
        ASSERT_NE(mini.SendBinary(request), nullptr);
        EXPECT_FALSE(link.stream->readLimits.empty());
        EXPECT_EQ(link.stream->Pending(), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Links, ProtocolStaleReply, ::testing::ValuesIn(kAllLinks), LinkName());

}  // namespace
}  // namespace qs::test
