// The texts of a line: the line text of every kind of destination, register names, and
// expression texts that the parser reads back to the same line.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "EquationFixtures.h"
#include "sidedocs/equations/EquationText.h"
#include "sidedocs/equations/EquationTokens.h"

namespace qs::test::eq {
namespace {

TEST(EquationLineText, EveryDestinationHasItsForm) {
    struct Case {
        int type;
        int index;
        std::string expression;
        std::string text;
    };
    const std::vector<Case> cases = {
        {Dest::kTempBool, 1, "TRUE AND NOT FALSE", "TEMPBOOL1 = TRUE AND NOT FALSE"},
        {Dest::kUserBool, 7, "TEMPBOOL1", "USERBOOL7 = TEMPBOOL1"},
        {Dest::kTempFloat, 3, "2.5 * 2", "TEMPFLOAT3 = 2.5 * 2"},
        {Dest::kUserFloat, 1, "2.5 * 2", "USERFLOAT1 = 2.5 * 2"},
        {4, 1, "ON", "DIGOUT1 = ON"},
        {81, 78, "OFF", "DIGOUT78 = OFF"},
        {Dest::kUserAlarm, 0, "TEMPBOOL1", "Set User Alarm TEMPBOOL1"},
        {Dest::kTimerFirst, 5, "60", "TIMER5 = 60"},
        {90, 8, "60", "TIMER8 = 60"},
        {Dest::kAnaOutFirst, 1, "PI", "ANA_OUT1 = PI"},
        {Dest::kNotUsed, 0, "1 > 2", "<NOT USED> = 1 > 2"},
        {Dest::kTempFloat, 1, "@" + std::to_string(kUserFloat5) + " / 2", "TEMPFLOAT1 = User Data(5) User Float / 2"},
        {Dest::kTempFloat, 1, "ABS @" + std::to_string(kKFactorArm2Meter3),
         "TEMPFLOAT1 = ABS Arm 2 Meter Configuration(3) 103 K-Factor"},
        {Dest::kTempFloat, 1, "@" + std::to_string(kActiveAlarmCount), "TEMPFLOAT1 = System Run Data Active Alarm Count"},
        {Dest::kTempBool, 2, "TEMPFLOAT1 > 1E20", "TEMPBOOL2 = TEMPFLOAT1 > 1E+20"},
    };
    CEquationDoc doc(Dictionary());
    Add(doc, Dest::kTempBool, 1, "TRUE");
    Add(doc, Dest::kTempFloat, 1, "1");
    for (const Case& c : cases) {
        EXPECT_EQ(ParsedLine(doc, c.type, c.index, c.expression)->text, c.text);
    }
}

TEST(EquationLineText, CommentsShowTheirMarkOnce) {
    CEquation line;
    line.type = Dest::kComment;
    line.text = "loading rack 3";
    EXPECT_EQ(EquationText::Line(line, Dictionary()), ";  loading rack 3");
    line.text = ";  loading rack 3";
    EXPECT_EQ(EquationText::Line(line, Dictionary()), ";  loading rack 3");
    line.SetText(nullptr, Dictionary());
    EXPECT_EQ(line.text, ";  loading rack 3") << "a comment's own text stays";
}

TEST(EquationLineText, RegistersTheDictionaryLacksShowAsUnknown) {
    EXPECT_EQ(FormatRegisterReference("@00000001", Dictionary()), "???");
    EXPECT_EQ(FormatRegisterReference("tempbool1", Dictionary()), "TEMPBOOL1");
    EXPECT_EQ(FormatRegisterReference("@", Dictionary()), "@");
    ParamDictionary empty;
    EXPECT_EQ(EquationText::RegisterName(kUserFloat5, empty), "???");
}

TEST(EquationExpressionText, OperandsRenderInTheirOwnForms) {
    CEquation line;
    line.kinds = {CEquation::kNamedConstant, CEquation::kByteConstant, CEquation::kRegister, CEquation::kDestination,
                  CEquation::kTempFloat};
    line.values = {4, 200, 16908289, 83 * 256 + 2, 12};
    line.operators = {EquationTokens::kAnd | EquationTokens::kNegated, EquationTokens::kPlus, EquationTokens::kUnknownRow,
                      EquationTokens::kEqual, 0};
    EXPECT_EQ(line.GetExpressionText(), "PI AND NOT 200 + @16908289 ? TIMER2 = TEMPFLOAT12");
    line.values[2] = 34537472;
    EXPECT_EQ(line.FormatOperand(2), "@34537472");
    line.values[2] = 1;
    EXPECT_EQ(line.FormatOperand(2), "@00000001");
}

// Every float constant reads back as a float constant of the same value, or, when it came
// from the device, of the same 32-bit value.
TEST(EquationExpressionText, FloatsReadBackAsTheSameFloat) {
    std::mt19937_64 rng(2024);
    CEquationDoc doc(Dictionary());
    std::vector<double> values = {0.0, -0.0, 1.0, 255.0, -1.0, 0.1, 1e-5, 1e20, -3.4e38, 2.5, 1.0 / 3.0, 123456789.0};
    for (int i = 0; i < 2000; ++i) {
        const double d = std::ldexp(static_cast<double>(rng() % 2000001) - 1000000.0, static_cast<int>(rng() % 120) - 60);
        values.push_back(d);
        values.push_back(static_cast<float>(d));
    }
    for (double v : values) {
        CEquation line;
        line.kinds[0] = CEquation::kFloatConstant;
        line.values[0] = v;
        CEquation back;
        const std::string text = line.GetExpressionText();
        ASSERT_TRUE(back.ParseExpression(text, doc.Context()).Ok()) << text;
        EXPECT_EQ(back.kinds[0], CEquation::kFloatConstant) << text;
        if (static_cast<double>(static_cast<float>(v)) == v) {
            EXPECT_EQ(static_cast<float>(back.values[0]), static_cast<float>(v)) << text;
        } else {
            EXPECT_EQ(back.values[0], v) << text;
        }
    }
}

}  // namespace
}  // namespace qs::test::eq
