// The edit lists that carry a translation from an older revision to the current literal table,
// the revision table they belong to, and the literal table itself.
#include <gtest/gtest.h>

#include <set>

#include "sidedocs/translations/CTranslation.h"
#include "sidedocs/translations/DeviceLiterals.h"
#include "sidedocs/translations/TranslationRevisions.h"

namespace qs::test {
namespace {

struct EditCase {
    std::vector<int> edits;
    std::vector<std::string> expected;
};

class TranslationEditList : public ::testing::TestWithParam<EditCase> {};

TEST_P(TranslationEditList, TurnsABCDIntoTheExpectedArray) {
    std::vector<std::string> texts = {"A", "B", "C", "D"};
    TranslationRevisions::ApplyEditList(texts, GetParam().edits);
    EXPECT_EQ(texts, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Vectors, TranslationEditList,
    ::testing::Values(EditCase{{2, -3}, {"A", "B", "", "C"}},
                      EditCase{{1, 1}, {"A", "", "", "B", "C", "D"}},
                      EditCase{{1, -1}, {"A", "", "C", "D"}},
                      EditCase{{-1, -2}, {"A", "D"}},
                      EditCase{{4}, {"A", "B", "C", "D", ""}},
                      EditCase{{0, 7, 2}, {"A", "B", "", "C", "D"}},
                      // Removing past the end does nothing; a later insertion there appends.
                      EditCase{{-4}, {"A", "B", "C", "D"}},
                      EditCase{{-4, 4}, {"A", "B", "C", "D", ""}},
                      // A list ending inside a 0-pair is done; an edit beyond the walk waits for ever.
                      EditCase{{3, 0}, {"A", "B", "C", "", "D"}},
                      EditCase{{9}, {"A", "B", "C", "D"}},
                      EditCase{{}, {"A", "B", "C", "D"}},
                      // Two removals of one position: the running position has stepped back.
                      EditCase{{-1, -1}, {"C", "D"}}));

TEST(TranslationEditListBounds, RemovalsBeforeTheStartAreNoOps) {
    std::vector<std::string> texts = {"A", "B"};
    // The first -1 removes "B", the second "A" and steps the position below 0, where the
    // third finds nothing.
    TranslationRevisions::ApplyEditList(texts, std::vector<int>{-1, -1, -1});
    EXPECT_TRUE(texts.empty());
    // Past the end of a one-text array there is nothing to remove either.
    std::vector<std::string> one = {"A"};
    TranslationRevisions::ApplyEditList(one, std::vector<int>{-1});
    EXPECT_EQ(one, std::vector<std::string>{"A"});
}

TEST(TranslationRevisionTable, HoldsTheFiftyNineRevisionsInOrder) {
    const auto& rows = TranslationRevisions::kRows;
    ASSERT_EQ(rows.size(), 59u);
    EXPECT_EQ(rows[0], 0.0f);
    EXPECT_EQ(rows[10], 10.0f);
    EXPECT_EQ(rows[11], 10.01f);
    EXPECT_EQ(rows[31], 10.21f);
    EXPECT_EQ(rows[32], 11.0f);
    EXPECT_EQ(rows[33], 11.01f);
    EXPECT_EQ(rows[58], 11.26f);
    for (size_t i = 1; i < rows.size(); ++i) EXPECT_LT(rows[i - 1], rows[i]) << i;
    EXPECT_EQ(TranslationRevisions::FindRow(11.25f), 57u);
    // Exact equality: a revision between rows, or one the controller table has but this
    // table does not, is not found.
    EXPECT_EQ(TranslationRevisions::FindRow(11.2501f), std::nullopt);
    EXPECT_EQ(TranslationRevisions::FindRow(10.22f), std::nullopt);
}

TEST(TranslationRevisionTable, RowsWithoutAnEditListAreSaidSo) {
    std::vector<std::string> texts = {"A", "B"};
    EXPECT_EQ(CTranslation::UpgradeRevision(texts, 0), 0);
    EXPECT_EQ(CTranslation::UpgradeRevision(texts, 58), 0);
    EXPECT_EQ(CTranslation::UpgradeRevision(texts, 59), 0);
    EXPECT_EQ(texts, (std::vector<std::string>{"A", "B"}));
    std::vector<std::string> full(4572, "x");
    EXPECT_EQ(CTranslation::UpgradeRevision(full, 57), 1);
    EXPECT_EQ(full.size(), 4575u);
}

// Texts numbered by the current literal table, as a translator of revision 11.23 had them:
// the eleven literals later revisions added are missing, and one text 11.26 dropped is there.
std::vector<std::string> TranslationOf1123() {
    const std::set<size_t> added = {236, 237, 238, 266, 267, 268, 317, 318, 319, 351, 652};
    std::vector<std::string> texts;
    for (size_t i = 0; i < DeviceLiterals::kTableSize; ++i) {
        if (i == 4004) texts.push_back("dropped");
        if (!added.count(i)) texts.push_back("t" + std::to_string(i));
    }
    return texts;
}

TEST(TranslationRevisionTable, UpgradingEveryRowFrom1123LinesTheTextsUpWithTheTable) {
    std::vector<std::string> texts = TranslationOf1123();
    const size_t from = *TranslationRevisions::FindRow(11.23f);
    for (size_t row = from; row < TranslationRevisions::kRowCount; ++row) CTranslation::UpgradeRevision(texts, row);
    ASSERT_EQ(texts.size(), DeviceLiterals::kTableSize);
    for (size_t i = 0; i < texts.size(); ++i) {
        const bool added = (i >= 236 && i <= 238) || (i >= 266 && i <= 268) || (i >= 317 && i <= 319) || i == 351 ||
                           i == 652;
        EXPECT_EQ(texts[i], added ? "" : "t" + std::to_string(i)) << i;
    }
}

TEST(TranslationLiteralTable, HoldsTheNamedEntriesAndEndsWithTheSentinel) {
    const std::vector<std::string> first = {"Duravane III Ready", "Press SET key",    "Printing",      "Please Card In",
                                            "Invalid Card",       "Card-In Required", "Archiving Data"};
    for (size_t i = 0; i < first.size(); ++i) EXPECT_EQ(DeviceLiterals::Text(i), first[i]);
    EXPECT_EQ(DeviceLiterals::Text(4573), "ErrOther");
    EXPECT_EQ(DeviceLiterals::Text(4574), "LAST LITERAL");
    EXPECT_EQ(DeviceLiterals::Text(4575), "");
    size_t empty = 0;
    for (size_t i = 0; i < DeviceLiterals::kTableSize; ++i) {
        const std::string_view text = DeviceLiterals::Text(i);
        EXPECT_LE(text.size(), 135u) << i;
        if (text.empty()) ++empty;
        if (i + 1 < DeviceLiterals::kTableSize) {
            EXPECT_NE(text, "LAST LITERAL") << i;
        }
    }
    EXPECT_EQ(empty, 1u);
}

}  // namespace
}  // namespace qs::test
