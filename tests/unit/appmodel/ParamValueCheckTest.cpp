// The checks of the edit dialogs on codes defined here, field by field, and the conversions of
// the bit-field and address editors.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "RecordingUi.h"
#include "programdata/CParam.h"
#include "appmodel/programdata/ParamValueCheck.h"

namespace qs::test {
namespace {

using Check = ParamValueCheck;

std::unique_ptr<CParam> Define(uint8_t type, float min, float max, const char* format = "%*d", uint8_t width = 1,
                               uint8_t precision = 0) {
    auto p = std::make_unique<CParam>();
    p->dataType = type;
    p->min = min;
    p->max = max;
    p->SetFormat(format);
    p->width = width;
    p->precision = precision;
    return p;
}

class ParamValueCheckTest : public ::testing::Test {
protected:
    // The value taken, or the message that refused it.
    std::string Take(const std::optional<std::string>& result) {
        if (result) return *result;
        return "refused: " + ui.LastMessage();
    }
    RecordingUi ui;
};

TEST_F(ParamValueCheckTest, TextIsCountedInBytesAndMayNotHoldControlCharacters) {
    auto text = Define(CParam::kTypeText, 0, 20, "%s", 20);
    EXPECT_EQ(Check::TextLimit(*text), 20);
    EXPECT_EQ(Take(Check::CheckValue(ui.services, *text, std::string(20, 'x'))), std::string(20, 'x'));
    EXPECT_EQ(Take(Check::CheckValue(ui.services, *text, std::string(21, 'x'))), "refused: Enter no more than 20 characters.");
    // Ten GB2312 characters are twenty bytes; eleven are too many.
    std::string chinese;
    for (int i = 0; i < 10; ++i) chinese += "\xd6\xd0";
    EXPECT_EQ(Take(Check::CheckValue(ui.services, *text, chinese)), chinese);
    EXPECT_EQ(Take(Check::CheckValue(ui.services, *text, chinese + "\xd6\xd0")), "refused: Enter no more than 20 characters.");
    EXPECT_EQ(Take(Check::CheckValue(ui.services, *text, "")), "");
    EXPECT_EQ(Take(Check::CheckValue(ui.services, *text, " lane 2 ")), " lane 2 ");
    for (const char* bad : {"a\tb", "a\rb", "a\nb", "\x02", "\x1f"})
        EXPECT_EQ(Take(Check::CheckValue(ui.services, *text, bad)), "refused: The value cannot contain control characters.") << bad;
    EXPECT_EQ(Take(Check::CheckValue(ui.services, *text, "\x7f\xff")), "\x7f\xff");

    // A maximum that is no length at all allows only an empty text.
    auto broken = Define(CParam::kTypeText, 0, -4, "%s");
    EXPECT_EQ(Check::TextLimit(*broken), 0);
    EXPECT_EQ(Take(Check::CheckValue(ui.services, *broken, "a")), "refused: Enter no more than 0 characters.");
    auto huge = Define(CParam::kTypeText, 0, 1e30f, "%s");
    EXPECT_EQ(Check::TextLimit(*huge), static_cast<int>(CParam::kMaxValueLength));
}

TEST_F(ParamValueCheckTest, TheTimeCodeTakesOnlyHoursColonMinutesAndALetter) {
    auto time = Define(CParam::kTypeText, 0, 6, "%s", 6);
    time->dictDirectory = 12;
    time->number = 732;
    ASSERT_TRUE(Check::IsTimeCode(*time));
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"12:30P", "12:30P"}, {"23:59M", "23:59M"}, {"07:05A", "07:05A"}, {"12:30p", "12:30P"},
        {"00:00m", "00:00M"}, {"12:59a", "12:59A"}, {"00:15A", "00:15A"},
    };
    for (const auto& [typed, kept] : cases) EXPECT_EQ(Take(Check::CheckValue(ui.services, *time, typed)), kept) << typed;
    const std::string refused = std::string("refused: ") + Check::kTimeMessage;
    for (const char* bad : {"13:00P", "12-30P", "24:00M", "13:00A", "12:60M", "1:30PM", "1:30P", "12:3P", "12:30X",
                            "12:30 ", "ab:cdP", "12:30", "", "+1:30P", " 1:30P"})
        EXPECT_EQ(Take(Check::CheckValue(ui.services, *time, bad)), refused) << bad;
    EXPECT_EQ(Take(Check::CheckValue(ui.services, *time, "12:30PM")), "refused: Enter no more than 6 characters.");

