#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace qs {

class ParamDictionary;
class ReportItem;
class ReportItemTokens;

// The "QuillsetReportEntry" block that carries one report entry through the clipboard and
// drag and drop (278 bytes, little-endian): a token naming the entry inside this process
// (never its address), the register id, the window text (char[255]) and the format
// (char[14]), one unused byte.
struct ReportClipboardBlock {
    static constexpr const char* kFormatName = "QuillsetReportEntry";
    static constexpr size_t kSize = 278;
    static constexpr size_t kTextAt = 8;
    static constexpr size_t kFormatAt = 263;
    // The plain-text block offered beside it: the window text, at most 127 characters.
    static constexpr size_t kPlainTextSize = 128;

    uint32_t token = 0;
    uint32_t registerId = 0;
    std::string text;
    std::string format;

    static ReportClipboardBlock Of(const ReportItem& item, uint32_t token);
    std::string Encode() const;
    // Nullopt for fewer than kSize bytes; the texts are bounded by their fields.
    static std::optional<ReportClipboardBlock> Decode(std::string_view bytes);
    static std::string PlainText(const ReportItem& item);
    // A user-text entry at (line, column) from plain text pasted or dropped: line breaks
    // become blanks (an entry is one line of the page), cut at a NUL and to 254 characters.
    static std::unique_ptr<ReportItem> ItemFromPlainText(std::string_view plain, int line, int column);

    // The entry a paste or a drop makes at (line, column): a copy of the entry the token names
    // with the block's text; for a token that names nothing here, an entry made from the
    // block's register, text and format (its kind guessed from the dictionary).
    std::unique_ptr<ReportItem> MakeItem(const ReportItemTokens& tokens, int line, int column,
                                         const ParamDictionary& dictionary) const;
};

}  // namespace qs
