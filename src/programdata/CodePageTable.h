#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace qs {

// The code pages a document's text values can be in, with the font face each is shown in.
// Documents keep the index; the program-code, report and translation editors pick their
// value font by it.
struct CodePageRow {
    const char* listText;  // as the code-page lists show it
    const char* faceName;  // font face the texts are drawn in
    uint8_t charset;       // Windows character set of the font (0 = ANSI)
    int pixelHeight;       // cell height in pixels; 0 = the default size
    int codePage;          // the Windows code page of the stored bytes
};

class CodePageTable {
public:
    static constexpr int kCount = 6;
    static constexpr uint8_t kGb2312Charset = 134;

    static const std::array<CodePageRow, kCount>& Rows();
    static bool IsValidIndex(int index) { return index >= 0 && index < kCount; }
    // The row of the index; any index outside 0-5 uses the first row.
    static const CodePageRow& Row(int index);
};

}  // namespace qs
