#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qs {

class CParam;
struct UiServices;

// The checks an edit dialog applies to a new value before it is taken, and the conversions
// between a stored value and what the bit-field and address editors show. A refused value has
// its message shown through the user-interface services it is given before the check returns
// nullopt, so the dialog only has to stay open.
class ParamValueCheck {
public:
    static constexpr const char* kNotNumberMessage = "Please enter a number.";
    static constexpr const char* kNotIntegerMessage = "Please enter an integer.";
    // Numbers no 32-bit float can hold.
    static constexpr const char* kOutOfRangeMessage = "Value out of range";
    static constexpr const char* kTimeMessage =
        "Must be valid time string of form HH:MMT where T=A (AM), P (PM) or M (Military)";
    // A control character would end or break the command frame the value travels in.
    static constexpr const char* kControlCharacterMessage = "The value cannot contain control characters.";
    static constexpr const char* kNoOptionMessage = "Select desired option from list";

    // The value a general dialog's field holds: text for a text code, else a number.
    static std::optional<std::string> CheckValue(const UiServices& ui, const CParam& param, std::string_view text);

    // A text value (bytes in the document's code page): no control characters, at most
    // TextLimit bytes, and for the time code a valid time (its letter upper-cased).
    static std::optional<std::string> CheckText(const UiServices& ui, const CParam& param, std::string_view bytes);
    // Longest text the code takes, in bytes: its maximum, within what a value can hold.
    static int TextLimit(const CParam& param);

    // A number typed for a numeric code. The last "," is read as the decimal point; the text
    // (blanks around it aside) must be a number as a whole, of the code's kind: an integer for
    // integer codes, a decimal number (with an optional exponent) for reals; then it must lie
    // within the code's minimum and maximum. Returns the number as it is stored: the integer
    // in decimal, or the real's text with its decimal point.
    static std::optional<std::string> CheckNumber(const UiServices& ui, const CParam& param, std::string_view text);

    // "%0*d %s" of each option with the code's width: what the option list offers and what an
    // option code stores.
    static std::vector<std::string> OptionEntries(const CParam& param);
    // The value of the chosen option; refuses no choice (-1) or a row the list does not have.
    static std::optional<std::string> CheckOption(const UiServices& ui, const CParam& param, int row);
    // The row of the option a value names (its leading integer), -1 when none.
    static int OptionRow(const CParam& param, std::string_view value);

    // The code whose text is a time of day: dictionary directory 12, number 732.
    static bool IsTimeCode(const CParam& param);
    // Exactly two digits, ":", two digits and one of A, P, M (either case): hours up to 12,
    // or 23 with M (military); minutes up to 59. The letter is upper-cased in place.
    static bool IsValidTimeString(std::string& text);

    static bool HasControlCharacters(std::string_view text);

    // The 32 bits of a bit-field value (a decimal number; negative ones as the device's 32-bit
    // integers hold them). Anything else gives 0.
    static uint32_t BitsOfValue(std::string_view value);
    static std::string ValueOfBits(uint32_t bits);
    // The IPv4 address (first octet in the high byte) a value holds as an unsigned decimal;
    // 0 when it is not a number of 32 bits.
    static uint32_t AddressOfValue(std::string_view value);
    static std::string ValueOfAddress(uint32_t address);
};

}  // namespace qs
