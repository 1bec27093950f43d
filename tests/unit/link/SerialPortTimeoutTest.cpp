#include <array>

#include "SerialFixture.h"
#include "link/SerialPort.h"

namespace qs::test {
namespace {

// The line's time-out for each byte at a speed.
struct ByteWait {
    SerialSettings settings;
    int64_t ms;
};

class SerialPortTimeoutTest : public SerialFixture, public ::testing::WithParamInterface<ByteWait> {
protected:
    // Reads two bytes of which the device has sent one. The port reads the clock once to set a
    // byte's deadline and again when it has to wait; at that reading for the second byte the
    // clock is moved `afterMs` past the start of the wait and the device sends the byte.
    int ReadWithSecondByteAfter(SerialPort& port, int64_t afterMs) {
        FakeClock clock;
        int readings = 0;
        int64_t waitBegan = 0;
        clock.onRead = [&] {
            if (++readings == 2) waitBegan = clock.now;
            if (readings == 3) {
                clock.now = waitBegan + afterMs;
                pty_.DeviceSends("B");
            }
        };
        ScopedClock scope(clock);
        pty_.DeviceSends("A");
        std::array<char, 8> buf{};
        return port.Read(buf, 2);
    }
};

TEST_P(SerialPortTimeoutTest, EachByteIsWaitedForUntilItsTimeOutAndNoLonger) {
    SerialPort port(kCom, GetParam().settings);
    ASSERT_EQ(port.State(), kStateOpen);
    EXPECT_EQ(ReadWithSecondByteAfter(port, GetParam().ms - 1), 2);
    EXPECT_EQ(port.Status(), kStatusOk);

    EXPECT_EQ(ReadWithSecondByteAfter(port, GetParam().ms), 0);
    EXPECT_EQ(port.Status(), kStatusTimeout);
    EXPECT_GE(port.State(), kStateOpen) << "a time-out leaves the line open";
    EXPECT_EQ(port.ShowError(nullptr, MB_OK), IDOK);
    EXPECT_EQ(ui_.LastMessage(), "Error on serial device at port 7: - Timeout waiting for response");
}

TEST_P(SerialPortTimeoutTest, AWaitLimitEndsTheWaitForAByteBeforeItsTimeOut) {
    SerialPort port(kCom, GetParam().settings);
    ASSERT_EQ(port.State(), kStateOpen);
    EXPECT_EQ(port.ReadWaitMs(), GetParam().ms);
    // The fake clock of each read starts at the same time; the limit is 500 ms past it.
    const int64_t start = FakeClock().now;
    port.LimitWaits(start + 500);
    EXPECT_EQ(ReadWithSecondByteAfter(port, 499), 2);
    EXPECT_EQ(ReadWithSecondByteAfter(port, 500), 0);
    EXPECT_EQ(port.Status(), kStatusTimeout);
    port.LimitWaits(0);
    EXPECT_EQ(ReadWithSecondByteAfter(port, 500), 2);
}

INSTANTIATE_TEST_SUITE_P(Speeds, SerialPortTimeoutTest,
                         ::testing::Values(ByteWait{{38400, 8, NOPARITY, ONESTOPBIT}, 2142},
                                           ByteWait{{600, 7, ODDPARITY, TWOSTOPBITS}, 3000}),
                         [](const auto& info) { return std::to_string(info.param.settings.baudRate); });

}  // namespace
}  // namespace qs::test
