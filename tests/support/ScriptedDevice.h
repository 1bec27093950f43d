#pragma once
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "DeviceFrames.h"
#include "ScriptedStream.h"
#include "link/ComProtocol.h"
#include "link/MiniProtocol.h"
#include "link/TerminalProtocol.h"

namespace qs::test {

// The device at the far end of a scripted line, for unit tests. Each command it is sent is
// answered, in the framing it came in, by the next entry of its script (Reply, Reject,
// Silence, Raw); with the script used up, a block request ("SV ") is served from `dataSet`
// and a text command by `answer`. It keeps what it took, over every line it was given.
//
// Lines come from Line() (a scripted stream), Open()/OpenMini() (a protocol over one), or a
// document's TCP/IP link (Attach). `stream` is the line made last.
class ScriptedDevice {
public:
    struct Sent {
        int address;
        std::string command;
        bool operator==(const Sent&) const = default;
    };

    // ---- the script: one entry per command, in order
    // `text` from `address` (-1: the address the command was sent to).
    void Reply(const std::string& text, int address = -1) { script_.push_back({Entry::kText, text, address}); }
    // "NOnn".
    void Reject(int code);
    // No answer at all: the read times out.
    void Silence() { script_.push_back({Entry::kRaw, "", -1}); }
    // These bytes on the wire, as they are.
    void Raw(const std::string& bytes) { script_.push_back({Entry::kRaw, bytes, -1}); }
    size_t Unanswered() const { return script_.size(); }

    // ---- with the script used up
    // The reply text to a command at an address ("" for no answer); unset, nothing is answered.
    std::function<std::string(int address, const std::string& command)> answer;
    // A controller at every address: "PV" gets a value naming the address and code
    // ("2:SY 104"), "XV" level 2, every other command its echo.
    static std::string Controller(int address, const std::string& command);
    // The data set block requests read, `blockSize` data bytes a block (block 0: its length and
    // CRC-32; past the end: status 0x8001); every other block is acknowledged. `onBlock` may
    // answer a block its own way first (the whole reply on the wire, "" for none), given its
    // bytes and its number counted from 0.
    std::string dataSet;
    size_t blockSize = 500;
    std::function<std::optional<std::string>(const std::string& block, int index)> onBlock;

    // ---- lines to it
    std::unique_ptr<ScriptedStream> Line(bool network = false, int dataBits = 8);
    // A Terminal protocol (or with `framing` Mini, a Minicomputer one) at `address` over a line.
    std::unique_ptr<TerminalProtocol> Open(Framing framing = Framing::Terminal, int address = 1, bool network = false);
    std::unique_ptr<MiniProtocol> OpenMini(bool network = false, int dataBits = 8, int address = 1);
    // Gives a document a Terminal protocol over a new line each time it builds its TCP/IP link;
    // with `opens` false the line is closed, as a connection that failed.
    template <class Document>
    void Attach(Document& doc) {
        doc.SetPortIndex(Document::kPortTcp);
        doc.SetProtocolKind(kProtocolTerminal);
        doc.SetTcpProtocolFactory([this](const std::string& host, int kind) -> std::unique_ptr<DX3Protocol> {
            hosts.push_back(host);
            kinds.push_back(kind);
            auto line = Line();
            if (!opens) {
                line->SetState(kStateClosed);
                line->SetStatus(kStatusCannotOpen);
            }
            return std::make_unique<TerminalProtocol>(std::move(line), 1);
        });
    }
    bool opens = true;
    std::vector<std::string> hosts;  // of each link a document built, with its protocol kind
    std::vector<int> kinds;

    // ---- what it was sent
    // Text commands written to the last line, without their framing, and their addresses.
    std::vector<std::string> Commands() const;
    std::vector<int> Addresses() const;
    // Every command it answered (or left unanswered) over all its lines, and those from the n-th on.
    std::vector<Sent> sent;
    std::vector<std::string> CommandsFrom(size_t n) const;
    // Every block request it took, unescaped, and the address each was sent to.
    std::vector<std::string> blocks;
    std::vector<int> blockAddresses;
    // The frames written to the last line.
    std::vector<WrittenFrame> Frames() const { return FramesIn(written_); }

    ScriptedStream* stream = nullptr;

private:
    struct Entry {
        enum Kind { kText, kRaw } kind;
        std::string bytes;
        int address;
    };
    std::string Respond(const std::string& request);
    std::string ServeBlock(int address, const std::string& block);

    std::deque<Entry> script_;
    std::string written_;  // to the last line
};

}  // namespace qs::test
