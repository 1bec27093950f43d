#include "DocumentSim.h"

#include <map>

namespace qs::test::docsim {

std::string Name(const LinkKind& kind) {
    return std::string(kind.transport == Transport::Tcp ? "Tcp" : "Pty") + "_" +
           (kind.protocolKind == 0 ? "Terminal" : "Mini");
}

uint32_t Ipv4Of(const std::string& host) {
    uint32_t v = 0;
    size_t pos = 0;
    for (int i = 0; i < 4; ++i) {
        const size_t dot = host.find('.', pos);
        v = (v << 8) | static_cast<uint32_t>(std::stoul(host.substr(pos, dot - pos)) & 0xFF);
        pos = dot + 1;
    }
    return v;
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

std::vector<std::string> CommandsOf(const std::vector<Exchange>& exchanges) {
    std::vector<std::string> out;
    for (const Exchange& e : exchanges) out.push_back(e.command);
    return out;
}

bool HasFrames(const std::vector<SimFrame>& log, size_t received, size_t sent, bool textOnly) {
    size_t rx = 0, tx = 0;
    for (const SimFrame& f : log) {
        if (f.kind != "frame" || (textOnly && f.binary)) continue;
        (f.Received() ? rx : tx) += 1;
    }
    return rx >= received && tx >= sent;
}

SimDevice::SimDevice(Setup setup) : transport_(setup.transport) {
    SimProcess::Options options;
    options.args = setup.args;
    options.tcp = transport_ == Transport::Tcp;
    options.pty = transport_ == Transport::Pty;
    options.host = setup.host;
    sim_ = StartSim(files_, options, setup.state);
    if (transport_ == Transport::Pty && sim_->Running()) {
        files_.Write("QS3X.INI", "[Ports]\nCOM" + std::to_string(kComPort) + "=" + sim_->PtyPath() + "\n");
        ini_ = std::make_unique<ScopedEnv>("QUILLSET_INI", files_.File("QS3X.INI"));
    }
}

SimDevice::~SimDevice() { sim_.reset(); }

void SimDevice::Attach(CVexa3Doc& doc, int protocolKind) const {
    DocumentLinkFields f = doc.GetLinkFields();
    f.protocol = protocolKind;
    if (transport_ == Transport::Tcp) {
        f.port = CVexa3Doc::kPortTcp;
        f.ipv4 = Ipv4Of(sim_->Host());
    } else {
        f.port = kComPort;
    }
    doc.SetLinkFields(f);
}

std::vector<Exchange> SimDevice::Exchanges() const { return ExchangesIn(sim_->ReadLog()); }

std::vector<std::string> SimDevice::Commands() const { return CommandsOf(Exchanges()); }

bool SimDevice::WaitForFrames(size_t received, size_t sent) const {
    return sim_->WaitForLog(
        [&](const std::vector<SimFrame>& log) { return HasFrames(log, received, sent, /*textOnly=*/false); });
}

}  // namespace qs::test::docsim
