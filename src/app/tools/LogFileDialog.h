#pragma once
#include <memory>
#include <optional>
#include <string>

#include <wx/filedlg.h>

#include "appmodel/logs/LogKind.h"

namespace qs {

// The Save As dialog of a log download: the log's title, the proposed file name in the
// document's folder (or the current one), text files or all files, and a question before an
// existing file is replaced. The chosen name gets ".txt" when it has none.
class LogFileDialog {
public:
    // The dialog, not yet shown.
    static std::unique_ptr<wxFileDialog> Make(wxWindow* parent, const LogFileChoice& choice, const std::string& folder);
    // The wx form of the choice's filter ("Text files (*.txt)|*.txt|All files (*.*)|*.*").
    static wxString Wildcard();
    // Shows it; the path chosen, or nullopt after Cancel.
    static std::optional<std::string> Choose(wxWindow* parent, const LogFileChoice& choice, const std::string& folder);
};

}  // namespace qs
