#include "emulators/panelsim/CMmiEmulatorApp.h"

#include <cstdio>

#include "emulators/panelsim/CMmiEmulatorDlg.h"
#include "emulators/panelsim/core/PanelsimCommandLine.h"

namespace qs::panelsim {

displayui::CFaceplateDlg* CMmiEmulatorApp::CreateFaceplate(const std::string& commandLine) {
    const PanelsimCommandLine line = PanelsimCommandLine::Parse(commandLine);
    for (const std::string& word : line.refused) {
        std::fprintf(stderr, "panelsim: the number after %s cannot be read; the stored value stays\n", word.c_str());
    }
    settings_ = std::make_unique<PanelsimSettings>();
    settings_->Apply(line);
    session_ = std::make_unique<OperatorPanelSession>(Ui(), ProgramClock());
    return new CMmiEmulatorDlg(*session_, *settings_, Ui());
}

}  // namespace qs::panelsim
