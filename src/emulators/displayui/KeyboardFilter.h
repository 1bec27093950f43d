#pragma once
#include <cstdint>
#include <functional>

#include <wx/eventfilter.h>
#include <wx/toplevel.h>

namespace qs::displayui {

// The PC keyboard as the device's keypad, whichever child of the faceplate has the focus: a
// mapped key's press, character and release are all taken (none reaches a button or the
// window), and its key code is sent once, on the release. Alt combinations and keys typed into
// other windows (the setup dialog) keep their usual meaning.
class KeyboardFilter final : public wxEventFilter {
public:
    KeyboardFilter(wxTopLevelWindow& faceplate, std::function<void(uint8_t)> send, bool withF2 = true);
    ~KeyboardFilter() override;
    KeyboardFilter(const KeyboardFilter&) = delete;
    KeyboardFilter& operator=(const KeyboardFilter&) = delete;

    int FilterEvent(wxEvent& event) override;

private:
    wxTopLevelWindow& faceplate_;
    std::function<void(uint8_t)> send_;
    bool withF2_;
};

}  // namespace qs::displayui
