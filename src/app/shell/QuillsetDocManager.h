#pragma once
#include <wx/docview.h>

namespace qs {

// The document manager with a recent-file list of the configured length (none for 0).
class QuillsetDocManager : public wxDocManager {
public:
    // Call Initialize() after construction (it makes the recent-file list).
    explicit QuillsetDocManager(int recentFileCount);

    wxFileHistory* OnCreateFileHistory() override;

private:
    int recentFileCount_;
};

}  // namespace qs
