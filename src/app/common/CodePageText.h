#pragma once
#include <wx/string.h>

#include <optional>
#include <string>
#include <string_view>

namespace qs {

// Document texts are bytes in the document's code page (a row of the code-page table); they
// are converted only where a window shows or reads them.
wxString FromCodePage(std::string_view bytes, int codePageIndex);
// nullopt when the text has characters the code page cannot hold: such a text is refused,
// never stored with substitutes.
std::optional<std::string> ToCodePage(const wxString& text, int codePageIndex);

}  // namespace qs
