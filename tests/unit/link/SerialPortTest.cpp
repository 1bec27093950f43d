#include <array>
#include <cerrno>
#include <cstring>
#include <string>

#include "SerialFixture.h"
#include "link/ComHandleTable.h"
#include "link/PortFactory.h"
#include "link/SerialPort.h"
#include "platform/SerialDevice.h"

namespace qs::test {

namespace {

const SerialSettings k9600E71{9600, 7, EVENPARITY, ONESTOPBIT};
const SerialSettings k38400N82{38400, 8, NOPARITY, TWOSTOPBITS};

std::string Text(const std::array<char, 64>& buf, int n) { return std::string(buf.data(), static_cast<size_t>(n > 0 ? n : 0)); }

}  // namespace

using SerialPortTest = SerialFixture;

TEST_F(SerialPortTest, OpensTheConfiguredLineAndDescribesIt) {
    SerialPort port(kCom, k9600E71);
    ASSERT_EQ(port.State(), kStateOpen);
    EXPECT_EQ(port.Status(), kStatusOk);
    EXPECT_EQ(port.PortNumber(), kCom);
    EXPECT_FALSE(port.IsNetwork());
    EXPECT_EQ(port.GetDataBits(), 7);
    EXPECT_EQ(port.Describe(5), "Com7:9600,E,7,1 Address:5");
    EXPECT_EQ(port.Describe(0x1FF), "Com7:9600,E,7,1 Address:255");
    termios t{};
    ASSERT_EQ(::tcgetattr(pty_.Slave(), &t), 0);
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B9600));
}

TEST_F(SerialPortTest, RatesOutsideTheTableShowAsTheLast) {
    auto port = OpenSerialPort(kCom, {57600, 8, SPACEPARITY, TWOSTOPBITS});
    ASSERT_EQ(port->State(), kStateOpen);
    EXPECT_EQ(port->Describe(12), "Com7:38400,S,8,2 Address:12");
    EXPECT_EQ(SerialPort::ByteTimeoutMs(SerialPort::BaudIndexOf(57600)), 2142);
    EXPECT_EQ(SerialPort::ByteTimeoutMs(SerialPort::BaudIndexOf(600)), 3000);
    EXPECT_EQ(SerialPort::ByteTimeoutMs(SerialPort::BaudIndexOf(2400)), 2333);
}

TEST_F(SerialPortTest, FixedCountReads) {
    SerialPort port(kCom, k38400N82);
    pty_.DeviceSends("ABCDEF");
    std::array<char, 64> buf{};
    int n = port.Read(buf, 4);
    EXPECT_EQ(Text(buf, n), "ABCD");
    EXPECT_EQ(port.State(), kStateReadOk);
    EXPECT_EQ(port.Status(), kStatusOk);
    // A count larger than the buffer stops at the buffer.
    n = port.Read(std::span(buf).first(1), 10);
    EXPECT_EQ(Text(buf, n), "E");
    n = port.Read(buf, 1);
    EXPECT_EQ(Text(buf, n), "F");
}

TEST_F(SerialPortTest, TerminatedReads) {
    SerialPort port(kCom, k38400N82);
    pty_.DeviceSends("OK\r\nNEXT\nX\x03");
    std::array<char, 64> buf{};
    int n = port.Read(buf, 64, '\n');
    EXPECT_EQ(Text(buf, n), "OK\r\n");
    // Length 0 reads to LF within the buffer.
    n = port.Read(buf, 0);
    EXPECT_EQ(Text(buf, n), "NEXT\n");
    n = port.Read(buf, 64, 0x03);
    EXPECT_EQ(Text(buf, n), "X\x03");
    EXPECT_EQ(port.Status(), kStatusOk);
}

TEST_F(SerialPortTest, TerminatorAsTheLastByteThatFitsIsASuccess) {
    SerialPort port(kCom, k38400N82);
    pty_.DeviceSends("abc\n");
    std::array<char, 64> buf{};
    int n = port.Read(buf, 4, '\n');
    EXPECT_EQ(Text(buf, n), "abc\n");
    EXPECT_EQ(port.Status(), kStatusOk);
}

