#pragma once
#include <wx/font.h>
#include <wx/string.h>

namespace qs {

// The font a document's text values are shown in, by the row of the code-page table. A face
// that is not installed is replaced by an installed one that covers the same script.
wxString CodePageFaceName(int codePageIndex);
wxFont CodePageFont(int codePageIndex);

}  // namespace qs
