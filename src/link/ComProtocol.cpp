#include "link/ComProtocol.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "link/PortFactory.h"

namespace qs {

namespace {

const char* const kProtocolNames[kProtocolNameCount] = {"Terminal  (CR)", "Minicomputer (LRC)", "Brask over IP", ""};

// Stands in for a stream that was never made, so the protocol never has to test for null:
// everything fails the way an unopened port does.
class ClosedStream final : public ComStream {
public:
    ClosedStream() { status_ = kStatusCannotOpen; }
    int Write(const char*, int) override { return 0; }
    int Read(std::span<char>, int, int) override { return 0; }
    void Flush() override {}
    void PurgeInput() override {}
    std::string Describe(int) const override { return "Comm Not Enabled"; }
    bool IsNetwork() const override { return false; }
    int GetDataBits() const override { return 8; }
    int ReadWaitMs() const override { return 0; }
};

std::unique_ptr<ComStream> OrClosed(std::unique_ptr<ComStream> port) {
    if (port) return port;
    return std::make_unique<ClosedStream>();
}

}  // namespace

const char* ProtocolName(int index) {
    if (index < 0 || index >= kProtocolNameCount) return "";
    return kProtocolNames[index];
}

uint8_t ComputeLrc(const void* data, size_t length) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    uint8_t lrc = 0;
    for (size_t i = 0; i < length; ++i) lrc ^= bytes[i];
    return lrc;
}

uint8_t ComputeLrc(std::string_view bytes) { return ComputeLrc(bytes.data(), bytes.size()); }

int ReverseBytes(void* dst, const void* src, int length) {
    if (length <= 0) return 0;
    const auto* from = static_cast<const uint8_t*>(src);
    auto* to = static_cast<uint8_t*>(dst);
    // A copy first, so a reversal in place (or between overlapping fields) reads no byte it
    // has already overwritten.
    std::vector<uint8_t> copy(from, from + length);
    std::reverse_copy(copy.begin(), copy.end(), to);
    return length;
}

std::string ReplyValue(const std::string& reply) {
    constexpr size_t kValueOffset = 10;
    if (reply.size() <= kValueOffset) return {};
    return reply.substr(kValueOffset);
}

ComProtocol::ComProtocol(int comPort, const SerialSettings& settings, int protocolIndex, int address)
    : ComProtocol(OpenSerialPort(comPort, settings), protocolIndex, address) {}

ComProtocol::ComProtocol(const std::string& host, unsigned tcpPort, int protocolIndex, int address)
    : ComProtocol(OpenTcpPort(host, tcpPort), protocolIndex, address) {}

ComProtocol::ComProtocol(std::unique_ptr<ComStream> port, int protocolIndex, int address)
    : name_(ProtocolName(protocolIndex)),
      address_(address & 0xFF),
      protocolIndex_(protocolIndex),
      port_(OrClosed(std::move(port))) {}

ComProtocol::~ComProtocol() = default;

const std::string* ComProtocol::Refuse() {
    lastFrame_.clear();
    port_->SetStatus(kStatusTransmitError);
    return nullptr;
}

}  // namespace qs
