#include <gtest/gtest.h>

#include "ModelFixtures.h"
#include "TempDir.h"
#include "programdata/CDirectory.h"
#include "platform/PrintSheet.h"

namespace qs::test {
namespace {

// Definition files as a build writes them: System's 0xx codes last.
class DirectoryFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir.Write("System.SD3", Records({Code(101, "Language"), Code(156, "Level Lock 1"), Code(157, "Level Lock 2"),
                                         Code(800, "Additive Mode"), Code(801, "Additive Count"), Code(950, "Spare"),
                                         Code(23, "Injector Type")}));
        dir.Write("Arm.SD3", Records({Code(5, "Arm Type"), Code(107, "Arm Enable"), Code(108, "Arm Address"),
                                      Code(110, "Arm Flag")}));
        dir.Write("Config.SD3", Records({Code(1, "Arms Active"), Code(2, "Arm 1 Kind"), Code(301, "Input 1"),
                                         Code(500, "Output Base"), Code(901, "Analog 1")}));
        dir.Write("Meter.SD3", Records({Code(101, "K Factor"), Code(102, "Meter Name")}));
        dir.Write("Recipe.SD3", Records({Code(1, "Recipe Used"), Code(2, "Recipe Name"), Code(3, "Recipe Ratio")}));
    }

    CDirectory System() { return CDirectory(CDirectory::kSystem, "System", 11, 0, false, false, &doc, FilesIn(dir.Path())); }
    CDirectory Arm() { return CDirectory(CDirectory::kArm, "Arm", 9, 1, false, true, &doc, FilesIn(dir.Path())); }
    CDirectory Config() { return CDirectory(CDirectory::kConfig, "Config", 10, 0, true, false, &doc, FilesIn(dir.Path())); }
    CDirectory Meter() { return CDirectory(CDirectory::kMeter, "Meter", 9, 6, false, true, &doc, FilesIn(dir.Path())); }
    CDirectory Recipe() { return CDirectory(CDirectory::kRecipe, "Recipe", 0, 50, true, false, &doc, FilesIn(dir.Path())); }

    TempDir dir;
    DeviceContext doc{nullptr};
};

std::vector<int> Numbers(const CSubdirectory* s) {
    std::vector<int> out;
    s->ForEachParam([&](const CParam& p) { out.push_back(p.number); });
    return out;
}

TEST_F(DirectoryFiles, SubdirectoriesByHundredsWithTheirTableNames) {
    CDirectory system = System();
    ASSERT_TRUE(system.Loaded());
    EXPECT_EQ(system.SubdirectoryCount(), 11);
    EXPECT_EQ(system.Subdirectory(0)->Name(), "000-Configuration");
    EXPECT_EQ(system.Subdirectory(8)->Name(), "800-Additives");
    EXPECT_EQ(system.Subdirectory(9)->Name(), "");
    EXPECT_EQ(system.TotalParams(), 7);
    EXPECT_EQ(Numbers(system.Subdirectory(1)), (std::vector<int>{101, 156, 157}));
    // 800 ends the hundred before it; 950 has no subdirectory of its own; 0xx codes come last.
    EXPECT_EQ(Numbers(system.Subdirectory(7)), (std::vector<int>{800}));
    EXPECT_EQ(Numbers(system.Subdirectory(8)), (std::vector<int>{801, 950, 23}));
    EXPECT_EQ(system.FirstWalked()->Id(), 1);

    // The chain links the named subdirectories only.
    std::vector<int> chain;
    for (CSubdirectory* s = system.Subdirectory(0); s; s = s->NextSubdirectory()) chain.push_back(s->Id());
    EXPECT_EQ(chain, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));

    CDirectory config = Config();
    EXPECT_EQ(config.Subdirectory(0)->Name(), "000-Load Arm Layout");
    EXPECT_EQ(config.Subdirectory(4)->Name(), "");
    EXPECT_EQ(config.Subdirectory(9)->Name(), "900-Analog I/O");
    EXPECT_EQ(config.FirstWalked()->Id(), 0);
    EXPECT_EQ(Numbers(config.Subdirectory(0)), (std::vector<int>{1, 2}));
    EXPECT_EQ(Numbers(config.Subdirectory(3)), (std::vector<int>{301, 500}));
}

