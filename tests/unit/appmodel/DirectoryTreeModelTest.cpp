// The directory tree of a program-data document without its window: which items show, their
// texts and images, the selection they stand for, and the records copy and paste carry.
#include <gtest/gtest.h>

#include <sstream>

#include "DocumentFixtures.h"
#include "RecordingUi.h"
#include "TempDir.h"
#include "programdata/CDirectory.h"
#include "programdata/CParam.h"
#include "appmodel/programdata/DirectoryTreeModel.h"
#include "platform/ArchiveReader.h"
#include "platform/ArchiveWriter.h"

namespace qs::test {
namespace {

class DirectoryTree : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<Def> config = {Code(1, "001 Number of Load Arms")};
        for (int arm = 0; arm < 6; ++arm) {
            config.push_back(Code(static_cast<uint16_t>(2 * arm + 2), "Arm Type"));
            config.push_back(Code(static_cast<uint16_t>(2 * arm + 3), "Arm Number of Products"));
        }
        for (int arm = 0; arm < 6; ++arm) config.push_back(Code(static_cast<uint16_t>(14 + arm), "Hybrid Ratio Meters"));
        dir.Write("Config.SD3", Records(config));
        dir.Write("System.SD3", Records({Code(111, "111 Revision"), Code(205, "205 Language")}));
        dir.Write("Arm.SD3", Records({Code(107, "107 Load Position Name"), Code(109, "109 Bay Assignment"),
                                     Code(110, "110 Swing Arm"), Code(201, "201 Valve Type")}));
        dir.Write("Meter.SD3", Records({Code(101, "101 Meter Name"), Code(301, "301 K-Factor")}));
        dir.Write("Product.SD3", Records({Code(101, "101 Product Name"), Code(205, "205 Density")}));
        dir.Write("Bay A.SD3", Records({Code(101, "101 Bay Name")}));
        dir.Write("Bay B.SD3", Records({Code(101, "101 Bay Name")}));
        dir.Write("Recipe.SD3", Records({Code(1, "001 Recipe Name"), Code(2, "002 Component 1")}));
        doc = std::make_unique<CVexa3Doc>(ports, FilesIn(dir.Path()));
    }

    void Config(int number, const std::string& value) {
        ASSERT_TRUE(doc->SetParamText(CDirectory::kConfig, number, 0, value)) << number;
    }
    void ArmValue(int number, int arm, const std::string& value) {
        ASSERT_TRUE(doc->SetParamText(CDirectory::kArm, number, arm, value)) << number;
    }

    // The tree as indented lines "text [image]".
    std::string Tree() {
        std::vector<std::string> warnings;
        counts = DirectoryTreeModel::ReadCounts(*doc, warnings);
        layout = DirectoryTreeModel::Build(*doc, counts);
        std::ostringstream out;
        Print(out, -1, 0);
        return out.str();
    }

    // Children in the order they were added, as the tree shows them; the recipes, all alike,
    // only counted.
    void Print(std::ostringstream& out, int parent, int depth) {
        int recipes = 0;
        for (size_t i = 0; i < layout.nodes.size(); ++i) {
            const TreeNode& n = layout.nodes[i];
            if (n.parent != parent) continue;
            if (n.image == CDirectory::kRecipe + DirectoryTreeModel::kSubdirectoryImage) {
                ++recipes;
                continue;
            }
            out << std::string(static_cast<size_t>(depth) * 2, ' ') << n.text << " [" << n.image << "]\n";
            Print(out, static_cast<int>(i), depth + 1);
        }
        if (recipes) out << std::string(static_cast<size_t>(depth) * 2, ' ') << recipes << " recipes\n";
    }

    int Find(const std::string& path) {
        // "Arm 2/Meter 1/100-General Purpose": item texts from the root down.
        int parent = -1, found = -1;
        std::istringstream in(path);
        for (std::string part; std::getline(in, part, '/');) {
            found = -1;
            for (size_t i = 0; i < layout.nodes.size(); ++i) {
                if (layout.nodes[i].parent == parent && layout.nodes[i].text == part) {
                    found = static_cast<int>(i);
                    break;
                }
            }
            if (found < 0) return -1;
            parent = found;
        }
        return found;
    }
    TreeTarget Target(const std::string& path) {
        const int n = Find(path);
        EXPECT_GE(n, 0) << path;
        return DirectoryTreeModel::TargetOf(layout.nodes, n);
    }
    CParam* Param(int type, int number) { return doc->FindDirectory(type)->FindParam(number); }

