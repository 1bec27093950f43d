#include "emulators/displayui/EmulatorPrompt.h"

#include <wx/msgdlg.h>
#include <wx/generic/msgdlgg.h>

namespace qs::displayui {
namespace {

long StyleOf(unsigned type) {
    long style = 0;
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: style = wxOK | wxCANCEL; break;
    case MB_YESNO: style = wxYES_NO; break;
    case MB_YESNOCANCEL: style = wxYES_NO | wxCANCEL; break;
    default: style = wxOK; break;
    }
    switch (type & MB_ICONMASK) {
    case MB_ICONERROR: style |= wxICON_ERROR; break;
    case MB_ICONQUESTION: style |= wxICON_QUESTION; break;
    case MB_ICONWARNING: style |= wxICON_WARNING; break;
    default: style |= wxICON_INFORMATION; break;
    }
    return style;
}

}  // namespace

int EmulatorPrompt::MessageBox(const std::string& text, const std::string& caption, unsigned type) {
    const unsigned buttons = type & MB_TYPEMASK;
    // The emulators ask nothing with other button sets; such a box takes the cautious answer.
    if (buttons != MB_OK && buttons != MB_OKCANCEL && buttons != MB_YESNO && buttons != MB_YESNOCANCEL)
        return DefaultAnswer(type);
    wxGenericMessageDialog box(owner_.get(), wxString::FromUTF8(text),
                               caption.empty() ? appName_ : wxString::FromUTF8(caption), StyleOf(type));
    switch (box.ShowModal()) {
    case wxID_OK: return IDOK;
    case wxID_YES: return IDYES;
    case wxID_NO: return IDNO;
    default: return buttons == MB_OK ? IDOK : DefaultAnswer(type);
    }
}

}  // namespace qs::displayui
