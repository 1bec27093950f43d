#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "link/DX3Protocol.h"

namespace qs {

// Terminal framing: "*", the address as two digits, the command, CR LF; replies come back the
// same way and end at their last CR.
class TerminalProtocol : public DX3Protocol {
public:
    // Start bytes a reply may be preceded by before the search gives up (status 9).
    static constexpr int kMaxNoiseBytes = 4096;
    // Bytes read after the start character, up to and including the reply terminator.
    static constexpr int kMaxReplyBytes = 4096;

    // Serial link; the address starts at 1 and is set by the document before connecting.
    TerminalProtocol(int comPort, const SerialSettings& settings, int protocolIndex);
    TerminalProtocol(const std::string& host, unsigned tcpPort, int protocolIndex, int address);
    // Over a stream made elsewhere (tests, or a link opened by other means).
    TerminalProtocol(std::unique_ptr<ComStream> port, int address, int protocolIndex = kProtocolTerminal);

    // Refuses (status 2, nothing sent) an address outside 0-99 and a command holding CR, LF,
    // STX or ETX, which would end or break the frame early.
    const std::string* Send(std::string_view command) override;
    int Receive(std::string& reply) override;

    const std::string& StartText() const { return startText_; }
    const std::string& EndText() const { return endText_; }
    char ReplyTerminator() const { return replyTerminator_; }

protected:
    // Start text, the address as two digits, `body`, end text.
    std::string Frame(std::string_view body) const;
    bool AddressSendable() const { return address_ >= 0 && address_ <= 99; }
    // Writes every byte or fails; a short write never leaves the port looking OK.
    [[nodiscard]] bool WriteAll(std::string_view bytes);

    // The reply's steps; each returns 0 or the status to give back (also set on the port).
    int SyncOnStart();
    int ReadTerminated(std::string& body, int maxBytes);
    int ReadExact(char* dst, int count);
    int ReadFailure();
    int ProtocolFault();
    // Text after the address digits: a rejection ("NO" and a number) or the reply.
    int FinishTextReply(std::string_view text, std::string& reply);

    std::string startText_ = "*";
    std::string endText_ = "\r\n";
    char replyTerminator_ = '\n';
};

}  // namespace qs
