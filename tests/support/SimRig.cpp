#include "SimRig.h"

#include <sys/stat.h>

#include <cstdio>
#include <fstream>

#include "DeviceFrames.h"
#include "platform/SerialSettings.h"

namespace qs::test {
namespace {

std::vector<SimFrame> Select(const std::vector<SimFrame>& log, bool received) {
    std::vector<SimFrame> out;
    for (const SimFrame& f : log)
        if (f.kind == "frame" && f.Received() == received) out.push_back(f);
    return out;
}

}  // namespace

SimRig::SimRig(Setup setup) : transport_(setup.transport), comPort_(setup.comPort) {
    SimProcess::Options options;
    options.args = setup.args;
    options.host = setup.host;
    options.tcp = transport_ == Transport::Tcp || setup.pty;
    options.pty = transport_ == Transport::Pty || setup.pty;
    if (setup.dataDir || !setup.dataSets.empty()) {
        ::mkdir(files_.File("data-sets").c_str(), 0700);
        for (const auto& [name, content] : setup.dataSets) files_.Write("data-sets/" + name, content);
        options.args.push_back("--data-dir");
        options.args.push_back(files_.File("data-sets"));
    }
    sim_ = StartSim(files_, options, setup.state);

    // Without a pty the COM port names no device, so nothing on this machine is opened as it;
    // without TCP/IP the fallback host is empty, so a build that wrongly went there fails at
    // once instead of finding some other simulator.
    const bool running = sim_->Running();
    std::string ini = "[Ports]\nCOM" + std::to_string(comPort_) + "=" +
                      (running && options.pty ? sim_->PtyPath() : files_.File("no-such-tty")) + "\n";
    if (setup.builds) ini += "[Dictionary]\nFallbackHost=" + (running && options.tcp ? Host() : std::string()) + "\n";
    files_.Write("QS3X.INI", ini);
    if (options.pty || setup.builds) env_.push_back(std::make_unique<ScopedEnv>("QUILLSET_INI", files_.File("QS3X.INI")));
    if (setup.builds) {
        // The data home is left to be made: a first build on a fresh machine creates it.
        ::mkdir(files_.File("search").c_str(), 0700);
        env_.push_back(std::make_unique<ScopedEnv>("XDG_DATA_HOME", files_.File("home")));
        env_.push_back(std::make_unique<ScopedEnv>("QUILLSET_DATA_DIR", files_.File("search")));
    }
}

SimRig::~SimRig() {
    // The simulator goes before its files, the environment before the simulator.
    env_.clear();
    sim_.reset();
}

std::unique_ptr<TerminalProtocol> SimRig::Open(const LinkKind& link, int address) const {
    const bool mini = link.framing == Framing::Mini;
    std::unique_ptr<TerminalProtocol> p;
    if (link.transport == Transport::Tcp) {
        if (mini) p = std::make_unique<MiniProtocol>(Host(), kCommandPort, kProtocolMini, address);
        else p = std::make_unique<TerminalProtocol>(Host(), kCommandPort, kProtocolTerminal, address);
    } else {
        if (mini) p = std::make_unique<MiniProtocol>(comPort_, SerialSettings{});
        else p = std::make_unique<TerminalProtocol>(comPort_, SerialSettings{}, kProtocolTerminal);
        p->SetAddress(address);
    }
    return p;
}

std::unique_ptr<MiniProtocol> SimRig::OpenMini(int address) const {
    auto p = Open(Framing::Mini, address);
    return std::unique_ptr<MiniProtocol>(static_cast<MiniProtocol*>(p.release()));
}

void SimRig::PutDataSet(uint16_t code, const std::string& bytes) const {
    char name[16];
    std::snprintf(name, sizeof name, "%04X.bin", code);
    std::ofstream(DataFile(name), std::ios::binary | std::ios::trunc) << bytes;
}

std::string SimRig::Built(const std::string& fileName) const { return ReadWhole(BuildDir() + "/" + fileName); }

std::vector<SimFrame> SimRig::Received() const { return Select(sim_->ReadLog(), true); }
std::vector<SimFrame> SimRig::Sent() const { return Select(sim_->ReadLog(), false); }
std::vector<Exchange> SimRig::Exchanges() const { return ExchangesIn(sim_->ReadLog()); }

std::vector<std::string> SimRig::Commands() const {
    std::vector<std::string> out;
    for (const Exchange& e : Exchanges()) out.push_back(e.command);
    return out;
}

std::vector<std::string> SimRig::Blocks() const {
    std::vector<std::string> out;
    for (const SimFrame& f : Received())
        if (f.binary) out.push_back(f.text);
    return out;
}

std::set<int> SimRig::AddressesReceived() const {
    std::set<int> out;
    for (const SimFrame& f : Received()) out.insert(f.address);
    return out;
}

size_t SimRig::FramesReceivedOver(const std::string& transport) const {
    size_t n = 0;
    for (const SimFrame& f : Received()) n += f.transport == transport ? 1 : 0;
    return n;
}

bool SimRig::WaitForFrames(size_t received, size_t sent) const {
    return sim_->WaitForLog([&](const std::vector<SimFrame>& log) {
        return Select(log, true).size() >= received && Select(log, false).size() >= sent;
    });
}

bool SimRig::WaitForCommand(const std::string& command, int address, std::chrono::milliseconds timeout) const {
    return sim_->WaitForLog([&](const std::vector<SimFrame>& log) {
        for (const SimFrame& f : Select(log, true))
            if (!f.binary && f.text == command && (address < 0 || f.address == address)) return true;
        return false;
    }, timeout);
}

uint32_t SimRig::Ipv4Of(const std::string& host) {
    unsigned a = 0, b = 0, c = 0, d = 0;
    std::sscanf(host.c_str(), "%u.%u.%u.%u", &a, &b, &c, &d);
    return (a & 0xFF) << 24 | (b & 0xFF) << 16 | (c & 0xFF) << 8 | (d & 0xFF);
}

std::vector<Exchange> ExchangesIn(const std::vector<SimFrame>& log) {
    std::vector<Exchange> out;
    // The command waiting for its reply, per link.
    std::map<std::pair<std::string, int>, size_t> waiting;
    for (const SimFrame& f : log) {
        if (f.kind != "frame" || f.binary) continue;
        const auto link = std::make_pair(f.transport, f.link);
        if (f.Received()) {
            waiting[link] = out.size();
            out.push_back({f.address, f.text, {}, false});
        } else if (auto it = waiting.find(link); it != waiting.end()) {
            out[it->second].reply = f.text;
            out[it->second].answered = true;
            waiting.erase(it);
        }
    }
    return out;
}

std::vector<std::string> BytesOf(const std::vector<SimFrame>& frames) {
    std::vector<std::string> out;
    for (const SimFrame& f : frames) out.push_back(Hex(f.bytes));
    return out;
}

std::vector<int> AddressesOf(const std::vector<SimFrame>& frames) {
    std::vector<int> out;
    for (const SimFrame& f : frames) out.push_back(f.address);
    return out;
}

Answer Ask(TerminalProtocol& protocol, std::string_view command) {
    Answer a;
    a.sent = protocol.Send(command) != nullptr;
    if (a.sent) a.status = protocol.Receive(a.reply);
    return a;
}

}  // namespace qs::test
