#include "emulators/displayui/KeyboardFilter.h"

#include <wx/event.h>
#include <wx/window.h>

#include "emulators/displayui/PcKeyMap.h"

namespace qs::displayui {

KeyboardFilter::KeyboardFilter(wxTopLevelWindow& faceplate, std::function<void(uint8_t)> send, bool withF2)
    : faceplate_(faceplate), send_(std::move(send)), withF2_(withF2) {
    wxEvtHandler::AddFilter(this);
}

KeyboardFilter::~KeyboardFilter() { wxEvtHandler::RemoveFilter(this); }

int KeyboardFilter::FilterEvent(wxEvent& event) {
    const wxEventType type = event.GetEventType();
    if (type != wxEVT_CHAR_HOOK && type != wxEVT_KEY_DOWN && type != wxEVT_CHAR && type != wxEVT_KEY_UP)
        return Event_Skip;
    auto* window = wxDynamicCast(event.GetEventObject(), wxWindow);
    if (!window || wxGetTopLevelParent(window) != &faceplate_) return Event_Skip;
    const auto& key = static_cast<const wxKeyEvent&>(event);
    if (key.AltDown() || key.MetaDown()) return Event_Skip;
    const std::optional<uint8_t> code = PcKeyMap::CodeOf(key.GetKeyCode(), withF2_);
    if (!code) return Event_Skip;
    if (type == wxEVT_KEY_UP) send_(*code);
    return Event_Processed;
}

}  // namespace qs::displayui
