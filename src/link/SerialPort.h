#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "link/ComHandleTable.h"
#include "link/ComStream.h"
#include "platform/SerialSettings.h"

namespace qs {

// What Describe shows of a serial line.
struct s_com_opts {
    int32_t baudIndex = 6;  // 0-6: 600 ... 38400 (any other rate shows as 6)
    uint8_t parity = NOPARITY;  // 0-4, the letters "NOEMS"
    uint8_t dataBits = 8;
    uint8_t stopBits = 1;   // as shown: 1 or 2
};

// A serial line to the device. Every SerialPort on one COM number shares the line opened by
// the first of them (with that one's settings); the line closes with the last.
class SerialPort : public ComStream, public s_com_opts {
public:
    static constexpr int kBaudCount = 7;

    // Opens COM `comPort` (1-99) with `settings`; a port that cannot be opened, a COM number
    // outside 1-99 or settings the line cannot take leave state 0 and status 1.
    SerialPort(int comPort, const SerialSettings& settings);
    ~SerialPort() override;
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    int Write(const char* data, int length = 0) override;
    int Read(std::span<char> buffer, int length, int terminator = -1) override;
    void Flush() override;
    void PurgeInput() override;
    // "Com%d:%s,%c,%d,%d Address:%d", or "Comm Not Enabled" when not open.
    std::string Describe(int address) const override;
    bool IsNetwork() const override { return false; }
    int GetDataBits() const override { return dataBits; }
    int ReadWaitMs() const override;

    // "600" ... "38400"; "" outside 0-6.
    static const char* BaudText(int baudIndex);
    // 600 -> 0, 1200 -> 1, 2400 -> 2, 4800 -> 3, 9600 -> 4, 19200 -> 5, any other rate -> 6.
    static int BaudIndexOf(uint32_t baudRate);
    // 'N', 'O', 'E', 'M', 'S' by parity code; '?' outside 0-4.
    static char ParityLetter(int parity);
    // How long a read waits for each byte: 1000 / (baud index + 1) + 2000 ms.
    static int ByteTimeoutMs(int baudIndex);

private:
    std::shared_ptr<ComHandle> handle_;
};

}  // namespace qs
