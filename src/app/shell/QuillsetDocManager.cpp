#include "app/shell/QuillsetDocManager.h"

#include <wx/filehistory.h>
#include <wx/filename.h>

#include "programdata/AppOptions.h"

namespace qs {

QuillsetDocManager::QuillsetDocManager(int recentFileCount)
    : wxDocManager(0, false),
      recentFileCount_(recentFileCount < 0 ? 0 : recentFileCount > AppOptions::kMaxMRUFileCount
                                                     ? AppOptions::kMaxMRUFileCount
                                                     : recentFileCount) {}

wxString QuillsetDocManager::AbsolutePath(const wxString& path) {
    if (path.empty()) return path;
    wxFileName name(path);
    name.MakeAbsolute();
    return name.GetFullPath();
}

wxDocument* QuillsetDocManager::CreateDocument(const wxString& path, long flags) {
    // A new document's "path" is no file (the manager may be asked to choose one instead).
    if (flags & wxDOC_NEW) return wxDocManager::CreateDocument(path, flags);
    return wxDocManager::CreateDocument(AbsolutePath(path), flags);
}

void QuillsetDocManager::AddFileToHistory(const wxString& file) { wxDocManager::AddFileToHistory(AbsolutePath(file)); }

wxFileHistory* QuillsetDocManager::OnCreateFileHistory() {
    // A list of no files would have nowhere to put the first one.
    if (recentFileCount_ == 0) return nullptr;
    return new wxFileHistory(static_cast<size_t>(recentFileCount_));
}

}  // namespace qs
