#pragma once
#include <string>
#include <string_view>

#include "platform/PrintSheet.h"

namespace qs {

class CTranslation;

// A translation on paper: one line per literal, "%-38.38s   %-38.38s" of the literal and its
// translation, the first four lines down each page and a new page after 55 lines.
class TranslationPrint {
public:
    static constexpr int kTopLine = 4;
    static constexpr int kLastLine = 55;
    static constexpr size_t kColumnBytes = 38;

    static PrintSheet Print(const CTranslation& translation);
    // One column: cut to 38 bytes and padded with blanks. Double-byte text (code page 936) is
    // never cut inside a character.
    static std::string Column(std::string_view text, int characterSet);
};

}  // namespace qs
