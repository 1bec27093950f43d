#pragma once
#include <string>

#include <wx/docview.h>

#include "appmodel/totals/TotalsLists.h"

class wxButton;
class wxListCtrl;
class wxMDIParentFrame;
class wxStaticText;

namespace qs {

class CVexa3WxDoc;
class PrintSheet;

// The non-resettable totals of a program-data document's device, in a window of their own on
// the document: the products of each arm with the arms' totals, the additives and the recipes,
// a status text, and Print (three pages) and Close. The totals are read once, as soon as the
// window is shown; the window cannot be closed while they are read. Closing it leaves the
// document open.
class CTotalsView : public wxView {
    wxDECLARE_DYNAMIC_CLASS(CTotalsView);

public:
    static constexpr const char* kTitle = "Nonresettable Totals";
    static constexpr const char* kTitleSuffix = " - Nonresettable Totals";
    static constexpr int kHelpId = 150;

    CTotalsView() = default;
    ~CTotalsView() override;

    // A totals window on `doc` in `parent`; null when it could not be made.
    static CTotalsView* Open(wxMDIParentFrame* parent, CVexa3WxDoc& doc);

    bool OnCreate(wxDocument* doc, long flags) override;
    void OnDraw(wxDC*) override {}
    // Refused while the totals are being read; otherwise only this window goes.
    bool OnClose(bool deleteWindow) override;

    // Reads the totals (once; later calls do nothing). Waits for a device command that is
    // running to end first.
    void ReadTotals();
    bool Reading() const { return reading_; }
    bool Read() const { return read_; }

    const TotalsLists& Lists() const { return lists_; }
    wxListCtrl* List(TotalsLists::Which which) const { return listCtrls_[which]; }
    wxStaticText* StatusText() const { return status_; }
    wxButton* PrintButton() const { return print_; }
    wxButton* CloseButton() const { return close_; }

    // The report's pages; then the print dialog.
    void LaySheet(PrintSheet& sheet) const;
    void Print();

private:
    void Build(wxWindow* frame);
    void Show(int which);
    void ReadNow();
    CVexa3WxDoc* Doc() const;

    TotalsLists lists_;
    wxListCtrl* listCtrls_[3] = {nullptr, nullptr, nullptr};
    wxStaticText* status_ = nullptr;
    wxButton* print_ = nullptr;
    wxButton* close_ = nullptr;
    bool reading_ = false;
    bool started_ = false;
    bool read_ = false;
};

}  // namespace qs
