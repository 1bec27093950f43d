#include "sidedocs/translations/TranslationPrint.h"

#include <algorithm>

#include "programdata/CodePageTable.h"
#include "sidedocs/translations/CTranslation.h"

namespace qs {

std::string TranslationPrint::Column(std::string_view text, int characterSet) {
    const bool doubleByte = CodePageTable::Row(characterSet).codePage == 936;
    size_t cut = 0;
    while (cut < text.size()) {
        const size_t width = doubleByte && static_cast<unsigned char>(text[cut]) >= 0x81 ? 2 : 1;
        if (cut + width > kColumnBytes) break;
        cut += width;
    }
    std::string column(text.substr(0, std::min(cut, text.size())));
    column.resize(kColumnBytes, ' ');
    return column;
}

PrintSheet TranslationPrint::Print(const CTranslation& translation) {
    PrintSheet sheet(kTopLine);
    for (size_t i = 0; i < DeviceLiterals::kLiteralCount; ++i) {
        sheet.BreakIfPast(kLastLine);
        sheet.AddLine(Column(DeviceLiterals::Text(i), 0) + "   " + Column(translation.Text(i), translation.CharacterSet()));
    }
    return sheet;
}

}  // namespace qs
