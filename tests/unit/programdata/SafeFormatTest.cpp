#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>

#include "TempDir.h"
#include "platform/SafeFormat.h"

namespace qs::test {
namespace {

std::string Or(const std::optional<std::string>& s) { return s ? *s : std::string("<refused>"); }

TEST(SafeFormat, FormatsOneConversionWithFlagsWidthAndPrecision) {
    EXPECT_EQ(Or(SafeFormat("%0*.*f", FormatArg::Real(12.5), {6, 2})), "012.50");
    EXPECT_EQ(Or(SafeFormat("%05d", FormatArg::Signed(-42))), "-0042");
    EXPECT_EQ(Or(SafeFormat("%-6d|", FormatArg::Signed(7))), "7     |");
    EXPECT_EQ(Or(SafeFormat("%+d", FormatArg::Signed(7))), "+7");
    EXPECT_EQ(Or(SafeFormat("%#x", FormatArg::Unsigned(255))), "0xff");
    EXPECT_EQ(Or(SafeFormat("%X", FormatArg::Signed(-1))), "FFFFFFFF");
    EXPECT_EQ(Or(SafeFormat("%u", FormatArg::Signed(-1))), "4294967295");
    EXPECT_EQ(Or(SafeFormat("%d", FormatArg::Unsigned(4294967295u))), "-1");
    EXPECT_EQ(Or(SafeFormat("%o", FormatArg::Unsigned(8))), "10");
    EXPECT_EQ(Or(SafeFormat("%c", FormatArg::Signed('A'))), "A");
    EXPECT_EQ(Or(SafeFormat("%.3e", FormatArg::Real(1234.5))), "1.234e+03");
    EXPECT_EQ(Or(SafeFormat("%G", FormatArg::Real(0.000012))), "1.2E-05");
    EXPECT_EQ(Or(SafeFormat("%-5.2s|", FormatArg::Text("abcdef"))), "ab   |");
}

TEST(SafeFormat, KeepsLiteralTextAndPercentSigns) {
    EXPECT_EQ(Or(SafeFormat("Rate %5.1f %%", FormatArg::Real(2.25))), "Rate   2.2 %");
    EXPECT_EQ(Or(SafeFormat("%%%d%%", FormatArg::Signed(3))), "%3%");
}

TEST(SafeFormat, StarsTakeTheGivenArgumentsInOrderAndOnlyThoseAskedFor) {
    EXPECT_EQ(Or(SafeFormat("%*d", FormatArg::Signed(5), {4, 9})), "   5");
    EXPECT_EQ(Or(SafeFormat("%.*f", FormatArg::Real(1.0), {3})), "1.000");
    EXPECT_EQ(Or(SafeFormat("%d", FormatArg::Signed(5), {4, 9})), "5");
    // Negative stars behave as in printf: a left-justified width, no precision.
    EXPECT_EQ(Or(SafeFormat("%*d|", FormatArg::Signed(5), {-3})), "5  |");
    EXPECT_EQ(Or(SafeFormat("%.*f", FormatArg::Real(1.5), {-1})), "1.500000");
    // More stars than given arguments.
    EXPECT_FALSE(SafeFormat("%*.*f", FormatArg::Real(1.0), {3}));
    EXPECT_FALSE(SafeFormat("%*d", FormatArg::Signed(1)));
}

TEST(SafeFormat, RefusesHostileOrMismatchedFormats) {
    const FormatArg i = FormatArg::Signed(1);
    // The dictionary writes its 32-bit codes with one "l".
    EXPECT_EQ(SafeFormat("%*ld", FormatArg::Signed(-42), {5}), "  -42");
    EXPECT_EQ(SafeFormat("%*lu", FormatArg::Unsigned(4294967295u), {1}), "4294967295");
    EXPECT_FALSE(SafeFormat("%s%s%n", FormatArg::Text("x")));
    EXPECT_FALSE(SafeFormat("%n", i));
    EXPECT_FALSE(SafeFormat("%d%d", i));
    EXPECT_FALSE(SafeFormat("no conversion", i));
    EXPECT_FALSE(SafeFormat("", i));
    EXPECT_FALSE(SafeFormat("%", i));
    EXPECT_FALSE(SafeFormat("%-", i));
    EXPECT_FALSE(SafeFormat("%99999999d", i));
    EXPECT_FALSE(SafeFormat("%.99999999f", FormatArg::Real(1)));
    EXPECT_FALSE(SafeFormat("%256d", i));
    EXPECT_TRUE(SafeFormat("%255d", i));
    EXPECT_FALSE(SafeFormat("%*d", i, {256}));
    EXPECT_FALSE(SafeFormat("%ls", FormatArg::Text("x")));
    EXPECT_FALSE(SafeFormat("%lld", i));
    EXPECT_FALSE(SafeFormat("%lf", FormatArg::Real(1)));
    EXPECT_FALSE(SafeFormat("%lc", i));
    EXPECT_FALSE(SafeFormat("%hd", i));
    EXPECT_FALSE(SafeFormat("%Lf", FormatArg::Real(1)));
    EXPECT_FALSE(SafeFormat("%p", i));
    EXPECT_FALSE(SafeFormat("%a", FormatArg::Real(1)));
    EXPECT_FALSE(SafeFormat("%1$d", i));
    // The value's kind must match the conversion.
    EXPECT_FALSE(SafeFormat("%s", i));
    EXPECT_FALSE(SafeFormat("%d", FormatArg::Real(1)));
    EXPECT_FALSE(SafeFormat("%f", i));
    EXPECT_FALSE(SafeFormat("%d", FormatArg::Text("1")));
    // Flags C leaves undefined for the conversion.
    EXPECT_FALSE(SafeFormat("%05s", FormatArg::Text("x")));
    EXPECT_FALSE(SafeFormat("%#d", i));
    EXPECT_FALSE(SafeFormat("%.2c", i));
    EXPECT_FALSE(SafeFormat("%0c", i));
}

TEST(SafeFormat, AConversionAfterANulIsNeverSeen) {
    const std::string withNul("%d\0%s", 5);
    EXPECT_EQ(Or(SafeFormat(withNul, FormatArg::Signed(9))), "9");
    EXPECT_EQ(Or(SafeFormat("%c", FormatArg::Signed(0))), "");
}

TEST(SafeFormat, NumbersUseADecimalPointWhateverTheLocale) {
    // A locale with a decimal comma, made for this test (the machine may have none installed).
    TempDir dir;
    const std::string cmd = "localedef -i de_DE -f UTF-8 '" + dir.Path() + "/de_DE.UTF-8' >/dev/null 2>&1";
    if (std::system(cmd.c_str()) != 0) GTEST_SKIP() << "localedef cannot make a de_DE locale here";
    const char* oldPath = std::getenv("LOCPATH");
    const std::string savedPath = oldPath ? oldPath : "";
    ::setenv("LOCPATH", dir.Path().c_str(), 1);
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr);
    char plain[16];
    std::snprintf(plain, sizeof plain, "%.2f", 1.5);
    EXPECT_STREQ(plain, "1,50");  // the locale is really in force
    EXPECT_EQ(Or(SafeFormat("%.2f", FormatArg::Real(1.5))), "1.50");
    EXPECT_DOUBLE_EQ(StrToDoubleC("2.75"), 2.75);
    std::setlocale(LC_NUMERIC, saved.c_str());
    if (oldPath) ::setenv("LOCPATH", savedPath.c_str(), 1);
    else ::unsetenv("LOCPATH");
}

}  // namespace
}  // namespace qs::test
