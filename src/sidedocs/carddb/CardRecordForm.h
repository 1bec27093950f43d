#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace qs {

// The five texts of the card edit dialog, the checks its OK runs on them (in this order: the
// joined length, the key, the PIN, the three fields) and the record they make.
struct CardRecordForm {
    static constexpr int kMaxPin = 9999;
    // The five texts joined must stay below this many characters.
    static constexpr size_t kJoinedLimit = 75;
    static constexpr const char* kTooLongMessage =
        "Record Too Long - Total length (ID + PIN + FIELDS 1 - 3) must be < 75 characters";
    static constexpr const char* kEmptyKeyMessage = "Key field cannot be empty";
    static constexpr const char* kNotHexMessage = "Must be a valid hexadecimal string (characters 0-9, a-f only)";
    static constexpr const char* kNotIntegerMessage = "Please enter an integer.";
    static constexpr const char* kPinRangeMessage = "Please enter an integer between 0 and 9999.";
    static constexpr const char* kCommaMessage =
        "The fields cannot hold a comma or a line break: commas separate the fields of a card record.";

    std::string key;
    std::string pin;  // as typed
    std::string field1;
    std::string field2;
    std::string field3;

    // The texts of a record: its fields 0-3, and field 4 read as a decimal number (0 when it
    // has no digits).
    static CardRecordForm FromRecord(std::string_view record);

    // The message of the first check that fails, nullopt when all pass.
    std::optional<std::string> Check() const;
    // Each check alone.
    std::optional<std::string> CheckLength() const;
    static std::optional<std::string> CheckKey(std::string_view key);
    static std::optional<std::string> CheckPin(std::string_view pin);
    std::optional<std::string> CheckFields() const;

    // The PIN as a number (after CheckPin has passed).
    static std::optional<int> ParsePin(std::string_view pin);
    // The record: the key without blanks around it in upper case, the three fields and the PIN
    // as four digits, joined by commas. Only after Check() has passed.
    std::string Compose() const;
};

}  // namespace qs
