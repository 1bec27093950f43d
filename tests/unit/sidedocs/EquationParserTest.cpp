// The expression language: what each token reads as, the order rules and their codes, the
// failing position, the spacing of an entered line and the check of a line before it is sent.
#include <gtest/gtest.h>

#include "EquationFixtures.h"
#include "sidedocs/equations/EquationParser.h"
#include "sidedocs/equations/EquationTokens.h"

namespace qs::test::eq {
namespace {

using T = EquationTokens;
constexpr int kNeg = T::kNegated;

struct ParseCase {
    std::string text;
    int code;
    size_t position = 0;
    std::vector<int32_t> kinds{};
    std::vector<double> values{};
    std::vector<int32_t> operators{};
};

std::ostream& operator<<(std::ostream& os, const ParseCase& c) { return os << "\"" << c.text << "\""; }

// A set that defines TEMPBOOL1 and TEMPFLOAT2.
class EquationParse : public ::testing::TestWithParam<ParseCase> {
protected:
    EquationParse() : doc(Dictionary()) {
        Add(doc, Dest::kTempBool, 1, "TRUE");
        Add(doc, Dest::kTempFloat, 2, "PI");
    }
    CEquationDoc doc;
};

TEST_P(EquationParse, ReadsAsTheLanguageSays) {
    const ParseCase& c = GetParam();
    CEquation line;
    line.kinds[0] = CEquation::kByteConstant;
    line.values[0] = 77;
    const CEquation before = line;
    const EquationParseResult r = line.ParseExpression(c.text, doc.Context());
    EXPECT_EQ(r.code, c.code) << T::Message(r.code);
    if (c.code != 0) {
        EXPECT_EQ(r.position, c.position);
        EXPECT_EQ(line.kinds, before.kinds);
        EXPECT_EQ(line.values, before.values);
        return;
    }
    for (size_t i = 0; i < static_cast<size_t>(CEquation::kPlaces); ++i) {
        EXPECT_EQ(line.kinds[i], i < c.kinds.size() ? c.kinds[i] : 0) << "operand " << i;
        EXPECT_DOUBLE_EQ(line.values[i], i < c.values.size() ? c.values[i] : 0.0) << "operand " << i;
        EXPECT_EQ(line.operators[i], i < c.operators.size() ? c.operators[i] : 0) << "operator " << i;
    }
}

const uint32_t kKFactorNoInstance = kKFactorArm2Meter3 & 0xFFFFFF00u;

INSTANTIATE_TEST_SUITE_P(Tokens, EquationParse, ::testing::Values(
    ParseCase{"255", 0, 0, {2}, {255}},
    ParseCase{"255.0", 0, 0, {3}, {255}},
    ParseCase{"256", 0, 0, {3}, {256}},
    ParseCase{"0", 0, 0, {2}, {0}},
    ParseCase{"1E2", 0, 0, {3}, {100}},
    ParseCase{"-3.4E38", 0, 0, {3}, {-3.4e38}},
    ParseCase{"2.5 * -1", 0, 0, {3, 3}, {2.5, -1}, {T::kTimes}},
    ParseCase{"2.5 -1", 0, 0, {3, 3}, {2.5, 1}, {T::kMinus}},
    ParseCase{"-1 + 2", 0, 0, {3, 2}, {-1, 2}, {T::kPlus}},
    ParseCase{"PI * E", 0, 0, {1, 1}, {4, 5}, {T::kTimes}},
    ParseCase{"true and not false", 0, 0, {1, 1}, {0, 1}, {T::kAnd | kNeg}},
    ParseCase{"ON XOR NOT OFF OR NOT TRUE", 0, 0, {1, 1, 1}, {2, 3, 0}, {T::kXor | kNeg, T::kOr | kNeg}},
    ParseCase{"NOT TRUE", 0, 0, {1}, {0}, {T::kNot}},
    ParseCase{"TRUE IF FALSE", 0, 0, {1, 1}, {0, 1}, {T::kIf}},
    ParseCase{"TRUE IF NOT FALSE AND ON", 0, 0, {1, 1, 1}, {0, 1, 2}, {T::kIf, T::kNot, T::kAnd}},
    ParseCase{"2 > ABS 3", 0, 0, {2, 2}, {2, 3}, {T::kGreater, T::kAbs}},
    ParseCase{"SQRT 2 POW 3", 0, 0, {2, 2}, {2, 3}, {T::kSqrt, T::kPow}},
    ParseCase{"1 + 2 + 3 + 4 + 5", 0, 0, {2, 2, 2, 2, 2}, {1, 2, 3, 4, 5}, {15, 15, 15, 15}},
    ParseCase{"TEMPBOOL1", 0, 0, {6}, {1}},
    ParseCase{"TEMPFLOAT2 / 2", 0, 0, {7, 2}, {2, 2}, {T::kDivide}},
    ParseCase{"USERBOOL100", 0, 0, {5}, {1 * 256 + 100}},
    ParseCase{"USERFLOAT1", 0, 0, {5}, {3 * 256 + 1}},
    ParseCase{"TIMER16", 0, 0, {5}, {83 * 256 + 16}},
    ParseCase{"@" + std::to_string(kUserFloat5), 0, 0, {4}, {kUserFloat5}},
    ParseCase{"@" + std::to_string(kActiveAlarmCount), 0, 0, {4}, {kActiveAlarmCount}},
    ParseCase{"", 1, 0},
    ParseCase{"   ", 1, 0},
    ParseCase{"1 + 2 + 3 + 4 + 5 + 6", 8, 18},
    ParseCase{"TEMPBOOL9", 9, 0},
    ParseCase{"1 + TEMPFLOAT1", 9, 4},
    ParseCase{"@16777215", 3, 0},
    ParseCase{"@4294967296", 3, 0},
    ParseCase{"@12AB", 3, 0},
    ParseCase{"@" + std::to_string(kKFactorNoInstance | 7), 3, 0},
    ParseCase{"@" + std::to_string(kKFactorNoInstance), 3, 0},
    ParseCase{"@" + std::to_string(kActiveAlarmCount | 1), 3, 0},
    ParseCase{"@" + std::to_string(0x09260000u), 3, 0},
    ParseCase{"USERBOOL0", 4, 0},
    ParseCase{"2 * USERBOOL101", 4, 4},
    ParseCase{"TIMER17", 4, 0},
    ParseCase{"DIGOUT5", 2, 0},
    ParseCase{"1 + ANA_OUT1", 2, 4},
    ParseCase{"USERBOOL", 2, 0},
    ParseCase{"0X10", 2, 0},
    ParseCase{"INF", 2, 0},
    ParseCase{"1.5.2", 2, 0},
    ParseCase{"2 * 1E39", 2, 4},
    ParseCase{"2 NULL 3", 2, 2},
    ParseCase{"USERFLOAT1 := 3", 2, 11},
    ParseCase{"TRUE FALSE", 5, 5},
    ParseCase{"2 ABS 3", 5, 2},
    ParseCase{"TRUE AND NOT NOT FALSE", 6, 13},
    ParseCase{"NOT NOT TRUE", 6, 4},
    ParseCase{"TRUE + AND FALSE", 6, 7},
    ParseCase{"2 + ABS 3", 6, 4},
    ParseCase{"2 > > 3", 6, 4},
    ParseCase{"TRUE IF ABS 2", 6, 8},
    ParseCase{"IF TRUE", 6, 0},
    ParseCase{"AND TRUE", 6, 0},
    ParseCase{"TRUE AND", 6, 5},
    ParseCase{"1 + 2 IF 3", 10, 6}));

struct SpacingCase {
    std::string entered;
    std::string normal;
};

class EquationSpacing : public ::testing::TestWithParam<SpacingCase> {};

TEST_P(EquationSpacing, SetsBlanksAroundTokensOnly) {
    CEquation line;
    std::string text = GetParam().entered;
    EXPECT_TRUE(line.NormalizeSpacing(text));
    EXPECT_EQ(text, GetParam().normal);
    std::string again = text;
    line.NormalizeSpacing(again);
    EXPECT_EQ(again, text) << "normalising twice";
}

INSTANTIATE_TEST_SUITE_P(Lines, EquationSpacing, ::testing::Values(
    SpacingCase{"2.5*2", "2.5 * 2"},
    SpacingCase{"sqrt4", "SQRT 4"},
    SpacingCase{"SQRTTEMPFLOAT1", "SQRT TEMPFLOAT1"},
    SpacingCase{"a<=b", "A <= B"},
    SpacingCase{"1!=2", "1 != 2"},
    SpacingCase{"TRUEAND FALSE", "TRUE AND FALSE"},
    SpacingCase{"2AND3", "2 AND 3"},
    SpacingCase{"TEMPBOOL1ORTEMPBOOL2", "TEMPBOOL1 OR TEMPBOOL2"},
    SpacingCase{"NOTTRUE", "NOT TRUE"},
    SpacingCase{"X-1", "X -1"},
    SpacingCase{"5--1", "5 - -1"},
    SpacingCase{"1E-5*2", "1E-5 * 2"},
    SpacingCase{"2EXP3", "2 EXP 3"},
    SpacingCase{"ABS@16908289", "ABS @16908289"},
    SpacingCase{"TIMER1>=5", "TIMER1 >= 5"},
    SpacingCase{"ENDIF1", "ENDIF 1"},
    SpacingCase{"TRUEIF FALSE", "TRUE IF FALSE"},
    SpacingCase{"1IFF2", "1 IFF 2"},
    SpacingCase{"  2   +\t3  ", "2 + 3"}));

TEST(EquationSpacingComment, ACommentLineIsLeftAlone) {
    CEquation line;
    line.type = Dest::kComment;
    std::string text = "a*b  see   manual";
    EXPECT_TRUE(line.NormalizeSpacing(text));
    EXPECT_EQ(text, "a*b  see   manual");
}

struct ValidateCase {
    const char* name;
    int type;
    int index;
    std::vector<int32_t> kinds;
    std::vector<double> values;
    std::vector<int32_t> operators;
    int code;
};

TEST(EquationValidate, LinesAreCheckedAsTheyWouldBeSent) {
    const std::vector<ValidateCase> cases = {
        {"register destination, three operators", Dest::kUserFloat, 1, {2, 2, 2, 2}, {1, 2, 3, 4}, {15, 15, 15}, 0},
        {"register destination, four operators", Dest::kUserFloat, 1, {2, 2, 2, 2, 2}, {1, 2, 3, 4, 5}, {15, 15, 15, 15}, 8},
        {"TEMPFLOAT, four operators", Dest::kTempFloat, 3, {2, 2, 2, 2, 2}, {1, 2, 3, 4, 5}, {15, 15, 15, 15}, 0},
        {"not used, four operators", Dest::kNotUsed, 0, {2, 2, 2, 2, 2}, {1, 2, 3, 4, 5}, {15, 15, 15, 15}, 0},
        {"USERBOOL0", Dest::kUserBool, 0, {2}, {1}, {}, 4},
        {"USERBOOL101", Dest::kUserBool, 101, {2}, {1}, {}, 4},
        {"TIMER17", 85, 17, {2}, {1}, {}, 4},
        {"TIMER16", 85, 16, {2}, {1}, {}, 0},
        {"type 107", 107, 0, {2}, {1}, {}, 4},
        {"TEMPBOOL gone", Dest::kUserBool, 1, {6}, {2}, {}, 9},
        {"operator outside the table", Dest::kTempFloat, 1, {2, 2}, {1, 2}, {T::kUnknownRow}, 2},
        {"no operand", Dest::kTempFloat, 1, {}, {}, {}, 1},
        {"byte constant out of range", Dest::kTempFloat, 1, {2}, {300}, {}, 2},
        {"negated plus", Dest::kTempFloat, 1, {2, 2}, {1, 2}, {T::kPlus | kNeg}, 6},
    };
    CEquationDoc doc(Dictionary());
    Add(doc, Dest::kTempBool, 1, "TRUE");
    for (const ValidateCase& c : cases) {
        CEquation line;
        line.type = c.type;
        line.index = static_cast<int16_t>(c.index);
        for (size_t i = 0; i < c.kinds.size(); ++i) line.kinds[i] = c.kinds[i];
        for (size_t i = 0; i < c.values.size(); ++i) line.values[i] = c.values[i];
        for (size_t i = 0; i < c.operators.size(); ++i) line.operators[i] = c.operators[i];
        CEquation checked;
        EXPECT_EQ(EquationParser::Validate(line, doc.Context(), checked).code, c.code) << c.name;
    }
}

}  // namespace
}  // namespace qs::test::eq
