#pragma once
#include <chrono>
#include <functional>

#include <wx/app.h>

#include "app/common/ModalPump.h"

namespace qs::test {

// Dispatches events until `done` holds or `ms` have passed; true when it held.
inline bool PumpUntil(const std::function<bool()>& done, int ms = 5000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        qs::ModalPump::WaitForEvent(10);
        // No main loop runs in a test program: idle time (where deferred work runs) is given here.
        if (wxTheApp) wxTheApp->ProcessIdle();
    }
    return true;
}

// Lets the toolkit run for `ms` (layout, paint, idle).
inline void PumpFor(int ms) {
    PumpUntil([] { return false; }, ms);
}

}  // namespace qs::test
