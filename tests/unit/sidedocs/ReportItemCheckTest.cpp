// The checks the report item and options dialogs run before they close, and the sample the
// item dialog shows.
#include <gtest/gtest.h>

#include <cstdio>

#include "Fuzz.h"
#include "ReportFixtures.h"
#include "sidedocs/reports/ReportClipboardBlock.h"
#include "sidedocs/reports/ReportFormatCheck.h"
#include "sidedocs/reports/ReportItemSample.h"
#include "sidedocs/reports/ReportPageSize.h"
#include "sidedocs/reports/ReportRestrictions.h"

namespace qs::test {

namespace {

struct FormatRow {
    int dataType;
    const char* format;
    int code;
};

class ReportFormatCheckTable : public ::testing::TestWithParam<FormatRow> {};

TEST_P(ReportFormatCheckTable, GivesItsCode) {
    const FormatRow& row = GetParam();
    EXPECT_EQ(ValidateReportFormat(row.dataType, row.format), row.code) << row.dataType << " " << row.format;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ReportFormatCheckTable,
    ::testing::Values(FormatRow{4, "%10.2f", 0}, FormatRow{4, "%10.2d", 5}, FormatRow{3, "%d", 4},
                      FormatRow{3, "%ld", 0}, FormatRow{8, "%10ld", 0}, FormatRow{8, "%hd", 4},
                      FormatRow{2, "%90d", 7}, FormatRow{2, "%5.90d", 7}, FormatRow{4, "%.2f", 6},
                      FormatRow{0, "abc", 1}, FormatRow{0, "%d%d", 1}, FormatRow{0, "%*d", 1},
                      FormatRow{0, "%%", 1}, FormatRow{0, "123456789012%s", 2}, FormatRow{0, "1234567890%s", 0},
                      FormatRow{0, "%", 3}, FormatRow{0, "%12", 3}, FormatRow{1, "%c", 0},
                      FormatRow{6, "%c", 0}, FormatRow{9, "%c", 0}, FormatRow{2, "%c", 5},
                      FormatRow{12, "%x", 0}, FormatRow{0, "%s", 0}, FormatRow{0, "%d", 5},
                      FormatRow{5, "%e", 0}, FormatRow{5, "%G", 0}, FormatRow{2, "%X", 0},
                      FormatRow{2, "% 5d", 0}, FormatRow{2, "%-+5d", 0}, FormatRow{2, "%#o", 0},
                      FormatRow{2, "%$5d", 6}, FormatRow{2, "%05d", 0}, FormatRow{0, "Nr %-8s kg", 0},
                      // Sound where a looser check would pass the format on to the printer.
                      FormatRow{3, "%l", 3}, FormatRow{3, "%5l", 3}, FormatRow{12, "%l5", 3},
                      FormatRow{2, "%5-d", 3}, FormatRow{2, "%5$d", 3}, FormatRow{4, "%5.2.1f", 3},
                      FormatRow{2, "%-$5d", 6}, FormatRow{2, "%99999999999d", 7},
                      FormatRow{4, "%1.999999999f", 7}));

TEST(ReportFormatCheckMessages, AreTheUsersTexts) {
    const char* expected[] = {
        "OK",
        "Invalid frame (percent char missing or duplicated).",
        "Format string exceeds maximum length.",
        "Missing or invalid type specifier",
        "Missing required modifier.(ld for Long Integer?).",
        "Type specifier does not match item data type",
        "Illegal flag character - must be <SPACE>,+, or -",
        "Entered width/precision value out of range.",
    };
    for (int code = 0; code < 8; ++code) EXPECT_STREQ(ReportFormatMessage(code), expected[code]);
    EXPECT_STREQ(ReportFormatMessage(8), "");
    EXPECT_STREQ(ReportFormatMessage(-1), "");
}

// Every format the check passes can be printed safely with the value of its data type.
TEST(ReportFormatCheckFuzz, PassedFormatsPrintThroughSafeFormat) {
    RunFuzz({"%10.2f", "%-5ld", "ab%cd", "% 8.3e"}, [](const std::string& input) {
        for (int type : {0, 1, 3, 4, 8}) {
            if (ValidateReportFormat(type, input) != kReportFormatOk) continue;
            EXPECT_LE(input.size(), kReportFormatMaxLength);
            EXPECT_EQ(input.find('*'), std::string::npos);
        }
    });
}

const char* kNeedReference =
    "Must select a valid reference parameter (or clear Use refererence Register's value... checkbox)";
const char* kNotIntegral = "reference Parameter must be an integral type to use the value as an offset";
const char* kNoOffset = "Cannot use an offset for this report item";
const char* kItemOnly = "Function selected only valid for database data type items";
const char* kNeedsReferenceRegister = "Function selected requires a valid reference register ";
const char* kBatch = "Function selected requires a register that has a batch offset";
const char* kProduct = "Function selected requires a register that has a product offset";
const char* kRecipe = "Function selected requires a register that has a recipe offset";

enum Reg { kNoReg, kBatchNet, kMeterFactor, kUnitNumber, kDriverName, kRecipeTotal };

struct RestrictionRow {
    Reg item;
    Reg reference;
    int condition;
    bool offset;
    const char* message;  // "" passes
};

class ReportRestrictionTable : public ::testing::TestWithParam<RestrictionRow> {
protected:
    ReportDictionary dict;
    const CParam* Of(Reg reg) const {
        switch (reg) {
            case kBatchNet: return dict.dictionary.FindParamByRegisterId(ReportDictionary::kBatchNet3);
            case kMeterFactor: return dict.dictionary.FindParamByRegisterId(ReportDictionary::MeterFactor(1));
            case kUnitNumber: return dict.dictionary.FindParamByRegisterId(ReportDictionary::UnitNumber());
            case kDriverName: return dict.dictionary.FindParamByRegisterId(ReportDictionary::DriverName());
            case kRecipeTotal: return dict.dictionary.FindParamByRegisterId(ReportDictionary::RecipeTotal(1));
            case kNoReg: break;
        }
        return nullptr;
    }
};

TEST_P(ReportRestrictionTable, GivesItsMessage) {
    const RestrictionRow& row = GetParam();
    ReportRestrictionInput input{Of(row.item), Of(row.reference), row.condition, row.offset};
    ASSERT_EQ(row.item == kNoReg, input.itemEntry == nullptr);
    ASSERT_EQ(row.reference == kNoReg, input.referenceEntry == nullptr);
    const ReportRestrictionResult result = ValidateReportRestrictions(input, dict.dictionary);
    EXPECT_EQ(result.message, row.message);
    EXPECT_EQ(result.Ok(), std::string(row.message).empty());
    const std::string message = row.message;
    const bool onOffset = message == kNeedReference || message == kNotIntegral || message == kNoOffset;
    if (!result.Ok()) {
        EXPECT_EQ(result.field, onOffset ? ReportRestrictionField::Offset : ReportRestrictionField::Condition);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ReportRestrictionTable,
    ::testing::Values(RestrictionRow{kBatchNet, kNoReg, 0, false, ""},
                      RestrictionRow{kBatchNet, kNoReg, 0, true, kNeedReference},
                      RestrictionRow{kBatchNet, kBatchNet, 0, true, kNotIntegral},
                      RestrictionRow{kBatchNet, kDriverName, 0, true, kNotIntegral},
                      RestrictionRow{kUnitNumber, kUnitNumber, 0, true, kNoOffset},
                      RestrictionRow{kNoReg, kUnitNumber, 0, true, kNoOffset},
                      RestrictionRow{kMeterFactor, kUnitNumber, 0, true, ""},
                      RestrictionRow{kNoReg, kNoReg, 1, false, kItemOnly},
                      RestrictionRow{kUnitNumber, kNoReg, 1, false, ""},
                      RestrictionRow{kUnitNumber, kNoReg, 2, false, kNeedsReferenceRegister},
                      RestrictionRow{kNoReg, kUnitNumber, 2, false, ""},
                      RestrictionRow{kBatchNet, kNoReg, 3, false, ""},
                      RestrictionRow{kMeterFactor, kNoReg, 3, false, kBatch},
                      RestrictionRow{kNoReg, kBatchNet, 4, false, ""},
                      RestrictionRow{kBatchNet, kNoReg, 4, false, kNeedsReferenceRegister},
                      RestrictionRow{kBatchNet, kUnitNumber, 4, false, kBatch},
                      RestrictionRow{kMeterFactor, kNoReg, 5, false, ""},
                      RestrictionRow{kBatchNet, kNoReg, 5, false, kProduct},
                      RestrictionRow{kNoReg, kMeterFactor, 6, false, ""},
                      RestrictionRow{kNoReg, kRecipeTotal, 6, false, kProduct},
                      RestrictionRow{kRecipeTotal, kNoReg, 7, false, ""},
                      RestrictionRow{kMeterFactor, kNoReg, 7, false, kRecipe},
                      RestrictionRow{kNoReg, kRecipeTotal, 8, false, ""},
                      RestrictionRow{kNoReg, kBatchNet, 8, false, kRecipe},
                      // The offset is checked before the condition.
                      RestrictionRow{kNoReg, kNoReg, 3, true, kNeedReference}));

TEST(ReportRestrictionOffsetBox, IsUsableOnlyForAnInstancedRegisterAndAnIntegralReference) {
    ReportDictionary dict;
    const auto* batch = dict.dictionary.FindParamByRegisterId(ReportDictionary::kBatchNet3);
    const auto* unit = dict.dictionary.FindParamByRegisterId(ReportDictionary::UnitNumber());
    const auto* recipe = dict.dictionary.FindParamByRegisterId(ReportDictionary::RecipeTotal(1));
    EXPECT_TRUE(ReportOffsetUsable(batch, recipe));
    EXPECT_FALSE(ReportOffsetUsable(batch, batch));  // a real reference
    EXPECT_FALSE(ReportOffsetUsable(unit, recipe));  // no instances
    EXPECT_FALSE(ReportOffsetUsable(nullptr, recipe));
    EXPECT_FALSE(ReportOffsetUsable(batch, nullptr));
}

// A register made by hand: the sample depends on its format, width, precision and max.
struct SampleParam {
    SampleParam(uint8_t type, const char* format, uint8_t width, uint8_t precision, float max, uint8_t instances = 0) {
        entry.dataType = type;
        entry.SetFormat(format);
        entry.width = width;
        entry.precision = precision;
        entry.max = max;
        entry.instances = instances;
        entry.SetName("Gross");
        entry.dictDirectory = 17;
        entry.position = 2;
    }
    CParam entry;
};

struct SampleRow {
    uint8_t type;
    const char* ownFormat;
    uint8_t width, precision;
    float max;
    const char* format;  // the entry's format before
    bool reset;
    const char* expectFormat;
    const char* expectValue;
};

class ReportItemSampleNumeric : public ::testing::TestWithParam<SampleRow> {};

TEST_P(ReportItemSampleNumeric, BuildsFormatAndValue) {
    const SampleRow& row = GetParam();
    SampleParam p(row.type, row.ownFormat, row.width, row.precision, row.max);
    const auto sample = MakeReportItemSample(kReportItemValue, &p.entry, 0, row.format, "", row.reset);
    EXPECT_EQ(sample.format, row.expectFormat);
    EXPECT_EQ(sample.value, row.expectValue);
    EXPECT_EQ(sample.registerName, "Gross");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ReportItemSampleNumeric,
    ::testing::Values(SampleRow{4, "%*.*f", 8, 2, 99.5f, "%s", false, "%8.2f", "   99.50"},
                      SampleRow{4, "%*.*f", 8, 2, 99.5f, "%6.1f", false, "%6.1f", "  99.5"},
                      SampleRow{4, "%*.*f", 8, 2, 99.5f, "%6.1f", true, "%8.2f", "   99.50"},
                      SampleRow{4, "$%*.*f L", 6, 1, 9.5f, "%d", false, "$%6.1f L", "$   9.5 L"},
                      SampleRow{3, "%*ld", 5, 0, 250, "%s", false, "%5.0ld", "  250"},
                      SampleRow{2, "%*d", 4, 0, 12, "%3d", false, "%3d", " 12"},
                      // Without a "*" the register's own format is used when it suits the type,
                      // else a plain one of its width.
                      SampleRow{2, "%x", 4, 0, 255, "%s", true, "%x", "ff"},
                      SampleRow{8, "%u", 6, 0, 7, "%s", true, "%6ld", "     7"},
                      SampleRow{4, "", 7, 3, 1.5f, "%s", true, "%7.3f", "  1.500"}));

TEST(ReportItemSampleKinds, NameValueAndFormatByType) {
    SampleParam text(0, "%s", 5, 0, 0, 0);
    auto s = MakeReportItemSample(kReportItemValue, &text.entry, 0, "%d", "", true);
    EXPECT_EQ(s.format, "%s");
    EXPECT_EQ(s.value, "NNNNN");

    SampleParam counted(8, "%*d", 3, 0, 5, 6);
    const uint32_t id = ReportRegisterIdFor(counted.entry, 4);
    s = MakeReportItemSample(kReportItemValue, &counted.entry, id, "%s", "", false);
    EXPECT_EQ(s.registerName, "Gross(4)");
    EXPECT_EQ(s.instance, 4);
    s = MakeReportItemSample(kReportItemDescription, &counted.entry, id, "%-8.3s|", "", false);
    EXPECT_EQ(s.registerName, "Gross");
    EXPECT_EQ(s.value, "Gro     |");
    s = MakeReportItemSample(kReportItemDescription, &counted.entry, id, "%d", "", true);
    EXPECT_EQ(s.format, "%s");
    EXPECT_EQ(s.value, "Gross");

    SampleParam option(1, "%*d", 3, 0, 1);
    option.entry.flags = CParam::kOptionList;
    option.entry.SetOptionTexts({"Off", "On"});
    s = MakeReportItemSample(kReportItemValue, &option.entry, 0, "%5d", "", false);
    EXPECT_EQ(s.format, "%s");
    EXPECT_EQ(s.value, "Off");

    s = MakeReportItemSample(kReportItemValue, nullptr, 0, "%5d", "", false);
    EXPECT_EQ(s.registerName, "<none>");
    EXPECT_EQ(s.value, "<none>");
    EXPECT_EQ(s.format, "%5d");

    s = MakeReportItemSample(kReportItemUserText, &counted.entry, id, "%5d", "Ticket", true);
    EXPECT_EQ(s.registerName, "");
    EXPECT_EQ(s.value, "Ticket");
    EXPECT_EQ(s.format, "%s");
    EXPECT_EQ(s.instance, 0);
}

TEST(ReportItemSampleIds, TakeThePickersOffsetOnlyForRegistersWithInstances) {
    SampleParam counted(8, "%*d", 3, 0, 5, 6);
    EXPECT_EQ(ReportRegisterIdFor(counted.entry, 3), 0x08110203u);
    EXPECT_EQ(ReportRegisterIdFor(counted.entry, 0), 0x08110201u);
    EXPECT_EQ(ReportRegisterIdFor(counted.entry, 99), 0x08110206u);
    SampleParam single(8, "%*d", 3, 0, 5, 0);
    EXPECT_EQ(ReportRegisterIdFor(single.entry, 3), 0x08110200u);
}

struct PageRow {
    int columns, lines, pages;
    ReportPageField field;
    const char* message;
};

class ReportPageSizeTable : public ::testing::TestWithParam<PageRow> {};

TEST_P(ReportPageSizeTable, BoundsCustomSizes) {
    const PageRow& row = GetParam();
    const auto check = ValidateReportPageSize(row.columns, row.lines, row.pages);
    EXPECT_EQ(check.field, row.field);
    EXPECT_EQ(check.message, row.message);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ReportPageSizeTable,
    ::testing::Values(PageRow{80, 60, 1, ReportPageField::None, ""},
                      PageRow{255, 255, 256, ReportPageField::None, ""},
                      PageRow{0, 60, 1, ReportPageField::Columns, "Please enter an integer between 1 and 255."},
                      PageRow{256, 60, 1, ReportPageField::Columns, "Please enter an integer between 1 and 255."},
                      PageRow{80, 0, 1, ReportPageField::Lines, "Please enter an integer between 1 and 255."},
                      PageRow{80, 300, 1, ReportPageField::Lines, "Please enter an integer between 1 and 255."},
                      PageRow{80, 255, 257, ReportPageField::Pages, "Please enter an integer between 1 and 256."},
                      PageRow{80, 1, 65534, ReportPageField::None, ""},
                      PageRow{80, 1, 65535, ReportPageField::Pages, "Please enter an integer between 1 and 65534."},
                      PageRow{80, 60, 0, ReportPageField::Pages, "Please enter an integer between 1 and 1092."}));

TEST(ReportPageSizeChoice, FollowsTheSize) {
    EXPECT_EQ(ReportPageSize::ChoiceFor(80, 60), kReportPageDefault);
    EXPECT_EQ(ReportPageSize::ChoiceFor(132, 60), kReportPageWide);
    EXPECT_EQ(ReportPageSize::ChoiceFor(80, 61), kReportPageCustom);
    EXPECT_EQ(ReportPageSize::ChoiceFor(100, 60), kReportPageCustom);
}

}  // namespace

}  // namespace qs::test

namespace qs::test {

TEST(ReportPlainPaste, MakesOneLineOfUserTextWithinTheField) {
    struct Row {
        std::string plain;
        std::string text;
    };
    for (const Row& row : {Row{"Gross\r\nvolume", "Gross  volume"}, Row{"a\nb\rc", "a b c"},
                           Row{std::string("ab\0cd", 5), "ab"}, Row{std::string(300, 'x'), std::string(254, 'x')},
                           Row{"", ""}}) {
        const auto item = ReportClipboardBlock::ItemFromPlainText(row.plain, 4, 7);
        ASSERT_TRUE(item);
        EXPECT_EQ(item->Text(), row.text);
        EXPECT_EQ(item->Type(), kReportItemUserText);
        EXPECT_EQ(item->Line(), 4);
        EXPECT_EQ(item->Column(), 7);
    }
}

}  // namespace qs::test
