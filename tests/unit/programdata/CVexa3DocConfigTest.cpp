// The counts a document derives from its own configuration codes, and the texts it stores.
#include <gtest/gtest.h>

#include "DocumentFixtures.h"
#include "RecordingUi.h"
#include "TempDir.h"
#include "programdata/CDirectory.h"
#include "programdata/CParam.h"

namespace qs::test {
namespace {

Def Options(uint16_t number, const std::string& title, std::vector<std::string> options) {
    Def d = Code(number, title, CParam::kOptionList);
    d.max = static_cast<float>(options.size() - 1);
    d.options = std::move(options);
    return d;
}

class DocumentConfiguration : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<Def> config = {Code(1, "Number of Load Arms")};
        for (int arm = 0; arm < 6; ++arm) {
            config.push_back(Options(static_cast<uint16_t>(2 * arm + 2), "Arm Type",
                                     {"Straight Product", "Sequential Blending", "Ratio Blending", "Side-Stream Blending",
                                      "Unloading", "Hybrid Blending", "Straight Products, One Meter Each"}));
            config.push_back(Code(static_cast<uint16_t>(2 * arm + 3), "Arm Number of Products"));
        }
        for (int arm = 0; arm < 6; ++arm) config.push_back(Code(static_cast<uint16_t>(14 + arm), "Hybrid Ratio Meters"));
        for (int input = 0; input < 8; ++input) config.push_back(Code(static_cast<uint16_t>(301 + input), "Input"));
        dir.Write("Config.SD3", Records(config));
        dir.Write("Arm.SD3", Records({Code(107, "Load Position Name"), Code(108, "Load Position Lane"),
                                     Code(109, "Bay Assignment"), Code(110, "Swing Arm")}));
        doc = std::make_unique<CVexa3Doc>(ports, FilesIn(dir.Path()));
        ASSERT_EQ(doc->DirectoryCount(), 7);  // Config and the six Arm directories
        Set(1, "1");
    }

    void Set(int number, const std::string& value) { ASSERT_TRUE(doc->SetParamText(CDirectory::kConfig, number, 0, value)); }
    void SetArm(int number, int arm, const std::string& value) {
        ASSERT_TRUE(doc->SetParamText(CDirectory::kArm, number, arm, value));
    }
    std::string Value(int type, int number, int instance = 0) {
        return doc->FindDirectory(type)->FindParam(number)->Value(instance);
    }

    RecordingUi ui;
    TempDir dir;
    ComPortTable ports;
    std::unique_ptr<CVexa3Doc> doc;
};

TEST_F(DocumentConfiguration, NoArmsConfiguredMeansOneAndIsWrittenBack) {
    Set(1, "0");
    ASSERT_TRUE(doc->ApplyConfiguration());
    EXPECT_EQ(doc->ActiveArmCount(), 1);
    EXPECT_EQ(Value(CDirectory::kConfig, 1), "1");
    EXPECT_TRUE(ui.prompt.shown.empty());
}

TEST_F(DocumentConfiguration, WithoutConfig001NothingIsDerived) {
    TempDir empty;
    empty.Write("Arm.SD3", Records({Code(110, "Swing Arm")}));
    CVexa3Doc bare(ports, FilesIn(empty.Path()));
    EXPECT_FALSE(bare.ApplyConfiguration());
    EXPECT_EQ(bare.ActiveArmCount(), 6);
}

