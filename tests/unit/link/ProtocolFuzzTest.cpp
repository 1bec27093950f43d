#include <gtest/gtest.h>

#include <memory>

#include "DeviceFrames.h"
#include "Fuzz.h"
#include "ScriptedStream.h"
#include "link/MiniProtocol.h"

namespace qs::test {

namespace {

std::vector<std::string> Seeds() {
    return {
        TerminalReply(1, "PV SY 111 5"),
        TerminalReply(1, "NO05"),
        MiniReply(1, "PV SY 111 5"),
        MiniReply(1, "NO14"),
        BinaryReply(1, 0x0418, 0x0000, {0x02, 0x03, 0x7F, 0x1B, 0x00}),
        BinaryReply(1, 0x0413, 0x8006),
        "noise" + MiniReply(1, "") + TerminalReply(2, ""),
    };
}

// Every reply ends in a result from the documented set, within the bytes it was given.
void CheckOne(const std::string& input, bool network, size_t chunk) {
    for (bool mini : {false, true}) {
        auto s = std::make_unique<ScriptedStream>(network);
        s->networkChunk = chunk;
        s->Feed(input);
        auto* raw = s.get();
        std::unique_ptr<TerminalProtocol> p;
        if (mini) p = std::make_unique<MiniProtocol>(std::move(s), 1);
        else p = std::make_unique<TerminalProtocol>(std::move(s), 1);
        std::string reply;
        const int r = p->Receive(reply);
        ASSERT_TRUE(r == 0 || r == kStatusRejected || r == kStatusProtocolError || r == kStatusTimeout) << r;
        ASSERT_EQ(raw->Status(), r);
        ASSERT_LE(reply.size(), static_cast<size_t>(TerminalProtocol::kMaxReplyBytes));
        if (r != 0 && r != kStatusRejected) {
            ASSERT_TRUE(reply.empty());
        }
        ASSERT_LE(static_cast<size_t>(raw->readCalls), input.size() + 1);
        (void)p->GetErrorText();
    }
    auto s = std::make_unique<ScriptedStream>(network);
    s->networkChunk = chunk;
    s->Feed(input);
    auto* raw = s.get();
    MiniProtocol p(std::move(s), 1);
    std::vector<uint8_t> out;
    const int r = p.ReceiveBinary(out);
    if (r >= 0) {
        ASSERT_EQ(static_cast<size_t>(r), out.size());
        ASSERT_GE(out.size(), MiniProtocol::kMinBinaryReplyBytes);
        ASSERT_LT(out.size(), static_cast<size_t>(MiniProtocol::kMaxBinaryReplyBytes));
        ASSERT_EQ(raw->Status(), kStatusOk);
    } else {
        ASSERT_TRUE(r == -kStatusRejected || r == -kStatusProtocolError || r == -kStatusTimeout) << r;
        ASSERT_EQ(raw->Status(), -r);
    }
    ASSERT_LE(static_cast<size_t>(raw->readCalls), input.size() + 1);
    (void)p.GetErrorText();
}

}  // namespace

TEST(ProtocolFuzz, RandomAndMutatedRepliesEndInADocumentedResult) {
    FuzzOptions opt;
    opt.iterations = 4000;
    opt.maxLength = 6000;
    int n = 0;
    bool failed = false;
    RunFuzz(Seeds(), [&](const std::string& input) {
        if (failed) return;  // one failing input is enough to report
        ++n;
        CheckOne(input, (n & 1) != 0, static_cast<size_t>(n % 3));
        if (::testing::Test::HasFatalFailure()) {
            failed = true;
            ADD_FAILURE() << "input: " << Hex(input.substr(0, 64));
        }
    }, opt);
}

}  // namespace qs::test
