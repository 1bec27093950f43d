#include "ModelSimDevice.h"

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "link/MiniProtocol.h"
#include "platform/SerialSettings.h"
#include "programdata/DefinitionProtocol.h"

namespace qs::test::modelsim {

namespace {

constexpr unsigned kCommandPort = 7734;

}  // namespace

ModelSimDevice::ModelSimDevice(Setup setup) {
    SimProcess::Options options;
    options.args = setup.args;
    if (!setup.state.empty()) {
        files_.Write("state.txt", setup.state);
        options.args.push_back("--state");
        options.args.push_back(files_.File("state.txt"));
    }
    options.tcp = setup.tcp;
    options.pty = setup.pty;
    sim_ = std::make_unique<SimProcess>(options);

    std::string ini;
    // Without a pty COM1 names no device, so nothing on this machine is opened as COM1.
    ini += "[Ports]\nCOM1=" + (sim_->Running() && setup.pty ? sim_->PtyPath() : files_.File("no-such-tty")) + "\n";
    // Without a TCP link the fallback is an address nobody listens on, so a build that
    // wrongly went there fails at once instead of finding some other simulator.
    ini += "[Dictionary]\nFallbackHost=" + (sim_->Running() && setup.tcp ? sim_->Host() : std::string()) + "\n";
    files_.Write("QS3X.INI", ini);
    // The data home is left to be made: a first build on a fresh machine creates it.
    ::mkdir(files_.File("search").c_str(), 0700);
    ini_ = std::make_unique<ScopedEnv>("QUILLSET_INI", files_.File("QS3X.INI"));
    dataHome_ = std::make_unique<ScopedEnv>("XDG_DATA_HOME", files_.File("data"));
    dataDir_ = std::make_unique<ScopedEnv>("QUILLSET_DATA_DIR", files_.File("search"));
}

ModelSimDevice::~ModelSimDevice() {
    // The simulator goes before its files.
    sim_.reset();
}

std::string ModelSimDevice::BuildDir() const { return files_.File("data/quillset"); }

std::string ModelSimDevice::Built(const std::string& fileName) const { return ReadWhole(BuildDir() + "/" + fileName); }

bool ModelSimDevice::BuiltExists(const std::string& fileName) const {
    struct stat st {};
    return ::stat((BuildDir() + "/" + fileName).c_str(), &st) == 0;
}

std::unique_ptr<TerminalProtocol> ModelSimDevice::Open(Transport transport, int protocolKind, int address) const {
    std::unique_ptr<TerminalProtocol> p;
    if (transport == Transport::Tcp) {
        if (protocolKind == kProtocolMini) p = std::make_unique<MiniProtocol>(Host(), kCommandPort, kProtocolMini, address);
        else p = std::make_unique<TerminalProtocol>(Host(), kCommandPort, kProtocolTerminal, address);
    } else {
        if (protocolKind == kProtocolMini) p = std::make_unique<MiniProtocol>(1, SerialSettings{});
        else p = std::make_unique<TerminalProtocol>(1, SerialSettings{}, kProtocolTerminal);
        p->SetAddress(address);
    }
    return p;
}

std::vector<Exchange> ModelSimDevice::Exchanges() const {
    std::vector<Exchange> out;
    std::map<std::pair<std::string, int>, size_t> waiting;  // the command waiting per link
    for (const SimFrame& f : sim_->ReadLog()) {
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

std::vector<std::string> ModelSimDevice::Commands() const {
    std::vector<std::string> out;
    for (const Exchange& e : Exchanges()) out.push_back(e.command);
    return out;
}

std::vector<std::string> ModelSimDevice::BlocksReceived() const {
    std::vector<std::string> out;
    for (const SimFrame& f : sim_->ReadLog())
        if (f.kind == "frame" && f.binary && f.Received()) out.push_back(f.text);
    return out;
}

std::set<int> ModelSimDevice::AddressesReceived() const {
    std::set<int> out;
    for (const SimFrame& f : sim_->ReadLog())
        if (f.kind == "frame" && f.Received()) out.insert(f.address);
    return out;
}

size_t ModelSimDevice::FramesReceivedOver(const std::string& transport) const {
    size_t n = 0;
    for (const SimFrame& f : sim_->ReadLog())
        if (f.kind == "frame" && f.Received() && f.transport == transport) ++n;
    return n;
}

bool ModelSimDevice::WaitForExchanges(size_t received, size_t sent) const {
    return sim_->WaitForLog([&](const std::vector<SimFrame>& log) {
        size_t rx = 0, tx = 0;
        for (const SimFrame& f : log) {
            if (f.kind != "frame" || f.binary) continue;
            (f.Received() ? rx : tx) += 1;
        }
        return rx >= received && tx >= sent;
    });
}

ScopedCom1Hook::ScopedCom1Hook(ComPortTable& ports) {
    Com1Hook hook;
    auto acquired = acquired_;
    hook.acquire = [&ports, acquired]() -> ComProtocol* {
        if (!ports.Protocol(1) && !ports.OpenComPort(1, true)) return nullptr;
        if (!ports.AddRefPort(1)) return nullptr;
        ++*acquired;
        return ports.Protocol(1);
    };
    hook.release = [&ports] { ports.ReleasePort(1); };
    SetCom1Hook(std::move(hook));
}

ScopedCom1Hook::~ScopedCom1Hook() { SetCom1Hook({}); }

DefinitionSource GeneratedFiles() {
    DefinitionSource s;
    s.searchDirs = {QS_DATA_BUILD_DIR};
    return s;
}

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string FirstDifference(const std::string& got, const std::string& want) {
    if (got == want) return "";
    size_t i = 0;
    while (i < got.size() && i < want.size() && got[i] == want[i]) ++i;
    char text[160];
    std::snprintf(text, sizeof text, "built %zu bytes, generated %zu, first difference at byte %zu", got.size(),
                  want.size(), i);
    return text;
}

std::string CodeCommand(const std::string& verb, const std::string& mnemonic, int number) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%03d", number);
    return verb + " " + mnemonic + " " + digits;
}

}  // namespace qs::test::modelsim
