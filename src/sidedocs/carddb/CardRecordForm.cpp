#include "sidedocs/carddb/CardRecordForm.h"

#include <cstdio>

#include "sidedocs/carddb/CDatabase.h"

namespace qs {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

}  // namespace

CardRecordForm CardRecordForm::FromRecord(std::string_view record) {
    CardRecordForm form;
    form.key = CDatabase::GetField(record, 0);
    form.field1 = CDatabase::GetField(record, 1);
    form.field2 = CDatabase::GetField(record, 2);
    form.field3 = CDatabase::GetField(record, 3);
    // Leading digits, as many as make a PIN and a little more, so a wrong one is seen as such.
    const std::string pin = CDatabase::GetField(record, 4);
    int value = 0;
    for (size_t i = 0; i < pin.size() && i < 8 && pin[i] >= '0' && pin[i] <= '9'; ++i) value = value * 10 + (pin[i] - '0');
    form.pin = std::to_string(value);
    return form;
}

std::optional<std::string> CardRecordForm::Check() const {
    if (auto m = CheckLength()) return m;
    if (auto m = CheckKey(key)) return m;
    if (auto m = CheckPin(pin)) return m;
    return CheckFields();
}

std::optional<std::string> CardRecordForm::CheckLength() const {
    const size_t joined = key.size() + pin.size() + field1.size() + field2.size() + field3.size();
    if (joined >= kJoinedLimit) return std::string(kTooLongMessage);
    return std::nullopt;
}

std::optional<std::string> CardRecordForm::CheckKey(std::string_view key) {
    while (!key.empty() && IsBlank(key.front())) key.remove_prefix(1);
    if (key.empty()) return std::string(kEmptyKeyMessage);
    for (char c : key) {
        if (!IsHexDigit(c)) return std::string(kNotHexMessage);
    }
    return std::nullopt;
}

std::optional<int> CardRecordForm::ParsePin(std::string_view pin) {
    pin = Trim(pin);
    bool negative = false;
    if (!pin.empty() && (pin.front() == '-' || pin.front() == '+')) {
        negative = pin.front() == '-';
        pin.remove_prefix(1);
    }
    if (pin.empty() || pin.size() > 9) return std::nullopt;
    int value = 0;
    for (char c : pin) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

std::optional<std::string> CardRecordForm::CheckPin(std::string_view pin) {
    const std::optional<int> value = ParsePin(pin);
    if (!value) return std::string(kNotIntegerMessage);
    if (*value < 0 || *value > kMaxPin) return std::string(kPinRangeMessage);
    return std::nullopt;
}

std::optional<std::string> CardRecordForm::CheckFields() const {
    for (const std::string* field : {&field1, &field2, &field3}) {
        if (field->find_first_of(std::string_view(",\r\n\0", 4)) != std::string::npos) return std::string(kCommaMessage);
    }
    return std::nullopt;
}

std::string CardRecordForm::Compose() const {
    std::string record(Trim(key));
    for (char& c : record) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    char digits[16];
    std::snprintf(digits, sizeof digits, "%04d", ParsePin(pin).value_or(0));
    return record + "," + field1 + "," + field2 + "," + field3 + "," + digits;
}

}  // namespace qs
