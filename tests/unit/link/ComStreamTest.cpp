#include <gtest/gtest.h>

#include "RecordingUi.h"
#include "link/ComStream.h"
#include "link/SerialPort.h"

namespace qs::test {

TEST(ComStream, StatusTextsAreTheSystemsOwn) {
    const char* expected[] = {
        "Communications status OK",           "Cannot open Communications Port",
        "Error In Transmission of Data",      "Parity Error detected in response",
        "Framing Error detected in response", "Overrrun Error detected in response",
        "Error receiving response",           "Timeout waiting for response",
        "Transmitted Command was rejected",   "Protocol error in response",
    };
    for (int i = 0; i < 10; ++i) EXPECT_STREQ(ComStream::StatusText(i), expected[i]) << i;
    EXPECT_STREQ(ComStream::StatusText(-1), "");
    EXPECT_STREQ(ComStream::StatusText(10), "");
}

TEST(ComStream, ShowErrorJoinsPrefixAndStatusText) {
    RecordingUi ui;
    SerialPort port(0, {});  // never opens: status 1
    for (PortStatus status : {kStatusOk, kStatusParity, kStatusRejected, kStatusProtocolError}) {
        port.SetStatus(status);
        ui.prompt.Answer(IDIGNORE);
        EXPECT_EQ(port.ShowError("Cannot read Duravane.NET", MB_ABORTRETRYIGNORE), IDIGNORE);
        EXPECT_EQ(ui.LastMessage(), std::string("Cannot read Duravane.NET - ") + ComStream::StatusText(status));
        EXPECT_EQ(ui.prompt.shown.back().type, unsigned(MB_ABORTRETRYIGNORE));
        EXPECT_EQ(ui.prompt.shown.back().caption, "");
    }
    port.SetStatus(kStatusTimeout);
    EXPECT_EQ(port.ShowError(nullptr, MB_OK), IDOK);
    EXPECT_EQ(ui.LastMessage(), "Error on serial device at port 0: - Timeout waiting for response");
}

TEST(ComStream, BaudAndParityTables) {
    const char* texts[] = {"600", "1200", "2400", "4800", "9600", "19200", "38400"};
    const uint32_t rates[] = {600, 1200, 2400, 4800, 9600, 19200, 38400};
    const int timeouts[] = {3000, 2500, 2333, 2250, 2200, 2166, 2142};
    for (int i = 0; i < 7; ++i) {
        EXPECT_STREQ(SerialPort::BaudText(i), texts[i]);
        EXPECT_EQ(SerialPort::BaudIndexOf(rates[i]), i);
        EXPECT_EQ(SerialPort::ByteTimeoutMs(i), timeouts[i]);
    }
    EXPECT_STREQ(SerialPort::BaudText(7), "");
    EXPECT_EQ(SerialPort::BaudIndexOf(115200), 6);
    EXPECT_EQ(SerialPort::BaudIndexOf(300), 6);
    const char letters[] = "NOEMS";
    for (int i = 0; i < 5; ++i) EXPECT_EQ(SerialPort::ParityLetter(i), letters[i]);
    EXPECT_EQ(SerialPort::ParityLetter(5), '?');
}

}  // namespace qs::test