    TempDir dir;
    ComPortTable ports;
    RecordingUi ui;
    std::unique_ptr<CVexa3Doc> doc;
    TreeCounts counts;
    TreeLayout layout;
};

TEST_F(DirectoryTree, OneArmWithOneMeterShowsPlainNamesAndEveryProductUnderTheMeter) {
    Config(1, "1");
    Config(2, "1");  // one meter for the arm's products
    Config(3, "3");
    EXPECT_EQ(Tree(),
              "Config [0]\n"
              "  000-Load Arm Layout [8]\n"
              "System [1]\n"
              "  100-General Purpose [9]\n"
              "  200-Flow Control [9]\n"
              "Arm [2]\n"
              "  100-General Purpose [10]\n"
              "  200-Flow Control [10]\n"
              "  Meter [3]\n"
              "    100-General Purpose [11]\n"
              "    300-Volume Accuracy [11]\n"
              "    Product 1 [4]\n"
              "      100-General Purpose [12]\n"
              "      200-Flow Control [12]\n"
              "    Product 2 [4]\n"
              "      100-General Purpose [12]\n"
              "      200-Flow Control [12]\n"
              "    Product 3 [4]\n"
              "      100-General Purpose [12]\n"
              "      200-Flow Control [12]\n"
              "Recipe [5]\n"
              "  50 recipes\n");
    EXPECT_EQ(counts.meters[0], 1);
    EXPECT_EQ(counts.products[0], 3);
    // The first root item's first child is selected; the frame shows it at instance 0, arm 0.
    ASSERT_EQ(layout.selectNode, 1);
    EXPECT_EQ(layout.selection.directory, doc->FirstDirectory());
    EXPECT_EQ(layout.selection.subdirectory, doc->FirstDirectory()->FirstWalked());
    EXPECT_EQ(layout.selection.arm, 0);
    EXPECT_TRUE(layout.enabled);
}

TEST_F(DirectoryTree, TwoArmsWithTwoMetersHangTheirProductsUnderTheMeterOfTheSameNumber) {
    Config(1, "2");
    Config(2, "5");  // hybrid: ratio meters + 1 meters
    Config(3, "3");
    Config(14, "1");
    Config(4, "5");
    Config(5, "3");
    Config(15, "1");
    const std::string arm =
        "  100-General Purpose [10]\n"
        "  200-Flow Control [10]\n"
        "  Meter 1 [3]\n"
        "    100-General Purpose [11]\n"
        "    300-Volume Accuracy [11]\n"
        "    Product 1 [4]\n"
        "      100-General Purpose [12]\n"
        "      200-Flow Control [12]\n"
        "  Meter 2 [3]\n"
        "    100-General Purpose [11]\n"
        "    300-Volume Accuracy [11]\n"
        "    Product 2 [4]\n"
        "      100-General Purpose [12]\n"
        "      200-Flow Control [12]\n"
        "    Product 3 [4]\n"
        "      100-General Purpose [12]\n"
        "      200-Flow Control [12]\n";
    const std::string tree = Tree();
    EXPECT_NE(tree.find("Arm 1 [2]\n" + arm + "Arm 2 [2]\n" + arm + "Recipe [5]\n"), std::string::npos) << tree;
    EXPECT_EQ(tree.find("Arm 3"), std::string::npos);

    // A product of the second arm stands for its values of that arm.
    FrameSelection s = DirectoryTreeModel::SelectionOf(Target("Arm 2/Meter 2/Product 3/200-Flow Control"));
    EXPECT_EQ(s.directory->Type(), CDirectory::kProduct);
    EXPECT_EQ(s.instance, 2);
    EXPECT_EQ(s.arm, 1);
    EXPECT_EQ(s.subdirectory->Id(), 2);
    s = DirectoryTreeModel::SelectionOf(Target("Recipe/Recipe 01"));
    EXPECT_EQ(s.instance, 0);
    EXPECT_EQ(s.arm, 0);
}

