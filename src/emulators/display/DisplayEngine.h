#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "emulators/display/DisplayList.h"
#include "emulators/display/FontRecord.h"
#include "emulators/display/Framebuffer.h"

namespace qs::display {

// Which program the engine serves: the remote display (one object list, its 21 fonts, its
// boot screen) or the operator panel (objects per display, its 18 fonts and boot screen).
enum class DisplayVariant { RemoteDisplay, OperatorPanel };

// Draws the display list into the emulated LCDs. Four logical displays sit on two screens
// (displays 0 and 1 on screen 0, 2 and 3 on screen 1); a screen shows one display across its
// 240 columns or two side by side, 120 each. Each screen draws into a framebuffer; with one
// framebuffer both screens draw into it. Until any display has a window the boot screen turns.
class DisplayEngine {
public:
    static constexpr int kScreens = 2;
    static constexpr int kHalfWidth = 120;
    static constexpr char kIndicator[] = "-\\|/";
    static constexpr const char* kBanner = "Waiting for the controller";

    DisplayEngine(DisplayVariant variant, int framebuffers, size_t memoryLimit = MemoryBudget::kDefaultLimit);

    DisplayList& List() { return list_; }
    const DisplayList& List() const { return list_; }
    DisplayVariant Variant() const { return variant_; }
    const FontTable& Fonts() const { return fonts_; }

    // Draws what changed, or the boot screen while no display has a window (the operator
    // panel: while displays 0 and 1 have none, on screen 0 beside what screen 1 shows).
    void RedrawDisplays();

    int FramebufferCount() const { return static_cast<int>(framebuffers_.size()); }
    const Framebuffer& GetFramebuffer(int index) const { return framebuffers_[static_cast<size_t>(index)]; }
    // The framebuffer a screen draws into.
    Framebuffer& Target(int screen);

    // Clears the screen that shows display (display & 3) to colour 0.
    void ClearScreenOf(int display);
    // Makes `display` the active display overall and of its screen; values above 3 change
    // nothing.
    void SetActiveDisplay(int display);
    int ActiveDisplay() const { return active_; }
    int ActiveDisplayOf(int screen) const { return screenActive_[static_cast<size_t>(screen & 1)]; }
    bool FullWidth(int screen) const { return fullWidth_[static_cast<size_t>(screen & 1)]; }
    // How many boot-screen redraws have turned the indicator.
    unsigned IndicatorSteps() const { return indicatorSteps_; }

private:
    void DrawBootScreen();
    void DrawWindow(DisplayListWindow& window, int display, bool quad);
    void DrawDisplayFrame(int display, bool quad);
    void DrawDisplayObject(DisplayObject& object, int display);
    int XOffset(int display) const { return !FullWidth(display / 2) && (display & 1) ? kHalfWidth : 0; }

    DisplayVariant variant_;
    const FontTable& fonts_;
    DisplayList list_;
    std::vector<Framebuffer> framebuffers_;
    std::array<uint16_t, DisplayList::kDisplays> shown_{};
    std::array<bool, kScreens> fullWidth_{};
    std::array<int, kScreens> screenActive_{0, 2};
    int active_ = 0;
    bool titleDrawn_ = false;
    unsigned indicatorSteps_ = 0;
};

}  // namespace qs::display
