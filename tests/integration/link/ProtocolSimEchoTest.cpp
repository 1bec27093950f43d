// A loop-back cable in place of the device: every byte comes straight back. The program then
// reads its own command as the reply, wherever the echo is a complete reply frame.
#include <gtest/gtest.h>

#include "DeviceFrames.h"
#include "SimRig.h"

namespace qs::test {
namespace {

// Everything the simulator received and sent as raw loop-back bytes, in order.
struct Looped {
    std::string in, out;
};

Looped RawBytes(const SimProcess& sim) {
    Looped l;
    for (const SimFrame& f : sim.ReadLog()) {
        if (f.kind != "raw") continue;
        (f.Received() ? l.in : l.out) += f.bytes;
    }
    return l;
}

bool WaitForLooped(const SimProcess& sim, size_t bytes) {
    return sim.WaitForLog([&](const std::vector<SimFrame>&) { return RawBytes(sim).out.size() >= bytes; });
}

class ProtocolSimEcho : public ::testing::TestWithParam<LinkKind> {};

TEST_P(ProtocolSimEcho, TheReplyIsTheCommandItself) {
    const auto [transport, framing] = GetParam();
    SimRig sim({transport, {"--persona", "echo"}, "", {}});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    auto p = sim.Open(framing, 12);

    Answer echo = Ask(*p, "PV SY 111");
    ASSERT_TRUE(echo.sent);
    EXPECT_EQ(echo.status, kStatusOk);
    EXPECT_EQ(echo.reply, "PV SY 111");
    Answer second = Ask(*p, "PC SY 111 42");
    EXPECT_EQ(second.status, kStatusOk);
    EXPECT_EQ(second.reply, "PC SY 111 42");

    const std::string wire = RequestBytes(framing, transport, 12, "PV SY 111") +
                             RequestBytes(framing, transport, 12, "PC SY 111 42");
    ASSERT_TRUE(WaitForLooped(sim.Sim(), wire.size()));
    const Looped looped = RawBytes(sim.Sim());
    EXPECT_EQ(Hex(looped.in), Hex(wire));
    EXPECT_EQ(Hex(looped.out), Hex(wire));
    // A loop-back cable reads no frames.
    EXPECT_TRUE(sim.Received().empty());
}

INSTANTIATE_TEST_SUITE_P(Links, ProtocolSimEcho,
                         ::testing::Values(LinkKind{Transport::Tcp, Framing::Terminal},
                                           LinkKind{Transport::Pty, Framing::Terminal},
                                           LinkKind{Transport::Pty, Framing::Mini}),
                         LinkName());

// A Minicomputer text frame on TCP/IP has no check bytes, so its echo lacks the two bytes the
// reader waits for after ETX.
TEST(ProtocolSimEchoTcp, AMinicomputerEchoOnTcpEndsInATimeOut) {
    SimRig sim({Transport::Tcp, {"--persona", "echo"}, "", {}});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    auto p = sim.OpenMini();

    // The wait runs on a clock that moves 250 ms at each turn of it.
    ScopedIdleClock clock(250);
    Answer echo = Ask(*p, "PV SY 111");
    EXPECT_EQ(echo.status, kStatusTimeout);
    EXPECT_EQ(echo.reply, "");
    EXPECT_GE(clock.ElapsedMs(), 4000) << "the receive time-out and its grace second";

    const std::string wire = RequestBytes(Framing::Mini, Transport::Tcp, 1, "PV SY 111");
    ASSERT_TRUE(WaitForLooped(sim.Sim(), wire.size()));
    EXPECT_EQ(Hex(RawBytes(sim.Sim()).out), Hex(wire));
}

}  // namespace
}  // namespace qs::test