TEST_F(SerialPortTest, BufferFullBeforeTheTerminatorIsAProtocolError) {
    SerialPort port(kCom, k38400N82);
    pty_.DeviceSends("abcde\n");
    std::array<char, 64> buf{};
    EXPECT_EQ(port.Read(buf, 4, '\n'), 0);
    EXPECT_EQ(port.Status(), kStatusProtocolError);

    // The rest of that reply stays on the line until it is purged.
    int n = port.Read(buf, 0);
    EXPECT_EQ(Text(buf, n), "e\n");

    // With length 0 the caller's buffer is the limit, and nothing is stored past it.
    pty_.DeviceSends("0123456789\n");
    std::array<char, 8> guarded{};
    guarded.fill('#');
    EXPECT_EQ(port.Read(std::span(guarded).first(3), 0), 0);
    EXPECT_EQ(port.Status(), kStatusProtocolError);
    EXPECT_EQ(std::string(guarded.data(), 8), "012#####");
    // A read into no room at all takes nothing from the line.
    EXPECT_EQ(port.Read(std::span<char>(), 0, '\n'), 0);
    EXPECT_EQ(port.Status(), kStatusProtocolError);
    n = port.Read(buf, 0);
    EXPECT_EQ(Text(buf, n), "3456789\n");
}

TEST_F(SerialPortTest, WritesReachTheDeviceAndPurgeDropsStaleInput) {
    SerialPort port(kCom, k38400N82);
    EXPECT_EQ(port.Write("PV SY 111\r\n"), 11);
    EXPECT_EQ(port.Write("\x02" "01GP\x03\x11\x13", 8), 8);
    port.Flush();
    EXPECT_EQ(pty_.DeviceReceives(19), "PV SY 111\r\n\x02" "01GP\x03\x11\x13");

    pty_.DeviceSends("stale\n");
    port.PurgeInput();
    pty_.DeviceSends("fresh\n");
    std::array<char, 64> buf{};
    int n = port.Read(buf, 0);
    EXPECT_EQ(Text(buf, n), "fresh\n");
}

TEST_F(SerialPortTest, FailedOpenLeavesAClosedStreamWithStatus1) {
    for (int com : {kMissingCom, 0, -3, 100, 255}) {
        SerialPort port(com, k38400N82);
        EXPECT_EQ(port.State(), kStateClosed) << com;
        EXPECT_EQ(port.Status(), kStatusCannotOpen) << com;
        EXPECT_EQ(port.Describe(1), "Comm Not Enabled") << com;
        std::array<char, 8> buf{};
        EXPECT_EQ(port.Write("X"), 0);
        EXPECT_EQ(port.Read(buf, 1), 0);
        EXPECT_EQ(port.Status(), kStatusCannotOpen) << com;
    }
    SerialPort missing(kMissingCom, k38400N82);
    EXPECT_EQ(missing.SystemError(), ENOENT);

    ui_.prompt.Answer(IDRETRY);
    EXPECT_EQ(missing.ShowError(nullptr, MB_ABORTRETRYIGNORE | MB_ICONEXCLAMATION), IDRETRY);
    ASSERT_EQ(ui_.prompt.shown.size(), 1u);
    EXPECT_EQ(ui_.prompt.shown[0].text, "Error on serial device at port 8: - Cannot open Communications Port");
    EXPECT_EQ(ui_.prompt.shown[0].caption, "");
    EXPECT_EQ(ui_.prompt.shown[0].type, unsigned(MB_ABORTRETRYIGNORE | MB_ICONEXCLAMATION));
}

TEST_F(SerialPortTest, SettingsTheLineCannotTakeFailTheOpenAndFreeTheLine) {
    {
        SerialPort port(kCom, {9600, 8, NOPARITY, ONE5STOPBITS});
        EXPECT_EQ(port.State(), kStateClosed);
        EXPECT_EQ(port.Status(), kStatusCannotOpen);
        EXPECT_EQ(port.SystemError(), EINVAL);
        EXPECT_EQ(ComHandleTable::UseCount(kCom), 0);
    }
    SerialDevice other;
    EXPECT_TRUE(other.Open(pty_.SlavePath())) << other.LastErrorText();
}

TEST_F(SerialPortTest, ALineHeldElsewhereIsRefused) {
    SerialDevice otherProgram;
    ASSERT_TRUE(otherProgram.Open(pty_.SlavePath()));
    SerialPort port(kCom, k38400N82);
    EXPECT_EQ(port.State(), kStateClosed);
    EXPECT_EQ(port.Status(), kStatusCannotOpen);
    EXPECT_EQ(port.SystemError(), EBUSY);
    otherProgram.Close();

    SerialPort again(kCom, k38400N82);
    EXPECT_EQ(again.State(), kStateOpen);
    EXPECT_FALSE(otherProgram.Open(pty_.SlavePath()));
    EXPECT_EQ(otherProgram.LastError(), EBUSY);
}