    // The same number in another dictionary directory is an ordinary text.
    auto other = Define(CParam::kTypeText, 0, 6, "%s", 6);
    other->dictDirectory = 13;
    other->number = 732;
    EXPECT_FALSE(Check::IsTimeCode(*other));
    EXPECT_EQ(Take(Check::CheckValue(ui.services, *other, "12-30P")), "12-30P");
}

TEST_F(ParamValueCheckTest, RealsReadTheLastCommaAsTheDecimalPointAndMustParseWhole) {
    auto real = Define(CParam::kTypeReal, 0, 999.99f, "%*.*f", 6, 2);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"12,5", "12.5"},     {"12.5", "12.5"},    {" 12,5 ", "12.5"}, {"0", "0"},       {"999.99", "999.99"},
        {".5", ".5"},         {"5.", "5."},        {"1e2", "1e2"},     {"+3", "+3"},     {"-0", "-0"},
    };
    for (const auto& [typed, kept] : cases) EXPECT_EQ(Take(Check::CheckValue(ui.services, *real, typed)), kept) << typed;
    const std::string notNumber = "refused: Please enter a number.";
    for (const char* bad : {"abc", "", " ", "12,5x", "1,234,5", "12.5.1", "inf", "nan", "0x10", "1e", "e5", "--1",
                            "12 5", "12,,5", "."})
        EXPECT_EQ(Take(Check::CheckValue(ui.services, *real, bad)), notNumber) << bad;
    const std::string range = "refused: Please enter a number between 0 and 999.99.";
    for (const char* bad : {"-0.01", "1000", "999.995", "1e3", "3e38", "-1e37"})
        EXPECT_EQ(Take(Check::CheckValue(ui.services, *real, bad)), range) << bad;
    for (const char* huge : {"1e39", "-1e38", "1e300", "-1e300"})
        EXPECT_EQ(Take(Check::CheckValue(ui.services, *real, huge)), "refused: Value out of range") << huge;
    EXPECT_EQ(Take(Check::CheckValue(ui.services, *real, "1\t2")), "refused: The value cannot contain control characters.");

    // Bounds compared as 32-bit floats: 999.99 typed with more digits still meets its float.
    EXPECT_EQ(Take(Check::CheckValue(ui.services, *real, "999.9900001")), "999.9900001");
    auto wide = Define(CParam::kTypeReal2, -1e38f, 1e38f, "%*.*g", 1, 3);
    EXPECT_EQ(Take(Check::CheckValue(ui.services, *wide, "2e38")), "refused: Please enter a number between -1e+38 and 1e+38.");
    EXPECT_EQ(Take(Check::CheckValue(ui.services, *wide, "-5e37")), "-5e37");
}

TEST_F(ParamValueCheckTest, IntegersMustBeWholeAndWithinTheirRangeAndTheirType) {
    auto count = Define(1, 0, 999, "%*d", 3);
    EXPECT_EQ(Take(Check::CheckValue(ui.services, *count, "12")), "12");
    EXPECT_EQ(Take(Check::CheckValue(ui.services, *count, " +007 ")), "7");
    EXPECT_EQ(Take(Check::CheckValue(ui.services, *count, "999")), "999");
    for (const char* bad : {"12.0", "12,5", "abc", "", "1e2", "0x1F", "12a", "-"})
        EXPECT_EQ(Take(Check::CheckValue(ui.services, *count, bad)), "refused: Please enter an integer.") << bad;
    for (const char* bad : {"1000", "-1", "99999999999999999999999"})
        EXPECT_EQ(Take(Check::CheckValue(ui.services, *count, bad)), "refused: Please enter an integer between 0 and 999.") << bad;

    // An unsigned 32-bit code up to the top of its type, though its float maximum is above it.
    auto address = Define(CParam::kTypeUnsigned, 0, 4294967295.0f, "%*lu");
    EXPECT_EQ(Take(Check::CheckValue(ui.services, *address, "4294967295")), "4294967295");
    EXPECT_EQ(Take(Check::CheckValue(ui.services, *address, "4294967296")),
              "refused: Please enter an integer between 0 and 4294967295.");
    // A signed one whose definition allows more than 32 bits hold.
    auto offset = Define(CParam::kTypeSigned, -1e10f, 1e10f, "%*d");
    EXPECT_EQ(Take(Check::CheckValue(ui.services, *offset, "-2147483648")), "-2147483648");
    EXPECT_EQ(Take(Check::CheckValue(ui.services, *offset, "2147483648")),
              "refused: Please enter an integer between -2147483648 and 2147483647.");
    // Fractional bounds are rounded inwards.
    auto inner = Define(2, -2.5f, 7.5f);
    EXPECT_EQ(Take(Check::CheckValue(ui.services, *inner, "-3")), "refused: Please enter an integer between -2 and 7.");
    EXPECT_EQ(Take(Check::CheckValue(ui.services, *inner, "-2")), "-2");
}

