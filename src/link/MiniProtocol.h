#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/TerminalProtocol.h"

namespace qs {

// Minicomputer framing: STX, the address as two digits, the command, ETX, checked by an LRC;
// and the escaped binary blocks every bulk transfer rides on.
class MiniProtocol : public TerminalProtocol {
public:
    // The largest data block SendBinary takes; its escaped form may be twice as long.
    static constexpr size_t kMaxBlockBytes = 1024;
    // Bytes read after STX of a binary reply, up to and including ETX.
    static constexpr int kMaxBinaryReplyBytes = 4095;
    // A binary reply echoes the five-byte request head and carries a two-byte status word.
    static constexpr size_t kMinBinaryReplyBytes = 7;

    MiniProtocol(int comPort, const SerialSettings& settings);
    MiniProtocol(const std::string& host, unsigned tcpPort, int protocolIndex, int address);
    MiniProtocol(std::unique_ptr<ComStream> port, int address);

    // Escapes `data` (at most kMaxBlockBytes, else refused with status 2 and nothing sent) into
    // a frame, followed on every link by the LRC, 0x7F and 0x00. Returns the frame (STX to ETX)
    // or null.
    virtual const std::string* SendBinary(std::span<const uint8_t> data);
    // Reads one binary reply into `out` (unescaped, the address digits dropped). Returns the
    // byte count, or minus a status: -8 when the status word out[5..6] has its top bit set
    // (`out` kept, the word is the last code), -9 for a framing, check or length fault, else
    // minus the port status of the failed read (`out` empty).
    virtual int ReceiveBinary(std::vector<uint8_t>& out);
    virtual int GetDataBits() const;

    // 0x02 -> ESC 'S', 0x03 -> ESC 'E', 0x7F -> ESC 'P', ESC -> ESC ESC; others as they are.
    static std::string Escape(std::span<const uint8_t> data);
    // The reverse; ESC followed by any other byte, or by nothing, gives 0x00.
    static std::vector<uint8_t> Unescape(std::string_view escaped);
    // The same into `out` (its buffer kept).
    static void UnescapeInto(std::string_view escaped, std::vector<uint8_t>& out);

protected:
    int ReceiveReply(std::string& reply) override;
    // A text frame: on a serial link followed by its LRC, 0x7F and 0x00 in the same write; on
    // TCP/IP alone.
    bool WriteFrame() override;

private:
    // The last frame followed by its LRC (after STX), 0x7F and 0x00, in one write.
    bool WriteWithTrailer();
    // STX, the body up to ETX, then LRC and pad; the body (address digits on, ETX off) is
    // returned once its LRC is right. 0 or the status to give back.
    int ReadCheckedFrame(std::string_view& body, int maxBytes);

    std::string wire_;  // a frame with its check bytes, its buffer kept from one send to the next
};

}  // namespace qs
