#pragma once
#include <string>
#include <vector>

#include <wx/docview.h>

class wxDocTemplate;
class wxListCtrl;
class wxMDIParentFrame;

namespace qs {

// The transfer-error log: the device's rejections during a bulk read or write of one
// program-data document, one line each, in a window of its own titled "Download Error Log - "
// and the document's title. Closing the window closes only the log.
class CErrorLogView : public wxView {
    wxDECLARE_DYNAMIC_CLASS(CErrorLogView);

public:
    static constexpr const char* kCaptionPrefix = "Download Error Log - ";

    CErrorLogView() = default;
    ~CErrorLogView() override;

    // A log for the lines of `owner` (a core document): through `logTemplate` on `doc` when the
    // owner has a document, else in a window of its own.
    static CErrorLogView* Open(wxMDIParentFrame* parent, wxDocTemplate* logTemplate, wxDocument* doc,
                               const void* owner);

    bool OnCreate(wxDocument* doc, long flags) override;
    void OnDraw(wxDC*) override {}
    bool OnClose(bool deleteWindow) override;
    void OnChangeFilename() override;
    void OnActivateView(bool activate, wxView* activeView, wxView* deactiveView) override;

    const void* Owner() const { return owner_; }
    // Empties the list and gives it to another document's lines.
    void Reattach(wxDocument* doc, const void* owner);
    // Lets go of the document (which is closing) so that deleting the view never touches it.
    void Detach();

    void AddLine(const std::string& line);
    void Clear();
    std::vector<std::string> Lines() const;
    wxListCtrl* List() const { return list_; }
    wxString Caption() const;

private:
    void UpdateCaption();

    const void* owner_ = nullptr;
    wxListCtrl* list_ = nullptr;
    wxMDIParentFrame* parent_ = nullptr;
};

}  // namespace qs
