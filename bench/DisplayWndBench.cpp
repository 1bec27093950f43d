// The display window under a real X server (Xvfb): the framebuffer-to-bitmap step (palette
// lookup of 256 x 64 pixels into a bitmap) and one full redraw as the user sees it (that step,
// then the window painted and the X server waited for). Run under xvfb-run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/panel.h>

#include "emulators/displayui/CDisplayWnd.h"

namespace {

class BenchApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

// A busy screen: every colour, changing from one frame to the next.
void Paint(qs::display::Framebuffer& fb, int frame) {
    for (int y = 0; y < qs::display::Framebuffer::kHeight; ++y) {
        for (int x = 0; x < qs::display::Framebuffer::kWidth; ++x) fb.SetPixel(x, y, (x / 2 + y + frame) % 4);
    }
}

struct Window {
    Window() {
        frame = new wxFrame(nullptr, wxID_ANY, "LCD bench");
        lcd = new qs::displayui::CDisplayWnd(new wxPanel(frame), "Display Emulation", wxPoint(8, 8), fb);
        frame->SetClientSize(280, 100);
        frame->Show();
        wxTheApp->Yield();
    }
    ~Window() { frame->Destroy(); }
    qs::display::Framebuffer fb;
    wxFrame* frame = nullptr;
    qs::displayui::CDisplayWnd* lcd = nullptr;
};

// Times `step` on a new busy screen each round (drawing the screen is not timed).
template <typename Step>
void EachFrame(benchmark::State& state, Step step) {
    Window w;
    int frame = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Paint(w.fb, frame++);
        state.ResumeTiming();
        step(*w.lcd);
    }
}

void FramebufferToBitmap(benchmark::State& state) {
    EachFrame(state, [](qs::displayui::CDisplayWnd& lcd) {
        lcd.TakeFramebuffer();
        benchmark::DoNotOptimize(lcd.Bitmap().IsOk());
    });
}
BENCHMARK(FramebufferToBitmap)->Unit(benchmark::kMicrosecond);

void FullRedrawOnScreen(benchmark::State& state) {
    EachFrame(state, [](qs::displayui::CDisplayWnd& lcd) {
        lcd.ShowFramebuffer();
        lcd.Update();  // paints now, and waits for the X server
    });
}
BENCHMARK(FullRedrawOnScreen)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (!std::getenv("DISPLAY")) {
        std::fprintf(stderr, "no display: run under xvfb-run -a\n");
        return 77;
    }
    wxApp::SetInstance(new BenchApp);
    wxEntryStart(argc, argv);
    delete wxLog::SetActiveTarget(new wxLogStderr);
    if (!wxTheApp->CallOnInit()) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return 0;
}