TEST_F(DocumentConfiguration, ArmsInUseAndFlaggedArmsNeverCountPastSix) {
    Set(1, "6");
    SetArm(110, 0, "1");
    SetArm(110, 1, "1");
    ASSERT_TRUE(doc->ApplyConfiguration());
    EXPECT_EQ(ui.Messages(), (std::vector<std::string>{"The maximum number of arms supported by this firmware is 6"}));
    EXPECT_EQ(doc->ActiveArmCount(), 6);
    EXPECT_EQ(doc->FlaggedArmCount(), 2);

    // Too many together, but the arms in use are not raised to six.
    ui.prompt.shown.clear();
    Set(1, "5");
    ASSERT_TRUE(doc->ApplyConfiguration());
    EXPECT_EQ(ui.prompt.shown.size(), 1u);
    EXPECT_EQ(doc->ActiveArmCount(), 5);

    // A flag on an arm not in use does not count.
    ui.prompt.shown.clear();
    Set(1, "4");
    SetArm(110, 0, "0");
    SetArm(110, 5, "1");
    ASSERT_TRUE(doc->ApplyConfiguration());
    EXPECT_TRUE(ui.prompt.shown.empty());
    EXPECT_EQ(doc->FlaggedArmCount(), 1);
    EXPECT_EQ(doc->ActiveArmCount(), 4);

    Set(1, "9");
    SetArm(110, 1, "0");
    ASSERT_TRUE(doc->ApplyConfiguration());
    EXPECT_EQ(doc->ActiveArmCount(), 6);
}

TEST_F(DocumentConfiguration, AnArmInUseWithoutAnAddressIsSaidOnce) {
    Set(1, "3");
    doc->SetArmAddress(1, 0);
    doc->SetArmAddress(4, 0);  // not in use
    ASSERT_TRUE(doc->ApplyConfiguration());
    EXPECT_EQ(ui.Messages(),
              (std::vector<std::string>{"You have configured Arm 2 for use, but the arm address is 0. \nSelect "
                                        "'Options|Options for this Duravane III...' and enter a valid address (1-99)"}));
}

TEST_F(DocumentConfiguration, MetersAndProductsFollowEachArmsTypeWithinOneToSix) {
    Set(1, "6");
    Set(2, "0");                       // straight product: one of each, whatever the count says
    Set(3, "4");
    ASSERT_TRUE(doc->SetParamValue(CDirectory::kConfig, 4, 0, 2));  // ratio blending
    Set(5, "4");
    Set(6, "1 Sequential Blending");   // one meter for all products
    Set(7, "3");
    Set(8, "5");                       // hybrid: the ratio meters and one more
    Set(9, "2");
    Set(17, "2");
    Set(10, "3");                      // side-stream, more than there can be
    Set(11, "9");
    Set(12, "6");
    Set(13, "0");
    ASSERT_TRUE(doc->ApplyConfiguration());
    const ArmConfiguration& c = doc->Configuration();
    EXPECT_EQ(c.metersPerArm, (std::array<int, 6>{1, 4, 1, 3, 6, 1}));
    EXPECT_EQ(c.productsPerArm, (std::array<int, 6>{1, 4, 3, 2, 6, 1}));
    EXPECT_EQ(Value(CDirectory::kConfig, 4), "2 Ratio Blending");
}

TEST_F(DocumentConfiguration, ArmsNotInUseKeepTheirCounts) {
    Set(1, "1");
    Set(2, "2");
    Set(3, "3");
    Set(4, "2");
    Set(5, "5");
    ASSERT_TRUE(doc->ApplyConfiguration());
    EXPECT_EQ(doc->Configuration().productsPerArm, (std::array<int, 6>{3, 6, 6, 6, 6, 6}));
}

TEST_F(DocumentConfiguration, ArmModeComesFromTheBayAssignmentsAndTheInputFunctions) {
    Set(1, "3");
    SetArm(109, 0, "1");
    ASSERT_TRUE(doc->ApplyConfiguration());
    EXPECT_EQ(doc->ArmMode(), 1);

    SetArm(109, 2, "5");
    ASSERT_TRUE(doc->ApplyConfiguration());
    EXPECT_EQ(doc->ArmMode(), 2);

    SetArm(109, 2, "0");
    SetArm(109, 4, "2");  // not in use
    ASSERT_TRUE(doc->ApplyConfiguration());
    EXPECT_EQ(doc->ArmMode(), 1);

    // Every second input code from 301 holds a function; 45-48 are the bay functions.
    SetArm(109, 0, "0");
    Set(302, "46");
    ASSERT_TRUE(doc->ApplyConfiguration());
    EXPECT_EQ(doc->ArmMode(), 0);
    Set(307, "48");
    ASSERT_TRUE(doc->ApplyConfiguration());
    EXPECT_EQ(doc->ArmMode(), 2);
    Set(307, "49");
    Set(303, "44");
    ASSERT_TRUE(doc->ApplyConfiguration());
    EXPECT_EQ(doc->ArmMode(), 0);
}

