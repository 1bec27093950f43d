#pragma once
// What the model walk tests share: the links they run over, named for gtest, and a rig of a
// simulator at addresses 1-3 with faults, a Minicomputer link to it over TCP/IP and the
// directories on that link (a reply that fails its check is known at once, with no time-out
// to wait out).
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "ModelChain.h"
#include "ModelSimDevice.h"
#include "RecordingUi.h"

namespace qs::test::modelsim {

using docsim::LinkKind;

inline std::string LinkName(const ::testing::TestParamInfo<LinkKind>& info) {
    return std::string(info.param.transport == Transport::Tcp ? "Tcp" : "Pty") +
           (info.param.protocolKind == kProtocolMini ? "Mini" : "Terminal");
}

// A simulator answering addresses 1-3 on the transport of `link`, holding `state`.
inline ModelSimDevice::Setup ThreeArmsOver(const LinkKind& link, std::string state = {}) {
    return {.tcp = link.transport == Transport::Tcp,
            .pty = link.transport == Transport::Pty,
            .args = {"--addresses", "1,2,3"},
            .state = std::move(state)};
}

// Whether the first progress window was shown exactly this text at some point.
inline bool ProgressTold(const RecordingUi& ui, const std::string& text) {
    const auto& texts = ui.progress.at(0)->texts;
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

class ModelFaultRig : public ::testing::Test {
protected:
    // Each fault is passed as one --fault argument.
    void Start(std::vector<std::string> faults) {
        std::vector<std::string> args{"--addresses", "1,2,3"};
        for (auto& f : faults) {
            args.push_back("--fault");
            args.push_back(std::move(f));
        }
        device = std::make_unique<ModelSimDevice>(ModelSimDevice::Setup{.tcp = true, .pty = false, .args = args});
        ASSERT_TRUE(device->Ready()) << device->Error();
        context = std::make_unique<ModelContext>(device->Open(Transport::Tcp, kProtocolMini));
        chain = std::make_unique<ModelChain>(context.get());
        ASSERT_TRUE(chain->Loaded());
    }
    std::vector<std::string> Commands() const { return device->Commands(); }

    RecordingUi ui;
    std::unique_ptr<ModelSimDevice> device;
    std::unique_ptr<ModelContext> context;
    std::unique_ptr<ModelChain> chain;
};

}  // namespace qs::test::modelsim
