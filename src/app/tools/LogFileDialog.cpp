#include "app/tools/LogFileDialog.h"

#include "app/common/WxText.h"

namespace qs {

wxString LogFileDialog::Wildcard() {
    // The filter ends with "||" as the Windows dialogs want; wx takes the pairs alone.
    wxString filter = ToWx(LogFileChoice::kFilter);
    while (filter.EndsWith("|")) filter.RemoveLast();
    return filter;
}

std::unique_ptr<wxFileDialog> LogFileDialog::Make(wxWindow* parent, const LogFileChoice& choice,
                                                  const std::string& folder) {
    return std::make_unique<wxFileDialog>(parent, ToWx(choice.title), ToWx(folder), ToWx(choice.proposedName),
                                          Wildcard(), wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
}

std::optional<std::string> LogFileDialog::Choose(wxWindow* parent, const LogFileChoice& choice,
                                                 const std::string& folder) {
    std::unique_ptr<wxFileDialog> dialog = Make(parent, choice, folder);
    if (dialog->ShowModal() != wxID_OK) return std::nullopt;
    return LogFileChoice::WithDefaultExtension(dialog->GetPath().utf8_string());
}

}  // namespace qs
