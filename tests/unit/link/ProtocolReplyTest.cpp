#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

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
    struct Rejection {
        const char* text;
        uint32_t code;
        const char* errorText;
    };
    const Rejection rejections[] = {
        {"NO05", 5u, "No Transaction Ever Done"},
        {"NO", 0u, "Invalid Command"},
        {"NO14 PV SY 999", 14u, "Program Code Not Used"},
        {"NO99999999999999", 0xFFFFFFFFu, "Unknown Error 0xFFFFFFFF"},
    };
    for (bool mini : {false, true}) {
        auto line = [&](const std::string& text) { return mini ? MiniReply(1, text) : TerminalReply(1, text); };
        for (const Rejection& r : rejections) {
            SCOPED_TRACE(std::string(r.text) + (mini ? " (Minicomputer)" : " (Terminal)"));
            const auto e = ReceiveOver(mini, false, line(r.text));
            EXPECT_EQ(e.result, kStatusRejected);
            EXPECT_EQ(e.status, kStatusRejected);
            EXPECT_EQ(e.code, r.code);
            EXPECT_EQ(e.errorText, r.errorText);
            EXPECT_EQ(e.reply, r.text);
        }
        // Upper-case "NO" makes a rejection; an ordinary reply starting "No" is not one.
        const auto e = ReceiveOver(mini, false, line("No Way"));
        EXPECT_EQ(e.result, 0) << (mini ? "Minicomputer" : "Terminal");
        EXPECT_EQ(e.reply, "No Way");
    }
}

// What comes back for "PV SY 111" on a line that echoes every request (`tcp`: a TCP/IP link).
template <class Protocol>
std::pair<int, std::string> EchoedReply(bool tcp) {
    auto s = std::make_unique<ScriptedStream>(tcp);
    s->respond = [](const std::string& request) { return request; };
    Protocol p(std::move(s), 1);
    if (p.Send("PV SY 111") == nullptr) return {-999, "<not sent>"};
    std::string reply;
    const int status = p.Receive(reply);
    return {status, reply};
}

TEST(ProtocolReply, ALoopBackLineAnswersWithTheCommandItself) {
    using Result = std::pair<int, std::string>;
    EXPECT_EQ(EchoedReply<TerminalProtocol>(false), Result(0, "PV SY 111"));
    // On a serial line the frame's own check bytes come back and pass.
    EXPECT_EQ(EchoedReply<MiniProtocol>(false), Result(0, "PV SY 111"));
    // Over TCP/IP the text frame carries no check bytes, so its echo never completes.
    EXPECT_EQ(EchoedReply<MiniProtocol>(true), Result(kStatusTimeout, ""));
}

}  // namespace qs::test
