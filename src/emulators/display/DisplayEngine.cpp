#include "emulators/display/DisplayEngine.h"

#include <algorithm>

#include "emulators/display/GraphicPainter.h"
#include "emulators/display/TextPainter.h"
#include "emulators/display/ValueText.h"

namespace qs::display {
namespace {

struct BootText {
    const char* title;
    int titleX;
    int titleFont;
    int bannerX;
};

BootText BootOf(DisplayVariant variant) {
    if (variant == DisplayVariant::OperatorPanel) return {"Duravane III MMI", 40, 5, 10};
    return {"DuravaneIII RemoteDisplay", 0, 2, 24};
}

constexpr int kBootColours = 3;  // foreground 3 on background 0

}  // namespace

DisplayEngine::DisplayEngine(DisplayVariant variant, int framebuffers, size_t memoryLimit)
    : variant_(variant),
      fonts_(variant == DisplayVariant::OperatorPanel ? FontTable::Panelsim() : FontTable::Farview()),
      list_(variant == DisplayVariant::OperatorPanel ? ObjectScope::PerDisplay : ObjectScope::Shared, memoryLimit),
      framebuffers_(static_cast<size_t>(std::clamp(framebuffers, 1, kScreens))) {}

Framebuffer& DisplayEngine::Target(int screen) {
    return framebuffers_[std::min(static_cast<size_t>(screen & 1), framebuffers_.size() - 1)];
}

void DisplayEngine::ClearScreenOf(int display) { Target((display & 3) / 2).Clear(0); }

void DisplayEngine::SetActiveDisplay(int display) {
    if (display < 0 || display > 3) return;
    active_ = display;
    screenActive_[static_cast<size_t>(display / 2)] = display;
}

void DisplayEngine::RedrawDisplays() {
    // The operator panel keeps a window of its own on display 2: its boot screen turns on
    // screen 0 until the device gives display 0 or 1 a window, and screen 1 is drawn meanwhile.
    const bool panel = variant_ == DisplayVariant::OperatorPanel;
    if (panel ? !list_.CurrentWindow(0) && !list_.CurrentWindow(1) : !list_.AnyCurrentWindow()) {
        DrawBootScreen();
        if (!panel || !list_.AnyCurrentWindow()) return;
    }
    bool quad = false;
    for (int d = 0; d < DisplayList::kDisplays; ++d) {
        const uint16_t current = list_.CurrentWindow(d);
        if (current == 0) continue;
        if (d >= 2) quad = true;
        if (current != shown_[static_cast<size_t>(d)]) {
            shown_[static_cast<size_t>(d)] = current;
            if (const DisplayListWindow* w = list_.FindDisplayWindow(current, d)) {
                fullWidth_[static_cast<size_t>(d / 2)] = !(w->displayByte & DisplayListWindow::kSplitScreen);
            }
        }
    }
    for (int d = 0; d < DisplayList::kDisplays; ++d) {
        const uint16_t shown = shown_[static_cast<size_t>(d)];
        if (shown == 0) continue;
        DisplayListWindow* w = list_.FindDisplayWindow(shown, d);
        if (!w) continue;
        if (!FullWidth(d / 2) || ActiveDisplayOf(d / 2) == d) DrawWindow(*w, d, quad);
    }
}

void DisplayEngine::DrawWindow(DisplayListWindow& w, int d, bool quad) {
    Framebuffer& target = Target(d / 2);
    const bool split = !FullWidth(d / 2);
    if (w.flags & DisplayListWindow::kClearFirst) {
        const int colour = w.flags & DisplayListWindow::kClearColourMask;
        if (split) {
            const int x0 = (d & 1) ? kHalfWidth : 0;
            target.Fill(colour, x0, 0, x0 + kHalfWidth, Framebuffer::kHeight - 1);
        } else {
            target.Clear(colour);
        }
        w.flags &= static_cast<uint8_t>(~(DisplayListWindow::kClearFirst | DisplayListWindow::kClearColourMask));
    }
    if (quad || split) DrawDisplayFrame(d, quad);
    if (w.flags & DisplayListWindow::kRedrawAll) {
        for (uint16_t id : w.objects) {
            DisplayObject* o = list_.FindDisplayObject(id, d);
            if (o && (o->type & DisplayObject::kOnlyWhenChanged)) o->MarkChanged();
        }
        w.flags &= static_cast<uint8_t>(~DisplayListWindow::kRedrawAll);
    }
    for (uint16_t id : w.objects) {
        if (DisplayObject* o = list_.FindDisplayObject(id, d)) DrawDisplayObject(*o, d);
    }
}

void DisplayEngine::DrawDisplayFrame(int d, bool quad) {
    Framebuffer& target = Target(d / 2);
    const int colour = d == active_ ? 3 : 0;
    const bool split = !FullWidth(d / 2);
    const int x0 = split && (d & 1) ? kHalfWidth : 0;
    const int right = split ? x0 + kHalfWidth - 1 : 2 * kHalfWidth - 1;
    for (int x = x0; x < right; ++x) {
        target.SetPixel(x, 0, colour);
        target.SetPixel(x, Framebuffer::kHeight - 1, colour);
    }
    for (int y = 0; y < Framebuffer::kHeight - 1; ++y) {
        target.SetPixel(x0, y, colour);
        target.SetPixel(right, y, colour);
    }
    if (quad && split && active_ / 2 != d / 2) {
        for (int y = 0; y < Framebuffer::kHeight - 1; y += 2) {
            target.SetPixel(kHalfWidth - 1, y, 3);
            target.SetPixel(kHalfWidth, y, 3);
        }
    }
}

void DisplayEngine::DrawDisplayObject(DisplayObject& o, int d) {
    if (!o.HasPayload()) return;
    if ((o.type & DisplayObject::kOnlyWhenChanged) && !(o.flags & DisplayObject::kChanged)) return;
    o.flags &= static_cast<uint8_t>(~DisplayObject::kChanged);
    const int offset = XOffset(d);
    if (o.IsGraphic()) {
        GraphicPainter(Target(d / 2)).Draw(o, offset);
        return;
    }
    const std::string_view format(o.format.data(), o.format.size());
    if (const auto text = ValueText::Print(o.Kind(), format, o.payload)) {
        TextPainter(Target(d / 2), fonts_).DrawTextRun(*text, o.font, o.x + offset, o.y, o.colours & 0x0F,
                                                      (o.colours >> 4) & 0x07);
    }
}

void DisplayEngine::DrawBootScreen() {
    if (variant_ == DisplayVariant::OperatorPanel) fullWidth_[0] = true;
    else fullWidth_.fill(true);
    const BootText boot = BootOf(variant_);
    TextPainter painter(Target(0), fonts_);
    if (!titleDrawn_) {
        painter.DrawTextRun(boot.title, boot.titleFont, boot.titleX, 44, kBootColours, 0);
        titleDrawn_ = true;
    }
    std::string line = "Initializing...";
    line += kIndicator[indicatorSteps_ % 4u];
    ++indicatorSteps_;
    painter.DrawTextRun(line, 0, 50, 60, kBootColours, 0);
    painter.DrawTextRun(kBanner, 0, boot.bannerX, 16, kBootColours, 0);
}

}  // namespace qs::display
