#include "app/shell/CSplashWnd.h"

#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/weakref.h>

#include "app/shell/RevisionTexts.h"

namespace qs {

namespace {

wxWeakRef<CSplashWnd> g_current;

}  // namespace

CSplashWnd::CSplashWnd(wxWindow* parent)
    : wxFrame(parent, wxID_ANY, kTitle, wxDefaultPosition, wxDefaultSize,
              wxFRAME_TOOL_WINDOW | wxSTAY_ON_TOP | wxFRAME_NO_TASKBAR | wxBORDER_SIMPLE |
                  (parent ? wxFRAME_FLOAT_ON_PARENT : 0)),
      timer_(this, kTimerId) {
    auto* panel = new wxPanel(this);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    auto* name = new wxStaticText(panel, wxID_ANY, "Quillset");
    name->SetFont(wxFont(wxFontInfo(28).Bold()));
    name->SetForegroundColour(wxColour(30, 60, 130));
    auto* product = new wxStaticText(panel, wxID_ANY, "for Duravane III.net");
    product->SetFont(wxFont(wxFontInfo(12).Italic()));
    product->SetForegroundColour(wxColour(30, 60, 130));
    sizer->Add(name, 0, wxALIGN_CENTRE_HORIZONTAL | wxLEFT | wxRIGHT | wxTOP, 24);
    sizer->Add(product, 0, wxALIGN_CENTRE_HORIZONTAL | wxBOTTOM, 8);
    RevisionTexts::Add(panel, sizer);
    sizer->AddSpacer(12);
    panel->SetSizer(sizer);
    auto* frameSizer = new wxBoxSizer(wxVERTICAL);
    frameSizer->Add(panel, 1, wxEXPAND);
    SetSizerAndFit(frameSizer);

    Bind(wxEVT_TIMER, &CSplashWnd::OnTimer, this, kTimerId);
    if (parent) CentreOnParent();
    else Centre();
    g_current = this;
    ShowWithoutActivating();
    Update();
    timer_.StartOnce(kShowMs);
}

CSplashWnd* CSplashWnd::Current() { return g_current.get(); }

void CSplashWnd::OnTimer(wxTimerEvent&) {
    timer_.Stop();
    Destroy();
}

}  // namespace qs
