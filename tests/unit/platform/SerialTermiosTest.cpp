#include <gtest/gtest.h>

#include "PtyPair.h"
#include "platform/SerialDevice.h"

namespace qs::test {

namespace {

SerialSettings Line(uint32_t baud, uint8_t bits, uint8_t parity, uint8_t stop) { return {baud, bits, parity, stop}; }

}  // namespace

TEST(SerialTermios, ParityCodesMapOntoTheControlFlags) {
    struct Case {
        uint8_t parity;
        tcflag_t set;
        tcflag_t clear;
    };
    const Case cases[] = {
        {NOPARITY, 0, PARENB | PARODD | CMSPAR},
        {ODDPARITY, PARENB | PARODD, CMSPAR},
        {EVENPARITY, PARENB, PARODD | CMSPAR},
        {MARKPARITY, PARENB | PARODD | CMSPAR, 0},
        {SPACEPARITY, PARENB | CMSPAR, PARODD},
    };
    for (const auto& c : cases) {
        auto t = MakeTermios(Line(9600, 7, c.parity, ONESTOPBIT));
        ASSERT_TRUE(t) << int(c.parity);
        EXPECT_EQ(t->c_cflag & c.set, c.set) << int(c.parity);
        EXPECT_EQ(t->c_cflag & c.clear, 0u) << int(c.parity);
        // Received parity is checked exactly when the line carries parity.
        EXPECT_EQ((t->c_iflag & INPCK) != 0, c.parity != NOPARITY) << int(c.parity);
    }
    EXPECT_FALSE(MakeTermios(Line(9600, 8, 5, ONESTOPBIT)));
}

TEST(SerialTermios, DataAndStopBits) {
    const std::pair<uint8_t, tcflag_t> sizes[] = {{5, CS5}, {6, CS6}, {7, CS7}, {8, CS8}};
    for (auto [bits, flag] : sizes) {
        auto t = MakeTermios(Line(19200, bits, NOPARITY, ONESTOPBIT));
        ASSERT_TRUE(t) << int(bits);
        EXPECT_EQ(t->c_cflag & CSIZE, flag) << int(bits);
        EXPECT_EQ(t->c_cflag & CSTOPB, 0u);
    }
    EXPECT_FALSE(MakeTermios(Line(19200, 4, NOPARITY, ONESTOPBIT)));
    EXPECT_FALSE(MakeTermios(Line(19200, 9, NOPARITY, ONESTOPBIT)));

    auto two = MakeTermios(Line(19200, 8, NOPARITY, TWOSTOPBITS));
    ASSERT_TRUE(two);
    EXPECT_EQ(two->c_cflag & CSTOPB, static_cast<tcflag_t>(CSTOPB));
    EXPECT_FALSE(MakeTermios(Line(19200, 8, NOPARITY, ONE5STOPBITS)));
    EXPECT_FALSE(MakeTermios(Line(19200, 8, NOPARITY, 3)));
}

TEST(SerialTermios, RawWithoutAnyFlowControl) {
    auto t = MakeTermios(Line(38400, 8, NOPARITY, ONESTOPBIT));
    ASSERT_TRUE(t);
    // XON/XOFF bytes are data; no hardware handshake; the receiver is on and modem status is
    // ignored.
    EXPECT_EQ(t->c_iflag & (IXON | IXOFF | IXANY), 0u);
    EXPECT_EQ(t->c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(t->c_cflag & (CREAD | CLOCAL), static_cast<tcflag_t>(CREAD | CLOCAL));
    // No translation of any byte in either direction, no line editing, no signals, no echo.
    EXPECT_EQ(t->c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP | BRKINT | PARMRK | IUCLC), 0u);
    EXPECT_EQ(t->c_oflag & OPOST, 0u);
    EXPECT_EQ(t->c_lflag & (ICANON | ECHO | ECHONL | ISIG | IEXTEN), 0u);
    EXPECT_EQ(t->c_cc[VMIN], 0);
    EXPECT_EQ(t->c_cc[VTIME], 0);
}

TEST(SerialTermios, SpeedsKnownToTheSystemOnly) {
    const std::pair<uint32_t, speed_t> speeds[] = {{600, B600},     {1200, B1200},   {2400, B2400},
                                                   {4800, B4800},   {9600, B9600},   {19200, B19200},
                                                   {38400, B38400}, {57600, B57600}, {115200, B115200}};
    for (auto [rate, constant] : speeds) {
        auto t = MakeTermios(Line(rate, 8, NOPARITY, ONESTOPBIT));
        ASSERT_TRUE(t) << rate;
        EXPECT_EQ(cfgetospeed(&*t), constant) << rate;
        EXPECT_EQ(cfgetispeed(&*t), constant) << rate;
    }
    EXPECT_FALSE(MakeTermios(Line(0, 8, NOPARITY, ONESTOPBIT)));
    EXPECT_FALSE(MakeTermios(Line(12345, 8, NOPARITY, ONESTOPBIT)));
    EXPECT_FALSE(MakeTermios(Line(38401, 8, NOPARITY, ONESTOPBIT)));
}

TEST(SerialTermios, ApplyPutsTheSettingsOnTheLine) {
    PtyPair pty;
    SerialDevice dev;
    ASSERT_TRUE(dev.Open(pty.SlavePath())) << dev.LastErrorText();
    ASSERT_TRUE(dev.Apply(Line(9600, 7, EVENPARITY, TWOSTOPBITS)));
    // A pty keeps 8 data bits without parity whatever it is told (so no parity check either);
    // the rest of the settings show on the line.
    termios t{};
    ASSERT_EQ(::tcgetattr(pty.Slave(), &t), 0);
    EXPECT_EQ(t.c_cflag & CSTOPB, static_cast<tcflag_t>(CSTOPB));
    EXPECT_EQ(t.c_iflag & (INPCK | IXON | ICRNL), 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B9600));

    // Settings a line cannot take are refused and leave the line as it was.
    EXPECT_FALSE(dev.Apply(Line(38400, 8, NOPARITY, ONE5STOPBITS)));
    EXPECT_EQ(dev.LastError(), EINVAL);
    ASSERT_EQ(::tcgetattr(pty.Slave(), &t), 0);
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B9600));

    // The kernel refuses a second request for parity on a pty: a port reopened with the same
    // settings must still open.
    dev.Close();
    ASSERT_TRUE(dev.Open(pty.SlavePath()));
    EXPECT_TRUE(dev.Apply(Line(9600, 7, EVENPARITY, TWOSTOPBITS))) << dev.LastErrorText();
}

}  // namespace qs::test
