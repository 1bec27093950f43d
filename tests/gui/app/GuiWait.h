#pragma once
#include <chrono>
#include <functional>
#include <memory>

#include <wx/window.h>

#include "app/common/ModalPump.h"

namespace qs::test {

// Dispatches events until `done` holds or `ms` have passed; true when it held.
inline bool PumpUntil(const std::function<bool()>& done, int ms = 5000,
                      const std::function<void()>& pump = [] { qs::ModalPump::WaitForEvent(10); }) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        pump();
    }
    return true;
}

// Waits until the window has been drawn on the (virtual) screen, so simulated input lands.
inline bool WaitUntilDrawn(wxWindow* win, int ms = 5000) {
    // The handler stays bound (it only notes the paint), so it holds its flag itself.
    auto drawn = std::make_shared<bool>(false);
    win->Bind(wxEVT_PAINT, [drawn](wxPaintEvent& e) {
        *drawn = true;
        e.Skip();
    });
    win->Refresh();
    return PumpUntil([&] { return *drawn; }, ms);
}

}  // namespace qs::test
