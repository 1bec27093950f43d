// Numbers typed into the wizard's fields.
#include <gtest/gtest.h>

#include "appmodel/wizard/WizardFieldCheck.h"

namespace qs::test {
namespace {

using F = WizardFieldCheck;

TEST(WizardFieldCheck, IntegersWithinTheirRange) {
    struct Row {
        const char* text;
        int value;  // -1: refused
        const char* refusal;
    } rows[] = {
        {"99", 99, ""},
        {" 7 ", 7, ""},
        {"0", 0, ""},
        {"100", -1, "Please enter an integer between 0 and 99."},
        {"-1", -1, "Please enter an integer between 0 and 99."},
        {"99999999999999999999", -1, "Please enter an integer."},
        {"1.5", -1, "Please enter an integer."},
        {"", -1, "Please enter an integer."},
        {"-", -1, "Please enter an integer."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        std::string refusal;
        const auto value = F::Integer(row.text, 0, 99, &refusal);
        EXPECT_EQ(value.value_or(-1), row.value);
        EXPECT_EQ(refusal, row.refusal);
    }
}

TEST(WizardFieldCheck, NumbersInTheCLocale) {
    std::string refusal;
    EXPECT_EQ(F::Number(" 2.5", 0.001, 999.999).value_or(0.0f), 2.5f);
    EXPECT_FALSE(F::Number("2,5", 0.001, 999.999, &refusal));
    EXPECT_EQ(refusal, "Please enter a number.");
    EXPECT_FALSE(F::Number("nan", 0.001, 999.999));
    EXPECT_FALSE(F::Number("0", 0.001, 999.999, &refusal));
    EXPECT_EQ(refusal, "Please enter a number between 0.001 and 999.999.");
    EXPECT_EQ(F::NumberText(1.0f), "1");
    EXPECT_EQ(F::NumberText(0.1f), "0.1");
    EXPECT_EQ(F::NumberText(123.456f), "123.456");
}

}  // namespace
}  // namespace qs::test
