#pragma once
// The product's protocols talking to duravane-sim over a real link: a loopback TCP connection
// to the simulator's own address, or the simulator's pty opened as a COM port through
// QS3X.INI. The expected wire bytes are built here by hand from the framing rules, so a test
// compares two independent readings of the wire format: the product's and the simulator's.
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "SimProcess.h"
#include "TempDir.h"
#include "TestEnv.h"
#include "link/MiniProtocol.h"
#include "link/TerminalProtocol.h"

namespace qs::test::protocol_sim {

enum class Transport { Tcp, Pty };
enum class Framing { Terminal, Mini };

struct LinkKind {
    Transport transport;
    Framing framing;
};
std::string Name(const LinkKind& kind);  // "Tcp_Terminal", "Pty_Mini", ...

// The device's command port.
inline constexpr unsigned kCommandPort = 7734;
// The COM number the simulator's pty is mapped to.
inline constexpr int kComPort = 5;

// What the program must put on the wire for `command` to `address`: "*" NN command CR LF, or
// STX NN command ETX followed on a serial line by the LRC, 0x7F, 0x00.
std::string RequestBytes(Framing framing, Transport transport, int address, std::string_view command);
// A binary block request: STX NN escaped data ETX LRC 0x7F 0x00 on every link.
std::string BlockRequestBytes(int address, const std::vector<uint8_t>& data);
// What the simulator answers with `text`: "*" NN text CR LF, or STX NN text ETX LRC pad.
std::string ReplyBytes(Framing framing, int address, std::string_view text);
// A binary reply (`block` unescaped): STX NN escaped block ETX LRC pad.
std::string BlockReplyBytes(int address, const std::vector<uint8_t>& block);

std::string HexOf(std::string_view bytes);

// One simulator and the way to reach it.
class SimLink {
public:
    struct Setup {
        Transport transport = Transport::Tcp;
        std::vector<std::string> args{};                    // persona, faults, addresses ...
        std::string state{};                                // --state file: the only codes there are
        std::map<std::string, std::string> dataSets{};      // --data-dir files by name
    };

    explicit SimLink(Setup setup);
    ~SimLink();

    bool Ready() const { return sim_ && sim_->Running(); }
    std::string Error() const { return sim_ ? sim_->Error() : "not started"; }
    SimProcess& Sim() { return *sim_; }
    const SimProcess& Sim() const { return *sim_; }
    Transport GetTransport() const { return transport_; }

    // A protocol of the framing on this link, built by the product's own constructors: the
    // TCP/IP ones with the simulator's address and port 7734, or the serial ones on COM 5.
    std::unique_ptr<TerminalProtocol> Open(Framing framing, int address = 1);
    std::unique_ptr<MiniProtocol> OpenMini(int address = 1);

    // Frames of the log (noise and loop-back bytes left out), received or sent by the simulator.
    std::vector<SimFrame> Received() const;
    std::vector<SimFrame> Sent() const;
    // Waits until the log holds at least `rx` received and `tx` sent frames.
    bool WaitForFrames(size_t rx, size_t tx) const;

private:
    Transport transport_;
    TempDir files_;  // state file, data sets and QS3X.INI
    std::unique_ptr<ScopedEnv> ini_;
    std::unique_ptr<SimProcess> sim_;
};

// One command and its reply.
struct Answer {
    bool sent = false;
    int status = -1;
    std::string reply;
};
Answer Ask(TerminalProtocol& protocol, std::string_view command);

// Wall time of one call, for checks that a failure came at once or only after its deadline.
template <typename F>
std::chrono::milliseconds Timed(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
}

std::vector<std::string> BytesOf(const std::vector<SimFrame>& frames);
std::vector<int> AddressesOf(const std::vector<SimFrame>& frames);

}  // namespace qs::test::protocol_sim