TEST_F(DirectoryTree, EachArmModeShowsItsBays) {
    Config(1, "1");
    struct Case {
        const char* mode;
        bool bayA, bayB;
    } cases[] = {{"0", false, false}, {"1", true, false}, {"2", true, true}, {"7", true, true}};
    for (const Case& c : cases) {
        ArmValue(109, 0, c.mode);
        const std::string tree = Tree();
        EXPECT_EQ(tree.find("Bay A [6]\n  100-General Purpose [14]\n") != std::string::npos, c.bayA) << c.mode << "\n" << tree;
        EXPECT_EQ(tree.find("Bay B [7]\n  100-General Purpose [15]\n") != std::string::npos, c.bayB) << c.mode << "\n" << tree;
        EXPECT_EQ(counts.bays, std::min(std::stoi(c.mode), 2));
    }
}

TEST_F(DirectoryTree, AFlaggedArmShowsItsFirstHundredOnlyMarkedAsNotInUse) {
    Config(1, "1");
    ArmValue(110, 0, "1");
    const std::string tree = Tree();
    // With one arm in use its items have no number, the flagged one included.
    EXPECT_NE(tree.find("Arm [2]\n  100-General Purpose [10]\n  200-Flow Control [10]\n  Meter [3]\n"),
              std::string::npos)
        << tree;
    EXPECT_NE(tree.find("Arm [16]\n  100-General Purpose [16]\nRecipe [5]\n"), std::string::npos) << tree;
    EXPECT_EQ(counts.flaggedArms, 1);
}

TEST_F(DirectoryTree, CountsAreBoundedAndTheirWarningsShowOnlyWhenTheyChange) {
    Config(1, "9");
    for (int arm = 0; arm < 6; ++arm) ArmValue(201, arm, "x");
    doc->SetArmAddress(3, 0);
    DirectoryTreeModel model(ui.services);
    EXPECT_TRUE(model.Refresh(*doc));
    EXPECT_EQ(model.Counts().activeArms, 6);
    const size_t shown = ui.prompt.shown.size();
    EXPECT_GE(shown, 1u);
    EXPECT_NE(ui.LastMessage().find("Arm 4"), std::string::npos) << ui.LastMessage();
    // An edit that changes no count neither rebuilds nor says it again.
    ArmValue(201, 0, "y");
    EXPECT_FALSE(model.Refresh(*doc));
    EXPECT_EQ(ui.prompt.shown.size(), shown);
    Config(1, "2");
    EXPECT_TRUE(model.Refresh(*doc));
    EXPECT_EQ(model.Counts().activeArms, 2);
}

TEST_F(DirectoryTree, CopyingArmOneOntoArmTwoCarriesItsMetersAndProductsToArmTwosValues) {
    Config(1, "2");
    Config(2, "5");
    Config(3, "3");
    Config(14, "1");
    Config(4, "5");
    Config(5, "3");
    Config(15, "1");
    Tree();
    CDirectory* meter2 = doc->FindDirectory(CDirectory::kMeter)->NextDirectory();
    ASSERT_EQ(meter2->CurrentInstance(), 1);
    const int meters = meter2->InstanceCount();
    ASSERT_TRUE(Param(CDirectory::kArm, 107)->SetValue("Lane 4", 0));
    ASSERT_TRUE(meter2->FindParam(301)->SetValue("1.0025", 1));
    ASSERT_TRUE(Param(CDirectory::kProduct, 101)->SetValue("Diesel", 0));
    Param(CDirectory::kArm, 107)->SetLevel(3);

    const std::string data = DirectoryTreeModel::CollectRecords(*doc, Target("Arm 1"), true);
    ASSERT_EQ(data.size(), 3u * DirectoryTreeModel::kRecordSize);
    int stored = 0;
    EXPECT_EQ(DirectoryTreeModel(ui.services).Paste(*doc, Target("Arm 2"), data, false, &stored),
              DirectoryTreeModel::PasteOutcome::Pasted);
    EXPECT_EQ(stored, 3);
    EXPECT_EQ(Param(CDirectory::kArm, 107)->Value(1), "Lane 4");
    EXPECT_EQ(meter2->FindParam(301)->Value(1 + meters), "1.0025") << "meter 2 of arm 2";
    EXPECT_EQ(Param(CDirectory::kProduct, 101)->Value(doc->FindDirectory(CDirectory::kProduct)->InstanceCount()),
              "Diesel");
    EXPECT_EQ(Param(CDirectory::kArm, 107)->Level(), 3) << "a level is only kept at index 0";
    EXPECT_EQ(Param(CDirectory::kMeter, 301)->Value(meters + 1), "1.0025");

    // The records are the document file's: type, instance, number, text, level.
    ArchiveReader in(data);
    std::optional<ValueRecord> first = CParam::ReadValueRecord(in);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->directoryType, CDirectory::kArm);
    EXPECT_EQ(first->instance, 0);
    EXPECT_EQ(first->number, 107);
    EXPECT_EQ(first->value, "Lane 4");
    EXPECT_EQ(first->level, 3);
    std::optional<ValueRecord> second = CParam::ReadValueRecord(in);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->directoryType, CDirectory::kMeter);
    EXPECT_EQ(second->instance, 1) << "the meter's own instance, not its value index";
}