TEST_F(ParamValueCheckTest, OptionListsOfferEveryOptionAndNeverGiveAnEmptyValue) {
    auto option = Define(1, 0, 3, "%*d", 1);
    option->flags = CParam::kOptionList;
    option->SetOptionTexts({"No Switch Required", "Security Switch", "2nd Security Switch", "Both Security Switches"});
    EXPECT_EQ(Check::OptionEntries(*option),
              (std::vector<std::string>{"0 No Switch Required", "1 Security Switch", "2 2nd Security Switch",
                                        "3 Both Security Switches"}));
    option->width = 2;
    EXPECT_EQ(Check::OptionEntries(*option).back(), "03 Both Security Switches");
    EXPECT_EQ(Take(Check::CheckOption(ui.services, *option, 1)), "01 Security Switch");
    EXPECT_EQ(Take(Check::CheckOption(ui.services, *option, -1)), "refused: Select desired option from list");
    EXPECT_EQ(Take(Check::CheckOption(ui.services, *option, 4)), "refused: Select desired option from list");

    EXPECT_EQ(Check::OptionRow(*option, "2"), 2);
    EXPECT_EQ(Check::OptionRow(*option, "03 Both Security Switches"), 3);
    EXPECT_EQ(Check::OptionRow(*option, " 1"), 1);
    for (const char* none : {"4", "", "x", "-1", "99999999999999"}) EXPECT_EQ(Check::OptionRow(*option, none), -1) << none;

    // A list whose texts are missing still offers its numbers.
    option->SetOptionTexts({"Only"});
    EXPECT_EQ(Check::OptionEntries(*option).size(), 4u);
    EXPECT_EQ(Check::OptionEntries(*option)[3], "03 ");
    auto plain = Define(1, 0, 3);
    EXPECT_TRUE(Check::OptionEntries(*plain).empty());
}

TEST_F(ParamValueCheckTest, BitFieldsAndAddressesConvertBothWays) {
    const uint32_t bits = Check::BitsOfValue("37");
    EXPECT_EQ(bits, (1u << 0) | (1u << 2) | (1u << 5));
    EXPECT_EQ(Check::BitsOfValue(" 16777215 "), 0xFFFFFFu);
    EXPECT_EQ(Check::BitsOfValue("-1"), 0xFFFFFFFFu);
    EXPECT_EQ(Check::BitsOfValue("4294967295"), 0xFFFFFFFFu);
    for (const char* none : {"", "abc", "4294967296", "-2147483649", "3.5"}) EXPECT_EQ(Check::BitsOfValue(none), 0u) << none;
    EXPECT_EQ(Check::ValueOfBits(0), "0");
    EXPECT_EQ(Check::ValueOfBits(0x80000000u), "2147483648");

    EXPECT_EQ(Check::AddressOfValue("3232235521"), 0xC0A80001u);
    EXPECT_EQ(Check::AddressOfValue("4294967295"), 0xFFFFFFFFu);
    for (const char* none : {"", "4294967296", "-1", "192.168.0.1", "12a"})
        EXPECT_EQ(Check::AddressOfValue(none), 0u) << none;
    EXPECT_EQ(Check::ValueOfAddress(0xC0A800FEu), "3232235774");
    EXPECT_TRUE(ui.prompt.shown.empty());
}

}  // namespace
}  // namespace qs::test
