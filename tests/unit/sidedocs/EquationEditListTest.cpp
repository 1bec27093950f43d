// The editor's line operations over a set: where new and pasted lines go, the line cap, cut,
// moves, and lines that stop making sense once a line they depend on is gone.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "EquationFixtures.h"
#include "sidedocs/equations/EquationClipboardBlock.h"
#include "sidedocs/equations/EquationEditList.h"
#include "sidedocs/equations/EquationParser.h"

namespace qs::test::eq {
namespace {

std::vector<std::string> DocTexts(const CEquationDoc& doc) {
    std::vector<std::string> texts;
    for (const auto& line : doc.Lines()) texts.push_back(line->text);
    return texts;
}

std::unique_ptr<CEquation> Comment(const std::string& text) {
    auto line = std::make_unique<CEquation>();
    line->type = Dest::kComment;
    line->text = text;
    return line;
}

struct EquationEditListFill {
    const char* name;
    bool byPaste;
};

class EquationEditListCapTest : public ::testing::TestWithParam<EquationEditListFill> {};

TEST_P(EquationEditListCapTest, TheLineAfterTheLastAllowedIsRefused) {
    CEquationDoc doc(Dictionary());
    for (size_t i = 0; i + 1 < CEquationDoc::kMaxLines; ++i) AddComment(doc, ";  c" + std::to_string(i));
    EquationEditList list(doc);
    const std::string block = EquationClipboardBlock::Encode(*Comment(";  more"));
    const auto add = [&] {
        return GetParam().byPaste ? list.Paste(block) == EquationEditList::PasteResult::kPasted : list.Insert(Comment(";  more"));
    };
    EXPECT_TRUE(add());
    EXPECT_EQ(doc.Lines().size(), CEquationDoc::kMaxLines);
    EXPECT_TRUE(list.Full());
    EXPECT_FALSE(add());
    if (GetParam().byPaste) {
        EXPECT_EQ(list.Paste(block), EquationEditList::PasteResult::kFull);
    }
    EXPECT_EQ(doc.Lines().size(), CEquationDoc::kMaxLines);
    EXPECT_EQ(list.Size(), CEquationDoc::kMaxLines);
}

INSTANTIATE_TEST_SUITE_P(Ways, EquationEditListCapTest,
                         ::testing::Values(EquationEditListFill{"Insert", false}, EquationEditListFill{"Paste", true}),
                         [](const auto& info) { return std::string(info.param.name); });

class EquationEditListPlaceTest : public ::testing::TestWithParam<EquationEditListFill> {};

TEST_P(EquationEditListPlaceTest, NewLinesGoAfterTheCurrentLineOrFirst) {
    CEquationDoc doc(Dictionary());
    AddComment(doc, ";  a");
    AddComment(doc, ";  b");
    EquationEditList list(doc);
    const auto add = [&](const std::string& text) {
        if (GetParam().byPaste) {
            ASSERT_EQ(list.Paste(EquationClipboardBlock::Encode(*Comment(text))), EquationEditList::PasteResult::kPasted);
        } else {
            ASSERT_TRUE(list.Insert(Comment(text)));
        }
    };
    add(";  top");  // no current line
    EXPECT_EQ(list.Current(), 0u);
    list.SetCurrent(1);
    add(";  after a");
    EXPECT_EQ(list.Current(), 2u);
    const std::vector<std::string> expected{";  top", ";  a", ";  after a", ";  b"};
    EXPECT_EQ(DocTexts(doc), expected);
    EXPECT_EQ(list.Texts(), expected);
    EXPECT_TRUE(list.Modified());
}

INSTANTIATE_TEST_SUITE_P(Ways, EquationEditListPlaceTest,
                         ::testing::Values(EquationEditListFill{"Insert", false}, EquationEditListFill{"Paste", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EquationEditListTest, DeletingADefiningLineLeavesItsUserShowingQuestionMark) {
    CEquationDoc doc(Dictionary());
    Add(doc, Dest::kTempBool, 1, "TRUE");
    Add(doc, Dest::kUserBool, 7, "TEMPBOOL1");
    EquationEditList list(doc);
    EXPECT_EQ(list.Texts()[1], "USERBOOL7 = TEMPBOOL1");
    list.SetCurrent(0);
    list.DeleteCurrent();
    EXPECT_FALSE(list.Current());
    list.Rebuild();
    ASSERT_EQ(list.Size(), 1u);
    EXPECT_EQ(list.Texts()[0], "?");
}

TEST(EquationEditListTest, CutTakesTheLineOutAndPasteBringsItBack) {
    CEquationDoc doc(Dictionary());
    Add(doc, Dest::kTempFloat, 1, "2.5 * 2");
    Add(doc, Dest::kUserFloat, 3, "TEMPFLOAT1 + 1");
    EquationEditList list(doc);
    list.SetCurrent(0);
    const std::string block = list.Cut();
    ASSERT_FALSE(block.empty());
    ASSERT_EQ(doc.Lines().size(), 1u);
    EXPECT_EQ(list.Texts(), std::vector<std::string>{"USERFLOAT3 = TEMPFLOAT1 + 1"});
    EXPECT_EQ(list.Paste(block), EquationEditList::PasteResult::kPasted);
    EXPECT_EQ(DocTexts(doc), (std::vector<std::string>{"TEMPFLOAT1 = 2.5 * 2", "USERFLOAT3 = TEMPFLOAT1 + 1"}));
    EXPECT_EQ(doc.Lines()[0]->type, Dest::kTempFloat);
    EXPECT_EQ(doc.Lines()[0]->OperatorCount(), 1);
}

TEST(EquationEditListTest, APastedLineThatFailsItsCheckShowsQuestionMarkAndIsNotSent) {
    CEquationDoc source(Dictionary());
    Add(source, Dest::kTempBool, 4, "TRUE");
    CEquation& user = Add(source, Dest::kUserBool, 2, "TEMPBOOL4");
    const std::string block = EquationClipboardBlock::Encode(user);

    CEquationDoc doc(Dictionary());
    EquationEditList list(doc);
    ASSERT_EQ(list.Paste(block), EquationEditList::PasteResult::kPasted);
    EXPECT_EQ(list.Texts()[0], "?");
    CEquation checked;
    EXPECT_FALSE(EquationParser::Validate(*doc.Lines()[0], doc.Context(), checked).Ok());
}

TEST(EquationEditListTest, MovesSwapWithTheNeighbourAndKeepTheLineCurrent) {
    CEquationDoc doc(Dictionary());
    for (const char* t : {";  a", ";  b", ";  c"}) AddComment(doc, t);
    EquationEditList list(doc);
    list.SetCurrent(0);
    EXPECT_FALSE(list.MoveUp());
    EXPECT_TRUE(list.MoveDown());
    EXPECT_TRUE(list.MoveDown());
    EXPECT_FALSE(list.MoveDown());
    EXPECT_EQ(list.Current(), 2u);
    EXPECT_EQ(DocTexts(doc), (std::vector<std::string>{";  b", ";  c", ";  a"}));
    EXPECT_EQ(list.Texts(), DocTexts(doc));
    EXPECT_TRUE(list.MoveUp());
    EXPECT_EQ(DocTexts(doc), (std::vector<std::string>{";  b", ";  a", ";  c"}));
}

TEST(EquationEditListTest, WithoutACurrentLineNothingIsTakenOrChanged) {
    CEquationDoc doc(Dictionary());
    AddComment(doc, ";  a");
    EquationEditList list(doc);
    list.SetCurrent(5);  // past the end
    EXPECT_FALSE(list.Current());
    list.DeleteCurrent();
    EXPECT_EQ(list.Cut(), "");
    EXPECT_FALSE(list.MoveUp());
    EXPECT_EQ(doc.Lines().size(), 1u);
    EXPECT_FALSE(list.Modified());
}

}  // namespace
}  // namespace qs::test::eq
