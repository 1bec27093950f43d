#include "emulators/farview/CRemoteDisplayApp.h"

#include <cstdio>

#include "emulators/farview/CRemoteDisplayQuadDlg.h"
#include "emulators/farview/core/FarviewCommandLine.h"

namespace qs::farview {

displayui::CFaceplateDlg* CRemoteDisplayApp::CreateFaceplate(const std::string& commandLine) {
    const FarviewCommandLine line = FarviewCommandLine::Parse(commandLine);
    for (const std::string& word : line.refused) {
        std::fprintf(stderr, "farview: the number after %s cannot be read; the stored value stays\n", word.c_str());
    }
    settings_ = std::make_unique<FarviewSettings>();
    settings_->Apply(line);
    session_ = std::make_unique<RemoteDisplaySession>(Ui(), ProgramClock(), RemoteDisplaySession::Setup{line.master, line.quad});
    if (line.quad) return new CRemoteDisplayQuadDlg(*session_, *settings_, Ui());
    return new CRemoteDisplayDlg(*session_, *settings_, Ui());
}

}  // namespace qs::farview
