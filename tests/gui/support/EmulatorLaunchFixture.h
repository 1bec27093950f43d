#pragma once
// Quillset's shell with its control socket listening where the emulators look for it, for
// tests that start a real emulator from a document's frame and see it hand the device back.
#include <signal.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <wx/event.h>

#include "Processes.h"
#include "ShellFixture.h"
#include "SimProcess.h"
#include "app/programdata/CSplitterFrame.h"
#include "appmodel/common/AppServices.h"
#include "platform/ControlSocket.h"
#include "platform/ProcessLauncher.h"

namespace qs::test {

// The argument vector of a running process.
inline std::vector<std::string> ArgumentsOf(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/cmdline", std::ios::binary);
    const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> args;
    for (size_t at = 0; at < all.size();) {
        const size_t end = all.find('\0', at);
        args.push_back(all.substr(at, end - at));
        at = end == std::string::npos ? all.size() : end + 1;
    }
    return args;
}

// How often Quillset has asked the device who it is: it does so again when it takes the link back.
inline size_t Probes(const std::vector<SimFrame>& log) {
    size_t n = 0;
    for (const SimFrame& f : log) n += f.Received() && f.text == "PV SY 111";
    return n;
}

class EmulatorLaunchFixture : public ShellFixture {
protected:
    EmulatorLaunchFixture()
        : runtime_("XDG_RUNTIME_DIR", home_.File("run")), config_("XDG_CONFIG_HOME", home_.File("config")) {
        ::mkdir(home_.File("run").c_str(), 0700);
    }

    void SetUp() override {
        ShellFixture::SetUp();
        // Where the emulators find Quillset: the runtime folder of this user.
        listening_ = control_.Listen(home_.File("run/quillset"));
        frame->SetControlSocket(&control_);
        options.AutoConnect = true;
    }

    void TearDown() override {
        if (started_ > 0) StopChild(started_);
        frame->SetControlSocket(nullptr);
        ShellFixture::TearDown();
    }

    // The document opened and connected until its state is at least `state`; its frame.
    CSplitterFrame* OpenConnected(const std::string& path, CVexa3Doc::ConnectionState state) {
        doc_ = Open(path);
        if (!doc_ || !PumpUntil([&] { return doc_->Core().State() >= state; }, 15000)) return nullptr;
        return dynamic_cast<CSplitterFrame*>(frame->GetActiveChild());
    }

    // The menu command `id` on the document's frame; the program it started, or -1.
    pid_t RunCommand(CSplitterFrame* child, int id) {
        const size_t before = doc_->Services().launcher.Running().size();
        wxCommandEvent command(wxEVT_MENU, id);
        command.SetEventObject(child);
        child->GetEventHandler()->ProcessEvent(command);
        const auto& running = doc_->Services().launcher.Running();
        started_ = running.size() > before ? running.back() : -1;
        return started_;
    }

    // The started program has ended and been reaped: nothing to stop at the end.
    void Forget() { started_ = -1; }

    ScopedEnv runtime_, config_;
    ControlSocket control_;
    bool listening_ = false;
    CVexa3WxDoc* doc_ = nullptr;
    pid_t started_ = -1;
};

}  // namespace qs::test
