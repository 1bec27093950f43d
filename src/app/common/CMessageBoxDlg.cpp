#include "app/common/CMessageBoxDlg.h"

#include <cctype>

#include <wx/app.h>
#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "app/common/WxText.h"
#include "platform/Prompt.h"

namespace qs {

namespace {

// Button ids are the ID* values offset past wx's own ids, so a result maps back directly.
constexpr int kIdBase = wxID_HIGHEST + 100;

wxArtID IconFor(unsigned type) {
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return wxART_ERROR;
    case MB_ICONQUESTION: return wxART_QUESTION;
    case MB_ICONEXCLAMATION: return wxART_WARNING;
    case MB_ICONASTERISK: return wxART_INFORMATION;
    default: return wxArtID();
    }
}

}  // namespace

MessageBoxLayout MessageBoxLayoutFor(unsigned type) {
    MessageBoxLayout l;
    const MessageBoxLayout::Button ok{"OK", IDOK}, cancel{"Cancel", IDCANCEL}, abort{"&Abort", IDABORT},
        retry{"&Retry", IDRETRY}, ignore{"&Ignore", IDIGNORE}, yes{"&Yes", IDYES}, no{"&No", IDNO};
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: l.buttons = {ok, cancel}; l.escapeResult = IDCANCEL; break;
    case MB_ABORTRETRYIGNORE: l.buttons = {abort, retry, ignore}; break;
    case MB_YESNOCANCEL: l.buttons = {yes, no, cancel}; l.escapeResult = IDCANCEL; break;
    case MB_YESNO: l.buttons = {yes, no}; break;
    case MB_RETRYCANCEL: l.buttons = {retry, cancel}; l.escapeResult = IDCANCEL; break;
    default: l.buttons = {ok}; l.escapeResult = IDOK; break;  // MB_OK and unknown sets
    }
    const std::size_t wanted = (type & MB_DEFBUTTON3) ? 2 : (type & MB_DEFBUTTON2) ? 1 : 0;
    l.defaultIndex = wanted < l.buttons.size() ? wanted : 0;
    return l;
}

int MessageBoxLayout::ResultForKey(int key) const {
    if (key <= 0 || key > 0x7F) return 0;
    const int wanted = std::tolower(key);
    for (const Button& b : buttons) {
        const std::size_t amp = b.label.find('&');
        if (amp != std::string::npos && amp + 1 < b.label.size() &&
            std::tolower(static_cast<unsigned char>(b.label[amp + 1])) == wanted)
            return b.result;
    }
    return 0;
}

CMessageBoxDlg::CMessageBoxDlg(wxWindow* parent, const std::string& text, const std::string& caption,
                               unsigned type)
    : layout_(MessageBoxLayoutFor(type)), type_(type) {
    const wxString title = caption.empty() && wxTheApp ? wxTheApp->GetAppDisplayName() : ToWx(caption);
    long style = wxCAPTION;
    if (layout_.escapeResult != 0) style |= wxSYSTEM_MENU | wxCLOSE_BOX;
    Create(parent, wxID_ANY, title, wxDefaultPosition, wxDefaultSize, style);

    auto* body = new wxBoxSizer(wxHORIZONTAL);
    const wxArtID art = IconFor(type);
    if (!art.empty()) {
        auto* icon = new wxStaticBitmap(this, wxID_ANY, wxArtProvider::GetBitmapBundle(art, wxART_MESSAGE_BOX));
        body->Add(icon, wxSizerFlags(0).Top().Border(wxRIGHT, FromDIP(12)));
    }
    auto* message = new wxStaticText(this, wxID_ANY, wxString());
    message->SetLabelText(ToWx(text));
    message->Wrap(FromDIP(480));
    body->Add(message, wxSizerFlags(1).CenterVertical());

    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->AddStretchSpacer(1);
    wxButton* defaultButton = nullptr;
    for (std::size_t i = 0; i < layout_.buttons.size(); ++i) {
        const auto& b = layout_.buttons[i];
        auto* button = new wxButton(this, kIdBase + b.result, wxString::FromUTF8(b.label));
        row->Add(button, wxSizerFlags(0).Border(wxLEFT, FromDIP(6)));
        if (i == layout_.defaultIndex) defaultButton = button;
    }

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(body, wxSizerFlags(1).Expand().Border(wxALL, FromDIP(12)));
    top->Add(row, wxSizerFlags(0).Expand().Border(wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(12)));
    FinishLayout(top);

    SetEscapeId(layout_.escapeResult != 0 ? kIdBase + layout_.escapeResult : wxID_NONE);
    SetAffirmativeId(wxID_NONE);
    if (defaultButton) {
        defaultButton->SetDefault();
        defaultButton->SetFocus();
    }
    Bind(wxEVT_BUTTON, &CMessageBoxDlg::OnButton, this);
    Bind(wxEVT_CLOSE_WINDOW, &CMessageBoxDlg::OnClose, this);
    Bind(wxEVT_CHAR_HOOK, &CMessageBoxDlg::OnCharHook, this);
}

int CMessageBoxDlg::Run() {
    const int id = ShowModal();
    for (const auto& b : layout_.buttons) {
        if (id == kIdBase + b.result) return b.result;
    }
    // Ended some other way (the program closing under it): the cautious answer.
    return DefaultAnswer(type_);
}

void CMessageBoxDlg::OnButton(wxCommandEvent& event) {
    for (const auto& b : layout_.buttons) {
        if (event.GetId() == kIdBase + b.result) {
            EndModal(event.GetId());
            return;
        }
    }
    event.Skip();
}

void CMessageBoxDlg::OnCharHook(wxKeyEvent& event) {
    // As in the system's own boxes, a button's underlined letter answers with or without Alt.
    const int modifiers = event.GetModifiers() & ~(wxMOD_SHIFT | wxMOD_ALT);
    const int result = modifiers == 0 ? layout_.ResultForKey(static_cast<int>(event.GetUnicodeKey())) : 0;
    if (result == 0) {
        event.Skip();
        return;
    }
    EndModal(kIdBase + result);
}

void CMessageBoxDlg::OnClose(wxCloseEvent& event) {
    if (layout_.escapeResult != 0) {
        EndModal(kIdBase + layout_.escapeResult);
    } else if (event.CanVeto()) {
        event.Veto();  // no Cancel in this set: the user must choose
    } else {
        EndModal(wxID_NONE);
    }
}

}  // namespace qs
