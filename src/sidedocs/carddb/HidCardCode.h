#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace qs {

// The raw card data of an HID proximity card, composed from its facility code and card number:
// nine upper-case hexadecimal digits, three of the extended code (the parity mark), two of the
// facility code and four of the card number.
struct HidCardCode {
    static constexpr const char* kDefaultValue = "002070000";
    static constexpr unsigned kMaxExtended = 4095;
    static constexpr unsigned kMaxFacility = 255;
    static constexpr unsigned kMaxCard = 65535;
    enum Format : int { k26Bit = 0, k37Bit = 1 };

    std::string value;
    unsigned extended = 0;
    unsigned facility = 0;
    unsigned card = 0;
    // Kept as chosen; the composed value is the same for both.
    int format = k26Bit;

    // Facility code from the value's characters 3-4 and card number from character 5 on, both
    // read as hexadecimal (as far as hexadecimal digits go; 0 when there are none); the
    // extended code becomes the parity mark. The first three characters are not read.
    void ParseValue();
    // The extended code becomes the parity mark of the facility code and card number, and the
    // value is composed from the three.
    void FormatValue();

    // 2 when the facility code's bits 0-7 and the card number's bits 12-15 hold an even number
    // of set bits, 3 when odd.
    static unsigned ParityMark(unsigned facility, unsigned card);
    static constexpr const char* kNotNumberMessage = "Please enter a positive integer.";
    // A number typed into one of the dialog's fields (blanks around it allowed), 0 to `max`:
    // the value, or the message of the refusal in `message`.
    static std::optional<unsigned> ReadField(std::string_view text, unsigned max, std::string& message);

    // The leading hexadecimal digits of `text` as a number (saturating at 0xFFFFFFFF).
    static unsigned ReadHex(std::string_view text);
};

}  // namespace qs
