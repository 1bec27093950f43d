#include "appmodel/wizard/WizardFieldCheck.h"

#include <cmath>

#include "platform/SafeFormat.h"

namespace qs {

namespace {

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::string Shortest(double value) {
    std::string text;
    for (int digits = 1; digits <= 9; ++digits) {
        text = SafeFormat("%.*g", FormatArg::Real(value), {digits}).value_or("");
        if (static_cast<float>(StrToDoubleC(text.c_str())) == static_cast<float>(value)) break;
    }
    return text;
}

}  // namespace

std::optional<int> WizardFieldCheck::Integer(std::string_view text, int low, int high, std::string* refusal) {
    text = Trimmed(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    long long value = 0;
    bool digits = !text.empty() && text.size() <= 12;
    for (char c : text) {
        if (!digits) break;
        if (c < '0' || c > '9') digits = false;
        else value = value * 10 + (c - '0');
    }
    if (!digits) {
        if (refusal) *refusal = kNotIntegerMessage;
        return std::nullopt;
    }
    if (negative) value = -value;
    if (value < low || value > high) {
        if (refusal)
            *refusal = "Please enter an integer between " + std::to_string(low) + " and " + std::to_string(high) + ".";
        return std::nullopt;
    }
    return static_cast<int>(value);
}

std::optional<float> WizardFieldCheck::Number(std::string_view text, double low, double high, std::string* refusal) {
    text = Trimmed(text);
    const std::string copy(text.substr(0, 64));
    char* end = nullptr;
    const double value = copy.empty() || text.size() > 64 ? NAN : StrToDoubleC(copy.c_str(), &end);
    if (!std::isfinite(value) || end != copy.c_str() + copy.size()) {
        if (refusal) *refusal = kNotNumberMessage;
        return std::nullopt;
    }
    if (value < low || value > high) {
        if (refusal) *refusal = "Please enter a number between " + Shortest(low) + " and " + Shortest(high) + ".";
        return std::nullopt;
    }
    return static_cast<float>(value);
}

std::string WizardFieldCheck::NumberText(float value) { return Shortest(value); }

}  // namespace qs
