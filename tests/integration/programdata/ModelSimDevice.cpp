#include "ModelSimDevice.h"

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
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
    options.tcp = setup.tcp;
    options.pty = setup.pty;
    sim_ = StartSim(files_, options, setup.state);

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

std::vector<Exchange> ModelSimDevice::Exchanges() const { return docsim::ExchangesIn(sim_->ReadLog()); }

std::vector<std::string> ModelSimDevice::Commands() const { return docsim::CommandsOf(Exchanges()); }

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
    return sim_->WaitForLog(
        [&](const std::vector<SimFrame>& log) { return docsim::HasFrames(log, received, sent, /*textOnly=*/true); });
}

Com1Lender::Com1Lender(ComPortTable& ports) {
    auto acquired = acquired_;
    hook_.acquire = [&ports, acquired]() -> ComProtocol* {
        if (!ports.Protocol(1) && !ports.OpenComPort(1, true)) return nullptr;
        if (!ports.AddRefPort(1)) return nullptr;
        ++*acquired;
        return ports.Protocol(1);
    };
    hook_.release = [&ports] { ports.ReleasePort(1); };
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
