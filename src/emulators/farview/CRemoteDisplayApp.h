#pragma once
#include <memory>

#include "emulators/displayui/CEmulatorApp.h"
#include "emulators/farview/core/FarviewSettings.h"
#include "emulators/farview/core/RemoteDisplaySession.h"

namespace qs::farview {

// Farview: the command line read into the settings, and the normal or the four-display
// faceplate.
class CRemoteDisplayApp : public displayui::CEmulatorApp {
public:
    CRemoteDisplayApp() : CEmulatorApp("Farview") {}

protected:
    displayui::CFaceplateDlg* CreateFaceplate(const std::string& commandLine) override;
    void EndProgram() override { session_.reset(); }

private:
    std::unique_ptr<FarviewSettings> settings_;
    std::unique_ptr<RemoteDisplaySession> session_;
};

}  // namespace qs::farview
