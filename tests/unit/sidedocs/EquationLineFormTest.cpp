// The line dialog's model: the checks that build a line's text, the index that follows the
// destination, the keypad and register insertions, and the clipboard block it travels in.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "EquationFixtures.h"
#include "Fuzz.h"
#include "sidedocs/equations/EquationClipboardBlock.h"
#include "sidedocs/equations/EquationEditList.h"
#include "sidedocs/equations/EquationLineForm.h"

namespace qs::test::eq {
namespace {

struct EquationLineFormCheckRow {
    int type;
    int index;
    const char* expression;
    const char* lineText;  // or the error the dialog shows
};

class EquationLineFormCheckTest : public ::testing::TestWithParam<EquationLineFormCheckRow> {};

TEST_P(EquationLineFormCheckTest, AcceptBuildsTheLineTextOrSaysTheError) {
    CEquationDoc doc(Dictionary());
    Add(doc, Dest::kTempFloat, 1, "2.5");
    EquationLineForm form(nullptr, doc.Context());
    form.SetDestination(GetParam().type);
    form.SetIndex(GetParam().index);
    form.SetExpression(GetParam().expression);
    const bool ok = form.Accept();
    EXPECT_EQ(form.LineText(), GetParam().lineText);
    EXPECT_EQ(ok, std::string(GetParam().lineText).rfind("Error ", 0) != 0);
    if (ok) {
        EXPECT_EQ(form.Line().text, form.LineText());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, EquationLineFormCheckTest,
    ::testing::Values(
        EquationLineFormCheckRow{Dest::kUserFloat, 5, "1+2-3*4/5", "Error 8 - MAXIMUM ALLOWED OPERATIONS (4) EXCEEDED"},
        EquationLineFormCheckRow{Dest::kTempFloat, 2, "1+2-3*4/5", "TEMPFLOAT2 = 1 + 2 - 3.0 * 4 / 5"},
        EquationLineFormCheckRow{Dest::kUserFloat, 5, "1+2-3*4", "USERFLOAT5 = 1 + 2 - 3.0 * 4"},
        EquationLineFormCheckRow{Dest::kComment, 1, "check the pumps", ";  check the pumps"},
        EquationLineFormCheckRow{Dest::kComment, 1, ";  already marked", ";  already marked"},
        EquationLineFormCheckRow{Dest::kUserAlarm, 0, "tempfloat1 > 3", "Set User Alarm TEMPFLOAT1 > 3"},
        EquationLineFormCheckRow{Dest::kTempBool, 1, "TEMPBOOL9", "Error 9 - TEMP USED BEFORE DEFINITION"},
        EquationLineFormCheckRow{Dest::kUserFloat, 101, "1", "Error 4 - INDEX OUT OF RANGE"}));

TEST(EquationLineFormTest, DestinationChangesSetTheIndex) {
    struct Row {
        int type;
        int index;
        bool editable;
    };
    const Row rows[] = {
        {Dest::kTempBool, 1, true},   {Dest::kUserFloat, 1, true}, {Dest::kDigOutFirst, 1, false},
        {Dest::kDigOutLast, 78, false}, {Dest::kUserAlarm, 0, false}, {Dest::kTimerFirst, 1, false},
        {Dest::kTimerLast, 16, false}, {Dest::kComment, 1, false},  {Dest::kAnaOutFirst, 1, false},
        {Dest::kAnaOutLast, 6, false},
    };
    CEquationDoc doc(Dictionary());
    for (const Row& row : rows) {
        EquationLineForm form(nullptr, doc.Context());
        form.SetIndex(42);
        form.SetDestination(row.type);
        EXPECT_EQ(form.Line().index, row.index) << row.type;
        EXPECT_EQ(form.IndexEditable(), row.editable) << row.type;
    }
}

TEST(EquationLineFormTest, DestinationRowsCarryTheirGroupTags) {
    const std::pair<int, const char*> rows[] = {
        {0, "Temporary BOOLEAN storage (used in later line)"}, {3, "User FLOAT register (accessible via comm, etc.)"},
        {4, "Digital Output #1 (DC)"},       {6, "Digital Output #3 (DC)"},       {7, "Digital Output #4 (AC)"},
        {33, "Digital Output #30 (AC)"},     {34, "Digital Output #31 (BIOB)"},   {41, "Digital Output #38 (BIOB)"},
        {42, "Digital Output #39 (AICB #1)"}, {61, "Digital Output #58 (AICB #1)"}, {62, "Digital Output #59 (AICB #2)"},
        {81, "Digital Output #78 (AICB #2)"}, {82, "User Alarm"},                  {83, "Timer #1 (100ms)"},
        {87, "Timer #5 (1 sec)"},            {91, "Timer #9 (1 min)"},            {98, "Timer #16 (1 hr)"},
        {99, "Comment Only"},                {100, "Analog I/O #1 Out"},          {105, "Analog I/O #6 Out"},
        {106, "Not Used <invalid>"},         {107, ""},
    };
    for (const auto& [type, text] : rows) EXPECT_EQ(EquationLineForm::DestinationRowText(type), text) << type;
}

TEST(EquationLineFormTest, KeypadAndRegisterInsertAtTheCaret) {
    CEquationDoc doc(Dictionary());
    EquationLineForm form(nullptr, doc.Context());
    form.SetDestination(Dest::kTempFloat);
    form.SetExpression("1 2");
    EXPECT_EQ(form.InsertAtCaret(1, 1, " + "), 4u);
    EXPECT_EQ(form.Expression(), "1 +  2");
    EXPECT_EQ(form.InsertAtCaret(4, 99, "*"), 5u);  // a selection past the end is bounded
    EXPECT_EQ(form.Expression(), "1 + *");
    EXPECT_EQ(form.InsertAtCaret(5, 3, ""), 5u);
    EXPECT_EQ(form.InsertAtCaret(4, 5, ""), 4u);
    EXPECT_EQ(EquationLineForm::RegisterReference(kUserFloat5), " @69206021 ");
    EXPECT_EQ(EquationLineForm::RegisterReference(12), " @0000012 ");
    form.InsertRegister(4, 4, kUserFloat5);
    EXPECT_TRUE(form.Valid()) << form.LineText();
    EXPECT_EQ(form.LineText(), "TEMPFLOAT1 = 1 + User Data(5) User Float");
}

TEST(EquationLineFormTest, AnExistingLineOpensWithItsExpressionAndStaysValid) {
    CEquationDoc doc(Dictionary());
    CEquation& line = Add(doc, Dest::kUserFloat, 3, "2.5 * 2");
    EquationLineForm form(&line, doc.Context());
    EXPECT_EQ(form.Expression(), "2.5 * 2");
    EXPECT_TRUE(form.Valid());
    form.SetExpression("2.5 *");
    EXPECT_FALSE(form.Accept());
    EXPECT_EQ(form.Line().OperandCount(), 2);  // the fields of the last good expression
}

TEST(EquationClipboardBlockTest, RoundTripsAndRefusesAnyOtherBlock) {
    CEquationDoc doc(Dictionary());
    const CEquation& line = Add(doc, Dest::kUserFloat, 3, "ABS @" + std::to_string(kUserFloat5) + " * 2");
    const std::string block = EquationClipboardBlock::Encode(line);
    const auto back = EquationClipboardBlock::Decode(block);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->text, line.text);
    EXPECT_EQ(back->type, line.type);
    EXPECT_EQ(back->index, line.index);
    EXPECT_EQ(back->values, line.values);
    EXPECT_EQ(back->kinds, line.kinds);
    EXPECT_EQ(back->operators, line.operators);
    std::string otherVersion = block;
    otherVersion[4] = 2;
    for (const std::string& bad : {block.substr(0, block.size() - 1), block + "x", otherVersion, std::string()}) {
        EXPECT_FALSE(EquationClipboardBlock::Decode(bad));
    }
}

TEST(EquationClipboardBlockTest, FuzzedBlocksPasteAsBoundedLines) {
    CEquationDoc doc(Dictionary());
    Add(doc, Dest::kTempBool, 1, "TRUE");
    const std::string seeds[] = {EquationClipboardBlock::Encode(*doc.Lines()[0])};
    CEquation comment;
    comment.type = Dest::kComment;
    comment.text = ";  note";
    RunFuzz({seeds[0], EquationClipboardBlock::Encode(comment)}, [&](const std::string& input) {
        CEquationDoc target(Dictionary());
        EquationEditList list(target);
        if (list.Paste(input) != EquationEditList::PasteResult::kPasted) return;
        ASSERT_LE(target.Lines()[0]->text.size(), CEquation::kMaxCommentLength);
        list.Rebuild();
    }, {.iterations = 5000, .maxLength = 512, .seed = 2711});
}

}  // namespace
}  // namespace qs::test::eq
