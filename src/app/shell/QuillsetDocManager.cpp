#include "app/shell/QuillsetDocManager.h"

#include <wx/filehistory.h>

#include "programdata/AppOptions.h"

namespace qs {

QuillsetDocManager::QuillsetDocManager(int recentFileCount)
    : wxDocManager(0, false),
      recentFileCount_(recentFileCount < 0 ? 0 : recentFileCount > AppOptions::kMaxMRUFileCount
                                                     ? AppOptions::kMaxMRUFileCount
                                                     : recentFileCount) {}

wxFileHistory* QuillsetDocManager::OnCreateFileHistory() {
    // A list of no files would have nowhere to put the first one.
    if (recentFileCount_ == 0) return nullptr;
    return new wxFileHistory(static_cast<size_t>(recentFileCount_));
}

}  // namespace qs
