#pragma once
// The simulated controller as the test rig of every test that talks to it over a real link: a
// duravane-sim on its own loopback address (TCP/IP port 7734) and/or a pty mapped to a COM
// port in a "QS3X.INI" of the rig's own, with its arguments, state file and data sets; the
// product's protocols or a document attached to it; and what it received and sent, read back
// from its frame log.
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "LinkKind.h"
#include "SimProcess.h"
#include "TempDir.h"
#include "TestEnv.h"
#include "link/MiniProtocol.h"
#include "link/TerminalProtocol.h"

namespace qs::test {

// One command the simulator took (text frames only) and the reply it sent on the same link
// (`answered` false when it sent none).
struct Exchange {
    int address = -1;
    std::string command;
    std::string reply;
    bool answered = false;
};

class SimRig {
public:
    // The device's command port; the COM port a pty is mapped to unless said otherwise.
    static constexpr unsigned kCommandPort = 7734;
    static constexpr int kComPort = 5;

    struct Setup {
        Transport transport = Transport::Tcp;
        std::vector<std::string> args{};                // persona, faults, addresses ...
        std::string state{};                            // --state file content ("" = none)
        std::map<std::string, std::string> dataSets{};  // files of its --data-dir, by name
        bool dataDir = false;                           // a --data-dir even without data sets
        bool pty = false;                               // a pty as well as the TCP/IP link
        std::string host{};                             // a given loopback address ("" = its own)
        int comPort = kComPort;                         // the COM number the pty is mapped to
        // Definition builds go to it: the process's data home and data folder are the rig's
        // (empty), and "QS3X.INI" names its TCP/IP address as their fallback host.
        bool builds = false;
    };

    explicit SimRig(Setup setup);
    explicit SimRig(Transport transport) : SimRig(Setup{.transport = transport}) {}
    SimRig() : SimRig(Setup{}) {}
    ~SimRig();
    SimRig(const SimRig&) = delete;
    SimRig& operator=(const SimRig&) = delete;

    bool Ready() const { return sim_ && sim_->Running(); }
    std::string Error() const { return sim_ ? sim_->Error() : "not started"; }
    SimProcess& Sim() { return *sim_; }
    const SimProcess& Sim() const { return *sim_; }
    const std::string& Host() const { return sim_->Host(); }
    Transport GetTransport() const { return transport_; }
    int ComPort() const { return comPort_; }

    // A protocol of the framing built by the product's own constructors: the TCP/IP ones with
    // the simulator's address and port 7734, or the serial ones on the mapped COM port.
    std::unique_ptr<TerminalProtocol> Open(Framing framing, int address = 1) const { return Open({transport_, framing}, address); }
    std::unique_ptr<TerminalProtocol> Open(const LinkKind& link, int address = 1) const;
    std::unique_ptr<MiniProtocol> OpenMini(int address = 1) const;

    // Points a document at the simulator with the framing: TCP/IP to its address, or the COM
    // port mapped to its pty.
    template <class Document>
    void Attach(Document& doc, Framing framing) const {
        auto f = doc.GetLinkFields();
        f.protocol = framing == Framing::Mini ? kProtocolMini : kProtocolTerminal;
        if (transport_ == Transport::Tcp) {
            f.port = Document::kPortTcp;
            f.ipv4 = Ipv4Of(Host());
        } else {
            f.port = comPort_;
        }
        doc.SetLinkFields(f);
    }

    // The data folder: where data sets are served from and written to.
    std::string DataFile(const std::string& name) const { return files_.File("data-sets/" + name); }
    void PutDataSet(uint16_t code, const std::string& bytes) const;
    // Where definition builds write (missing until one writes there), and a file built there
    // ("" when missing).
    std::string BuildDir() const { return files_.File("home/quillset"); }
    std::string Built(const std::string& fileName) const;

    // ---- the frame log (noise and loop-back bytes left out)
    std::vector<SimFrame> Received() const;
    std::vector<SimFrame> Sent() const;
    // Text commands in order of arrival with their replies; the commands alone.
    std::vector<Exchange> Exchanges() const;
    std::vector<std::string> Commands() const;
    // Block requests received, unescaped.
    std::vector<std::string> Blocks() const;
    std::set<int> AddressesReceived() const;
    // Frames received over "tcp" or "pty".
    size_t FramesReceivedOver(const std::string& transport) const;
    // Waits until the log holds at least `received` frames in and `sent` out.
    bool WaitForFrames(size_t received, size_t sent) const;
    // Waits until the text command `command` has been received (at `address`, unless -1).
    bool WaitForCommand(const std::string& command, int address = -1,
                        std::chrono::milliseconds timeout = std::chrono::milliseconds(5000)) const;

    // 127.a.b.c as a document keeps it, first octet in the high byte.
    static uint32_t Ipv4Of(const std::string& host);

private:
    Transport transport_;
    int comPort_;
    TempDir files_;  // "QS3X.INI", state file, data sets, data home
    std::unique_ptr<SimProcess> sim_;
    std::vector<std::unique_ptr<ScopedEnv>> env_;
};

// Every text command of a frame log paired with the reply sent to it on the same link.
std::vector<Exchange> ExchangesIn(const std::vector<SimFrame>& log);
std::vector<std::string> BytesOf(const std::vector<SimFrame>& frames);  // each in hex
std::vector<int> AddressesOf(const std::vector<SimFrame>& frames);

// One command on a protocol and its reply.
struct Answer {
    bool sent = false;
    int status = -1;
    std::string reply;
};
Answer Ask(TerminalProtocol& protocol, std::string_view command);

}  // namespace qs::test
