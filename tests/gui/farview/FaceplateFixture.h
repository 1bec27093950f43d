#pragma once
// Farview's faceplate inside the test program, on a pty whose other end the test plays as the
// device, with its settings, runtime folder and recorded message boxes of its own.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "GuiPump.h"
#include "PtyPair.h"
#include "RecordingUi.h"
#include "TempDir.h"
#include "TestEnv.h"
#include "emulators/farview/CRemoteDisplayDlg.h"
#include "emulators/farview/CRemoteDisplayQuadDlg.h"

namespace qs::farview::test {

// The key codes (byte 3) of the 16-byte frames the device received.
inline std::string KeyCodes(const std::string& received) {
    std::string codes;
    for (size_t at = 0; at + 16 <= received.size(); at += 16) codes.push_back(received[at + 3]);
    return codes;
}

class FaceplateFixture : public ::testing::Test {
protected:
    FaceplateFixture()
        : runtime_("XDG_RUNTIME_DIR", dir_.File("run")), config_("XDG_CONFIG_HOME", dir_.File("config")) {
        ::mkdir(dir_.File("run").c_str(), 0700);
    }

    void TearDown() override { Close(); }

    FarviewSettings& Settings() {
        if (!settings_) settings_ = std::make_unique<FarviewSettings>(dir_.File("settings"));
        return *settings_;
    }

    // The faceplate on COM5 (the pty), normal or with four displays.
    CRemoteDisplayDlg& Open(bool master = false, bool quad = false) {
        Settings().SetPort(5);
        session_ = std::make_unique<RemoteDisplaySession>(ui_.services, clock_, RemoteDisplaySession::Setup{master, quad},
                                                          [this](int) { return pty_.SlavePath(); });
        dialog_ = quad ? new CRemoteDisplayQuadDlg(*session_, Settings(), ui_.services)
                       : new CRemoteDisplayDlg(*session_, Settings(), ui_.services);
        dialog_->Show();
        qs::test::PumpFor(50);
        return *dialog_;
    }

    void Close() {
        if (!dialog_) return;
        dialog_->Destroy();
        dialog_ = nullptr;
        qs::test::PumpFor(20);
    }

    std::string DeviceReceives(size_t frames, int timeoutMs = 500) { return pty_.DeviceReceives(16 * frames, timeoutMs); }

    qs::test::TempDir dir_;
    qs::test::ScopedEnv runtime_, config_;
    qs::test::RecordingUi ui_;
    qs::test::PtyPair pty_;
    SteadyClock clock_;
    std::unique_ptr<FarviewSettings> settings_;
    std::unique_ptr<RemoteDisplaySession> session_;
    CRemoteDisplayDlg* dialog_ = nullptr;
};

}  // namespace qs::farview::test
