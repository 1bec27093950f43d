#include "ProtocolSimLink.h"

#include <cstdio>

#include "DeviceFrames.h"
#include "platform/SerialSettings.h"

namespace qs::test::protocol_sim {
namespace {

constexpr char kStx = 0x02;
constexpr char kEtx = 0x03;
constexpr char kEsc = 0x1B;

std::string Digits(int address) {
    const int a = (address % 100 + 100) % 100;
    return {static_cast<char>('0' + a / 10), static_cast<char>('0' + a % 10)};
}

char Lrc(std::string_view bytes) {
    unsigned char x = 0;
    for (unsigned char c : bytes) x ^= c;
    return static_cast<char>(x);
}

std::string Escaped(const std::vector<uint8_t>& data) {
    std::string out;
    for (uint8_t b : data) {
        switch (b) {
        case 0x02: out += kEsc; out += 'S'; break;
        case 0x03: out += kEsc; out += 'E'; break;
        case 0x7F: out += kEsc; out += 'P'; break;
        case 0x1B: out += kEsc; out += kEsc; break;
        default: out += static_cast<char>(b);
        }
    }
    return out;
}

// STX NN body ETX LRC and one more byte.
std::string Checked(int address, const std::string& body, char last) {
    const std::string covered = Digits(address) + body + kEtx;
    return std::string(1, kStx) + covered + Lrc(covered) + last;
}

}  // namespace

std::string Name(const LinkKind& kind) {
    return std::string(kind.transport == Transport::Tcp ? "Tcp" : "Pty") + "_" +
           (kind.framing == Framing::Terminal ? "Terminal" : "Mini");
}

std::string RequestBytes(Framing framing, Transport transport, int address, std::string_view command) {
    if (framing == Framing::Terminal) return "*" + Digits(address) + std::string(command) + "\r\n";
    const std::string frame = std::string(1, kStx) + Digits(address) + std::string(command) + kEtx;
    if (transport == Transport::Tcp) return frame;
    return Checked(address, std::string(command), 0x7F) + '\0';
}

std::string BlockRequestBytes(int address, const std::vector<uint8_t>& data) {
    return Checked(address, Escaped(data), 0x7F) + '\0';
}

std::string ReplyBytes(Framing framing, int address, std::string_view text) {
    if (framing == Framing::Terminal) return "*" + Digits(address) + std::string(text) + "\r\n";
    return Checked(address, std::string(text), '\0');
}

std::string BlockReplyBytes(int address, const std::vector<uint8_t>& block) {
    return Checked(address, Escaped(block), '\0');
}

std::string HexOf(std::string_view bytes) { return Hex(std::string(bytes)); }

SimLink::SimLink(Setup setup) : transport_(setup.transport) {
    SimProcess::Options options;
    // The codes these tests use are the state file's alone, whatever the dictionary holds.
    options.args = {"--no-dictionary"};
    options.args.insert(options.args.end(), setup.args.begin(), setup.args.end());
    if (!setup.dataSets.empty()) {
        for (const auto& [name, content] : setup.dataSets) files_.Write(name, content);
        options.args.push_back("--data-dir");
        options.args.push_back(files_.Path());
    }
    options.tcp = transport_ == Transport::Tcp;
    options.pty = transport_ == Transport::Pty;
    sim_ = StartSim(files_, options, setup.state);
    if (transport_ == Transport::Pty && sim_->Running()) {
        files_.Write("QS3X.INI", "[Ports]\nCOM" + std::to_string(kComPort) + "=" + sim_->PtyPath() + "\n");
        ini_ = std::make_unique<ScopedEnv>("QUILLSET_INI", files_.File("QS3X.INI"));
    }
}

SimLink::~SimLink() {
    // The simulator goes before its files.
    sim_.reset();
}

std::unique_ptr<TerminalProtocol> SimLink::Open(Framing framing, int address) {
    if (framing == Framing::Mini) return OpenMini(address);
    std::unique_ptr<TerminalProtocol> p;
    if (transport_ == Transport::Tcp) {
        p = std::make_unique<TerminalProtocol>(sim_->Host(), kCommandPort, kProtocolTerminal, address);
    } else {
        p = std::make_unique<TerminalProtocol>(kComPort, SerialSettings{}, kProtocolTerminal);
        p->SetAddress(address);
    }
    return p;
}

std::unique_ptr<MiniProtocol> SimLink::OpenMini(int address) {
    std::unique_ptr<MiniProtocol> p;
    if (transport_ == Transport::Tcp) {
        p = std::make_unique<MiniProtocol>(sim_->Host(), kCommandPort, kProtocolMini, address);
    } else {
        p = std::make_unique<MiniProtocol>(kComPort, SerialSettings{});
        p->SetAddress(address);
    }
    return p;
}

namespace {

std::vector<SimFrame> Select(const std::vector<SimFrame>& log, bool received) {
    std::vector<SimFrame> out;
    for (const SimFrame& f : log) {
        if (f.kind == "frame" && f.Received() == received) out.push_back(f);
    }
    return out;
}

}  // namespace

std::vector<SimFrame> SimLink::Received() const { return Select(sim_->ReadLog(), true); }
std::vector<SimFrame> SimLink::Sent() const { return Select(sim_->ReadLog(), false); }

bool SimLink::WaitForFrames(size_t rx, size_t tx) const {
    return sim_->WaitForLog([&](const std::vector<SimFrame>& log) {
        return Select(log, true).size() >= rx && Select(log, false).size() >= tx;
    });
}

Answer Ask(TerminalProtocol& protocol, std::string_view command) {
    Answer a;
    a.sent = protocol.Send(command) != nullptr;
    if (a.sent) a.status = protocol.Receive(a.reply);
    return a;
}

std::vector<std::string> BytesOf(const std::vector<SimFrame>& frames) {
    std::vector<std::string> out;
    for (const SimFrame& f : frames) out.push_back(HexOf(f.bytes));
    return out;
}

std::vector<int> AddressesOf(const std::vector<SimFrame>& frames) {
    std::vector<int> out;
    for (const SimFrame& f : frames) out.push_back(f.address);
    return out;
}

}  // namespace qs::test::protocol_sim
