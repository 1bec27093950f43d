#pragma once
#include <functional>

namespace qs {

// Event dispatch while device I/O holds the user-interface thread. Transfers and socket
// waits run synchronously; between their steps they let wx dispatch what is pending through
// here. While one runs ("busy"), a request to close a frame (the main window, so the
// application, or a document's frame) would pull the document from under the transfer: it
// is kept and made again once the program is back in its main loop with nothing running.
class ModalPump {
public:
    // Dispatches what is pending now, limited to the given wxEventCategory bits (user input
    // and paint for a modal pump, everything for a non-modal one). Works whether or not an
    // event loop is running yet.
    static void Yield(long categories);
    // Waits up to `ms` for the next event and dispatches it (input to disabled windows is
    // dropped by the toolkit).
    static void WaitForEvent(int ms);

    // Marks the program busy for its lifetime.
    class BusyScope {
    public:
        BusyScope();
        ~BusyScope();
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;
    };
    static bool IsBusy();

    // Runs `action` now when nothing is busy, else once the program is idle in its main
    // loop again with nothing busy.
    static void RunWhenFree(std::function<void()> action);
};

}  // namespace qs
