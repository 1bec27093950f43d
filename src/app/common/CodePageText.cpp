#include "app/common/CodePageText.h"

#include <wx/strconv.h>

#include "programdata/CodePageTable.h"

namespace qs {

namespace {

wxFontEncoding EncodingOf(int codePageIndex) {
    switch (CodePageTable::Row(codePageIndex).codePage) {
    case 866: return wxFONTENCODING_CP866;
    case 1250: return wxFONTENCODING_CP1250;
    case 1251: return wxFONTENCODING_CP1251;
    case 1253: return wxFONTENCODING_CP1253;
    case 936: return wxFONTENCODING_CP936;
    default: return wxFONTENCODING_CP1252;
    }
}

}  // namespace

wxString FromCodePage(std::string_view bytes, int codePageIndex) {
    if (bytes.empty()) return {};
    wxCSConv conv(EncodingOf(codePageIndex));
    wxString text(bytes.data(), conv, bytes.size());
    // A byte the page does not define (e.g. 0x81 in 1252) is shown as '?' rather than
    // dropping the whole text.
    if (text.empty()) {
        for (char c : bytes) text += static_cast<unsigned char>(c) < 0x80 ? wxUniChar(c) : wxUniChar('?');
    }
    return text;
}

std::optional<std::string> ToCodePage(const wxString& text, int codePageIndex) {
    if (text.empty()) return std::string();
    wxCSConv conv(EncodingOf(codePageIndex));
    const std::wstring wide = text.ToStdWstring();
    const size_t length = conv.FromWChar(nullptr, 0, wide.data(), wide.size());
    if (length == wxCONV_FAILED) return std::nullopt;
    std::string bytes(length, '\0');
    if (conv.FromWChar(bytes.data(), length, wide.data(), wide.size()) == wxCONV_FAILED) return std::nullopt;
    return bytes;
}

}  // namespace qs