TEST_F(DirectoryTree, ARecipeLandsOnAnyOtherRecipeAndTheRecipeItemItselfCopiesNothing) {
    Config(1, "1");
    Tree();
    CDirectory* recipe = doc->FindDirectory(CDirectory::kRecipe);
    ASSERT_TRUE(recipe->InstancesAsSubdirectories());
    ASSERT_TRUE(recipe->FindParam(1)->SetValue("Premium", 2));
    ASSERT_TRUE(recipe->FindParam(2)->SetValue("45", 2));
    ASSERT_TRUE(recipe->FindParam(1)->SetValue("Regular", 0));
    // The tree shows recipes with codes; the model addresses any of them.
    TreeTarget r3{recipe, recipe->Subdirectory(2), nullptr};
    TreeTarget r7{recipe, recipe->Subdirectory(6), nullptr};
    ASSERT_NE(r3.subdirectory, nullptr);
    ASSERT_NE(r7.subdirectory, nullptr);
    EXPECT_TRUE(DirectoryTreeModel::Compatible(TreeItemKey::Of(r3), TreeItemKey::Of(r7)));

    const std::string data = DirectoryTreeModel::CollectRecords(*doc, r3, true);
    ASSERT_EQ(data.size(), 2u * DirectoryTreeModel::kRecordSize);
    EXPECT_EQ(DirectoryTreeModel(ui.services).Paste(*doc, r7, data, false), DirectoryTreeModel::PasteOutcome::Pasted);
    EXPECT_EQ(recipe->FindParam(1)->Value(6), "Premium");
    EXPECT_EQ(recipe->FindParam(2)->Value(6), "45");
    EXPECT_EQ(recipe->FindParam(1)->Value(0), "Regular") << "other recipes untouched";

    const TreeTarget whole{recipe, nullptr, nullptr};
    EXPECT_EQ(DirectoryTreeModel::CollectRecords(*doc, whole, true), "");
    // A drag of the whole Recipe item carries every recipe at its own instance: 1, 3 and 7.
    const std::string all = DirectoryTreeModel::CollectRecords(*doc, whole, false);
    EXPECT_EQ(all.size(), 5u * DirectoryTreeModel::kRecordSize);
    ASSERT_TRUE(recipe->FindParam(1)->SetValue("", 2));
    DirectoryTreeModel(ui.services).Paste(*doc, whole, all, true);
    EXPECT_EQ(recipe->FindParam(1)->Value(2), "Premium");
}

