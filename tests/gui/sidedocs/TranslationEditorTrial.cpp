// Not a test: the editor in a window of its own for a person (or xdotool) to try, with real
// message boxes and progress windows. Run it with QS_TRANSLATION_TRIAL set to an ".LGX" file
// (or to "new"), and QS_TRANSLATION_TRIAL_HOST to a simulator's address for Read All and Dump
// All; it returns when its window is closed. Without them it is skipped.
#include <cstdlib>

#include "SimProcess.h"
#include "TranslationEditorFixture.h"
#include "app/common/WxUiServices.h"
#include "link/ComPortTable.h"

namespace qs::test {
namespace {

TEST(TranslationEditorTrial, RunsTheEditorForAPerson) {
    const char* file = std::getenv("QS_TRANSLATION_TRIAL");
    if (!file) GTEST_SKIP() << "set QS_TRANSLATION_TRIAL to an .LGX file or \"new\" to try the editor";
    auto* manager = new wxDocManager;
    new wxDocTemplate(manager, "Translation", "*.LGX", "", "LGX", "Translation", "Translation",
                      wxCLASSINFO(CTranslationWxDoc), wxCLASSINFO(CTransView));
    WxPrompt prompt;
    UiServices ui;
    ui.prompt = &prompt;
    ui.progress = &MakeWxProgress;
    ui.idle = &WxIdle;
    auto* frame = new HostFrame(manager, ui);
    prompt.SetMainWindow(frame);
    wxTheApp->SetTopWindow(frame);
    frame->Show();

    ComPortTable ports;
    CVexa3Doc device(ports, DefinitionSource{});
    if (const char* host = std::getenv("QS_TRANSLATION_TRIAL_HOST")) {
        unsigned a = 0, b = 0, c = 0, d = 0;
        std::sscanf(host, "%u.%u.%u.%u", &a, &b, &c, &d);
        DocumentLinkFields f = device.GetLinkFields();
        f.port = CVexa3Doc::kPortTcp;
        f.protocol = kProtocolMini;
        f.ipv4 = (a << 24) | (b << 16) | (c << 8) | d;
        device.SetLinkFields(f);
        frame->device = &device;
    }
    if (std::string(file) == "new") manager->CreateDocument(wxString(), wxDOC_NEW);
    else manager->CreateDocument(wxString::FromUTF8(file), wxDOC_SILENT);
    wxTheApp->SetExitOnFrameDelete(true);
    wxTheApp->MainLoop();
    delete manager;
}

}  // namespace
}  // namespace qs::test
