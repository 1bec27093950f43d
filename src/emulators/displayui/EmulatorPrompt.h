#pragma once
#include <string>

#include <wx/string.h>
#include <wx/weakref.h>
#include <wx/window.h>

#include "platform/Prompt.h"

namespace qs::displayui {

// Message boxes of an emulator program, over its faceplate. They are wxWidgets' own dialogs,
// not the toolkit's, so that ending the program from outside can close one that is open.
class EmulatorPrompt final : public Prompt {
public:
    explicit EmulatorPrompt(wxString appName) : appName_(std::move(appName)) {}
    void SetOwner(wxWindow* owner) { owner_ = owner; }
    int MessageBox(const std::string& text, const std::string& caption, unsigned type) override;

private:
    wxString appName_;
    wxWeakRef<wxWindow> owner_;
};

}  // namespace qs::displayui
