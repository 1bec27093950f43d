#pragma once
// Program-data documents talking to duravane-sim over a real link: a loopback TCP connection
// to the simulator's own address, or the simulator's pty opened as a COM port through
// QS3X.INI. What the simulator received and answered is read back from its frame log. The
// start-up and log reading here also serve the document-less model rig (ModelSimDevice.h).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "SimProcess.h"
#include "TempDir.h"
#include "TestEnv.h"
#include "link/ComPortTable.h"
#include "programdata/CVexa3Doc.h"
#include "programdata/DefinitionSource.h"

namespace qs::test::docsim {

enum class Transport { Tcp, Pty };

struct LinkKind {
    Transport transport;
    int protocolKind;  // 0 Terminal, 1 Minicomputer
};
std::string Name(const LinkKind& kind);  // "Tcp_Terminal", "Pty_Mini", ...

// The COM number a simulator's pty is mapped to.
inline constexpr int kComPort = 5;

// The definition files the build made from the dictionary source.
inline DefinitionSource BuiltDictionary() {
    DefinitionSource s;
    s.searchDirs = {QS_DATA_BUILD_DIR};
    return s;
}

// 127.a.b.c as the document keeps it, first octet in the high byte.
uint32_t Ipv4Of(const std::string& host);

// One command the simulator answered (or left unanswered: `answered` false).
struct Exchange {
    int address = -1;
    std::string command;
    std::string reply;
    bool answered = false;
};

// Every text command of a frame log paired with the reply sent to it on the same link, in
// order of arrival.
std::vector<Exchange> ExchangesIn(const std::vector<SimFrame>& log);
std::vector<std::string> CommandsOf(const std::vector<Exchange>& exchanges);
// Whether the log holds at least `received` frames in and `sent` out (text frames alone when
// `textOnly`).
bool HasFrames(const std::vector<SimFrame>& log, size_t received, size_t sent, bool textOnly);

class SimDevice {
public:
    struct Setup {
        Transport transport = Transport::Tcp;
        std::vector<std::string> args{};  // persona, faults, addresses ...
        std::string state{};              // --state file content ("" = none)
        std::string host{};               // a given loopback address ("" = one of its own)
    };

    explicit SimDevice(Setup setup);
    ~SimDevice();

    bool Ready() const { return sim_ && sim_->Running(); }
    std::string Error() const { return sim_ ? sim_->Error() : "not started"; }
    SimProcess& Sim() { return *sim_; }
    const std::string& Host() const { return sim_->Host(); }

    // Points the document at this device with the given framing: TCP/IP to the simulator's
    // address, or COM 5 mapped to its pty.
    void Attach(CVexa3Doc& doc, int protocolKind) const;

    // Every text command received, paired with the reply sent to it, in order.
    std::vector<Exchange> Exchanges() const;
    // The commands alone.
    std::vector<std::string> Commands() const;
    // Waits until the log holds at least `received` commands and `sent` replies.
    bool WaitForFrames(size_t received, size_t sent) const;

private:
    Transport transport_;
    TempDir files_;  // state file and QS3X.INI
    std::unique_ptr<ScopedEnv> ini_;
    std::unique_ptr<SimProcess> sim_;
};

}  // namespace qs::test::docsim
