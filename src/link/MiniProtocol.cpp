#include "link/MiniProtocol.h"

namespace qs {

namespace {

constexpr char kStx = 0x02;
constexpr char kEtx = 0x03;
constexpr char kEsc = 0x1B;
constexpr char kDel = 0x7F;

}  // namespace

MiniProtocol::MiniProtocol(int comPort, const SerialSettings& settings)
    : TerminalProtocol(comPort, settings, kProtocolMini) {
    startText_ = std::string(1, kStx);
    endText_ = std::string(1, kEtx);
    replyTerminator_ = kEtx;
}

MiniProtocol::MiniProtocol(const std::string& host, unsigned tcpPort, int protocolIndex, int address)
    : TerminalProtocol(host, tcpPort, protocolIndex, address) {
    startText_ = std::string(1, kStx);
    endText_ = std::string(1, kEtx);
    replyTerminator_ = kEtx;
}

MiniProtocol::MiniProtocol(std::unique_ptr<ComStream> port, int address)
    : TerminalProtocol(std::move(port), address, kProtocolMini) {
    startText_ = std::string(1, kStx);
    endText_ = std::string(1, kEtx);
    replyTerminator_ = kEtx;
}

std::string MiniProtocol::Escape(std::span<const uint8_t> data) {
    std::string escaped;
    escaped.reserve(data.size() * 2);
    for (uint8_t b : data) {
        switch (static_cast<char>(b)) {
        case kStx: escaped += kEsc; escaped += 'S'; break;
        case kEtx: escaped += kEsc; escaped += 'E'; break;
        case kDel: escaped += kEsc; escaped += 'P'; break;
        case kEsc: escaped += kEsc; escaped += kEsc; break;
        default: escaped += static_cast<char>(b); break;
        }
    }
    return escaped;
}

std::vector<uint8_t> MiniProtocol::Unescape(std::string_view escaped) {
    std::vector<uint8_t> out;
    UnescapeInto(escaped, out);
    return out;
}

void MiniProtocol::UnescapeInto(std::string_view escaped, std::vector<uint8_t>& out) {
    out.clear();
    out.reserve(escaped.size());
    for (size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] != kEsc) {
            out.push_back(static_cast<uint8_t>(escaped[i]));
            continue;
        }
        const char next = i + 1 < escaped.size() ? escaped[++i] : '\0';
        switch (next) {
        case 'S': out.push_back(0x02); break;
        case 'E': out.push_back(0x03); break;
        case 'P': out.push_back(0x7F); break;
        case kEsc: out.push_back(0x1B); break;
        default: out.push_back(0x00); break;
        }
    }
}

bool MiniProtocol::WriteWithTrailer() {
    wire_.assign(lastFrame_);
    wire_ += static_cast<char>(ComputeLrc(std::string_view(lastFrame_).substr(1)));
    wire_ += kDel;
    wire_ += '\0';
    return WriteAll(wire_);
}

bool MiniProtocol::WriteFrame() {
    // On TCP/IP the device takes the text frame without its check bytes.
    return port_->IsNetwork() ? TerminalProtocol::WriteFrame() : WriteWithTrailer();
}

const std::string* MiniProtocol::SendBinary(std::span<const uint8_t> data) {
    if (data.size() > kMaxBlockBytes || !AddressSendable()) return Refuse();
    PrepareSend({});
    BuildFrame(Escape(data));
    if (!WriteWithTrailer()) {
        lastFrame_.clear();
        return nullptr;
    }
    return &lastFrame_;
}

int MiniProtocol::ReadCheckedFrame(std::string_view& body, int maxBytes) {
    body = {};
    if (int status = SyncOnStart()) return status;
    std::string_view frame;
    if (int status = ReadTerminated(frame, maxBytes)) return status;
    char check[2] = {};
    if (int status = ReadExact(check, 2)) return status;
    // The LRC covers everything after STX through ETX.
    if (ComputeLrc(frame) != static_cast<uint8_t>(check[0])) return ProtocolFault();
    frame.remove_suffix(1);
    body = frame;
    return 0;
}

int MiniProtocol::ReceiveReply(std::string& reply) {
    reply.clear();
    std::string_view body;
    if (int status = ReadCheckedFrame(body, kMaxReplyBytes)) return status;
    if (body.size() < 2) return ProtocolFault();
    return FinishTextReply(body.substr(2), reply);
}

int MiniProtocol::ReceiveBinary(std::vector<uint8_t>& out) {
    out.clear();
    std::string_view body;
    if (int status = ReadCheckedFrame(body, kMaxBinaryReplyBytes)) return -Ended(status);
    if (body.size() < 2) return -Ended(ProtocolFault());
    UnescapeInto(body.substr(2), out);
    if (out.size() < kMinBinaryReplyBytes) {
        out.clear();
        return -Ended(ProtocolFault());
    }
    Ended(kStatusOk);
    lastCode_ = static_cast<uint32_t>(out[5]) << 8 | out[6];
    if (lastCode_ & 0x8000) {
        port_->SetStatus(kStatusRejected);
        return -kStatusRejected;
    }
    port_->SetStatus(kStatusOk);
    return static_cast<int>(out.size());
}

int MiniProtocol::GetDataBits() const { return port_->GetDataBits(); }

}  // namespace qs
