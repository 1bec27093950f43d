#include "EquationDevice.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <map>
#include <ostream>

#include "link/ComStream.h"
#include "link/DX3Protocol.h"
#include "platform/UiServices.h"
#include "programdata/DefinitionSource.h"

namespace qs::test::eqsim {
namespace {

// The address as the document keeps it, first octet in the high byte.
uint32_t Ipv4Of(const std::string& host) {
    in_addr a{};
    return ::inet_pton(AF_INET, host.c_str(), &a) == 1 ? ntohl(a.s_addr) : 0;
}

bool OfCode(const SimFrame& f, uint16_t code) {
    return f.kind == "frame" && f.binary && f.text.size() >= 5 && f.text.compare(0, 3, "SV ") == 0 &&
           static_cast<uint8_t>(f.text[3]) == code >> 8 && static_cast<uint8_t>(f.text[4]) == (code & 0xFF);
}

uint32_t Be(const std::string& s, size_t at, size_t n) {
    uint32_t v = 0;
    for (size_t i = at; i < at + n && i < s.size(); ++i) v = v << 8 | static_cast<uint8_t>(s[i]);
    return v;
}

}  // namespace

const char* Name(Transport t) { return t == Transport::Tcp ? "Tcp" : "Pty"; }
void PrintTo(Transport t, std::ostream* os) { *os << Name(t); }

EquationDevice::EquationDevice(Transport transport, const UiServices& ui, std::vector<std::string> args,
                               const std::string& heldSet)
    : transport_(transport), ui_(ui) {
    if (!heldSet.empty()) files_.Write("0412.bin", heldSet);
    SimProcess::Options options;
    options.args = {"--data-dir", files_.Path()};
    options.args.insert(options.args.end(), args.begin(), args.end());
    options.tcp = transport == Transport::Tcp;
    options.pty = transport == Transport::Pty;
    sim_ = std::make_unique<SimProcess>(options);
    if (!sim_->Running()) return;
    DefinitionSource definitions;
    definitions.searchDirs = {QS_DATA_BUILD_DIR};
    doc_ = std::make_unique<CVexa3Doc>(ports_, definitions);
    DocumentLinkFields link = doc_->GetLinkFields();
    link.protocol = kProtocolMini;
    if (transport == Transport::Tcp) {
        link.port = CVexa3Doc::kPortTcp;
        link.ipv4 = Ipv4Of(sim_->Host());
    } else {
        files_.Write("QS3X.INI", "[Ports]\nCOM" + std::to_string(kComPort) + "=" + sim_->PtyPath() + "\n");
        ini_ = std::make_unique<ScopedEnv>("QUILLSET_INI", files_.File("QS3X.INI"));
        link.port = kComPort;
    }
    doc_->SetLinkFields(link);
}

EquationDevice::~EquationDevice() {
    doc_.reset();
    sim_.reset();
}

DX3Protocol* EquationDevice::Connected(bool online) {
    doc_->Connect(false);
    DX3Protocol* protocol = doc_->GetProtocol();
    if (!protocol) {
        ui_.Message(doc_->Title() + " - " + ComStream::StatusText(kStatusCannotOpen), MB_OKCANCEL);
        return nullptr;
    }
    protocol->SetAddress(doc_->BaseAddress());
    if (doc_->State() < CVexa3Doc::kStateReadOnly || (online && doc_->State() < CVexa3Doc::kStateOnline)) {
        protocol->ReportError(nullptr, MB_OKCANCEL);
        return nullptr;
    }
    return protocol;
}

std::vector<SimFrame> EquationDevice::Log(uint16_t code, size_t replies) const {
    const bool logged = sim_->WaitForLog([&](const std::vector<SimFrame>& log) {
        size_t n = 0;
        for (const SimFrame& f : log) n += f.Sent() && OfCode(f, code);
        return n >= replies;
    });
    EXPECT_TRUE(logged) << replies << " replies to blocks of code " << code;
    return sim_->ReadLog();
}

std::vector<EquationDevice::Exchange> EquationDevice::Exchanges(uint16_t code, size_t replies) const {
    std::vector<Exchange> out;
    for (const SimFrame& f : Log(code, replies)) {
        if (!OfCode(f, code)) continue;
        if (f.Received()) out.push_back({f.text, f.bytes, 0});
        else if (!out.empty()) out.back().status = static_cast<uint16_t>(Be(f.text, 5, 2));
    }
    return out;
}

std::vector<std::string> EquationDevice::ReadsServed(uint16_t code, size_t replies) const {
    struct Read {
        uint32_t length = 0;
        std::string data;
    };
    std::vector<Read> reads;
    std::map<std::pair<std::string, int>, int> asked;  // block asked for on each link
    for (const SimFrame& f : Log(code, replies)) {
        if (!OfCode(f, code)) continue;
        const auto link = std::make_pair(f.transport, f.link);
        if (f.Received()) {
            asked[link] = f.text.size() == 7 ? static_cast<int>(Be(f.text, 5, 2)) : -1;
            continue;
        }
        const int block = asked.count(link) ? asked[link] : -1;
        if (block == 0) reads.push_back({Be(f.text, 7, 4), {}});
        else if (block > 0 && !reads.empty()) reads.back().data += f.text.substr(7);
    }
    std::vector<std::string> out;
    for (const Read& r : reads) out.push_back(r.data.substr(0, r.length));
    return out;
}

}  // namespace qs::test::eqsim
