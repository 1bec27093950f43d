#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "DictTestSupport.h"
#include "dictgen/DirectoryTable.h"

namespace qs::test {
namespace {

using dictgen::DictEntry;

std::vector<int> Numbers(const std::vector<DefinitionRecord>& records) {
    std::vector<int> n;
    for (const auto& r : records) n.push_back(r.number);
    return n;
}

SourceBlock Code(int number, const std::string& reg, int digits = 3) {
    char name[32];
    std::snprintf(name, sizeof name, "%0*d Code", digits, number);
    return SourceBlock::Code(number, name, reg);
}

TEST(DictOrder, DirectoryFilesFollowTheDeviceWalk) {
    // System is walked 1-9 then 0, so its 0xx codes come last.
    DictCompilation c = CompileTexts({{"System", Join({Code(98, "10 2 0"), Code(801, "10 2 1"), Code(23, "10 2 2"),
                                                       Code(205, "4 2 1"), Code(101, "4 2 0")})},
                                      {"Config", Join({Code(901, "3 1 0"), Code(1, "4 2 2"), Code(301, "1 1 0")})},
                                      {"Recipe", Join({Code(2, "14 2 1", 2), Code(1, "14 2 0", 2)})}});
    ASSERT_TRUE(c.errors.empty()) << ErrorList(c);
    EXPECT_EQ(Numbers(OutputRecords(c, "System.SD3")), (std::vector<int>{101, 205, 801, 23, 98}));
    EXPECT_EQ(Numbers(OutputRecords(c, "Config.SD3")), (std::vector<int>{1, 301, 901}));
    EXPECT_EQ(Numbers(OutputRecords(c, "Recipe.SD3")), (std::vector<int>{1, 2}));
}

TEST(DictOrder, DictionaryIsSortedAndNumberedByTypeAndPosition) {
    std::string regs = Join({SourceBlock::Register("32 6 0", "User Boolean"), SourceBlock::Register("30 7 1", "Timer 2"),
                             SourceBlock::Register("30 7 0", "Timer 1"), SourceBlock::Register("30 6 0", "Set User Alarm")});
    std::string bay = Join({Code(101, "37 0 0").Set("format", "%s").Set("max", "12").Set("default", "BAY")});
    DictCompilation c = CompileTexts({{"Bay B", bay}, {"Registers", regs}, {"Bay A", bay},
                                      {"Arm", Join({Code(102, "11 2 1"), Code(101, "11 2 0")})}});
    ASSERT_TRUE(c.errors.empty()) << ErrorList(c);
    std::vector<DefinitionRecord> dat = OutputRecords(c, "PARAM.DAT");
    std::vector<std::tuple<int, int, int, int>> got;
    for (const auto& r : dat) got.emplace_back(r.dictionary, r.dataType, r.position, r.number);
    EXPECT_EQ(got, (std::vector<std::tuple<int, int, int, int>>{
                       {11, 2, 0, 200}, {11, 2, 1, 201}, {30, 6, 0, 600}, {30, 7, 0, 700},
                       {30, 7, 1, 701}, {32, 6, 0, 600}, {37, 0, 0, 0}}));
    // Names stay those of the definitions: the Arm code keeps its own number in its name.
    EXPECT_EQ(dat[0].name, "101 Code");
    EXPECT_EQ(dat[3].name, "Timer 1");
}

// Every block of the project's source reads back from the files field by field.
TEST(DictOrder, ProjectFilesDecodeToTheirSourceValues) {
    const DictCompilation& c = ProjectDictionary();
    ASSERT_TRUE(c.errors.empty()) << ErrorList(c);

    std::map<std::string, std::map<int, DefinitionRecord>> sd3;
    for (const auto& d : dictgen::Directories())
        for (auto& r : OutputRecords(c, d.name + ".SD3")) sd3[d.name].emplace(r.number, r);
    std::map<std::tuple<int, int, int>, DefinitionRecord> dat;
    for (auto& r : OutputRecords(c, "PARAM.DAT")) dat.emplace(std::make_tuple(r.dictionary, r.dataType, r.position), r);

    auto same = [](const DefinitionRecord& r, const DictEntry& e, int number) {
        SCOPED_TRACE(e.file + ":" + std::to_string(e.line));
        EXPECT_EQ(r.number, number);
        EXPECT_EQ(r.flags, e.flags);
        EXPECT_EQ(r.dataType, e.dataType);
        EXPECT_EQ(r.dictionary, e.dictionary);
        EXPECT_EQ(r.position, e.position);
        EXPECT_EQ(r.instances, e.instances);
        EXPECT_EQ(r.min, e.min);
        EXPECT_EQ(r.max, e.max);
        EXPECT_EQ(r.format, e.format);
        EXPECT_EQ(r.width, e.width);
        EXPECT_EQ(r.precision, e.precision);
        EXPECT_EQ(r.name, e.name);
        EXPECT_EQ(r.help, e.help);
        EXPECT_EQ(r.options, e.options);
    };
    size_t codes = 0;
    for (const DictEntry& e : c.entries) {
        auto key = std::make_tuple(static_cast<int>(e.dictionary), static_cast<int>(e.dataType), static_cast<int>(e.position));
        ASSERT_TRUE(dat.count(key)) << e.name;
        same(dat.at(key), e, static_cast<int>(e.dataType * 100 + e.position));
        if (!e.isCode) continue;
        ++codes;
        ASSERT_TRUE(sd3[e.directory].count(static_cast<int>(e.number))) << e.directory << " " << e.number;
        same(sd3[e.directory].at(static_cast<int>(e.number)), e, static_cast<int>(e.number));
    }
    size_t records = 0;
    for (const auto& [name, list] : sd3) records += list.size();
    EXPECT_EQ(records, codes) << "every .SD3 record comes from one code of its directory";
}

TEST(DictOrder, ProjectFilesKeepTheWalkAndDictionaryOrder) {
    const DictCompilation& c = ProjectDictionary();
    ASSERT_TRUE(c.errors.empty()) << ErrorList(c);
    for (const auto& d : dictgen::Directories()) {
        SCOPED_TRACE(d.name);
        std::vector<DefinitionRecord> records = OutputRecords(c, d.name + ".SD3");
        ASSERT_FALSE(records.empty());
        for (size_t i = 1; i < records.size(); ++i)
            EXPECT_LT(*d.WalkKey(records[i - 1].number), *d.WalkKey(records[i].number))
                << records[i - 1].number << " before " << records[i].number;
        if (d.name == "System") {
            // Once the 0xx codes start, nothing else follows.
            bool inZero = false;
            for (const auto& r : records) {
                if (r.number < 100) inZero = true;
                else EXPECT_FALSE(inZero) << r.number << " after the 0xx codes";
            }
            EXPECT_TRUE(inZero);
        }
        if (d.name == "Recipe") {
            for (const auto& r : records) EXPECT_LT(r.number, 100);
        }
    }

    std::vector<DefinitionRecord> dat = OutputRecords(c, "PARAM.DAT");
    ASSERT_FALSE(dat.empty());
    int expectedPosition = 0;
    for (size_t i = 0; i < dat.size(); ++i) {
        const auto& r = dat[i];
        EXPECT_EQ(r.number, r.dataType * 100 + r.position);
        EXPECT_LE(r.dictionary, 38);
        EXPECT_LE(r.dataType, 9);
        bool newGroup = i == 0 || dat[i - 1].dictionary != r.dictionary || dat[i - 1].dataType != r.dataType;
        if (newGroup) {
            if (i > 0) {
                EXPECT_LT(std::make_pair(dat[i - 1].dictionary, dat[i - 1].dataType), std::make_pair(r.dictionary, r.dataType));
            }
            expectedPosition = 0;
        }
        // Each device walk of positions ends at the first missing one.
        EXPECT_EQ(r.position, expectedPosition) << "dictionary " << int(r.dictionary) << " type " << int(r.dataType);
        ++expectedPosition;
    }
}

TEST(DictOrder, BayDirectoriesShareTheirRegisters) {
    const DictCompilation& c = ProjectDictionary();
    ASSERT_TRUE(c.errors.empty()) << ErrorList(c);
    std::vector<DefinitionRecord> a = OutputRecords(c, "Bay A.SD3");
    std::vector<DefinitionRecord> b = OutputRecords(c, "Bay B.SD3");
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].number, b[i].number);
        EXPECT_EQ(a[i].dictionary, 37);
        EXPECT_EQ(a[i].instances, 2) << "instance 1 is bay A, 2 bay B";
        EXPECT_EQ(std::tie(a[i].dictionary, a[i].dataType, a[i].position), std::tie(b[i].dictionary, b[i].dataType, b[i].position));
    }
}

}  // namespace
}  // namespace qs::test