TEST_F(SerialPortTest, TwoPortsOnOneComNumberShareTheLineUntilTheLastCloses) {
    auto first = std::make_unique<SerialPort>(kCom, k9600E71);
    auto second = std::make_unique<SerialPort>(kCom, k38400N82);
    ASSERT_EQ(first->State(), kStateOpen);
    ASSERT_EQ(second->State(), kStateOpen);
    EXPECT_EQ(ComHandleTable::UseCount(kCom), 2);
    // The line runs with the first opener's settings, and the second says so.
    EXPECT_EQ(second->Describe(1), "Com7:9600,E,7,1 Address:1");
    EXPECT_EQ(second->GetDataBits(), 7);

    first.reset();
    EXPECT_EQ(ComHandleTable::UseCount(kCom), 1);
    EXPECT_EQ(second->Write("still here"), 10);
    EXPECT_EQ(pty_.DeviceReceives(10), "still here");
    pty_.DeviceSends("yes\n");
    std::array<char, 64> buf{};
    int n = second->Read(buf, 0);
    EXPECT_EQ(Text(buf, n), "yes\n");
    SerialDevice other;
    EXPECT_FALSE(other.Open(pty_.SlavePath()));

    second.reset();
    EXPECT_EQ(ComHandleTable::UseCount(kCom), 0);
    EXPECT_FALSE(ComHandleTable::Find(kCom));
    EXPECT_TRUE(other.Open(pty_.SlavePath())) << other.LastErrorText();
}

TEST_F(SerialPortTest, PlainFunctionsActOnTheOpenLine) {
    std::array<char, 64> buf{};
    EXPECT_FALSE(ComPortWrite(kCom, "x", 1));
    EXPECT_EQ(ComPortLastError(), EBADF);
    EXPECT_EQ(ComPortRead(kCom, buf, 1, -1), -kStatusReceiveError);
    EXPECT_FALSE(ComPortFlush(kCom));
    EXPECT_FALSE(ComPortPurgeInput(kCom));

    SerialPort port(kCom, k38400N82);
    EXPECT_TRUE(ComPortWrite(kCom, "GP\r\n", 4));
    EXPECT_TRUE(ComPortFlush(kCom));
    EXPECT_EQ(pty_.DeviceReceives(4), "GP\r\n");
    pty_.DeviceSends("junk");
    EXPECT_TRUE(ComPortPurgeInput(kCom));
    pty_.DeviceSends("12\r34");
    EXPECT_EQ(ComPortRead(kCom, buf, 2, 256), 2);
    EXPECT_EQ(ComPortRead(kCom, buf, 10, '\r'), 1);
    EXPECT_EQ(ComPortRead(kCom, buf, 1, '\r'), -kStatusProtocolError);
    EXPECT_EQ(ComPortRead(kCom, buf, 1, -1), 1);
    EXPECT_EQ(buf[0], '4');

    EXPECT_EQ(ComPortShowLastError(EBUSY), IDOK);
    ASSERT_EQ(ui_.prompt.shown.size(), 1u);
    EXPECT_EQ(ui_.prompt.shown[0].text, std::strerror(EBUSY));
    EXPECT_EQ(ui_.prompt.shown[0].caption, "Communications Error");
    EXPECT_EQ(ui_.prompt.shown[0].type, unsigned(MB_ICONINFORMATION));
}

TEST_F(SerialPortTest, ALineThatHangsUpFailsTheReadWithItsSystemText) {
    SerialPort port(kCom, k38400N82);
    pty_.CloseMaster();
    std::array<char, 64> buf{};
    EXPECT_EQ(port.Read(buf, 4), 0);
    EXPECT_EQ(port.Status(), kStatusReceiveError);  // an error, not a time-out
    EXPECT_EQ(port.SystemError(), EIO);

    ui_.prompt.Answer(IDOK);
    EXPECT_EQ(port.ShowError("Ignored prefix", MB_OK), IDABORT);
    ASSERT_EQ(ui_.prompt.shown.size(), 1u);
    EXPECT_EQ(ui_.prompt.shown[0].text, std::strerror(EIO));
    EXPECT_EQ(ui_.prompt.shown[0].caption, "Communications Error");
    EXPECT_EQ(ui_.prompt.shown[0].type, unsigned(MB_ICONINFORMATION));
}

}  // namespace qs::test
