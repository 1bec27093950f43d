#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "programdata/CParam.h"

namespace qs::test {
namespace {

CParam& Define(CParam& p, uint8_t type, const char* format, uint8_t width, uint8_t precision) {
    p.dataType = type;
    p.SetFormat(format);
    p.width = width;
    p.precision = precision;
    return p;
}

TEST(CParamFormatValue, DecimalCommaRealWithStarFormatIsZeroPadded) {
    CParam p;
    Define(p, 4, "%*.*f", 6, 2);
    ASSERT_TRUE(p.SetValue("12,5", 0));
    EXPECT_EQ(p.FormatValue(0), "012.50");
    // Only the last comma is the decimal point.
    p.SetValue("1,2,5", 0);
    EXPECT_EQ(p.FormatValue(0), "001.00");
    Define(p, 5, "%*.*f", 8, 3);
    p.SetValue("-3.25", 0);
    EXPECT_EQ(p.FormatValue(0), "-003.250");
}

TEST(CParamFormatValue, IntegerTypesParseAsTheDeviceLibraryDoes) {
    CParam p;
    Define(p, 3, "%*d", 4, 0);
    p.SetValue("-7", 0);
    EXPECT_EQ(p.FormatValue(0), "-007");
    p.SetValue("99999999999", 0);  // beyond 32 bits: the largest value
    EXPECT_EQ(p.FormatValue(0), "2147483647");
    Define(p, 8, "%*u", 3, 0);
    p.SetValue("5 Enabled", 0);
    EXPECT_EQ(p.FormatValue(0), "005");
    p.SetValue("-1", 0);
    EXPECT_EQ(p.FormatValue(0), "4294967295");
    p.SetValue("99999999999", 0);
    EXPECT_EQ(p.FormatValue(0), "4294967295");
    Define(p, 1, "%*d", 2, 0);
    p.SetValue("abc", 0);
    EXPECT_EQ(p.FormatValue(0), "00");
    Define(p, 2, "%*X", 4, 0);
    p.SetValue("255", 0);
    EXPECT_EQ(p.FormatValue(0), "00FF");
}

TEST(CParamFormatValue, TextEmptyAndMissingInstancesComeBackAsStored) {
    CParam p(2);
    Define(p, 0, "%s", 0, 0);
    p.SetValue("%s%n text", 1);
    EXPECT_EQ(p.FormatValue(1), "%s%n text");
    Define(p, 4, "%*.*f", 6, 2);
    EXPECT_EQ(p.FormatValue(0), "");
    EXPECT_EQ(p.FormatValue(5), "");
    EXPECT_EQ(p.FormatValue(-1), "");
}

TEST(CParamFormatValue, HostileFormatsShowTheStoredText) {
    CParam p;
    p.SetValue("42", 0);
    for (const char* hostile : {"%s%s%n", "%*.*s", "%99999999d", "%ls", "no conv", "%d%d", "%n", "%*.*f%s", "%lld"}) {
        Define(p, 8, hostile, 5, 2);
        EXPECT_EQ(p.FormatValue(0), "42") << hostile;
    }
    // A real value against an integer conversion and the reverse.
    Define(p, 4, "%*d", 5, 2);
    EXPECT_EQ(p.FormatValue(0), "42");
    Define(p, 8, "%*.*f", 5, 2);
    EXPECT_EQ(p.FormatValue(0), "42");
    // A format without its leading "%" cannot become a conversion either.
    Define(p, 8, "Hz%d", 5, 0);
    EXPECT_EQ(p.FormatValue(0), "42");
}

TEST(CParamPrompt, TextOptionListAndRanges) {
    CParam p;
    p.dataType = 0;
    p.max = 20;
    EXPECT_EQ(p.GetPromptText(), "Enter up to 20 characters of text");
    p.dataType = 8;
    p.flags = CParam::kOptionList;
    EXPECT_EQ(p.GetPromptText(), "Select desired option from list");
    p.flags = 0;
    p.min = 0;
    p.max = 9999;
    p.precision = 2;
    p.SetFormat("%*d");
    EXPECT_EQ(p.GetPromptText(), "(0 - 9999)");  // precision counts for reals only
    p.dataType = 4;
    p.min = -1.5f;
    p.max = 100;
    p.SetFormat("%*.*f");
    EXPECT_EQ(p.GetPromptText(), "(-1.50 - 100.00)");
    p.SetFormat("%*.*e");
    p.min = 0.001f;
    p.max = 1e6f;
    EXPECT_EQ(p.GetPromptText(), "(0.001 - 1e+06)");
}

TEST(CParamPrompt, ExtremeDefinitionsStayBounded) {
    CParam p;
    p.dataType = 4;
    p.precision = 255;
    p.min = -std::numeric_limits<float>::max();
    p.max = std::numeric_limits<float>::infinity();
    const std::string text = p.GetPromptText();
    EXPECT_EQ(text.substr(text.size() - 4), "inf)");
    EXPECT_LT(text.size(), 1000u);
}

TEST(CParamApplicability, FlagsNameTheirKinds) {
    CParam p;
    EXPECT_EQ(p.GetApplicabilityText(), "");
    p.flags = 0x02;
    EXPECT_EQ(p.GetApplicabilityText(), "Read Only");
    p.flags = 0xB0;
    EXPECT_EQ(p.GetApplicabilityText(), "Blending");
    p.flags = 0x90;  // hybrid and sequential, but not ratio: no blending
    EXPECT_EQ(p.GetApplicabilityText(), "Hybrid");
    p.flags = 0x30;
    EXPECT_EQ(p.GetApplicabilityText(), "Ratio");
    p.flags = 0x10;
    EXPECT_EQ(p.GetApplicabilityText(), "Sequential");
    p.flags = 0x40;
    EXPECT_EQ(p.GetApplicabilityText(), "Unloading ");
    p.flags = 0x02 | 0xB0 | 0x40;
    EXPECT_EQ(p.GetApplicabilityText(), "Read Only, Blending, Unloading ");
}

TEST(CParamValues, SetValueRefusesIndexesOutsideTheArray) {
    CParam p(3);
    EXPECT_EQ(p.ValueCount(), 3);
    EXPECT_TRUE(p.SetValue("a", 2));
    EXPECT_FALSE(p.SetValue("b", 3));
    EXPECT_FALSE(p.SetValue("c", -1));
    EXPECT_EQ(p.Value(2), "a");
    EXPECT_EQ(p.Value(3), "");
    CParam none(0);
    EXPECT_EQ(none.ValueCount(), 1);
    EXPECT_EQ(none.Level(), CParam::kLevelNone);
    // Long texts are cut; a NUL ends the text.
    p.SetValue(std::string(400, 'x'), 0);
    EXPECT_EQ(p.Value(0).size(), CParam::kMaxValueLength);
    p.SetValue(std::string("ab\0cd", 5), 1);
    EXPECT_EQ(p.Value(1), "ab");
}

TEST(CParamValues, LevelReplyValues) {
    CParam p;
    EXPECT_TRUE(p.ApplyLevelValue("3"));
    EXPECT_EQ(p.Level(), 2);
    EXPECT_TRUE(p.ApplyLevelValue("255"));
    EXPECT_EQ(p.Level(), 254);
    EXPECT_TRUE(p.ApplyLevelValue(" 1 "));
    EXPECT_EQ(p.Level(), 0);
    EXPECT_TRUE(p.ApplyLevelValue("0"));
    EXPECT_EQ(p.Level(), CParam::kLevelNone);
    p.SetLevel(4);
    for (const char* unchanged : {"", "   ", "256", "9999999999999", "x", "3a", "-1", "+2"}) {
        EXPECT_FALSE(p.ApplyLevelValue(unchanged)) << unchanged;
        EXPECT_EQ(p.Level(), 4) << unchanged;
    }
}

TEST(CParamList, InsertAfterFixesBothNeighbours) {
    CParam a, b, c;
    b.InsertAfter(&a);
    EXPECT_EQ(a.Next(), &b);
    EXPECT_EQ(b.Prev(), &a);
    c.InsertAfter(&a);  // between a and b
    EXPECT_EQ(a.Next(), &c);
    EXPECT_EQ(c.Prev(), &a);
    EXPECT_EQ(c.Next(), &b);
    EXPECT_EQ(b.Prev(), &c);
    c.InsertAfter(&b);  // moved to the end: a, b, c
    EXPECT_EQ(a.Next(), &b);
    EXPECT_EQ(b.Prev(), &a);
    EXPECT_EQ(b.Next(), &c);
    EXPECT_EQ(c.Next(), nullptr);
    b.InsertAfter(nullptr);  // stands alone; a and c close up
    EXPECT_EQ(b.Prev(), nullptr);
    EXPECT_EQ(b.Next(), nullptr);
    EXPECT_EQ(a.Next(), &c);
    EXPECT_EQ(c.Prev(), &a);
    {
        CParam d;
        d.InsertAfter(&a);
    }
    EXPECT_EQ(a.Next(), &c);  // a code destroyed leaves its list closed
    EXPECT_EQ(c.Prev(), &a);
}

TEST(CParamOptions, CountIsClampedToAByte) {
    CParam p;
    p.max = 3;
    EXPECT_EQ(p.OptionCount(), 4);
    p.max = -1;
    EXPECT_EQ(p.OptionCount(), 0);
    p.max = -0.5f;
    EXPECT_EQ(p.OptionCount(), 1);
    p.max = 254;
    EXPECT_EQ(p.OptionCount(), 255);
    p.max = 1e30f;
    EXPECT_EQ(p.OptionCount(), 255);
    p.max = std::nanf("");
    EXPECT_EQ(p.OptionCount(), 0);
    p.max = -std::numeric_limits<float>::infinity();
    EXPECT_EQ(p.OptionCount(), 0);
}

}  // namespace
}  // namespace qs::test
