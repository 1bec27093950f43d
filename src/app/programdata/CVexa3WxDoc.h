#pragma once
#include <memory>

#include <wx/docview.h>

#include "programdata/DocumentObserver.h"

namespace qs {

class CVexa3Doc;
struct AppServices;

// The program-data document as the document manager sees it: open, save, save as, the
// modified flag and the update of every view, over the core document that holds the data and
// the link. The core document tells this one when its values or its state change. Its template
// makes it with the application's services (see CPowerDocTemplate).
class CVexa3WxDoc : public wxDocument, public DocumentObserver {
    wxDECLARE_CLASS(CVexa3WxDoc);

public:
    explicit CVexa3WxDoc(const AppServices& services);
    ~CVexa3WxDoc() override;
    CVexa3WxDoc(const CVexa3WxDoc&) = delete;
    CVexa3WxDoc& operator=(const CVexa3WxDoc&) = delete;

    const AppServices& Services() const { return services_; }
    CVexa3Doc& Core() { return *core_; }
    const CVexa3Doc& Core() const { return *core_; }

    // The open document wrapping `core` (compared by address only), null when none does.
    static CVexa3WxDoc* FromCore(const void* core);

    bool OnNewDocument() override;
    bool OnCloseDocument() override;
    // "Save changes to <title>?" with Yes, No and Cancel, as the program's other boxes.
    bool OnSaveModified() override;
    // As the template says: the kind's extension is added to a name without one.
    bool SaveAs() override;
    // The titles of the document's windows: its name, numbered ":1", ":2" ... while it has
    // several.
    void RetitleWindows();
    bool RemoveView(wxView* view) override;
    bool IsModified() const override;
    void Modify(bool modified) override;
    void OnChangeFilename(bool notifyViews) override;

    void OnDocumentChanged(CVexa3Doc& document) override;
    void OnStateChanged(CVexa3Doc& document, int state) override;

protected:
    bool DoOpenDocument(const wxString& file) override;
    bool DoSaveDocument(const wxString& file) override;

private:
    const AppServices& services_;
    std::unique_ptr<CVexa3Doc> core_;
    bool opening_ = false;
};

}  // namespace qs
