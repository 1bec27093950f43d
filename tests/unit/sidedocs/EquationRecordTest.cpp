// The 50-byte device line: how each form of line goes out, and how the lines the controller
// holds are read back.
#include <gtest/gtest.h>

#include "DeviceFrames.h"
#include "EquationFixtures.h"
#include "sidedocs/equations/EquationRecord.h"
#include "sidedocs/equations/EquationTokens.h"

namespace qs::test::eq {
namespace {

using T = EquationTokens;
using Span = std::span<const uint8_t, CEquation::kRecordBytes>;

std::string Encoded(const CEquation& line, EquationEncodeContext& context, int number = 1) {
    std::vector<uint8_t> record(CEquation::kRecordBytes);
    EXPECT_TRUE(line.EncodeRecord(std::span<uint8_t, CEquation::kRecordBytes>(record), number, context));
    return std::string(record.begin(), record.end());
}

std::unique_ptr<CEquation> Decoded(const std::string& record, EquationDecodeContext& context) {
    const std::vector<uint8_t> bytes = Vec(record);
    return CEquation::DecodeRecord(Span(bytes.data(), CEquation::kRecordBytes), context);
}

class EquationRecordLines : public ::testing::Test {
protected:
    EquationRecordLines() : doc(Dictionary()) {}
    CEquationDoc doc;
    EquationDecodeContext decoding{Dictionary(), 0, {}};
};

TEST_F(EquationRecordLines, EachFormGoesOutAsTheControllerReadsIt) {
    struct Case {
        const char* name;
        int type;
        int index;
        std::string expression;
        std::string record;  // line number 3
    };
    Add(doc, Dest::kTempBool, 4, "TRUE");
    Add(doc, Dest::kTempFloat, 1, "PI");
    const std::vector<Case> cases = {
        {"register destination", Dest::kUserFloat, 1, "2.5 * 2",
         DeviceLine(3, {20, 25, 253}, {0, 0, 0x04200000}, {319, 258})},
        {"lone operand to TEMPBOOL", Dest::kTempBool, 2, "TEMPBOOL4", DeviceLine(3, {10}, {0}, {268})},
        {"lone operand to TEMPFLOAT", Dest::kTempFloat, 2, "TEMPFLOAT1", DeviceLine(3, {12}, {1}, {343})},
        {"lone operand to a register", Dest::kUserBool, 9, "ON", DeviceLine(3, {25, 253}, {0, 0x06200008}, {258})},
        {"condition last", Dest::kTempFloat, 2, "TRUE IF 1 + 2",
         DeviceLine(3, {25, 25, 25}, {1, 2, 0}, {317, 268})},
        {"condition last, NOT after IF", Dest::kUserBool, 1, "TRUE IF NOT FALSE AND ON",
         DeviceLine(3, {25, 25, 25, 253}, {1, 2, 0, 0x06200000}, {267, 277, 268, 258})},
        {"IF alone stays", Dest::kTempBool, 2, "TRUE IF FALSE", DeviceLine(3, {25, 25}, {0, 1}, {268})},
        {"negated operators", Dest::kTempBool, 2, "ON AND NOT OFF OR NOT ON XOR NOT OFF",
         DeviceLine(3, {25, 25, 25, 25}, {0, 1, 2, 3}, {281, 282, 283})},
        {"leading unary to a register", Dest::kUserFloat, 100, "ABS -2",
         DeviceLine(3, {20, 253}, {0, 0x04200063}, {337, 258})},
        {"register instances counted from 0", Dest::kTempFloat, 2,
         "@" + std::to_string(kKFactorArm2Meter3) + " + @" + std::to_string(kActiveAlarmCount),
         DeviceLine(3, {253, 253}, {kKFactorArm2Meter3 - 1, kActiveAlarmCount}, {317})},
        {"named registers", Dest::kTempFloat, 2, "USERBOOL5 + USERFLOAT100 + TIMER1",
         DeviceLine(3, {253, 253, 253}, {0x06200004, 0x04200063, 0x071E0000}, {317, 317})},
        {"digital output", 10, 7, "ON", DeviceLine(3, {25, 253}, {0, 0x091F0031}, {258})},
        {"user alarm", Dest::kUserAlarm, 0, "TEMPBOOL4", DeviceLine(3, {10, 253}, {0, 0x061E0000}, {258})},
        {"timer by type", 90, 8, "60", DeviceLine(3, {25, 253}, {0, 0x071E0700}, {258})},
        {"timer by index", Dest::kTimerFirst, 5, "60", DeviceLine(3, {25, 253}, {0, 0x071E0400}, {258})},
        {"analog output", 103, 4, "PI", DeviceLine(3, {20, 253}, {0, 0x04230003}, {258})},
        {"not used", Dest::kNotUsed, 0, "E", DeviceLine(3, {20}, {0}, {343})},
    };
    for (const Case& c : cases) {
        EquationEncodeContext context{doc.Lines(), {}, {}};
        EXPECT_EQ(Hex(Encoded(*ParsedLine(doc, c.type, c.index, c.expression), context, 3)), Hex(c.record)) << c.name;
    }
}

TEST_F(EquationRecordLines, DeviceLinesReadBackInTheirNormalForms) {
    struct Case {
        const char* name;
        std::string record;
        int type;
        int index;
        std::string expression;  // constants and lines still as the indexes the record names
        int disable = 0;
    };
    const std::vector<Case> cases = {
        {"register destination", DeviceLine(1, {20, 25, 253}, {0, 1, 0x04200000}, {319, 258}), Dest::kUserFloat, 1,
         "0.0 * 1"},
        {"TEMPBOOL filler", DeviceLine(1, {10}, {0}, {268}), Dest::kNotUsed, 0, "TEMPBOOL0"},
        {"ANOP filler", DeviceLine(1, {25}, {0}, {343}), Dest::kNotUsed, 0, "0"},
        {"condition to the front", DeviceLine(1, {25, 25, 25}, {1, 2, 0}, {317, 268}), Dest::kNotUsed, 0,
         "0 IF 1 + 2"},
        {"negated operators", DeviceLine(1, {25, 25, 25, 25}, {0, 1, 2, 3}, {281, 282, 283}), Dest::kNotUsed, 0,
         "0 AND NOT 1 OR NOT 2 XOR NOT 3"},
        {"operator outside the table", DeviceLine(1, {25, 25}, {0, 1}, {999}), Dest::kNotUsed, 0, "0 ? 1"},
        {"disabled line", DeviceLine(1, {25, 253}, {0, 0x06200008}, {258}, false), Dest::kUserBool, 9, "0", 1},
        {"digital output", DeviceLine(1, {25, 253}, {0, 0x091F0031}, {258}), 10, 7, "0"},
        {"user alarm", DeviceLine(1, {10, 253}, {0, 0x061E0000}, {258}), Dest::kUserAlarm, 0, "TEMPBOOL0"},
        {"timer", DeviceLine(1, {25, 253}, {0, 0x071E0700}, {258}), Dest::kTimerFirst, 8, "0"},
        {"analog output", DeviceLine(1, {20, 253}, {0, 0x04230003}, {258}), 103, 4, "0.0"},
        {"named operands", DeviceLine(1, {253, 253, 253}, {0x06200004, 0x04200063, 0x071E0F00}, {317, 317}),
         Dest::kNotUsed, 0, "USERBOOL5 + USERFLOAT100 + TIMER16"},
        {"other registers stay", DeviceLine(1, {253, 253}, {kKFactorArm2Meter3 - 1, 0x03200004}, {317}), Dest::kNotUsed,
         0, "@" + std::to_string(kKFactorArm2Meter3) + " + @52428805"},
        {"assignment to a register that is no destination",
         DeviceLine(1, {25, 253}, {0, kActiveAlarmCount}, {258}), Dest::kNotUsed, 0,
         "0 := @" + std::to_string(kActiveAlarmCount)},
        {"register outside the dictionary", DeviceLine(1, {25, 253}, {0, 0x09260000}, {258}), Dest::kNotUsed, 0,
         "0 := @00000000"},
    };
    for (const Case& c : cases) {
        decoding.missingRegisters = 0;
        const auto line = Decoded(c.record, decoding);
        ASSERT_TRUE(line) << c.name << ": " << decoding.fault;
        EXPECT_EQ(line->type, c.type) << c.name;
        EXPECT_EQ(line->index, c.index) << c.name;
        EXPECT_EQ(line->disable, c.disable) << c.name;
        EXPECT_EQ(line->GetExpressionText(), c.expression) << c.name;
        EXPECT_EQ(decoding.missingRegisters, std::string(c.name) == "register outside the dictionary" ? 1 : 0) << c.name;
    }
}

TEST_F(EquationRecordLines, RecordsThatAreNoLinesGiveNone) {
    EXPECT_EQ(Decoded(EndRecord(), decoding), nullptr);
    EXPECT_TRUE(decoding.fault.empty());
    EXPECT_EQ(Decoded(DeviceLine(1, {7}, {0}, {}), decoding), nullptr);
    EXPECT_EQ(decoding.fault, "operand kind code 7 is not known");
    EXPECT_EQ(Decoded(DeviceLine(1, {}, {}, {}), decoding), nullptr);
    EXPECT_EQ(decoding.fault, "a line has no operand");
}

}  // namespace
}  // namespace qs::test::eq
