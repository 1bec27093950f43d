#include "app/common/ModalPump.h"

#include <utility>
#include <vector>

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/evtloop.h>
#include <wx/eventfilter.h>
#include <wx/weakref.h>

namespace qs {

namespace {

int g_busy = 0;
std::vector<std::function<void()>> g_deferred;
wxAppConsole* g_idleBoundTo = nullptr;

bool InsideYield() {
    const wxEventLoopBase* loop = wxEventLoopBase::GetActive();
    return loop && loop->IsYielding();
}

void OnAppIdle(wxIdleEvent& event) {
    event.Skip();
    if (g_busy > 0 || InsideYield() || g_deferred.empty()) return;
    auto actions = std::move(g_deferred);
    g_deferred.clear();
    for (auto& action : actions) action();
}

void Defer(std::function<void()> action) {
    if (wxTheApp && g_idleBoundTo != wxTheApp) {
        wxTheApp->Bind(wxEVT_IDLE, &OnAppIdle);
        g_idleBoundTo = wxTheApp;
    }
    g_deferred.push_back(std::move(action));
}

// Closes of frames wait while busy; dialogs (message boxes asked during a transfer, the
// progress window itself) close as usual.
class CloseDeferral final : public wxEventFilter {
public:
    int FilterEvent(wxEvent& event) override {
        if (g_busy == 0 || event.GetEventType() != wxEVT_CLOSE_WINDOW) return Event_Skip;
        auto* win = dynamic_cast<wxWindow*>(event.GetEventObject());
        if (!win || dynamic_cast<wxDialog*>(win)) return Event_Skip;
        auto& close = static_cast<wxCloseEvent&>(event);
        const bool force = !close.CanVeto();
        if (close.CanVeto()) close.Veto();
        wxWeakRef<wxWindow> ref(win);
        Defer([ref, force] {
            if (ref) ref->Close(force);
        });
        return Event_Processed;
    }
};

CloseDeferral g_closeDeferral;

}  // namespace

void ModalPump::Yield(long categories) {
    if (wxEventLoopBase* loop = wxEventLoopBase::GetActive()) {
        loop->YieldFor(categories);
        return;
    }
    // Before the main loop runs (start-up, test programs) a loop of our own dispatches.
    wxGUIEventLoop own;
    wxEventLoopActivator activate(&own);
    own.YieldFor(categories);
}

void ModalPump::WaitForEvent(int ms) {
    const unsigned long timeout = ms > 0 ? static_cast<unsigned long>(ms) : 0;
    if (wxEventLoopBase* loop = wxEventLoopBase::GetActive()) {
        loop->DispatchTimeout(timeout);
        return;
    }
    wxGUIEventLoop own;
    wxEventLoopActivator activate(&own);
    own.DispatchTimeout(timeout);
}

ModalPump::BusyScope::BusyScope() {
    if (g_busy++ == 0) wxEvtHandler::AddFilter(&g_closeDeferral);
}

ModalPump::BusyScope::~BusyScope() {
    if (--g_busy == 0) {
        wxEvtHandler::RemoveFilter(&g_closeDeferral);
        if (!g_deferred.empty()) wxWakeUpIdle();
    }
}

bool ModalPump::IsBusy() { return g_busy > 0; }

void ModalPump::RunWhenFree(std::function<void()> action) {
    if (g_busy == 0 && !InsideYield()) {
        action();
        return;
    }
    Defer(std::move(action));
    wxWakeUpIdle();
}

}  // namespace qs
