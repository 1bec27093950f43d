#include "link/TerminalProtocol.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "platform/UiServices.h"

namespace qs {

namespace {

bool HasFrameBreak(std::string_view command) {
    return command.find_first_of(std::string_view("\r\n\x02\x03", 4)) != std::string_view::npos;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

TerminalProtocol::TerminalProtocol(int comPort, const SerialSettings& settings, int protocolIndex)
    : DX3Protocol(comPort, settings, protocolIndex, 1) {}

TerminalProtocol::TerminalProtocol(const std::string& host, unsigned tcpPort, int protocolIndex, int address)
    : DX3Protocol(host, tcpPort, protocolIndex, address) {}

TerminalProtocol::TerminalProtocol(std::unique_ptr<ComStream> port, int address, int protocolIndex)
    : DX3Protocol(std::move(port), protocolIndex, address) {}

void TerminalProtocol::BuildFrame(std::string_view body) {
    // "%02d" of an address already checked to be 0-99.
    const int address = address_ % 100;
    const char digits[2] = {static_cast<char>('0' + address / 10), static_cast<char>('0' + address % 10)};
    lastFrame_.clear();
    lastFrame_ += startText_;
    lastFrame_.append(digits, 2);
    lastFrame_ += body;
    lastFrame_ += endText_;
}

bool TerminalProtocol::WriteFrame() { return WriteAll(lastFrame_); }

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

std::string_view TerminalProtocol::EchoHead(std::string_view text) {
    constexpr size_t kHead = 9;  // "PV SY 111"
    if (text.size() < kHead || (text.size() > kHead && text[kHead] != ' ')) return {};
    const std::string_view verb = text.substr(0, 2);
    if (verb != "PV" && verb != "XV" && verb != "PC" && verb != "XC") return {};
    if (text[2] != ' ' || text[5] != ' ' || text[3] == ' ' || text[4] == ' ') return {};
    if (!IsDigit(text[6]) || !IsDigit(text[7]) || !IsDigit(text[8])) return {};
    return text.substr(0, kHead);
}

void TerminalProtocol::DrainLateReply() {
    // Read in small pieces: a serial read of a fixed count waits for all of them.
    constexpr size_t kMaxDrainBytes = 1 << 16;
    char scratch[256];
    const int piece = port_->IsNetwork() ? static_cast<int>(sizeof scratch) : 1;
    const PortStatus status = port_->Status();
    const Clock& clock = UiClock();
    const int64_t end = clock.NowMs() + kMaxDrainMs;
    size_t drained = 0;
    for (int64_t now = clock.NowMs(); now < end && drained < kMaxDrainBytes; now = clock.NowMs()) {
        port_->LimitWaits(std::min(now + kQuietMs, end));
        const int got = port_->Read(std::span<char>(scratch, static_cast<size_t>(piece)), piece);
        if (got <= 0) break;
        drained += static_cast<size_t>(got);
    }
    port_->LimitWaits(0);
    // The quiet that ended the drain is no failure of the command about to go out.
    if (port_->State() >= kStateOpen) port_->SetStatus(status);
}

void TerminalProtocol::PrepareSend(std::string_view echo) {
    if (drainFirst_) {
        drainFirst_ = false;
        DrainLateReply();
    }
    port_->PurgeInput();
    expectedEcho_.assign(echo);
}

int TerminalProtocol::Ended(int status) {
    drainFirst_ = status != kStatusOk && status != kStatusRejected;
    return status;
}

const std::string* TerminalProtocol::Send(std::string_view command) {
    if (!AddressSendable() || HasFrameBreak(command)) return Refuse();
    PrepareSend(EchoHead(command));
    BuildFrame(command);
    if (!WriteFrame()) {
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

int TerminalProtocol::ReadTerminated(std::string_view& body, int maxBytes) {
    body = {};
    // One buffer for every reply of the protocol's life.
    if (replyBuffer_.size() < static_cast<size_t>(maxBytes)) replyBuffer_.resize(static_cast<size_t>(maxBytes));
    const std::span<char> buffer(replyBuffer_.data(), static_cast<size_t>(maxBytes));
    const int got = port_->Read(buffer, maxBytes, static_cast<unsigned char>(replyTerminator_));
    if (got <= 0 || got > maxBytes) return ReadFailure();
    // A network read can end early with what it had; without its terminator it is no reply.
    if (buffer[static_cast<size_t>(got) - 1] != replyTerminator_) {
        const int status = port_->Status();
        if (status == kStatusOk || status == kStatusRejected) return ProtocolFault();
        return status;
    }
    body = std::string_view(buffer.data(), static_cast<size_t>(got));
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
    // The deadline of the first wait holds for the replies that follow a stale one.
    const int64_t deadline = UiClock().NowMs() + port_->ReadWaitMs();
    for (int stale = 0;; ++stale) {
        const int status = ReceiveReply(reply);
        if (status != kStatusOk || expectedEcho_.empty()) {
            port_->LimitWaits(0);
            return Ended(status);
        }
        const std::string_view head = EchoHead(reply);
        if (head == expectedEcho_) {
            port_->LimitWaits(0);
            return Ended(status);
        }
        if (head.empty() || stale >= kMaxStaleReplies) {
            port_->LimitWaits(0);
            reply.clear();
            return Ended(ProtocolFault());
        }
        port_->LimitWaits(deadline);
    }
}

int TerminalProtocol::ReceiveReply(std::string& reply) {
    reply.clear();
    if (int status = SyncOnStart()) return status;
    std::string_view body;
    if (int status = ReadTerminated(body, kMaxReplyBytes)) return status;
    const size_t cr = body.rfind('\r');
    // The text sits between the two address digits and the last CR.
    if (cr == std::string_view::npos || cr < 2) return ProtocolFault();
    return FinishTextReply(body.substr(2, cr - 2), reply);
}

}  // namespace qs