TEST_F(DirectoryTree, MeterCodesOntoAProductAreRefusedWithItsMessageAndChangeNothing) {
    Config(1, "1");
    Config(2, "2");
    Config(3, "2");
    Tree();
    ASSERT_TRUE(Param(CDirectory::kMeter, 101)->SetValue("M1", 0));
    const TreeTarget meter = Target("Arm/Meter 1");
    const TreeTarget product = Target("Arm/Meter 1/Product 1");
    EXPECT_FALSE(DirectoryTreeModel::Compatible(TreeItemKey::Of(meter), TreeItemKey::Of(product)));
    const std::string data = DirectoryTreeModel::CollectRecords(*doc, meter, true);
    ASSERT_FALSE(data.empty());
    EXPECT_EQ(DirectoryTreeModel(ui.services).Paste(*doc, product, data, false),
              DirectoryTreeModel::PasteOutcome::Refused);
    EXPECT_EQ(ui.LastMessage(), DirectoryTreeModel::kPasteInvalid);
    EXPECT_EQ(DirectoryTreeModel(ui.services).Paste(*doc, product, data, true),
              DirectoryTreeModel::PasteOutcome::Refused);
    EXPECT_EQ(ui.LastMessage(), DirectoryTreeModel::kDropInvalid);
    EXPECT_EQ(Param(CDirectory::kProduct, 101)->Value(0), "");
    // Subdirectories fit only the same hundred of the same kind.
    EXPECT_TRUE(DirectoryTreeModel::Compatible(TreeItemKey::Of(Target("Arm/Meter 1/100-General Purpose")),
                                               TreeItemKey::Of(Target("Arm/Meter 2/100-General Purpose"))));
    EXPECT_FALSE(DirectoryTreeModel::Compatible(TreeItemKey::Of(Target("Arm/Meter 1/100-General Purpose")),
                                                TreeItemKey::Of(Target("Arm/Meter 2/300-Volume Accuracy"))));
    EXPECT_FALSE(DirectoryTreeModel::Compatible(TreeItemKey::Of(Target("Arm/Meter 1/100-General Purpose")),
                                                TreeItemKey::Of(Target("Arm/Meter 2"))));
}

TEST_F(DirectoryTree, UntrustedRecordsAreBoundedAndThoseNamingNothingArePassedOver) {
    Config(1, "1");
    Config(2, "2");
    Config(3, "2");
    Tree();
    const TreeTarget meter2 = Target("Arm/Meter 2");
    auto record = [](int type, int instance, int number, const std::string& text) {
        ArchiveWriter w;
        w.WriteI32(type);
        w.WriteI32(instance);
        w.WriteI32(number);
        w.WriteBytes(text.substr(0, 40));
        for (size_t i = text.size(); i < 40; ++i) w.WriteU8(0);
        w.WriteI16(-1);
        return w.Bytes();
    };
    std::string data = record(CDirectory::kMeter, 0, 101, std::string(40, 'A'));  // no NUL in its field
    data += record(CDirectory::kMeter, 0, 999, "unknown code");
    data += record(42, 0, 101, "bad type");
    data += record(CDirectory::kProduct, 0, 101, "other kind");
    data += record(CDirectory::kMeter, 0, 301, "3.5");
    data += std::string(20, '\x7f');  // a short tail
    int stored = 0;
    EXPECT_EQ(DirectoryTreeModel(ui.services).Paste(*doc, meter2, data, false, &stored),
              DirectoryTreeModel::PasteOutcome::Pasted);
    EXPECT_EQ(stored, 2);
    EXPECT_EQ(Param(CDirectory::kMeter, 101)->Value(1), std::string(39, 'A'));
    EXPECT_EQ(Param(CDirectory::kMeter, 301)->Value(1), "3.5");
    EXPECT_EQ(Param(CDirectory::kProduct, 101)->Value(0), "");
    EXPECT_EQ(DirectoryTreeModel(ui.services).Paste(*doc, meter2, data.substr(0, 53), false),
              DirectoryTreeModel::PasteOutcome::Nothing);

    // On an Arm, a meter record whose instance lies outside the meters is passed over.
    std::string arm = record(CDirectory::kArm, 0, 107, "Bay 1");
    arm += record(CDirectory::kMeter, 100, 101, "far");
    arm += record(CDirectory::kMeter, -3, 101, "negative");
    EXPECT_EQ(DirectoryTreeModel(ui.services).Paste(*doc, Target("Arm"), arm, false, &stored),
              DirectoryTreeModel::PasteOutcome::Pasted);
    EXPECT_EQ(stored, 1);
}

}  // namespace
}  // namespace qs::test
