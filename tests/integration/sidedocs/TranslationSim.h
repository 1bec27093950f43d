#pragma once
// A program-data document connected to duravane-sim the way the main window connects one
// before it hands it to a side document: TCP/IP to the simulator's own loopback address, or its
// pty opened as COM 5 through QS3X.INI; Minicomputer framing; Connect with the write test, then
// the document's protocol at its base address.
#include <memory>
#include <string>
#include <vector>

#include "SimProcess.h"
#include "TempDir.h"
#include "TestEnv.h"
#include "link/ComPortTable.h"
#include "link/DX3Protocol.h"
#include "programdata/CVexa3Doc.h"
#include "sidedocs/DeviceLink.h"

namespace qs::test {

enum class SimTransport { Tcp, Pty };

inline uint32_t Ipv4Of(const std::string& host) {
    uint32_t v = 0;
    size_t pos = 0;
    for (int i = 0; i < 4; ++i) {
        const size_t dot = host.find('.', pos);
        v = (v << 8) | static_cast<uint32_t>(std::stoul(host.substr(pos, dot - pos)) & 0xFF);
        pos = dot + 1;
    }
    return v;
}

class TranslationSim {
public:
    static constexpr int kCom = 5;

    explicit TranslationSim(std::vector<std::string> args = {}, SimTransport transport = SimTransport::Tcp)
        : transport_(transport) {
        SimProcess::Options o;
        o.args = std::move(args);
        o.tcp = transport == SimTransport::Tcp;
        o.pty = transport == SimTransport::Pty;
        sim_ = std::make_unique<SimProcess>(o);
        if (sim_->Running() && transport == SimTransport::Pty) {
            files_.Write("QS3X.INI", "[Ports]\nCOM" + std::to_string(kCom) + "=" + sim_->PtyPath() + "\n");
            ini_ = std::make_unique<ScopedEnv>("QUILLSET_INI", files_.File("QS3X.INI"));
        }
    }

    bool Running() const { return sim_->Running(); }
    std::string Error() const { return sim_->Error(); }
    SimProcess& Sim() { return *sim_; }

    // A document on this device at `address`, Minicomputer framing.
    std::unique_ptr<CVexa3Doc> Document(int address = 1) {
        auto doc = std::make_unique<CVexa3Doc>(ports_, DefinitionSource{});
        DocumentLinkFields f = doc->GetLinkFields();
        f.protocol = kProtocolMini;
        f.baseAddress = address;
        if (transport_ == SimTransport::Tcp) {
            f.port = CVexa3Doc::kPortTcp;
            f.ipv4 = Ipv4Of(sim_->Host());
        } else {
            f.port = kCom;
        }
        doc->SetLinkFields(f);
        return doc;
    }

    // What the main window hands over for `doc`: connected (with the write test), the protocol
    // at the base address; nothing when the device is not readable, or not writable and
    // `requireOnline`.
    static DeviceLinkSource Source(CVexa3Doc& doc) {
        return [&doc](bool requireOnline) {
            doc.Connect(false);
            DX3Protocol* protocol = doc.GetProtocol();
            if (!protocol) return DeviceLink{};
            protocol->SetAddress(doc.BaseAddress());
            if (doc.State() < CVexa3Doc::kStateReadOnly || (requireOnline && doc.State() < CVexa3Doc::kStateOnline))
                return DeviceLink{};
            return DeviceLink{&doc, protocol};
        };
    }

    // The blocks the simulator received (unescaped, after the address digits), in order.
    std::vector<std::string> ReceivedBlocks() const {
        std::vector<std::string> blocks;
        for (const SimFrame& f : sim_->ReadLog())
            if (f.Received() && f.binary) blocks.push_back(f.text);
        return blocks;
    }
    // The text commands it received, in order.
    std::vector<std::string> Commands() const {
        std::vector<std::string> out;
        for (const SimFrame& f : sim_->ReadLog())
            if (f.Received() && f.kind == "frame" && !f.binary) out.push_back(f.text);
        return out;
    }
    size_t FramesReceived() const {
        size_t n = 0;
        for (const SimFrame& f : sim_->ReadLog()) n += f.Received() ? 1 : 0;
        return n;
    }

private:
    SimTransport transport_;
    TempDir files_;
    std::unique_ptr<ScopedEnv> ini_;
    ComPortTable ports_;
    std::unique_ptr<SimProcess> sim_;
};

}  // namespace qs::test
