#include "programdata/CodePageTable.h"

namespace qs {

const std::array<CodePageRow, CodePageTable::kCount>& CodePageTable::Rows() {
    static const std::array<CodePageRow, kCount> rows = {{
        {"Default  (1252 - ISO Latin-1)", "Kez Bold", 0, 0, 1252},
        {"Cyrillic (866 - Russian DOS)", "Kez 866 Bold (DOS Cyrillic)", 0, 0, 866},
        {"Cyrillic (1251 - Russian Windows)", "Kez 1251 Bold (Cyrillic)", 0, 0, 1251},
        {"East European (1250)", "Kez 1250 Bold (Central Europe)", 0, 0, 1250},
        {"Greek (1253)", "Kez 1253 Bold (Greek)", 0, 0, 1253},
        {"Chinese (936 - GB2312 subset)", "SimSun", kGb2312Charset, 12, 936},
    }};
    return rows;
}

const CodePageRow& CodePageTable::Row(int index) {
    return Rows()[static_cast<size_t>(IsValidIndex(index) ? index : 0)];
}

}  // namespace qs
