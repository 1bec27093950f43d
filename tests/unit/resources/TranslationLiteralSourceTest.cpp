// The literal generator's checks of the literal table and the revision edit lists.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "litgen/LiteralSource.h"

namespace qs::test {
namespace {

using litgen::Diagnostic;
using litgen::LiteralSource;

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A table of `count` entries "text N", the last one the sentinel; `change` edits its lines.
std::string Table(size_t count = 4575) {
    std::string s = "# comment\n\n";
    char number[24];
    for (size_t i = 0; i < count; ++i) {
        std::snprintf(number, sizeof number, "%04zu", i);
        s += std::string(number) + (i + 1 == count ? " LAST LITERAL" : " text " + std::to_string(i)) + "\n";
    }
    return s;
}

std::vector<std::string> Errors(const std::string& literals, const std::string& edits = "") {
    std::vector<Diagnostic> errors;
    LiteralSource::Parse("Literals.txt", literals, "RevisionEdits.txt", edits, errors);
    std::vector<std::string> out;
    for (const Diagnostic& d : errors) out.push_back(d.Text());
    return out;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

TEST(TranslationLiteralSource, TheCommittedSourcePassesAndIsWrittenAsCpp) {
    const std::string dir = std::string(QS_SOURCE_DIR) + "/src/resources/literals/";
    std::vector<Diagnostic> errors;
    const LiteralSource source = LiteralSource::Parse("Literals.txt", FileText(dir + "Literals.txt"), "RevisionEdits.txt",
                                                      FileText(dir + "RevisionEdits.txt"), errors);
    EXPECT_TRUE(errors.empty()) << (errors.empty() ? "" : errors.front().Text());
    ASSERT_EQ(source.texts.size(), 4575u);
    const std::string cpp = source.EmitCpp();
    EXPECT_NE(cpp.find("    \"Duravane III Ready\",\n"), std::string::npos);
    EXPECT_NE(cpp.find("    \"LAST LITERAL\",\n};"), std::string::npos);
    EXPECT_NE(cpp.find("{11.25f, kEdits2, 5}"), std::string::npos);
}

struct SourceCase {
    const char* name;
    std::string literals;
    std::string edits;
    std::string error;  // the one error expected
};

class TranslationLiteralSourceFault : public ::testing::TestWithParam<SourceCase> {};

TEST_P(TranslationLiteralSourceFault, IsReportedWithItsPlace) {
    EXPECT_EQ(Errors(GetParam().literals, GetParam().edits), std::vector<std::string>{GetParam().error});
}

INSTANTIATE_TEST_SUITE_P(
    Faults, TranslationLiteralSourceFault,
    ::testing::Values(
        SourceCase{"OneShort", Table(4574), "", "Literals.txt: error: the table has 4574 entries; it must have 4575"},
        SourceCase{"NoSentinel", Replace(Table(), "4574 LAST LITERAL", "4574 LAST"), "",
                   "Literals.txt: error: the last entry must be the sentinel \"LAST LITERAL\", not \"LAST\""},
        SourceCase{"EarlySentinel", Replace(Table(), "0007 text 7", "0007 LAST LITERAL"), "",
                   "Literals.txt: error: entry 7 is the sentinel, which must come last only"},
        SourceCase{"Skipped", Replace(Table(), "0003 text 3\n", "0004 text 3\n"), "",
                   "Literals.txt:6: error: entry 0004 where entry 3 was expected"},
        SourceCase{"TooLong", Replace(Table(), "0002 text 2", "0002 " + std::string(136, 'x')), "",
                   "Literals.txt:5: error: entry 2 is 136 characters; at most 135 are allowed"},
        SourceCase{"Tab", Replace(Table(), "0002 text 2", "0002 a\tb"), "",
                   "Literals.txt:5: error: entry 2 has a character outside printable ASCII"},
        SourceCase{"NoBlank", Replace(Table(), "0002 text 2", "0002text 2"), "",
                   "Literals.txt:5: error: expected a four-digit entry number, a blank and the text"},
        SourceCase{"UnknownRevision", Table(), "10.22: 5\n",
                   "RevisionEdits.txt:1: error: \"10.22\" is not a revision of the revision table"},
        SourceCase{"CurrentRevision", Table(), "# c\n11.26: 5\n",
                   "RevisionEdits.txt:2: error: the current revision has no next revision to be upgraded to"},
        SourceCase{"Twice", Table(), "11.0: 5\n11.00: 6\n",
                   "RevisionEdits.txt:2: error: revision 11.00 has a second edit list"},
        SourceCase{"Zero", Table(), "11.0: 5 0\n",
                   "RevisionEdits.txt:1: error: edit 0 is not a position of the table (1 to 4575, negative to remove)"},
        SourceCase{"Beyond", Table(), "11.0: -4576\n",
                   "RevisionEdits.txt:1: error: edit -4576 is not a position of the table (1 to 4575, negative to "
                   "remove)"},
        SourceCase{"Backwards", Table(), "11.0: 5 -7 6\n",
                   "RevisionEdits.txt:1: error: edit 6 comes after edit -7 of a later position"},
        SourceCase{"NotANumber", Table(), "11.0: 5 six\n",
                   "RevisionEdits.txt:1: error: edits are whole numbers separated by blanks"},
        SourceCase{"NoColon", Table(), "11.0 5\n", "RevisionEdits.txt:1: error: expected \"revision: edits\""}),
    [](const ::testing::TestParamInfo<SourceCase>& info) { return std::string(info.param.name); });

TEST(TranslationLiteralSource, AnEmptyTextAndCarriageReturnsAreAccepted) {
    std::string table = Replace(Table(), "0005 text 5\n", "0005\r\n");
    std::vector<Diagnostic> errors;
    const LiteralSource source = LiteralSource::Parse("L", table, "E", "9.0: 3 -3\r\n", errors);
    EXPECT_TRUE(errors.empty());
    ASSERT_EQ(source.texts.size(), 4575u);
    EXPECT_EQ(source.texts[5], "");
    ASSERT_EQ(source.editRows.size(), 1u);
    EXPECT_EQ(source.editRows[0].edits, (std::vector<int>{3, -3}));
}

}  // namespace
}  // namespace qs::test
