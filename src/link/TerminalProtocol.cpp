#include "link/TerminalProtocol.h"

#include <limits>
#include <vector>

namespace qs {

namespace {

bool HasFrameBreak(std::string_view command) {
    return command.find_first_of(std::string_view("\r\n\x02\x03", 4)) != std::string_view::npos;
}

}  // namespace

TerminalProtocol::TerminalProtocol(int comPort, const SerialSettings& settings, int protocolIndex)
    : DX3Protocol(comPort, settings, protocolIndex, 1) {}

TerminalProtocol::TerminalProtocol(const std::string& host, unsigned tcpPort, int protocolIndex, int address)
    : DX3Protocol(host, tcpPort, protocolIndex, address) {}

TerminalProtocol::TerminalProtocol(std::unique_ptr<ComStream> port, int address, int protocolIndex)
    : DX3Protocol(std::move(port), protocolIndex, address) {}

std::string TerminalProtocol::Frame(std::string_view body) const {
    // "%02d" of an address already checked to be 0-99.
    const int address = address_ % 100;
    const char digits[2] = {static_cast<char>('0' + address / 10), static_cast<char>('0' + address % 10)};
    std::string frame;
    frame.reserve(startText_.size() + 2 + body.size() + endText_.size());
    frame += startText_;
    frame.append(digits, 2);
    frame += body;
    frame += endText_;
    return frame;
}

bool TerminalProtocol::WriteAll(std::string_view bytes) {
    if (bytes.empty()) return true;
    if (bytes.size() > static_cast<size_t>(std::numeric_limits<int>::max())) {
        port_->SetStatus(kStatusTransmitError);
        return false;
    }
    const int length = static_cast<int>(bytes.size());
    const int written = port_->Write(bytes.data(), length);
    if (written == length) return true;
    // A failed write sets the port's own status; a partial one, or one that left the status
    // of an earlier exchange in place, must still name a failed transmission.
    const int status = port_->Status();
    if (written != 0 || status == kStatusOk || status == kStatusRejected) port_->SetStatus(kStatusTransmitError);
    return false;
}

const std::string* TerminalProtocol::Send(std::string_view command) {
    if (!AddressSendable() || HasFrameBreak(command)) return Refuse();
    port_->PurgeInput();
    lastFrame_ = Frame(command);
    if (!WriteAll(lastFrame_)) {
        lastFrame_.clear();
        return nullptr;
    }
    return &lastFrame_;
}

int TerminalProtocol::ReadFailure() {
    // A read that brought nothing must never look like success.
    const int status = port_->Status();
    if (status == kStatusOk || status == kStatusRejected) port_->SetStatus(kStatusTimeout);
    return port_->Status();
}

int TerminalProtocol::ProtocolFault() {
    port_->SetStatus(kStatusProtocolError);
    return kStatusProtocolError;
}

int TerminalProtocol::ReadExact(char* dst, int count) {
    // A network receive may bring fewer bytes than asked for; every call brings at least one
    // or fails, so this ends after at most `count` reads.
    int have = 0;
    while (have < count) {
        const int got = port_->Read(std::span<char>(dst + have, static_cast<size_t>(count - have)), count - have);
        if (got <= 0 || got > count - have) return ReadFailure();
        have += got;
    }
    return 0;
}

int TerminalProtocol::SyncOnStart() {
    const char start = startText_.empty() ? '\0' : startText_[0];
    for (int skipped = 0; skipped < kMaxNoiseBytes; ++skipped) {
        char byte = 0;
        if (int status = ReadExact(&byte, 1)) return status;
        if (byte == start) return 0;
    }
    // A line that streams anything but replies must not hold the program.
    return ProtocolFault();
}

int TerminalProtocol::ReadTerminated(std::string& body, int maxBytes) {
    std::vector<char> buffer(static_cast<size_t>(maxBytes));
    const int got = port_->Read(buffer, maxBytes, static_cast<unsigned char>(replyTerminator_));
    if (got <= 0 || got > maxBytes) {
        body.clear();
        return ReadFailure();
    }
    // A network read can end early with what it had; without its terminator it is no reply.
    if (buffer[static_cast<size_t>(got) - 1] != replyTerminator_) {
        body.clear();
        const int status = port_->Status();
        if (status == kStatusOk || status == kStatusRejected) return ProtocolFault();
        return status;
    }
    body.assign(buffer.data(), static_cast<size_t>(got));
    return 0;
}

int TerminalProtocol::FinishTextReply(std::string_view text, std::string& reply) {
    if (text.size() >= 2 && text[0] == 'N' && text[1] == 'O') {
        uint32_t code = 0;
        for (size_t i = 2; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            const uint32_t digit = static_cast<uint32_t>(text[i] - '0');
            code = code > (std::numeric_limits<uint32_t>::max() - digit) / 10 ? std::numeric_limits<uint32_t>::max()
                                                                              : code * 10 + digit;
        }
        lastCode_ = code;
        reply.assign(text);
        port_->SetStatus(kStatusRejected);
        return kStatusRejected;
    }
    reply.assign(text);
    port_->SetStatus(kStatusOk);
    return kStatusOk;
}

int TerminalProtocol::Receive(std::string& reply) {
    reply.clear();
    if (int status = SyncOnStart()) return status;
    std::string body;
    if (int status = ReadTerminated(body, kMaxReplyBytes)) return status;
    const size_t cr = body.rfind('\r');
    // The text sits between the two address digits and the last CR.
    if (cr == std::string::npos || cr < 2) return ProtocolFault();
    return FinishTextReply(std::string_view(body).substr(2, cr - 2), reply);
}

}  // namespace qs
