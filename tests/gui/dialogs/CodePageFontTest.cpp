#include <gtest/gtest.h>
#include <wx/fontenum.h>

#include "app/common/CodePageFont.h"
#include "app/common/CodePageText.h"
#include "programdata/CodePageTable.h"

namespace qs::test {

TEST(CodePageFont, EveryRowGetsAnInstalledFaceAndUnknownRowsUseTheFirst) {
    for (int index = 0; index < CodePageTable::kCount; ++index) {
        const wxString face = CodePageFaceName(index);
        EXPECT_TRUE(wxFontEnumerator::IsValidFacename(face)) << index << " " << face;
        if (wxFontEnumerator::IsValidFacename(CodePageTable::Row(index).faceName)) {
            EXPECT_EQ(face, CodePageTable::Row(index).faceName);
        }
    }
    EXPECT_EQ(CodePageFaceName(9), CodePageFaceName(0));
    EXPECT_EQ(CodePageFaceName(-1), CodePageFaceName(0));
    EXPECT_EQ(CodePageFont(9).GetFaceName(), CodePageFont(0).GetFaceName());
}

TEST(CodePageFont, ChineseRowUsesTwelvePixelFontWithChineseGlyphs) {
    wxFont font = CodePageFont(5);
    ASSERT_TRUE(font.IsOk());
    EXPECT_EQ(font.GetPixelSize().y, 12);
    // The GB2312 row must not fall back to a face without Chinese glyphs.
    const wxString face = CodePageFaceName(5);
    EXPECT_NE(face, CodePageFaceName(0));
}

TEST(CodePageText, ConvertsInTheDocumentsCodePageAndRefusesWhatItCannotHold) {
    EXPECT_EQ(FromCodePage("\xcf\xf0\xe8", 2), wxString::FromUTF8("При"));
    EXPECT_EQ(FromCodePage("\x8f\xe0\xa8", 1), wxString::FromUTF8("При"));
    EXPECT_EQ(FromCodePage("\xc4\xe5\xeb\xf4\xdf", 4), wxString::FromUTF8("Δελτί"));
    EXPECT_EQ(FromCodePage("\xd6\xd0\xce\xc4", 5), wxString::FromUTF8("中文"));
    EXPECT_EQ(FromCodePage("caf\xe9", 0), wxString::FromUTF8("café"));
    EXPECT_EQ(FromCodePage("caf\xe9", 17), wxString::FromUTF8("café")) << "unknown rows are the first";

    EXPECT_EQ(ToCodePage(wxString::FromUTF8("Δελτί"), 4), std::string("\xc4\xe5\xeb\xf4\xdf"));
    EXPECT_EQ(ToCodePage(wxString::FromUTF8("Łódź"), 3), std::string("\xa3\xf3\x64\x9f"));
    EXPECT_EQ(ToCodePage(wxString::FromUTF8("中文"), 5), std::string("\xd6\xd0\xce\xc4"));
    EXPECT_EQ(ToCodePage("", 0), std::string());
    EXPECT_EQ(ToCodePage(wxString::FromUTF8("中文"), 0), std::nullopt);
    EXPECT_EQ(ToCodePage(wxString::FromUTF8("Δ"), 2), std::nullopt);
}

}  // namespace qs::test
