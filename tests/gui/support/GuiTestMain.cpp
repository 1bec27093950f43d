// Entry point of every GUI test program: a wx application without a main window, logging to
// stderr (the default GUI log target opens modal boxes that would hang a headless run).
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>
#include <wx/log.h>

#include <dlfcn.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

class GuiTestApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

wxIMPLEMENT_APP_NO_MAIN(GuiTestApp);

namespace {

// Under a loaded machine the X server now and then turns a new client away; GTK then aborts
// the whole program from inside its start-up. The display is opened here first, a few times
// over, so that only a server that stays unreachable fails the run, and with a message.
bool DisplayAnswers() {
    const char* name = std::getenv("DISPLAY");
    if (!name) return true;  // Wayland: nothing to probe
    void* x11 = ::dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
    if (!x11) return true;
    using Open = void* (*)(const char*);
    using Close = int (*)(void*);
    auto open = reinterpret_cast<Open>(::dlsym(x11, "XOpenDisplay"));
    auto close = reinterpret_cast<Close>(::dlsym(x11, "XCloseDisplay"));
    bool answered = !open || !close;
    for (int attempt = 0; !answered && attempt < 50; ++attempt) {
        if (void* display = open(name)) {
            close(display);
            answered = true;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    return answered;
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
    bool ci = std::getenv("CI") && std::string(std::getenv("CI")) == "true";
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
        std::fprintf(stderr, "no display: run under xvfb-run -a\n");
        return ci ? 1 : 77;  // 77: CTest counts it as skipped
    }
    if (!DisplayAnswers()) {
        std::fprintf(stderr, "the display %s does not answer\n", std::getenv("DISPLAY"));
        return 1;
    }
    wxApp::SetInstance(new GuiTestApp);
    if (!wxEntryStart(argc, argv)) {
        std::fprintf(stderr, "the toolkit could not start on the display\n");
        return 1;
    }
    delete wxLog::SetActiveTarget(new wxLogStderr);
    if (!wxTheApp->CallOnInit()) return 1;
    int rc = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return rc;
}
