// Reading the controller's set from the scripted device: lines, constants and TEMP results put
// in place, and the sets that are refused without a line taken over.
#include <gtest/gtest.h>

#include <limits>

#include "EquationFixtures.h"
#include "Fuzz.h"
#include "SideDevice.h"
#include "sidedocs/equations/EquationSetParser.h"

namespace qs::test::eq {
namespace {

// Five lines: two unnamed results that a third uses, a timer, and a line nothing names.
std::string SampleSet() {
    std::string lines = DeviceLine(1, {25, 25}, {0, 1}, {281}) + DeviceLine(2, {20}, {0}, {343}) +
                        DeviceLine(3, {10, 12, 253}, {0, 1, 0x04200004}, {277, 258}) +
                        DeviceLine(4, {25, 253}, {2, 0x071E0200}, {258}, false) +
                        DeviceLine(5, {20, 25}, {1, 3}, {319});
    return HeldSet(lines, TablesOf({2.5f, 0.1f}, std::string("\x01\x00\xC8\x07", 4)), 5);
}

class EquationUploadTest : public ::testing::Test {
protected:
    EquationUploadTest() : doc(Dictionary()) { Add(doc, Dest::kTempFloat, 9, "1"); }

    bool Upload() { return doc.Upload(dev.Access()); }
    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (const auto& l : doc.Lines()) out.push_back(l->text);
        return out;
    }

    SideDevice dev;
    CEquationDoc doc;
};

TEST_F(EquationUploadTest, TheSetsLinesAreAppendedInTheirNormalForms) {
    dev.device.dataSet = SampleSet();
    dev.device.blockSize = 100;
    ASSERT_TRUE(Upload()) << dev.ui.LastMessage();
    EXPECT_TRUE(dev.ui.Messages().empty());
    EXPECT_EQ(Texts(), (std::vector<std::string>{"TEMPFLOAT9 = 1", "TEMPBOOL1 = 1 AND NOT 0", "TEMPFLOAT1 = 2.5",
                                                 "USERFLOAT5 = TEMPBOOL1 AND TEMPFLOAT1", "TIMER3 = 200",
                                                 "<NOT USED> = 0.1 * 7"}));
    EXPECT_EQ(doc.Lines()[4]->disable, 1);
    EXPECT_EQ(doc.Lines()[3]->disable, 0);
    EXPECT_EQ(dev.Blocks().size(), 1u + (dev.device.dataSet.size() + 99) / 100);
    ASSERT_EQ(dev.ui.progress.size(), 1u);
    EXPECT_EQ(dev.ui.progress[0]->title, "Uploading Equation...");
    EXPECT_EQ(dev.ui.progress[0]->texts, std::vector<std::string>{"Uploading..."});
    EXPECT_EQ(dev.ui.progress[0]->upper, static_cast<int>(dev.device.dataSet.size()));
}

TEST_F(EquationUploadTest, ARegisterTheDictionaryLacksIsSaidAndKept) {
    const std::string line = DeviceLine(1, {253, 25}, {0x09260000, 0}, {317});
    dev.device.dataSet = SetHeader(30 + 50 + 50 + 10 + 1, 1) + line + EndRecord() + TablesOf({}, std::string(2, '\x05'));
    ASSERT_TRUE(Upload());
    EXPECT_EQ(dev.ui.Messages(), std::vector<std::string>{"Register referenced by equation line not found"});
    EXPECT_EQ(doc.Lines().back()->text, "<NOT USED> = ??? + 5");
}

TEST_F(EquationUploadTest, SetsThatDoNotReadAreRefusedWhole) {
    const std::string header = SetHeader(0, 1);
    const std::string line = DeviceLine(1, {25}, {0}, {343});
    const std::string bytes = TablesOf({}, std::string("\x01\x00", 2));
    std::string lines201;
    for (int i = 1; i <= 201; ++i) lines201 += DeviceLine(i, {25}, {0}, {343});
    struct Case {
        const char* name;
        std::string set;
        std::string fault;
    };
    const std::vector<Case> cases = {
        {"header cut short", header.substr(0, 29), "the set header is cut short"},
        {"no end record", header + line + line, "the set has no end record"},
        {"unknown operand kind", header + DeviceLine(1, {7}, {0}, {}) + EndRecord() + bytes,
         "line 1: operand kind code 7 is not known"},
        {"tables without end", header + line + EndRecord() + U16(25) + U16(2) + std::string("\x01\x00", 2),
         "the constant tables have no end"},
        {"table longer than the set", header + line + EndRecord() + U16(25) + U16(9) + "\x01\x00",
         "a constant table is longer than the set"},
        {"float not a number", header + line + EndRecord() + U16(20) + U16(1) + U32(0x7FC00000) + U32(0),
         "a float constant is not a number"},
        {"byte constant out of the table", header + DeviceLine(1, {25}, {5}, {343}) + EndRecord() + bytes,
         "line 1 names constant 5 of 2"},
        {"float constant of an empty table", header + DeviceLine(1, {20}, {0}, {343}) + EndRecord() + bytes,
         "line 1 names constant 0 of 0"},
        {"TEMP line out of the set", header + DeviceLine(1, {10}, {1}, {268}) + EndRecord() + bytes,
         "line 1 names line 2 of 1"},
        {"201 lines", header + lines201 + EndRecord() + bytes, "the set has more than 200 lines"},
    };
    for (const Case& c : cases) {
        SideDevice dev;
        dev.device.dataSet = c.set;
        EXPECT_FALSE(doc.Upload(dev.Access())) << c.name;
        EXPECT_EQ(dev.ui.Messages(), std::vector<std::string>{"Equation set returned is not valid - " + c.fault}) << c.name;
        EXPECT_EQ(doc.Lines().size(), 1u) << c.name;
    }
}

TEST_F(EquationUploadTest, BytesAfterTheTablesAreNoPartOfTheSet) {
    dev.device.dataSet = SampleSet() + std::string(65000 - SampleSet().size(), '\x55');
    EXPECT_TRUE(Upload()) << dev.ui.LastMessage();
    EXPECT_EQ(doc.Lines().size(), 6u);
}

TEST(EquationUploadFuzz, DamagedSetsNeverHurt) {
    std::string many;
    for (int i = 1; i <= 30; ++i) many += DeviceLine(i, {25, 20, 10, 12, 253}, {0, 0, 0, 1, 0x04200004}, {281, 268, 258, 343});
    const std::string set = SetHeader(0, 30) + many + EndRecord() + TablesOf({1.5f}, std::string("\x02\x03", 2));
    RunFuzz({SampleSet(), set}, [](const std::string& data) {
        EquationSetParser::Result r = EquationSetParser::Parse(Vec(data), Dictionary());
        if (!r.Ok()) {
            ASSERT_TRUE(r.lines.empty());
            return;
        }
        ASSERT_LE(r.lines.size(), CEquationDoc::kMaxLines);
        for (const auto& line : r.lines) line->GetExpressionText();
    }, {.iterations = 20000, .maxLength = 2048, .seed = 1812});
}

}  // namespace
}  // namespace qs::test::eq
