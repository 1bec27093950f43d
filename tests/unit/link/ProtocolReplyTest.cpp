#include <gtest/gtest.h>

#include <memory>

#include "DeviceFrames.h"
#include "ScriptedStream.h"
#include "link/MiniProtocol.h"
#include "link/TerminalProtocol.h"

namespace qs::test {

namespace {

// A protocol over a scripted stream that already holds `line`; returns Receive's result.
struct Exchange {
    int result = -1;
    std::string reply = "stale";
    uint32_t code = 0;
    int status = -1;
    std::string pending;  // bytes left unread
    std::string errorText;
};

Exchange ReceiveOver(bool mini, bool network, const std::string& line, size_t chunk = 0, int starve = kStatusTimeout) {
    auto s = std::make_unique<ScriptedStream>(network);
    s->networkChunk = chunk;
    s->starveStatus = starve;
    s->SetStatus(kStatusTimeout);  // left over from an earlier exchange
    s->Feed(line);
    auto* raw = s.get();
    std::unique_ptr<TerminalProtocol> p;
    if (mini) p = std::make_unique<MiniProtocol>(std::move(s), 1);
    else p = std::make_unique<TerminalProtocol>(std::move(s), 1);
    Exchange e;
    e.result = p->Receive(e.reply);
    e.code = p->LastCode();
    e.status = raw->Status();
    e.pending = raw->Pending();
    e.errorText = p->GetErrorText();
    return e;
}

}  // namespace

TEST(ProtocolReply, TerminalReplyTextEndsAtTheLastCr) {
    for (bool network : {false, true}) {
        auto e = ReceiveOver(false, network, TerminalReply(1, "PV SY 111 5"));
        EXPECT_EQ(e.result, 0);
        EXPECT_EQ(e.reply, "PV SY 111 5");
        EXPECT_EQ(e.status, kStatusOk);
        EXPECT_EQ(ReplyValue(e.reply), "5");
    }
    // A CR inside the text belongs to it; the address digits are not compared.
    auto e = ReceiveOver(false, false, "*42A\rB\r\n");
    EXPECT_EQ(e.result, 0);
    EXPECT_EQ(e.reply, "A\rB");
    e = ReceiveOver(false, false, "*01\r\n");
    EXPECT_EQ(e.result, 0);
    EXPECT_EQ(e.reply, "");
}

TEST(ProtocolReply, MinicomputerReplyIsCheckedAndEndsBeforeEtx) {
    for (bool network : {false, true}) {
        auto e = ReceiveOver(true, network, MiniReply(1, "PV SY 111 5"), network ? 1 : 0);
        EXPECT_EQ(e.result, 0);
        EXPECT_EQ(e.reply, "PV SY 111 5");
        EXPECT_EQ(e.status, kStatusOk);
        EXPECT_EQ(e.pending, "");
    }
}

TEST(ProtocolReply, NoiseBeforeTheStartIsSkippedUpTo4096Bytes) {
    auto e = ReceiveOver(false, false, std::string("\x00\xFF\x02junk\r\n", 9) + TerminalReply(1, "OK"));
    EXPECT_EQ(e.result, 0);
    EXPECT_EQ(e.reply, "OK");

    e = ReceiveOver(true, true, std::string(4095, 'x') + MiniReply(1, "OK"));
    EXPECT_EQ(e.result, 0);
    EXPECT_EQ(e.reply, "OK");

    // A line that streams noise gives up after 4096 other bytes and reads no further.
    const std::string after = MiniReply(1, "OK");
    for (bool mini : {false, true}) {
        e = ReceiveOver(mini, false, std::string(4096, 'x') + after);
        EXPECT_EQ(e.result, kStatusProtocolError);
        EXPECT_EQ(e.status, kStatusProtocolError);
        EXPECT_EQ(e.pending, after);
        EXPECT_EQ(e.reply, "");
    }
}

TEST(ProtocolReply, FramingFaultsGiveProtocolError) {
    struct Case {
        bool mini;
        std::string line;
    };
    const Case cases[] = {
        {false, "*01PV SY 111 5\n"},        // no CR
        {false, "*0\r\n"},                  // CR before the address digits end
        {false, "*\r\n"},
        {true, MiniReply(1, "PV SY 111 5", 1)},  // wrong LRC
        {true, Bytes({2, '0', 3, 0x33, 0x7F})},  // shorter than its address digits (LRC right)
        {true, "\x02" + std::string(5000, 'a')},  // no ETX within the reply buffer
        {false, "*" + std::string(5000, 'a') + "\r\n"},
    };
    for (const auto& c : cases) {
        for (bool network : {false, true}) {
            auto e = ReceiveOver(c.mini, network, c.line);
            EXPECT_EQ(e.result, kStatusProtocolError) << Hex(c.line.substr(0, 20)) << " network " << network;
            EXPECT_EQ(e.status, kStatusProtocolError);
            EXPECT_EQ(e.reply, "");
        }
    }
}

TEST(ProtocolReply, FailedReadsGiveThePortStatus) {
    for (bool mini : {false, true}) {
        for (bool network : {false, true}) {
            EXPECT_EQ(ReceiveOver(mini, network, "").result, kStatusTimeout);
            EXPECT_EQ(ReceiveOver(mini, network, "", 0, kStatusReceiveError).result, kStatusReceiveError);
        }
    }
    // Cut off in the middle: before the terminator, and between ETX and the pad byte.
    EXPECT_EQ(ReceiveOver(false, true, "*01PV SY").result, kStatusTimeout);
    EXPECT_EQ(ReceiveOver(false, false, "*01PV SY").result, kStatusTimeout);
    const std::string full = MiniReply(1, "PV SY 111 5");
    auto e = ReceiveOver(true, true, full.substr(0, full.size() - 1));
    EXPECT_EQ(e.result, kStatusTimeout);
    EXPECT_EQ(e.reply, "");
}

TEST(ProtocolReply, NoRepliesAreRejectionsWithTheirCode) {
    for (bool mini : {false, true}) {
        auto line = [&](const std::string& text) { return mini ? MiniReply(1, text) : TerminalReply(1, text); };
        auto e = ReceiveOver(mini, false, line("NO05"));
        EXPECT_EQ(e.result, kStatusRejected);
        EXPECT_EQ(e.status, kStatusRejected);
        EXPECT_EQ(e.code, 5u);
        EXPECT_EQ(e.errorText, "No Transaction Ever Done");
        EXPECT_EQ(e.reply, "NO05");

        e = ReceiveOver(mini, false, line("NO"));
        EXPECT_EQ(e.result, kStatusRejected);
        EXPECT_EQ(e.code, 0u);
        EXPECT_EQ(e.errorText, "Invalid Command");

        e = ReceiveOver(mini, false, line("NO14 PV SY 999"));
        EXPECT_EQ(e.code, 14u);
        EXPECT_EQ(e.errorText, "Program Code Not Used");

        e = ReceiveOver(mini, false, line("NO99999999999999"));
        EXPECT_EQ(e.result, kStatusRejected);
        EXPECT_EQ(e.code, 0xFFFFFFFFu);
        EXPECT_EQ(e.errorText, "Unknown Error 0xFFFFFFFF");

        e = ReceiveOver(mini, false, line("No Way"));
        EXPECT_EQ(e.result, 0);
        EXPECT_EQ(e.reply, "No Way");
    }
}

TEST(ProtocolReply, ALoopBackLineAnswersWithTheCommandItself) {
    auto echo = [](const std::string& request) { return request; };
    {
        auto s = std::make_unique<ScriptedStream>(false);
        s->respond = echo;
        TerminalProtocol p(std::move(s), 1);
        ASSERT_NE(p.Send("PV SY 111"), nullptr);
        std::string reply;
        EXPECT_EQ(p.Receive(reply), 0);
        EXPECT_EQ(reply, "PV SY 111");
    }
    {
        // On a serial line the frame's own check bytes come back and pass.
        auto s = std::make_unique<ScriptedStream>(false);
        s->respond = echo;
        MiniProtocol p(std::move(s), 1);
        ASSERT_NE(p.Send("PV SY 111"), nullptr);
        std::string reply;
        EXPECT_EQ(p.Receive(reply), 0);
        EXPECT_EQ(reply, "PV SY 111");
    }
    {
        // Over TCP/IP the text frame carries no check bytes, so its echo never completes.
        auto s = std::make_unique<ScriptedStream>(true);
        s->respond = echo;
        MiniProtocol p(std::move(s), 1);
        ASSERT_NE(p.Send("PV SY 111"), nullptr);
        std::string reply;
        EXPECT_EQ(p.Receive(reply), kStatusTimeout);
        EXPECT_EQ(reply, "");
    }
}

}  // namespace qs::test
