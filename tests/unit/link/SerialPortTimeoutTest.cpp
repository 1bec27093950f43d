#include <array>

#include "SerialFixture.h"
#include "link/SerialPort.h"

namespace qs::test {

// These wait in real time: what they check is how long the line is given.
using SerialPortTimeoutTest = SerialFixture;

TEST_F(SerialPortTimeoutTest, NoReplyAt38400FailsAfter2142Ms) {
    SerialPort port(kCom, {38400, 8, NOPARITY, ONESTOPBIT});
    ASSERT_EQ(port.State(), kStateOpen);
    pty_.DeviceSends("A");  // one byte of three: the wait is for the missing one
    std::array<char, 8> buf{};
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(port.Read(buf, 3), 0);
    int64_t ms = MsSince(start);
    EXPECT_EQ(port.Status(), kStatusTimeout);
    EXPECT_EQ(port.State(), kStateOpen);
    EXPECT_GE(ms, 2142 * 9 / 10);
    EXPECT_LE(ms, 2142 * 11 / 10);

    EXPECT_EQ(port.ShowError(nullptr, MB_OK), IDOK);
    EXPECT_EQ(ui_.LastMessage(), "Error on serial device at port 7: - Timeout waiting for response");
}

TEST_F(SerialPortTimeoutTest, NoReplyAt600FailsAfter3000Ms) {
    SerialPort port(kCom, {600, 7, ODDPARITY, TWOSTOPBITS});
    ASSERT_EQ(port.State(), kStateOpen);
    std::array<char, 8> buf{};
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(port.Read(buf, 8, '\r'), 0);
    int64_t ms = MsSince(start);
    EXPECT_EQ(port.Status(), kStatusTimeout);
    EXPECT_GE(ms, 3000 * 9 / 10);
    EXPECT_LE(ms, 3000 * 11 / 10);
}

}  // namespace qs::test
