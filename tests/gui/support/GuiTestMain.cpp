// Entry point of every GUI test program: a wx application without a main window, logging to
// stderr (the default GUI log target opens modal boxes that would hang a headless run).
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>
#include <wx/log.h>

#include <cstdio>
#include <cstdlib>

class GuiTestApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

wxIMPLEMENT_APP_NO_MAIN(GuiTestApp);

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
    bool ci = std::getenv("CI") && std::string(std::getenv("CI")) == "true";
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
        std::fprintf(stderr, "no display: run under xvfb-run -a\n");
        return ci ? 1 : 77;  // 77: CTest counts it as skipped
    }
    wxApp::SetInstance(new GuiTestApp);
    wxEntryStart(argc, argv);
    delete wxLog::SetActiveTarget(new wxLogStderr);
    if (!wxTheApp->CallOnInit()) return 1;
    int rc = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return rc;
}
