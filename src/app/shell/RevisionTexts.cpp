#include "app/shell/RevisionTexts.h"

#include <wx/fontenum.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "app/shell/CMainStatusBar.h"
#include "app/common/WxText.h"
#include "programdata/Revision.h"

namespace qs {

namespace {

// "Arial Bold", or the nearest installed face.
wxFont RevisionFont() {
    wxString face = "Arial";
    for (const char* candidate : {"Arial", "Liberation Sans", "DejaVu Sans"}) {
        if (wxFontEnumerator::IsValidFacename(candidate)) {
            face = candidate;
            break;
        }
    }
    return wxFont(wxFontInfo(16).Bold().FaceName(face));
}

}  // namespace

void RevisionTexts::Add(wxWindow* parent, wxSizer* sizer) {
    parent->SetBackgroundColour(*wxWHITE);
    const wxColour red = FromColorRef(kTextColorRef);
    auto* revision = new wxStaticText(parent, 1165, ToWx(ProgramRevisionText()));
    revision->SetFont(RevisionFont());
    revision->SetForegroundColour(red);
    revision->SetBackgroundColour(*wxWHITE);
    auto* notice = new wxStaticText(parent, 1166, kNotice, wxDefaultPosition, wxDefaultSize, wxALIGN_CENTRE_HORIZONTAL);
    notice->SetForegroundColour(red);
    notice->SetBackgroundColour(*wxWHITE);
    sizer->Add(revision, 0, wxALIGN_CENTRE_HORIZONTAL | wxALL, 8);
    sizer->Add(notice, 0, wxALIGN_CENTRE_HORIZONTAL | wxLEFT | wxRIGHT | wxBOTTOM, 12);
}

}  // namespace qs