TEST_F(DirectoryFiles, SystemCode23IsInTheAdditivesSubdirectory) {
    CDirectory system = System();
    EXPECT_EQ(system.FindSubdirectory(23)->Id(), 8);
    EXPECT_EQ(system.FindSubdirectory(23)->Name(), "800-Additives");
    ASSERT_NE(system.FindSubdirectory(23)->FindParam(23), nullptr);
    EXPECT_EQ(system.FindSubdirectory(950)->Id(), 8);  // 9 has no name: step down
    EXPECT_EQ(system.FindSubdirectory(65535)->Id(), 8);
    EXPECT_EQ(system.FindSubdirectory(-1), nullptr);
    CDirectory config = Config();
    EXPECT_EQ(config.FindSubdirectory(450)->Id(), 3);
    EXPECT_EQ(config.FindSubdirectory(23)->Id(), 0);  // not System: no move to 8
}

TEST_F(DirectoryFiles, CodesFindSubdirectoryMissesAreStillFound) {
    CDirectory system = System();
    // 800 sits at the end of subdirectory 7 while its hundred says 8.
    EXPECT_EQ(system.FindSubdirectory(800)->FindParam(800), nullptr);
    CSubdirectory* holder = nullptr;
    ASSERT_NE(system.FindParam(800, &holder), nullptr);
    EXPECT_EQ(holder->Id(), 7);
    // A 0xx code of a directory whose walk starts at subdirectory 1.
    CDirectory arm = Arm();
    EXPECT_EQ(arm.FindSubdirectory(5)->Id(), 0);
    EXPECT_EQ(arm.FindSubdirectory(5)->FindParam(5), nullptr);
    ASSERT_NE(arm.FindParam(5, &holder), nullptr);
    EXPECT_EQ(holder->Id(), 1);
    CDirectory config = Config();
    EXPECT_EQ(config.FindParam(500, &holder)->Name(), "500 Output Base");
    EXPECT_EQ(holder->Id(), 3);
    EXPECT_EQ(system.FindParam(999), nullptr);
}

// Codes are found by number through an index: it must give what the list holds, the first of
// twin numbers, and nothing for numbers between and around them.
TEST_F(DirectoryFiles, FindParamGivesTheListsFirstCodeOfEachNumber) {
    dir.Write("System.SD3", Records({Code(157, "B"), Code(101, "A"), Code(157, "Twin"), Code(120, "C")}));
    CDirectory system = System();
    const CSubdirectory* s = system.FindSubdirectory(101);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(Numbers(s), (std::vector<int>{157, 101, 157, 120}));
    for (int n = 0; n < 300; ++n) {
        const CParam* first = nullptr;
        s->ForEachParam([&](const CParam& p) {
            if (first == nullptr && p.number == n) first = &p;
        });
        EXPECT_EQ(s->FindParam(n), first) << n;
    }
    EXPECT_EQ(s->FindParam(157)->Name(), "157 B");
}

TEST_F(DirectoryFiles, RecipeInstancesBecomeFiftySubdirectoriesSharingOneList) {
    CDirectory recipe = Recipe();
    ASSERT_TRUE(recipe.InstancesAsSubdirectories());
    ASSERT_EQ(recipe.SubdirectoryCount(), 50);
    EXPECT_EQ(recipe.Subdirectory(0)->Name(), "Recipe 01");
    EXPECT_EQ(recipe.Subdirectory(49)->Name(), "Recipe 50");
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(recipe.Subdirectory(i)->ParamCount(), 3);
        EXPECT_EQ(recipe.Subdirectory(i)->First(), recipe.Subdirectory(0)->First());
        EXPECT_EQ(recipe.Subdirectory(i)->DirectoryInstance(), i);
    }
    EXPECT_EQ(recipe.TotalParams(), 150);
    EXPECT_EQ(recipe.ValueCount(), 50);
    EXPECT_EQ(recipe.GetMnemonic(4), "05");
    EXPECT_EQ(recipe.GetMnemonic(49), "50");
    EXPECT_EQ(recipe.GetInstanceName(7), "Recipe");
}

