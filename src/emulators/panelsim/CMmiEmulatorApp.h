#pragma once
#include <memory>

#include "emulators/displayui/CEmulatorApp.h"
#include "emulators/panelsim/core/OperatorPanelSession.h"
#include "emulators/panelsim/core/PanelsimSettings.h"

namespace qs::panelsim {

// Panelsim: the command line's port and arm list read into the settings, and the faceplate.
class CMmiEmulatorApp : public displayui::CEmulatorApp {
public:
    CMmiEmulatorApp() : CEmulatorApp("Panelsim") {}

protected:
    displayui::CFaceplateDlg* CreateFaceplate(const std::string& commandLine) override;
    void EndProgram() override { session_.reset(); }

private:
    std::unique_ptr<PanelsimSettings> settings_;
    std::unique_ptr<OperatorPanelSession> session_;
};

}  // namespace qs::panelsim
