// The non-resettable totals read from the simulated controller: two arms of three products,
// an additive and a recipe, over every transport and framing; a refused total and a device
// that stops answering.
#include <gtest/gtest.h>

#include "DocumentFixtures.h"
#include "RecordingUi.h"
#include "SimRig.h"
#include "appmodel/totals/TotalsReader.h"
#include "programdata/CDirectory.h"

namespace qs::test {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// Two devices (addresses 1 and 2), each with two arms of three blended products configured, one
// additive, recipe 1 on arm 2.
const char* const kState =
    "CF 001 - 2\n"
    "CF 002 - 1\n"
    "CF 003 - 3\n"
    "CF 004 - 1\n"
    "CF 005 - 3\n"
    "CF 020 - 1\n"
    "P1 101 - UNLEADED\n"
    "P2 101 - PREMIUM\n"
    "P3 101 - ETHANOL\n"
    "01 001 - 2\n"
    "01 002 - E10 BLEND\n";

// The simulator's total: address x 10000 + item x 10 + quantity (1-5).
std::vector<std::string> Totals(const std::string& name, int address, int item) {
    std::vector<std::string> row = {name};
    for (int q = 1; q <= 5; ++q) row.push_back(" " + std::to_string(address * 10000 + item * 10 + q));
    return row;
}
std::vector<std::string> Heading(const std::string& text) { return {text, "", "", "", "", ""}; }

class TotalsSim : public ::testing::TestWithParam<LinkKind> {
protected:
    void Read(SimRig& device, Framing framing, TotalsReader::Outcome expected) {
        ASSERT_TRUE(device.Ready()) << device.Error();
        doc = std::make_unique<CVexa3Doc>(ports, BuiltDictionary(), &options);
        device.Attach(*doc, framing);
        ASSERT_TRUE(doc->SetParamValue(CDirectory::kConfig, 1, 0, 2));
        std::vector<std::string> warnings;
        ASSERT_TRUE(doc->ApplyConfiguration(&warnings));
        ASSERT_GE(doc->Connect(true), CVexa3Doc::kStateReadOnly);
        TotalsReader reader(*doc, ui.services, lists);
        EXPECT_EQ(reader.Read(), expected);
    }
    const Rows& Products() const { return lists.List(TotalsLists::kProducts).rows; }

    RecordingUi ui;
    AppOptions options;
    ComPortTable ports;
    std::unique_ptr<CVexa3Doc> doc;
    TotalsLists lists;
};

TEST_P(TotalsSim, TwoArmsOfThreeProductsAnAdditiveAndARecipe) {
    SimRig device(SimRig::Setup{.transport = GetParam().transport, .args = {"--addresses", "1-6"}, .state = kState});
    Read(device, GetParam().framing, TotalsReader::Outcome::Done);
    const Rows products = {
        Heading("Arm 1 - "),
        Totals(" UNLEADED", 1, 1), Totals(" PREMIUM", 1, 2), Totals(" ETHANOL", 1, 3),
        std::vector<std::string>(6, "--------"),
        {"Arm 1 Total:", "30063", "30066", "30069", "30072", "30075"},
        Heading("   "),
        Heading("Arm 2 - "),
        Totals(" UNLEADED", 2, 1), Totals(" PREMIUM", 2, 2), Totals(" ETHANOL", 2, 3),
        std::vector<std::string>(6, "--------"),
        {"Arm 2 Total:", "60063", "60066", "60069", "60072", "60075"},
    };
    EXPECT_EQ(Products(), products);
    EXPECT_EQ(lists.List(TotalsLists::kAdditives).rows, (Rows{{"Additive 1", "12010"}}));
    EXPECT_EQ(lists.List(TotalsLists::kRecipes).rows, (Rows{Totals(" E10 BLEND", 2, 101)}));
    EXPECT_EQ(lists.Status(), "Values read successfully");
    // The device addressed next is arm 1's.
    ASSERT_TRUE(doc->SendCommand("LO"));
    EXPECT_EQ(device.Exchanges().back().address, 1);
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
}

INSTANTIATE_TEST_SUITE_P(Links, TotalsSim, ::testing::ValuesIn(kAllLinks), LinkName());

class TotalsSimFaults : public TotalsSim {};

TEST_F(TotalsSimFaults, ARefusedTotalFillsItsRowAndSilenceEndsTheRead) {
    SimRig refusing(SimRig::Setup{.args = {"--addresses", "1-6", "--fault", "reject=37,address=1,on=VT G P2"},
                                  .state = kState});
    Read(refusing, Framing::Mini, TotalsReader::Outcome::Done);
    ASSERT_GE(Products().size(), 3u);
    EXPECT_EQ(Products()[2], (std::vector<std::string>{" PREMIUM", " 10021", "  NO37", "  NO37", "  NO37", "  NO37"}));

    lists = TotalsLists{};
    SimRig silent(SimRig::Setup{.args = {"--addresses", "1-6", "--fault", "drop,on=VT A01"}, .state = kState});
    Read(silent, Framing::Mini, TotalsReader::Outcome::LinkFault);
    EXPECT_EQ(lists.Status(), "Read Aborted due to communications error");
    EXPECT_EQ(Products().size(), 13u);
    EXPECT_EQ(lists.List(TotalsLists::kAdditives).rows, (Rows{{"Additive 1", ""}}));
    EXPECT_FALSE(ui.prompt.shown.empty());
}

}  // namespace
}  // namespace qs::test
