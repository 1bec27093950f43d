#include <gtest/gtest.h>

#include <set>

#include "Fuzz.h"
#include "ModelFixtures.h"
#include "appmodel/registers/RegisterTreeModel.h"
#include "programdata/ParamDictionary.h"

namespace qs::test {
namespace {

Def Reg(uint8_t dir, uint8_t type, uint8_t position, const std::string& name, uint8_t instances = 0,
        uint16_t number = 700) {
    Def d;
    d.dir = dir;
    d.type = type;
    d.position = position;
    d.number = number;
    d.instances = instances;
    d.name = name;
    return d;
}

std::vector<int> RootDirectories(const RegisterTreeModel& model) {
    std::vector<int> roots;
    for (const auto& n : model.Nodes())
        if (n.parent < 0) roots.push_back(n.directory);
    return roots;
}

std::vector<std::string> ChildTexts(const RegisterTreeModel& model, int directory) {
    std::vector<std::string> texts;
    for (const auto& n : model.Nodes())
        if (n.parent >= 0 && n.directory == directory) texts.push_back(n.text);
    return texts;
}

const CParam* Named(const ParamDictionary& dict, const std::string& name) {
    for (const CParam* p = dict.First(); p; p = p->Next())
        if (p->Name() == name) return p;
    return nullptr;
}

auto Contains(const std::string& what) {
    return [what](const std::string& text) { return text.find(what) != std::string::npos; };
}

TEST(RegisterTreeModelTest, RunDataGroupComesFirstAndHiddenDirectoriesHaveNoNode) {
    ParamDictionary dict;
    // Registers of hidden directories (security, the command directories) are passed over.
    dict.Load(Records({Reg(5, 8, 0, "Level"), Reg(30, 8, 0, "Reset"), Reg(35, 8, 0, "Out"), Reg(16, 8, 0, "Gross")}));
    const RegisterTreeModel model(dict, false);
    const std::vector<int> expected = {15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 34, 38,
                                       0,  1,  2,  3,  4,  6,  7,  8,  9,  10, 11, 12, 13, 14, 32, 37};
    EXPECT_EQ(RootDirectories(model), expected);
    EXPECT_EQ(model.Nodes().front().text, "System Run Data");
    EXPECT_EQ(model.Nodes().size(), expected.size() + 1);
    EXPECT_EQ(ChildTexts(model, 16), std::vector<std::string>{"Gross"});
}

TEST(RegisterTreeModelTest, PulseInputCodesStartAt602AndChildrenAreSorted) {
    ParamDictionary dict;
    dict.Load(Records({Reg(0, 8, 0, "K Factor", 0, 601), Reg(0, 8, 1, "Pulse Width", 0, 602),
                       Reg(0, 8, 2, "Debounce", 0, 603), Reg(0, 8, 3, "Low Code", 0, 1)}));
    const RegisterTreeModel model(dict, false);
    EXPECT_EQ(ChildTexts(model, 0), (std::vector<std::string>{"Debounce", "Pulse Width"}));
}

TEST(RegisterTreeModelTest, NumericOnlyLeavesTextRegistersOut) {
    ParamDictionary dict;
    dict.Load(Records({Reg(4, 0, 0, "Site Name"), Reg(4, 8, 0, "Units"), Reg(20, 0, 0, "Tag")}));
    for (bool numericOnly : {false, true}) {
        SCOPED_TRACE(numericOnly);
        const RegisterTreeModel model(dict, numericOnly);
        const std::vector<std::string> expected =
            numericOnly ? std::vector<std::string>{"Units"} : std::vector<std::string>{"Site Name", "Units"};
        EXPECT_EQ(ChildTexts(model, 4), expected);
        // The directory whose only register was text keeps its node.
        EXPECT_EQ(ChildTexts(model, 20).size(), numericOnly ? 0u : 1u);
        EXPECT_EQ(RootDirectories(model).size(), 33u);
    }
}

TEST(RegisterTreeModelTest, OffsetBoxFollowsTheInstanceCount) {
    ParamDictionary dict;
    dict.Load(Records({Reg(12, 8, 0, "None", 0), Reg(12, 8, 1, "One", 1), Reg(12, 8, 2, "Six", 6),
                       Reg(4, 8, 0, "Sys", 1), Reg(4, 8, 1, "SysN", 3)}));
    struct Row {
        const char* name;
        std::string label;
        bool enabled;
        std::optional<std::string> text;
        std::string accepted, refused;
    };
    const Row rows[] = {
        {"None", "No Offset Used", false, "0", "0", ""},
        {"One", "Meter #:", false, "1", "1", "2"},
        {"Six", "Meter #: (1 - 6)", true, std::nullopt, "6", "7"},
        {"Sys", "Offset:", false, "1", "0", "-1"},
        {"SysN", "Offset: (1 - 3)", true, std::nullopt, "0", "4"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const CParam* e = Named(dict, row.name);
        ASSERT_NE(e, nullptr);
        const auto box = RegisterTreeModel::OffsetFor(e);
        EXPECT_EQ(box.label, row.label);
        EXPECT_EQ(box.enabled, row.enabled);
        EXPECT_EQ(box.text, row.text);
        EXPECT_TRUE(RegisterTreeModel::CheckOffset(e, row.accepted, nullptr).has_value());
        if (!row.refused.empty()) {
            std::string refusal;
            EXPECT_FALSE(RegisterTreeModel::CheckOffset(e, row.refused, &refusal));
            EXPECT_EQ(refusal, "Please enter an integer between 0 and " + std::to_string(e->instances) + ".");
        }
    }
    const auto none = RegisterTreeModel::OffsetFor(nullptr);
    EXPECT_EQ(none.label, "No Offset Used");
    EXPECT_EQ(none.text, "0");
}

TEST(RegisterTreeModelTest, ArmBoxOnlyForPerArmDirectoriesWhenShown) {
    const std::set<int> perArm = {11, 12, 13, 16, 17, 18, 19, 24, 26, 27, 28, 33, 36, 37, 38};
    for (int d = 0; d < RegisterTreeModel::kDirectories; ++d) {
        SCOPED_TRACE(d);
        CParam p;
        p.dictDirectory = static_cast<uint8_t>(d);
        EXPECT_EQ(RegisterTreeModel::ArmBoxEnabled(&p, 6), perArm.count(d) == 1);
        EXPECT_FALSE(RegisterTreeModel::ArmBoxEnabled(&p, 0));
    }
    EXPECT_FALSE(RegisterTreeModel::ArmBoxEnabled(nullptr, 6));
    std::string refusal;
    EXPECT_EQ(RegisterTreeModel::CheckArm(6, "1", nullptr), 1);
    EXPECT_EQ(RegisterTreeModel::CheckArm(6, "6", nullptr), 6);
    for (const char* bad : {"0", "7"}) {
        EXPECT_FALSE(RegisterTreeModel::CheckArm(6, bad, &refusal));
        EXPECT_EQ(refusal, "Please enter an integer between 1 and 6.");
    }
    EXPECT_FALSE(RegisterTreeModel::CheckArm(6, "x", &refusal));
    EXPECT_EQ(RegisterTreeModel::CheckArm(0, "99", nullptr), 1);
}

TEST(RegisterTreeModelTest, FindNextGoesDepthFirstAcrossDirectoriesThenFails) {
    ParamDictionary dict;
    dict.Load(Records({Reg(4, 8, 0, "Flow Units"), Reg(15, 8, 0, "Flow Rate"), Reg(15, 8, 1, "Flow Alarm"),
                       Reg(24, 8, 0, "Meter Flow")}));
    RegisterTreeModel model(dict, false);
    std::vector<std::string> found;
    int node = model.Find(2, Contains("Flow"));
    while (node >= 0) {
        found.push_back(model.Nodes()[static_cast<size_t>(node)].text);
        node = model.Find(3, Contains("Flow"));
    }
    EXPECT_EQ(found, (std::vector<std::string>{"Flow Alarm", "Flow Rate", "Meter Flow", "Flow Units"}));
    // The last match stays where it was; a find from it finds it again, one from the top restarts.
    EXPECT_EQ(model.Nodes()[static_cast<size_t>(model.Find(4, Contains("Flow")))].text, "Flow Units");
    EXPECT_EQ(model.Nodes()[static_cast<size_t>(model.Find(2, Contains("Flow")))].text, "Flow Alarm");
    // Request 1 only says the dialog exists.
    EXPECT_EQ(model.Find(1, Contains("Flow")), -1);
    EXPECT_EQ(model.Nodes()[static_cast<size_t>(model.LastMatch())].text, "Flow Alarm");
    // Directory nodes are searched too; nothing after the last node.
    EXPECT_EQ(model.Nodes()[static_cast<size_t>(model.Find(2, Contains("Bay Run")))].text, "Bay Run Data");
    EXPECT_EQ(model.Find(2, Contains("no such text")), -1);
    // Each picker keeps its own place.
    RegisterTreeModel other(dict, false);
    EXPECT_EQ(other.LastMatch(), -1);
    EXPECT_EQ(other.Nodes()[static_cast<size_t>(other.Find(3, Contains("Flow")))].text, "Flow Alarm");
}

TEST(RegisterTreeModelTest, BuildRegisterIdNamesThePickedEntryAgain) {
    ParamDictionary dict;
    dict.Load(Records({Reg(12, 8, 0, "A", 6), Reg(12, 8, 1, "B", 6), Reg(12, 3, 0, "C", 0), Reg(32, 4, 0, "U", 1)}));
    struct Row {
        const char* name;
        int arm, offset;
        uint32_t id;
    };
    const Row rows[] = {
        {"B", 3, 4, 0x280C0104u},  // arm 3, type 8, directory 12, position 1, instance 4
        {"B", 1, 0, 0x080C0101u},  // no instance chosen: the first
        {"A", 6, 6, 0x580C0006u},
        {"C", 2, 0, 0x130C0000u},  // no instances: instance 0
        {"U", 1, 1, 0x04200001u},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const CParam* e = Named(dict, row.name);
        ASSERT_NE(e, nullptr);
        const auto id = BuildRegisterId(dict, *e, row.arm, row.offset);
        ASSERT_TRUE(id);
        EXPECT_EQ(*id, row.id);
        EXPECT_EQ(dict.FindParamByRegisterId(*id), e);
    }
    const CParam* b = dict.Head(12, 8)->Next();
    EXPECT_FALSE(BuildRegisterId(dict, *b, 0, 1));
    EXPECT_FALSE(BuildRegisterId(dict, *b, 17, 1));
    EXPECT_FALSE(BuildRegisterId(dict, *b, 1, 7));
    CParam stranger;
    stranger.dictDirectory = 12;
    stranger.dataType = 8;
    EXPECT_FALSE(BuildRegisterId(dict, stranger, 1, 0));
}

TEST(RegisterTreeModelFuzz, AnyDictionaryGivesResolvableNodes) {
    std::vector<std::string> seeds = {
        Records({Reg(0, 8, 0, "P", 2, 602), Reg(15, 0, 0, "T"), Reg(15, 8, 0, "N", 6), Reg(40, 8, 0, "X")})};
    RunFuzz(
        seeds,
        [](const std::string& bytes) {
            ParamDictionary dict;
            dict.Load(bytes);
            for (bool numericOnly : {false, true}) {
                RegisterTreeModel model(dict, numericOnly);
                for (const auto& n : model.Nodes()) {
                    if (!n.entry) continue;
                    ASSERT_LT(n.entry->dictDirectory, RegisterTreeModel::kDirectories);
                    const auto id = BuildRegisterId(dict, *n.entry, 1, n.entry->instances);
                    if (id) {
                        ASSERT_EQ(dict.FindParamByRegisterId(*id), n.entry);
                    }
                }
                model.Find(3, [](const std::string& t) { return t.size() > 3; });
            }
        },
        {.iterations = 2000, .maxLength = 2048, .seed = 27});
}

}  // namespace
}  // namespace qs::test
