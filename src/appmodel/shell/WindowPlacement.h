#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qs {

// A main window's placement as the settings keep it: "flags,show,minX,minY,maxX,maxY,left,top,
// right,bottom" ("%u,%u,%d,%d,%d,%d,%d,%d,%d,%d"). The
// normal rectangle is the window's restored frame, whatever state it was closed in.
struct WindowPlacement {
    // The show commands the value codes, and the one flag that matters here.
    enum : unsigned {
        kSwHide = 0,
        kSwShowNormal = 1,
        kSwShowMinimized = 2,
        kSwShowMaximized = 3,
        kSwMinimize = 6,
        kSwShowMinNoActive = 7,
        kWpfRestoreToMaximized = 2,
    };
    // Longest text read; a longer one is not a placement.
    static constexpr size_t kMaxTextLength = 160;
    // Sizes a sane normal rectangle keeps to.
    static constexpr int kMinWidth = 120;
    static constexpr int kMinHeight = 80;
    static constexpr int kMaxExtent = 32767;
    // How much of the top edge (where the title bar is) must lie on a screen.
    static constexpr int kMinVisibleWidth = 48;
    static constexpr int kMinVisibleHeight = 16;

    unsigned flags = 0;
    unsigned showCmd = kSwShowNormal;
    int minX = -1, minY = -1;
    int maxX = -1, maxY = -1;
    int left = 0, top = 0, right = 0, bottom = 0;

    // Exactly ten decimal numbers separated by commas (blanks around them allowed); the first
    // two not negative. Anything else is no placement.
    static std::optional<WindowPlacement> Parse(std::string_view text);
    std::string Format() const;

    bool IsMinimized() const;
    bool IsMaximized() const { return showCmd == kSwShowMaximized; }

    struct Rect {
        int x = 0, y = 0, width = 0, height = 0;
        friend bool operator==(const Rect&, const Rect&) = default;
    };
    // What a window opening with this placement does.
    struct Restore {
        Rect normal;             // the restored frame
        bool maximized = false;  // open maximised over it
        friend bool operator==(const Restore&, const Restore&) = default;
    };
    // The placement to open with on these screens; nullopt (keep the default placement) when
    // the normal rectangle is malformed or its top edge lies off every screen. A minimised or
    // hidden window opens shown, over its normal rectangle, maximised when it was maximised
    // before it was minimised.
    std::optional<Restore> Resolve(const std::vector<Rect>& screens) const;

    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

}  // namespace qs