TEST_F(DirectoryFiles, MnemonicsInstanceNamesAndValueCounts) {
    CDirectory meter = Meter();
    EXPECT_EQ(meter.GetMnemonic(), "M1");
    EXPECT_EQ(meter.GetMnemonic(5), "M6");
    EXPECT_EQ(meter.GetInstanceName(), "Meter 1");
    EXPECT_EQ(meter.ValueCount(), 36);
    CDirectory arm = Arm();
    EXPECT_EQ(arm.GetMnemonic(3), "AR");
    EXPECT_EQ(arm.GetInstanceName(2), "Arm 3");
    EXPECT_EQ(arm.ValueCount(), 6);
    CDirectory system = System();
    EXPECT_EQ(system.GetMnemonic(), "SY");
    EXPECT_EQ(system.GetInstanceName(), "System");
    EXPECT_EQ(system.ValueCount(), 1);
    EXPECT_EQ(Config().GetMnemonic(), "CF");
    CDirectory bayA(CDirectory::kBayA, "Bay A", 9, 1, false, false, &doc, FilesIn(dir.Path()));
    EXPECT_EQ(bayA.GetMnemonic(), "BA");
    EXPECT_FALSE(bayA.Loaded());  // no "Bay A.SD3"
    EXPECT_EQ(bayA.GetInstanceName(), "Bay A");
    CDirectory product(CDirectory::kProduct, "Product", 9, 4, false, true, &doc, FilesIn(dir.Path()));
    EXPECT_EQ(product.GetMnemonic(2), "P3");
    EXPECT_EQ(product.ValueCount(), 24);
}

TEST_F(DirectoryFiles, PerArmCopiesShareCodesAndCountOnTheInstance) {
    CDirectory meter = Meter();
    CDirectory second(meter);
    CDirectory third(second);
    EXPECT_TRUE(second.SharesCodesWith(meter));
    EXPECT_EQ(second.CurrentInstance(), 1);
    EXPECT_EQ(third.CurrentInstance(), 2);
    EXPECT_EQ(third.GetMnemonic(), "M3");
    EXPECT_EQ(third.GetInstanceName(), "Meter 3");
    EXPECT_EQ(third.Subdirectory(1)->First(), meter.Subdirectory(1)->First());
    EXPECT_EQ(third.Subdirectory(1)->Owner(), &third);
    EXPECT_EQ(third.TotalParams(), meter.TotalParams());
    // The value index of meter 3 on arm 2: instance 2 plus arm 1 x 6 instances.
    doc.arm = 1;
    EXPECT_EQ(third.Subdirectory(1)->ValueIndex(1), 8);
    // The Arm directory's copies are arms: one value each, no offset.
    CDirectory arm = Arm();
    CDirectory arm2(arm);
    EXPECT_EQ(arm2.Subdirectory(1)->ValueIndex(1), 1);
    // The code list outlives the directory it was loaded by.
    std::unique_ptr<CDirectory> copy;
    {
        CDirectory source = Meter();
        copy = std::make_unique<CDirectory>(source);
    }
    EXPECT_EQ(copy->FindParam(102)->Name(), "102 Meter Name");
}

TEST_F(DirectoryFiles, MissingFileWithoutALinkLeavesTheDirectoryEmpty) {
    TempDir empty;
    CDirectory system(CDirectory::kSystem, "System", 11, 0, false, false, &doc, FilesIn(empty.Path()));
    EXPECT_FALSE(system.Loaded());
    EXPECT_EQ(system.TotalParams(), 0);
    EXPECT_EQ(system.FindParam(101), nullptr);
    EXPECT_EQ(system.CountShown(), 0);
    EXPECT_EQ(system.Subdirectory(1)->First(), nullptr);
}

