#pragma once
// Drives the new-device wizard as a user's clicks reach it: by the events of its buttons, lists
// and boxes, so the pages' own handlers run.
#include <string>

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/listbox.h>
#include <wx/radiobox.h>

#include "../dialogs/DialogDriving.h"
#include "app/tools/wizard/CDX3PropertySheet.h"
#include "app/tools/wizard/CDX3WizardPage.h"

namespace qs::test {

inline bool NextEnabled(CDX3PropertySheet& sheet) { return sheet.FindWindow(wxID_FORWARD)->IsEnabled(); }

// The page shown sits above the buttons (a page the wizard does not lay out covers them).
inline void ExpectLaidOut(CDX3PropertySheet& sheet) {
    wxWindow* page = sheet.GetCurrentPage();
    if (!page) return;
    sheet.Layout();
    EXPECT_LE(page->GetRect().GetBottom(), sheet.FindWindow(wxID_FORWARD)->GetPosition().y)
        << sheet.GetTitle() << " covers the buttons";
}

// Next (or Finish) and Back, as far as the buttons are enabled.
inline void Next(CDX3PropertySheet& sheet) {
    ASSERT_TRUE(NextEnabled(sheet));
    Click(sheet.FindWindow(wxID_FORWARD));
    ExpectLaidOut(sheet);
}

inline void Back(CDX3PropertySheet& sheet) {
    ASSERT_TRUE(sheet.FindWindow(wxID_BACKWARD)->IsEnabled());
    Click(sheet.FindWindow(wxID_BACKWARD));
    ExpectLaidOut(sheet);
}

// The page shown, as its place in the sheet's list; -1 when none (the wizard ended).
inline int Shown(const CDX3PropertySheet& sheet) {
    auto* page = dynamic_cast<CDX3WizardPage*>(sheet.GetCurrentPage());
    return page ? page->Index() : -1;
}

template <class Page>
Page* ShownPage(const CDX3PropertySheet& sheet) {
    return dynamic_cast<Page*>(sheet.GetCurrentPage());
}

// A row chosen in a list or a group, as a click on it reports it.
template <class Control>
void PickRow(Control* control, int row, wxEventType type) {
    control->SetSelection(row);
    wxCommandEvent event(type, control->GetId());
    event.SetEventObject(control);
    event.SetInt(row);
    control->GetEventHandler()->ProcessEvent(event);
}

inline void Pick(wxListBox* list, int row) { PickRow(list, row, wxEVT_LISTBOX); }
inline void Pick(wxRadioBox* group, int row) { PickRow(group, row, wxEVT_RADIOBOX); }

inline void Tick(wxCheckBox* box, bool on) {
    box->SetValue(on);
    wxCommandEvent event(wxEVT_CHECKBOX, box->GetId());
    event.SetEventObject(box);
    event.SetInt(on ? 1 : 0);
    box->GetEventHandler()->ProcessEvent(event);
}

inline std::string Text(const wxWindow* label) { return label->GetLabel().utf8_string(); }

}  // namespace qs::test
