#include "app/common/CodePageFont.h"

#include <wx/fontenum.h>
#include <wx/settings.h>

#include <array>

#include "programdata/CodePageTable.h"

namespace qs {

namespace {

wxString ResolveFace(int index) {
    const CodePageRow& row = CodePageTable::Row(index);
    if (wxFontEnumerator::IsValidFacename(row.faceName)) return row.faceName;
    // Stand-ins from the packages the program installs: one with the Chinese glyphs for the
    // GB2312 row, one with Latin, Cyrillic, Greek and Central European glyphs for the others.
    static constexpr std::array<const char*, 3> kChinese = {"WenQuanYi Micro Hei", "Noto Sans CJK SC",
                                                             "Droid Sans Fallback"};
    static constexpr std::array<const char*, 3> kOthers = {"DejaVu Sans Mono", "DejaVu Sans", "Noto Sans Mono"};
    for (const char* face : row.charset == CodePageTable::kGb2312Charset ? kChinese : kOthers) {
        if (wxFontEnumerator::IsValidFacename(face)) return face;
    }
    return wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT).GetFaceName();
}

}  // namespace

wxString CodePageFaceName(int codePageIndex) {
    // Enumerating the installed faces is slow; what is installed does not change while we run.
    static std::array<wxString, CodePageTable::kCount> resolved;
    const int index = CodePageTable::IsValidIndex(codePageIndex) ? codePageIndex : 0;
    wxString& face = resolved[static_cast<size_t>(index)];
    if (face.empty()) face = ResolveFace(index);
    return face;
}

wxFont CodePageFont(int codePageIndex) {
    const CodePageRow& row = CodePageTable::Row(codePageIndex);
    wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    font.SetFaceName(CodePageFaceName(codePageIndex));
    if (row.pixelHeight > 0) font.SetPixelSize(wxSize(0, row.pixelHeight));
    return font;
}

}  // namespace qs
