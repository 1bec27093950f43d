#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

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
    // After a reply that failed, what is still on its way is read and dropped before the next
    // command until the line has been quiet this long, for at most kMaxDrainMs.
    static constexpr int kQuietMs = 100;
    static constexpr int kMaxDrainMs = 1000;
    // Replies to earlier commands one receive drops before it gives up.
    static constexpr int kMaxStaleReplies = 64;

    // Serial link; the address starts at 1 and is set by the document before connecting.
    TerminalProtocol(int comPort, const SerialSettings& settings, int protocolIndex);
    TerminalProtocol(const std::string& host, unsigned tcpPort, int protocolIndex, int address);
    // Over a stream made elsewhere (tests, or a link opened by other means).
    TerminalProtocol(std::unique_ptr<ComStream> port, int address, int protocolIndex = kProtocolTerminal);

    // Refuses (status 2, nothing sent) an address outside 0-99 and a command holding CR, LF,
    // STX or ETX, which would end or break the frame early.
    const std::string* Send(std::string_view command) override;
    // The replies to PV, XV, PC and XC echo their command ("PV SY 111 5"): after one of those,
    // a reply echoing another command is the late answer to an earlier one and is dropped, and
    // the wait goes on until the deadline of the first; a reply echoing none is a protocol
    // fault (9). Rejections and the replies of other commands are taken as they come.
    int Receive(std::string& reply) final;

    // "PV SY 111" when `text` begins with an echoing command (PV, XV, PC or XC, a blank, a
    // two-character mnemonic, a blank, three digits, then its end or a blank); else empty.
    static std::string_view EchoHead(std::string_view text);

    const std::string& StartText() const { return startText_; }
    const std::string& EndText() const { return endText_; }
    char ReplyTerminator() const { return replyTerminator_; }

protected:
    // The last frame := start text, the address as two digits, `body`, end text (its buffer
    // kept from one command to the next).
    void BuildFrame(std::string_view body);
    // Writes the last frame as the line takes it, in one write.
    virtual bool WriteFrame();
    bool AddressSendable() const { return address_ >= 0 && address_ <= 99; }
    // Writes every byte or fails; a short write never leaves the port looking OK.
    [[nodiscard]] bool WriteAll(std::string_view bytes);
    // What every send does first: the late rest of a failed reply dropped, then what the line
    // holds purged. `echo` is the head the reply must echo ("" when it echoes nothing).
    void PrepareSend(std::string_view echo);
    // Notes how a reply ended: any failure but a rejection makes the next send drain first.
    int Ended(int status);

    // One reply as it comes, without the echo rule.
    virtual int ReceiveReply(std::string& reply);

    // The reply's steps; each returns 0 or the status to give back (also set on the port).
    int SyncOnStart();
    // Up to and including the reply terminator; `body` views the protocol's reply buffer and
    // holds until the next read.
    int ReadTerminated(std::string_view& body, int maxBytes);
    int ReadExact(char* dst, int count);
    int ReadFailure();
    int ProtocolFault();
    // Text after the address digits: a rejection ("NO" and a number) or the reply.
    int FinishTextReply(std::string_view text, std::string& reply);

    std::string startText_ = "*";
    std::string endText_ = "\r\n";
    char replyTerminator_ = '\n';

private:
    void DrainLateReply();

    std::string expectedEcho_;  // the head of the last command sent, when it echoes
    std::vector<char> replyBuffer_;
    bool drainFirst_ = false;   // the last reply failed: its rest may still be on its way
};

}  // namespace qs
