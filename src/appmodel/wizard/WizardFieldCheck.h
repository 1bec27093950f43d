#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace qs {

// The numbers typed into the wizard's fields, read in the C locale and kept to a range. A
// refused text gives nullopt and the message a field check shows.
class WizardFieldCheck {
public:
    static constexpr const char* kNotIntegerMessage = "Please enter an integer.";
    static constexpr const char* kNotNumberMessage = "Please enter a number.";

    static std::optional<int> Integer(std::string_view text, int low, int high, std::string* refusal = nullptr);
    static std::optional<float> Number(std::string_view text, double low, double high, std::string* refusal = nullptr);
    // How a number field shows a value: the shortest text that reads back as it.
    static std::string NumberText(float value);
};

}  // namespace qs
