#include "app/common/WxText.h"

#include <wx/strconv.h>

namespace qs {

wxString ToWx(const std::string& text) {
    wxString utf8 = wxString::FromUTF8(text.data(), text.size());
    if (!utf8.empty() || text.empty()) return utf8;
    static wxCSConv cp1252(wxFONTENCODING_CP1252);
    wxString cp(text.data(), cp1252, text.size());
    if (!cp.empty()) return cp;
    // Bytes Windows-1252 leaves undefined: Latin-1 takes every byte.
    return wxString(text.data(), wxConvISO8859_1, text.size());
}

}  // namespace qs
