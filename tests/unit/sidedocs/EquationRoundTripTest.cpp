// Whole sets made at random from the language: what the controller would hold of them, read
// back and sent again, is the same bytes.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "DeviceFrames.h"
#include "EquationFixtures.h"
#include "sidedocs/equations/EquationSetParser.h"
#include "sidedocs/equations/EquationSetPayload.h"
#include "sidedocs/equations/EquationText.h"
#include "sidedocs/equations/EquationTokens.h"

namespace qs::test::eq {
namespace {

// Random lines in the language's normal shapes. A TEMPBOOL line always has an operator: read
// back unnamed, a lone operand would come back as "not used" and go out with ANOP instead of
// IF. IFF is left out: it shares IF's device code, so it comes back as IF.
class SetMaker {
public:
    explicit SetMaker(uint32_t seed) : rng_(seed) {}

    void Fill(CEquationDoc& doc) {
        const int lines = 1 + Pick(25);
        for (int i = 0; i < lines; ++i) {
            int type = Pick(107);
            if (type == Dest::kComment) type = Dest::kNotUsed;
            int index = 0;
            if (type == Dest::kTempBool || type == Dest::kTempFloat) index = 1 + Pick(5);
            else if (type == Dest::kUserBool || type == Dest::kUserFloat) index = 1 + Pick(100);
            else if (type >= Dest::kTimerFirst && type <= Dest::kTimerLast) index = 1 + Pick(16);
            else if (type >= Dest::kDigOutFirst && type <= Dest::kDigOutLast) index = type - 3;
            else if (type >= Dest::kAnaOutFirst && type <= Dest::kAnaOutLast) index = type - 99;
            const int maxOperators = Dest::HasRegister(type) ? 3 : 4;
            CEquation& line = Add(doc, type, index, Expression(doc, maxOperators, type == Dest::kTempBool));
            line.disable = Pick(2);
        }
    }

private:
    int Pick(int n) { return static_cast<int>(rng_() % static_cast<uint32_t>(n)); }

    std::string Temp(const CEquationDoc& doc, int type) {
        std::vector<int> numbers;
        for (const auto& l : doc.Lines())
            if (l->type == type) numbers.push_back(l->index);
        if (numbers.empty()) return "7";
        return std::string(Dest::Name(type)) + std::to_string(numbers[static_cast<size_t>(Pick(static_cast<int>(numbers.size())))]);
    }

    std::string Operand(const CEquationDoc& doc) {
        static const uint32_t registers[] = {kUserFloat5, kKFactorArm2Meter3, kActiveAlarmCount, 0x03200005,
                                             0x06200007, 0x071E0300};
        switch (Pick(10)) {
        case 0: return std::to_string(Pick(256));
        case 1: return EquationText::Float(std::ldexp(static_cast<double>(Pick(2000001)) - 1e6, Pick(80) - 40));
        case 2: return EquationText::Float(static_cast<double>(Pick(256)));
        case 3: return std::string(EquationTokens::ConstantName(Pick(6)));
        case 4: return "@" + std::to_string(registers[Pick(6)]);
        case 5: return "USERBOOL" + std::to_string(1 + Pick(100));
        case 6: return "USERFLOAT" + std::to_string(1 + Pick(100));
        case 7: return "TIMER" + std::to_string(1 + Pick(16));
        case 8: return Temp(doc, Dest::kTempBool);
        default: return Temp(doc, Dest::kTempFloat);
        }
    }

    std::string Expression(const CEquationDoc& doc, int maxOperators, bool needsOperator) {
        static const char* unary[] = {"NOT", "ABS", "SQRT", "SQR", "LN", "LOG"};
        static const char* binary[] = {"AND", "OR", "XOR", "ENDIF", "!=", "<=", ">=", ">", "<", "=",
                                       "+",   "-",  "*",   "/",     "POW", "EXP"};
        int left = (needsOperator ? 1 : 0) + Pick(maxOperators + (needsOperator ? 0 : 1));
        std::string text;
        if (left > 0 && Pick(4) == 0) {
            text = Operand(doc) + " IF ";
            --left;
            if (left > 0 && Pick(3) == 0) {
                text += "NOT ";
                --left;
            }
        } else if (left > 0 && Pick(3) == 0) {
            text = std::string(unary[Pick(6)]) + " ";
            --left;
        }
        text += Operand(doc);
        while (left > 0) {
            const std::string op = binary[Pick(16)];
            text += " " + op;
            --left;
            if ((op == "AND" || op == "OR" || op == "XOR") && Pick(2)) text += " NOT";
            const bool comparison = EquationTokens::ClassOf(EquationTokens::Find(op)) == EquationTokens::Class::Comparison;
            if (comparison && left > 0 && Pick(3) == 0) {
                text += std::string(" ") + unary[Pick(6)];
                --left;
            }
            text += " " + Operand(doc);
        }
        return text;
    }

    std::mt19937 rng_;
};

std::string Bytes(const EquationSetPayload& p) {
    std::string out(p.header.begin(), p.header.end());
    for (const auto& l : p.lines) out.append(l.begin(), l.end());
    out += EndRecord();
    return out + std::string(p.tables.begin(), p.tables.end());
}

TEST(EquationRoundTrip, AHeldSetGoesOutAsTheSameBytes) {
    for (uint32_t seed = 1; seed <= 300; ++seed) {
        CEquationDoc doc(Dictionary());
        SetMaker(seed).Fill(doc);
        std::string refusal;
        const auto first = EquationSetPayload::Build(doc, refusal);
        ASSERT_TRUE(first) << "seed " << seed << ": " << refusal;
        const std::string held = Bytes(*first);

        EquationSetParser::Result read = EquationSetParser::Parse(Vec(held), Dictionary());
        ASSERT_TRUE(read.Ok()) << "seed " << seed << ": " << read.fault;
        EXPECT_EQ(read.missingRegisters, 0);
        ASSERT_EQ(read.lines.size(), first->lines.size());
        CEquationDoc back(Dictionary());
        back.Lines() = std::move(read.lines);
        const auto second = EquationSetPayload::Build(back, refusal);
        ASSERT_TRUE(second) << "seed " << seed << ": " << refusal;
        EXPECT_EQ(Hex(Bytes(*second)), Hex(held)) << "seed " << seed;
    }
}

}  // namespace
}  // namespace qs::test::eq
