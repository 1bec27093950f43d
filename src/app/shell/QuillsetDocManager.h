#pragma once
#include <wx/docview.h>

namespace qs {

// The document manager with a recent-file list of the configured length (none for 0). Files
// are opened and remembered by their absolute paths, so that a file named relative to the
// folder the program started in is found again from any other.
class QuillsetDocManager : public wxDocManager {
public:
    // Call Initialize() after construction (it makes the recent-file list).
    explicit QuillsetDocManager(int recentFileCount);

    wxFileHistory* OnCreateFileHistory() override;
    wxDocument* CreateDocument(const wxString& path, long flags = 0) override;
    void AddFileToHistory(const wxString& file) override;

    // `path` made absolute against the present folder; "" stays "".
    static wxString AbsolutePath(const wxString& path);

private:
    int recentFileCount_;
};

}  // namespace qs
