#include <gtest/gtest.h>

#include "ModelFixtures.h"
#include "TempDir.h"
#include "programdata/ParamDictionary.h"

namespace qs::test {
namespace {

Def Reg(uint8_t dir, uint8_t type, uint8_t position, const std::string& name, uint8_t instances = 0) {
    Def d;
    d.dir = dir;
    d.type = type;
    d.position = position;
    d.number = static_cast<uint16_t>(type * 100 + position);
    d.instances = instances;
    d.name = name;
    return d;
}

// Directory 0: type 3 positions 0-1, type 4 position 0; directory 30: type 6 position 0,
// type 7 positions 0-2; directory 38: type 9 position 0.
std::string SampleFile() {
    return Records({Reg(0, 3, 0, "A"), Reg(0, 3, 1, "B"), Reg(0, 4, 0, "C"), Reg(30, 6, 0, "D"),
                    Reg(30, 7, 0, "E0"), Reg(30, 7, 1, "E1"), Reg(30, 7, 2, "E2"), Reg(38, 9, 0, "F", 6)});
}

TEST(RegisterId, PacksItsFields) {
    EXPECT_EQ(MakeRegisterId(2, 7, 30, 15, 4), 0x271E0F04u);
    EXPECT_EQ(MakeRegisterId(0, 0, 0, 0, 0), 0u);
    EXPECT_EQ(MakeRegisterId(15, 9, 38, 255, 255), 0xF926FFFFu);
    // Each field keeps to its bits.
    EXPECT_EQ(MakeRegisterId(16, 16, 256, 256, 256), 0u);
    const uint32_t id = MakeRegisterId(5, 4, 32, 99, 100);
    EXPECT_EQ(RegisterIdDataType(id), 4u);
    EXPECT_EQ(RegisterIdDirectory(id), 32u);
    EXPECT_EQ(RegisterIdPosition(id), 99u);
    EXPECT_EQ(RegisterIdInstance(id), 100u);
}

TEST(ParamDictionaryTest, ResolvesRegisterIdsThroughTheHeads) {
    ParamDictionary dict;
    ASSERT_EQ(dict.Load(SampleFile()), 8u);
    EXPECT_EQ(dict.FindParamByRegisterId(MakeRegisterId(0, 3, 0, 0, 0))->Name(), "A");
    EXPECT_EQ(dict.FindParamByRegisterId(MakeRegisterId(0, 3, 0, 1, 0))->Name(), "B");
    EXPECT_EQ(dict.FindParamByRegisterId(MakeRegisterId(0, 4, 0, 0, 0))->Name(), "C");
    EXPECT_EQ(dict.FindParamByRegisterId(MakeRegisterId(3, 7, 30, 2, 9))->Name(), "E2");
    EXPECT_EQ(dict.FindParamByRegisterId(MakeRegisterId(0, 9, 38, 0, 1))->Name(), "F");
    EXPECT_EQ(dict.RegisterIdArm(MakeRegisterId(3, 7, 30, 2, 9)), 3);
    EXPECT_EQ(dict.FirstParamOfRow(0)->Name(), "A");
    EXPECT_EQ(dict.FirstParamOfRow(30)->Name(), "D");
    EXPECT_EQ(dict.FirstParamOfRow(1), nullptr);
    EXPECT_EQ(dict.FirstParamOfRow(39), nullptr);
    EXPECT_EQ(dict.FirstParamOfRow(-1), nullptr);
    // One list in file order.
    EXPECT_EQ(dict.First()->Name(), "A");
    EXPECT_EQ(dict.Head(30, 7)->Prev()->Name(), "D");
}

TEST(ParamDictionaryTest, RegisterIdsOutsideTheTableOrItsGroupsAreNull) {
    ParamDictionary dict;
    dict.Load(SampleFile());
    // A walk into a code of another data type (type 3 has two positions, the third is type 4).
    EXPECT_EQ(dict.FindParamByRegisterId(MakeRegisterId(0, 3, 0, 2, 0)), nullptr);
    // A walk into another directory, and one that runs off the end of the list.
    EXPECT_EQ(dict.FindParamByRegisterId(MakeRegisterId(0, 4, 0, 1, 0)), nullptr);
    EXPECT_EQ(dict.FindParamByRegisterId(MakeRegisterId(0, 9, 38, 1, 0)), nullptr);
    EXPECT_EQ(dict.FindParamByRegisterId(MakeRegisterId(0, 9, 38, 255, 0)), nullptr);
    // Directory above 38, data type above 9, an empty group.
    EXPECT_EQ(dict.FindParamByRegisterId(MakeRegisterId(0, 3, 39, 0, 0)), nullptr);
    EXPECT_EQ(dict.FindParamByRegisterId(MakeRegisterId(0, 3, 255, 0, 0)), nullptr);
    EXPECT_EQ(dict.FindParamByRegisterId(MakeRegisterId(0, 10, 0, 0, 0)), nullptr);
    EXPECT_EQ(dict.FindParamByRegisterId(MakeRegisterId(0, 15, 38, 0, 0)), nullptr);
    EXPECT_EQ(dict.FindParamByRegisterId(MakeRegisterId(0, 5, 0, 0, 0)), nullptr);
    EXPECT_EQ(dict.FindParamByRegisterId(0xFFFFFFFFu), nullptr);
}

TEST(ParamDictionaryTest, EmptyDictionaryAnswersNothing) {
    ParamDictionary dict;
    EXPECT_TRUE(dict.Empty());
    EXPECT_EQ(dict.FindParamByRegisterId(0), nullptr);
    EXPECT_EQ(dict.RegisterIdArm(0x50000000u), 0);
    EXPECT_EQ(dict.Load(""), 0u);
    dict.Load(SampleFile());
    EXPECT_EQ(dict.RegisterIdArm(0x50000000u), 5);
    dict.Clear();
    EXPECT_EQ(dict.FindParamByRegisterId(0), nullptr);
    EXPECT_EQ(dict.Head(0, 3), nullptr);
}

TEST(ParamDictionaryTest, DisorderedAndStrayRecordsNeverRedirectAHead) {
    // Group (0,3) shows up again after (0,4), and a record names directory 200 / type 12.
    ParamDictionary dict;
    ASSERT_EQ(dict.Load(Records({Reg(0, 3, 0, "A"), Reg(0, 4, 0, "C"), Reg(0, 3, 1, "late"), Reg(200, 12, 0, "stray"),
                                 Reg(1, 0, 0, "G")})),
              5u);
    EXPECT_EQ(dict.Head(0, 3)->Name(), "A");
    EXPECT_EQ(dict.FindParamByRegisterId(MakeRegisterId(0, 3, 0, 1, 0)), nullptr);  // walks into (0,4)
    EXPECT_EQ(dict.Head(1, 0)->Name(), "G");
    EXPECT_EQ(dict.FindParamByRegisterId(MakeRegisterId(0, 0, 1, 0, 0))->Name(), "G");
}

TEST(ParamDictionaryTest, ARecordCutShortEndsTheLoad) {
    ParamDictionary dict;
    const std::string file = SampleFile();
    EXPECT_EQ(dict.Load(file.substr(0, 3 * 220 + 100)), 3u);
    EXPECT_EQ(dict.FirstParamOfRow(30), nullptr);
}

TEST(ParamDictionaryTest, ProcessWideFunctionsUseTheSharedInstance) {
    TempDir dir;
    dir.Write("PARAM.DAT", SampleFile());
    ParamDictionary& shared = ParamDictionary::Instance();
    ASSERT_TRUE(shared.LoadFile(dir.File("PARAM.DAT")));
    EXPECT_EQ(FindParamByRegisterId(MakeRegisterId(1, 7, 30, 1, 0))->Name(), "E1");
    EXPECT_EQ(RegisterIdArm(MakeRegisterId(1, 7, 30, 1, 0)), 1);
    EXPECT_EQ(FirstParamOfRow(38)->Name(), "F");
    EXPECT_FALSE(shared.LoadFile(dir.File("missing.DAT")));
    EXPECT_EQ(FindParamByRegisterId(MakeRegisterId(1, 7, 30, 1, 0)), nullptr);
}

TEST(ParamDictionaryTest, DirectoryNames) {
    EXPECT_STREQ(ParamDictionary::DirectoryName(0), "Pulse Input Configuration");
    EXPECT_STREQ(ParamDictionary::DirectoryName(2), "Digital I/O Configuration (cont.)");
    EXPECT_STREQ(ParamDictionary::DirectoryName(38), "Bay Run Data");
    EXPECT_STREQ(ParamDictionary::DirectoryName(39), "");
}

}  // namespace
}  // namespace qs::test