TEST_F(DocumentConfiguration, BayAddressesAreCleared) {
    doc->SetBayAddress(0, 12);
    doc->SetBayAddress(1, 13);
    ASSERT_TRUE(doc->ApplyConfiguration());
    EXPECT_EQ(doc->BayAddresses(), (std::array<int, 2>{0, 0}));
}

TEST_F(DocumentConfiguration, ValuesAreStoredAsNumbersWithTheirOptionText) {
    ASSERT_TRUE(doc->SetParamValue(CDirectory::kConfig, 2, 0, 6));
    EXPECT_EQ(Value(CDirectory::kConfig, 2), "6 Straight Products, One Meter Each");
    ASSERT_TRUE(doc->SetParamValue(CDirectory::kConfig, 2, 0, 7));  // past the list
    EXPECT_EQ(Value(CDirectory::kConfig, 2), "7");
    ASSERT_TRUE(doc->SetParamValue(CDirectory::kConfig, 2, 0, -1));
    EXPECT_EQ(Value(CDirectory::kConfig, 2), "-1");
    ASSERT_TRUE(doc->SetParamValue(CDirectory::kArm, 108, 5, 12));
    EXPECT_EQ(Value(CDirectory::kArm, 108, 5), "12");
    EXPECT_FALSE(doc->SetParamValue(CDirectory::kArm, 108, 6, 1));     // no such arm
    EXPECT_FALSE(doc->SetParamValue(CDirectory::kConfig, 999, 0, 1));  // no such code
    EXPECT_FALSE(doc->SetParamText(CDirectory::kMeter, 101, 0, "x"));  // no such directory
}

TEST_F(DocumentConfiguration, TheOptionsDialogsFieldsGoBothWays) {
    DocumentLinkFields f = doc->GetLinkFields();
    EXPECT_EQ(f, (DocumentLinkFields{"", 7, 1, 1, 1, {2, 3, 4, 5, 6}, 0, 0xC0A80001}));
    f = {"Lane 3 rack, north end of the terminal", 2, 0, 0, 12, {13, 0, 15, 16, 99}, 4, 0x0A0B0C0D};
    doc->SetModified(false);
    doc->SetLinkFields(f);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->GetLinkFields(),
              (DocumentLinkFields{"Lane 3 rack, north end of the te", 7, 0, 0, 12, {13, 0, 15, 16, 99}, 4, 0x0A0B0C0D}));
    EXPECT_EQ(doc->Host(), "10.11.12.13");

    // What the dialog left unset keeps the document's; the model is not the document's to take.
    doc->SetLinkFields({"", 3, -1, -1, -1, {-1, 5, -1, 200, -1}, -1, 0x0A0B0C0E});
    EXPECT_EQ(doc->GetLinkFields(), (DocumentLinkFields{"", 7, 0, 0, 12, {13, 5, 15, 16, 99}, 4, 0x0A0B0C0E}));
    EXPECT_EQ(doc->Host(), "10.11.12.14");
}

TEST(ArmConfigurationNumbers, TheLeadingWholeNumberOfAText) {
    EXPECT_EQ(ArmConfiguration::LeadingInteger("3 Ratio Blending"), 3);
    EXPECT_EQ(ArmConfiguration::LeadingInteger("  -2"), -2);
    EXPECT_EQ(ArmConfiguration::LeadingInteger("x3"), 0);
    EXPECT_EQ(ArmConfiguration::LeadingInteger(""), 0);
    EXPECT_EQ(ArmConfiguration::LeadingInteger("99999999999999999999"), INT_MAX);
    EXPECT_EQ(ArmConfiguration::LeadingInteger("-99999999999999999999"), -INT_MAX);
}

}  // namespace
}  // namespace qs::test
