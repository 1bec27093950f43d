#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "link/ComStream.h"
#include "platform/SerialSettings.h"

namespace qs {

// Protocol indexes as documents keep them. TCP/IP links use the same two; the third row of the
// name table is only a name.
enum ProtocolIndex : int { kProtocolTerminal = 0, kProtocolMini = 1, kProtocolNetworkName = 2 };

// "Terminal  (CR)", "Minicomputer (LRC)", "Brask over IP", ""; any other index gives "".
const char* ProtocolName(int index);
inline constexpr int kProtocolNameCount = 4;

// Longitudinal redundancy check: the XOR of every byte.
uint8_t ComputeLrc(const void* data, size_t length);
uint8_t ComputeLrc(std::string_view bytes);

// Copies `length` bytes from src to dst in reverse order (big-endian device fields to host
// order and back) and returns `length`; src and dst may be the same buffer. A negative length
// copies nothing and returns 0.
int ReverseBytes(void* dst, const void* src, int length);

// The value carried by a reply to PV, XV, PC or XC: those replies echo the command and a blank
// ("PV SY 111 5"), so the value is the text from its eleventh character on; empty when the
// reply is shorter.
std::string ReplyValue(const std::string& reply);

// Base of the device protocols: one device address, one framing, and the owned port stream.
// One command and one reply at a time.
class ComProtocol {
public:
    virtual ~ComProtocol();
    ComProtocol(const ComProtocol&) = delete;
    ComProtocol& operator=(const ComProtocol&) = delete;

    // Frames `command` for the device and writes it. Returns the frame written (valid until the
    // next send) or null when nothing or not all of it could be sent; the port status then says
    // why (2 for a command or address refused before sending, else the port's own).
    virtual const std::string* Send(std::string_view command) = 0;
    // Reads one reply. 0: success, `reply` holds the text; 8: the device rejected the command
    // (`reply` holds its "NO.." text, the code is kept); 9: framing or check fault; else the
    // port status of the failed read (1, 6, 7, 9). `reply` is empty after any other failure.
    virtual int Receive(std::string& reply) = 0;

    const char* Name() const { return name_; }
    int Address() const { return address_; }
    // The low byte is kept; only 0-99 can be sent.
    void SetAddress(int address) { address_ = address & 0xFF; }
    int ProtocolIndex() const { return protocolIndex_; }
    // Never null: a stream that could not be made is a closed stream with status 1.
    ComStream* Port() const { return port_.get(); }
    // The frame of the last successful send; empty after a send that failed or was refused.
    const std::string& LastFrame() const { return lastFrame_; }

protected:
    ComProtocol(int comPort, const SerialSettings& settings, int protocolIndex, int address);
    ComProtocol(const std::string& host, unsigned tcpPort, int protocolIndex, int address);
    ComProtocol(std::unique_ptr<ComStream> port, int protocolIndex, int address);

    // Marks a send refused before anything went out: status 2 ("Error In Transmission of
    // Data"), no last frame. Returns null for the caller to pass on.
    const std::string* Refuse();

    const char* name_;
    int address_;
    int protocolIndex_;
    std::unique_ptr<ComStream> port_;
    std::string lastFrame_;
};

}  // namespace qs