TEST_F(DirectoryFiles, CountShownFollowsTheLevelFilterAndUnusedRecipes) {
    CDirectory system = System();
    system.FindParam(101)->SetLevel(0);                 // level 1
    system.FindParam(156)->SetLevel(2);                 // level 3
    system.FindParam(801)->SetLevel(4);                 // level 5
    EXPECT_EQ(system.CountShown(ShownFilter{}), 7);
    EXPECT_EQ(system.CountShown(ShownFilter{false, 2}), 2);
    EXPECT_EQ(system.Subdirectory(1)->CountShown(ShownFilter{false, 1}), 1);
    doc.options.SuppressBelowLvl = 4;
    EXPECT_EQ(system.CountShown(), 1);

    CDirectory recipe = Recipe();
    CParam* used = recipe.FindParam(1);
    used->SetValue("1 Yes", 0);
    used->SetValue("0", 1);
    used->SetValue("12", 3);
    doc.options.SuppressBelowLvl = 0;
    doc.options.SuppressUnused = true;
    EXPECT_EQ(recipe.Subdirectory(0)->CountShown(), 3);
    EXPECT_EQ(recipe.Subdirectory(1)->CountShown(), 0);
    EXPECT_EQ(recipe.Subdirectory(2)->CountShown(), 0);
    EXPECT_EQ(recipe.Subdirectory(3)->CountShown(), 3);
    EXPECT_EQ(recipe.CountShown(), 6);
    doc.options.SuppressUnused = false;
    EXPECT_EQ(recipe.CountShown(), 150);
}

TEST_F(DirectoryFiles, PrintsHeaderTitlesAndCodeLines) {
    CDirectory config = Config();
    config.FindParam(1)->SetValue("2", 0);
    config.FindParam(1)->SetLevel(1);
    config.FindParam(1)->width = 1;
    config.FindParam(2)->SetValue("3 Kind", 0);
    config.FindParam(2)->flags = CParam::kOptionList;
    AppOptions options;
    options.PrintShowSecLvl = true;
    PrintSheet sheet;
    config.Print(sheet, options);
    const auto lines = sheet.Lines();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "***** Config Directory *****");
    EXPECT_EQ(lines[1], "Config 000-Load Arm Layout Directory");
    EXPECT_EQ(lines[2], std::string("001 Arms Active") + std::string(25, ' ') + " 2" + std::string(31, ' ') + "    2");
    EXPECT_EQ(lines[3], std::string("002 Arm 1 Kind") + std::string(26, ' ') + " 3 Kind" + std::string(26, ' ') + "    N/A");
    EXPECT_EQ(sheet.Items()[0].line, PrintSheet::kTopLine);
    EXPECT_EQ(sheet.Items()[1].line, PrintSheet::kTopLine + 2);

    doc.arm = 2;
    CDirectory meter = Meter();
    PrintSheet armSheet;
    meter.Print(armSheet, AppOptions{});
    EXPECT_EQ(armSheet.Lines()[0], "***** Arm 3 Meter 1 Directory *****");
    EXPECT_EQ(armSheet.Lines()[1], "Arm 3 Meter 1 100-General Purpose Directory");
    EXPECT_EQ(armSheet.Lines()[2].size(), 73u);  // no level column

    doc.arm = 0;
    CDirectory recipe = Recipe();
    recipe.FindParam(1)->SetValue("1", 1);
    AppOptions hideUnused;
    hideUnused.SuppressUnused = true;
    PrintSheet recipeSheet;
    recipe.Print(recipeSheet, hideUnused);
    const auto recipeLines = recipeSheet.Lines();
    ASSERT_EQ(recipeLines.size(), 5u);  // header, one recipe title, its three codes
    EXPECT_EQ(recipeLines[1], "Recipe 02");
}

TEST_F(DirectoryFiles, LongPrintoutsBreakPages) {
    std::vector<Def> defs;
    for (int i = 0; i < 120; ++i) defs.push_back(Code(static_cast<uint16_t>(100 + i % 99 + (i / 99) * 100), "C"));
    dir.Write("Bay B.SD3", Records(defs));
    CDirectory bay(CDirectory::kBayB, "Bay B", 9, 1, false, false, &doc, FilesIn(dir.Path()));
    ASSERT_EQ(bay.TotalParams(), 120);
    PrintSheet sheet;
    sheet.Skip(44);  // line 47: a new page before the header
    bay.Print(sheet, AppOptions{});
    int breaks = 0;
    for (const auto& item : sheet.Items()) {
        if (item.kind == PrintItem::Kind::PageBreak) ++breaks;
        else EXPECT_LE(item.line, 56);
    }
    EXPECT_EQ(sheet.Items()[0].kind, PrintItem::Kind::PageBreak);
    EXPECT_GE(breaks, 3);
    EXPECT_EQ(sheet.Pages(), breaks + 1);
}

}  // namespace
}  // namespace qs::test
