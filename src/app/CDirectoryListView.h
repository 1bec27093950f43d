#pragma once
#include <wx/docview.h>

class wxListCtrl;
class wxStaticText;

namespace qs {

class CVexa3WxDoc;

// A program-data document's window as a plain list: the document's description and link, and
// one row per directory of its chain (name, mnemonic, instances, program codes). Opening a
// document from its file connects it when the option says so.
class CDirectoryListView : public wxView {
    wxDECLARE_DYNAMIC_CLASS(CDirectoryListView);

public:
    enum Column : int { kNameColumn = 0, kMnemonicColumn, kInstancesColumn, kCodesColumn };

    CDirectoryListView() = default;

    bool OnCreate(wxDocument* doc, long flags) override;
    void OnUpdate(wxView* sender, wxObject* hint) override;
    void OnDraw(wxDC*) override {}
    bool OnClose(bool deleteWindow) override;

    wxListCtrl* List() const { return list_; }
    wxStaticText* Heading() const { return heading_; }

private:
    CVexa3WxDoc* Document() const;
    void Fill();

    wxListCtrl* list_ = nullptr;
    wxStaticText* heading_ = nullptr;
    bool initialUpdateDone_ = false;
};

}  // namespace qs
