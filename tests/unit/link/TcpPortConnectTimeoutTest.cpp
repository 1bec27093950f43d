#include <chrono>

#include <gtest/gtest.h>

#include "LoopbackServer.h"
#include "link/TCPPort.h"

namespace qs::test {

// Real time on purpose: the device that never answers is given 10 s plus 1 s by the wall's
// clock too. The listener's accept queue is full, so the kernel drops our SYN.
TEST(TcpPortConnectTimeout, UnansweredConnectFailsAfterAboutElevenSeconds) {
    LoopbackServer server("127.77.4.1", 0);
    QueueFiller filler(server.Ip(), server.Port());
    auto start = std::chrono::steady_clock::now();
    TCPPort port(server.Ip(), server.Port());
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(port.State(), kStateClosed);
    EXPECT_EQ(port.Status(), kStatusCannotOpen);
    EXPECT_EQ(port.Describe(1), "Comm Not Enabled");
    EXPECT_GE(ms, 11000 * 9 / 10);
    EXPECT_LE(ms, 11000 * 11 / 10);
}

}  // namespace qs::test
