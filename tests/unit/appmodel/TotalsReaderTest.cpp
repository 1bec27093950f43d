// The non-resettable totals read over a scripted device: the exact rows of each list, what is
// asked and at which address, and how a read ends.
#include <gtest/gtest.h>

#include "DocumentFixtures.h"
#include "Fuzz.h"
#include "RecordingUi.h"
#include "TotalsFixtures.h"
#include "appmodel/totals/TotalsReader.h"
#include "appmodel/totals/TotalsReply.h"
#include "link/TerminalProtocol.h"
#include "programdata/CDirectory.h"

namespace qs::test {
namespace {

using Rows = std::vector<std::vector<std::string>>;
using T = TotalsLists;

std::vector<std::string> Row(const std::string& first, int address, int item) {
    std::vector<std::string> row = {first};
    for (int q = 1; q <= 5; ++q) row.push_back(" " + std::to_string(FakeTotals::Total(address, item, q)));
    return row;
}
std::vector<std::string> Filled(const std::string& text, const std::string& first = {}) {
    std::vector<std::string> row(6, text);
    if (!first.empty()) row[0] = first;
    return row;
}
std::vector<std::string> Heading(const std::string& text) { return {text, "", "", "", "", ""}; }

class TotalsReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        doc = std::make_unique<CVexa3Doc>(ports, BuiltDictionary(), &options);
        device.answer = [this](int address, const std::string& command) { return totals.Answer(address, command); };
        device.Attach(*doc);
        ASSERT_GE(doc->Connect(true), CVexa3Doc::kStateReadOnly);
        UseArms(2);
        lists.changed = [this](int which) {
            if (which < 0) statuses.push_back(lists.Status());
        };
    }
    void UseArms(int arms) {
        ASSERT_TRUE(doc->SetParamValue(CDirectory::kConfig, 1, 0, arms));
        std::vector<std::string> warnings;
        ASSERT_TRUE(doc->ApplyConfiguration(&warnings));
    }
    TotalsReader::Outcome Read() {
        start = totals.sent.size();
        TotalsReader reader(*doc, ui.services, lists);
        return reader.Read();
    }
    const Rows& RowsOf(T::Which which) const { return lists.List(which).rows; }
    // The commands a part of the read sent, those matching `prefix`.
    std::vector<std::string> Sent(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const std::string& c : totals.From(start))
            if (c.find(prefix) != std::string::npos) out.push_back(c);
        return out;
    }

    RecordingUi ui;
    AppOptions options;
    ComPortTable ports;
    std::unique_ptr<CVexa3Doc> doc;
    ScriptedDevice device;
    FakeTotals totals;
    TotalsLists lists;
    std::vector<std::string> statuses;
    size_t start = 0;
};

TEST_F(TotalsReaderTest, TwoArmsOfThreeProductsGiveTheirBlocksArmOneFirst) {
    totals.recipeArms = {{3, 2}};
    ASSERT_EQ(Read(), TotalsReader::Outcome::Done);
    const Rows products = {
        Heading("Arm 1 - "),
        Row(" PROD1", 1, 1), Row(" PROD2", 1, 2), Row(" PROD3", 1, 3),
        Filled("--------"),
        {"Arm 1 Total:", "3063", "3066", "3069", "3072", "3075"},
        Heading("   "),
        Heading("Arm 2 - "),
        Row(" PROD1", 2, 1), Row(" PROD2", 2, 2), Row(" PROD3", 2, 3),
        Filled("--------"),
        {"Arm 2 Total:", "6063", "6066", "6069", "6072", "6075"},
    };
    EXPECT_EQ(RowsOf(T::kProducts), products);
    EXPECT_EQ(RowsOf(T::kAdditives), (Rows{{"Additive 1", "101"}, {"Additive 2", "102"}}));
    EXPECT_EQ(RowsOf(T::kRecipes), (Rows{Row(" MIX03", 2, 53)}));
    // Arm 2 is read before arm 1, each at its own address; the read ends at arm 1's.
    const std::vector<std::string> names = Sent("101");
    EXPECT_EQ(names, (std::vector<std::string>{"2 PV P1 101", "2 PV P2 101", "2 PV P3 101", "1 PV P1 101",
                                               "1 PV P2 101", "1 PV P3 101"}));
    EXPECT_EQ(doc->GetProtocol()->Address(), 1);
    EXPECT_EQ(statuses, (std::vector<std::string>{"Reading totalizers....", "Reading product totalizers....",
                                                  "Reading product totalizers....", "Reading additive totalizers....",
                                                  "Reading recipe totalizers....", "Values read successfully"}));
    ASSERT_EQ(ui.progress.size(), 1u);
    const ProgressRecord& bar = *ui.progress[0];
    EXPECT_EQ(bar.title, "Reading Totals");
    EXPECT_EQ(bar.upper, 24 + 5 * 6 + 5 * 50);
    EXPECT_EQ(bar.pos, bar.upper);
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
}

TEST_F(TotalsReaderTest, NoTotalRowForOneProductOrAnArmOfKindSix) {
    struct Row {
        const char* name;
        int kind, products;
        size_t rows;
    };
    const Row cases[] = {{"one product", 1, 1, 2}, {"kind 6", 6, 3, 4}, {"kind 0 counts one", 0, 3, 2}};
    for (const Row& c : cases) {
        SCOPED_TRACE(c.name);
        UseArms(1);
        totals.config[0] = {{1, 1}, {2, c.kind}, {3, c.products}};
        lists = TotalsLists{};
        ASSERT_EQ(Read(), TotalsReader::Outcome::Done);
        const Rows& rows = RowsOf(T::kProducts);
        ASSERT_EQ(rows.size(), c.rows);
        EXPECT_EQ(rows.front(), Heading("Arm 1 - "));
        for (const auto& r : rows) EXPECT_NE(r[0], "--------");
    }
}

TEST_F(TotalsReaderTest, AZeroRefusedOrMissingTotalStandsForTheRestOfItsRow) {
    totals.replies[FakeTotals::Key(1, "VT R P1")] = "VT R P1 0.00";
    totals.replies[FakeTotals::Key(1, "VT G P2")] = "NO37";
    totals.replies[FakeTotals::Key(1, "VT R P3")] = "VT R P3";
    ASSERT_EQ(Read(), TotalsReader::Outcome::Done);
    const Rows& rows = RowsOf(T::kProducts);
    ASSERT_GE(rows.size(), 6u);
    EXPECT_EQ(rows[1], Filled(" 0.00", " PROD1"));
    EXPECT_EQ(rows[2], (std::vector<std::string>{" PROD2", " 1021", "  NO37", "  NO37", "  NO37", "  NO37"}));
    EXPECT_EQ(rows[3], Filled("", " PROD3"));
    // What was not asked counts nothing.
    EXPECT_EQ(rows[5], (std::vector<std::string>{"Arm 1 Total:", "1021", "0", "0", "0", "0"}));
    // IV alone of the first and third product, IV and GV of the second.
    EXPECT_EQ(Sent("1 VT R P"), (std::vector<std::string>{"1 VT R P1", "1 VT R P2", "1 VT R P3"}));
    EXPECT_EQ(Sent("1 VT G P"), (std::vector<std::string>{"1 VT G P2"}));
    EXPECT_TRUE(Sent("1 VT N P").empty());
    EXPECT_EQ(ui.progress[0]->pos, ui.progress[0]->upper);
}

TEST_F(TotalsReaderTest, AnAdditiveComesFromTheFirstArmThatHasIt) {
    UseArms(3);
    totals.config[0][20] = 99;  // more than the document's 24: clamped
    totals.replies[FakeTotals::Key(1, "VT A01")] = "NO37";
    totals.replies[FakeTotals::Key(1, "VT A02")] = "NO37";
    totals.replies[FakeTotals::Key(2, "VT A02")] = "NO38";
    totals.replies[FakeTotals::Key(3, "VT A02")] = "NO39";
    ASSERT_EQ(Read(), TotalsReader::Outcome::Done);
    const Rows& rows = RowsOf(T::kAdditives);
    ASSERT_EQ(rows.size(), 24u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"Additive 1", "201"}));
    EXPECT_EQ(rows[1], (std::vector<std::string>{"Additive 2", "  NO39"}));
    EXPECT_EQ(rows[23], (std::vector<std::string>{"Additive 24", "124"}));
    EXPECT_EQ(Sent("VT A02"), (std::vector<std::string>{"1 VT A02", "2 VT A02", "3 VT A02"}));
    EXPECT_EQ(Sent("VT A03"), (std::vector<std::string>{"1 VT A03"}));

    // Arm 1 without an address: nothing is asked and the volume stays empty.
    lists = TotalsLists{};
    doc->SetArmAddress(0, 0);
    totals.sent.clear();
    ASSERT_EQ(Read(), TotalsReader::Outcome::Done);
    EXPECT_EQ(RowsOf(T::kAdditives).at(0), (std::vector<std::string>{"Additive 1", ""}));
    EXPECT_TRUE(Sent("VT A").empty());
}

TEST_F(TotalsReaderTest, RecipesOfNoArmOrAnArmWithoutAddressAreLeftOut) {
    totals.recipeArms = {{1, 0}, {2, 7}, {3, 4}, {4, 2}, {50, 1}};
    doc->SetArmAddress(3, 0);
    ASSERT_EQ(Read(), TotalsReader::Outcome::Done);
    EXPECT_EQ(RowsOf(T::kRecipes), (Rows{Row(" MIX04", 2, 54), Row(" MIX50", 1, 100)}));
    EXPECT_EQ(Sent("PV 04 002"), (std::vector<std::string>{"2 PV 04 002"}));
    EXPECT_EQ(Sent("PV 50 002"), (std::vector<std::string>{"1 PV 50 002"}));
    for (const char* left : {"PV 01 002", "PV 02 002", "PV 03 002"}) EXPECT_TRUE(Sent(left).empty()) << left;
    EXPECT_EQ(ui.progress[0]->pos, ui.progress[0]->upper);
}

TEST_F(TotalsReaderTest, CancelOrSilenceEndsTheReadWithWhatWasRead) {
    ui.CancelAfterPumps(7);
    EXPECT_EQ(Read(), TotalsReader::Outcome::Cancelled);
    EXPECT_EQ(lists.Status(), "Read Aborted by User");
    // Arm 2's first product whole, the second begun.
    EXPECT_EQ(RowsOf(T::kProducts).size(), 2u);
    EXPECT_EQ(RowsOf(T::kProducts)[1][1], " 2021");
    EXPECT_EQ(doc->GetProtocol()->Address(), 2);
    EXPECT_TRUE(ui.progress.empty() || ui.progress[0]->cancelled);

    ui.CancelAfterPumps(0);
    lists = TotalsLists{};
    lists.changed = [this](int which) {
        if (which < 0) statuses.push_back(lists.Status());
    };
    totals.replies[FakeTotals::Key(1, "PV CF 020")] = "";  // no answer
    EXPECT_EQ(Read(), TotalsReader::Outcome::LinkFault);
    EXPECT_EQ(lists.Status(), "Read Aborted due to communications error");
    EXPECT_EQ(RowsOf(T::kProducts).size(), 13u);
    EXPECT_TRUE(RowsOf(T::kAdditives).empty());
    EXPECT_FALSE(ui.prompt.shown.empty());  // the link said why
}

TEST(TotalsReplies, ValuesAreReadAtTheirPosition) {
    EXPECT_EQ(TotalsReply::Field("VT R P1 123.5", 7), " 123.5");
    EXPECT_EQ(TotalsReply::Field("VT R P1", 7), "");
    EXPECT_EQ(TotalsReply::Field("         NO05", 7), "  NO05");
    EXPECT_EQ(TotalsReply::Value(" 123.5"), 123.5);
    EXPECT_EQ(TotalsReply::Value("  NO05"), 0.0);
    EXPECT_EQ(TotalsReply::Value(" 1e999"), 0.0);
    EXPECT_EQ(TotalsReply::Integer(" 12abc"), 12);
    EXPECT_EQ(TotalsReply::Integer("99999999999999"), 2147483647);
    EXPECT_EQ(TotalsReply::Integer("NO14"), 0);
    EXPECT_TRUE(TotalsReply::IsRejection("         NO14"));
    EXPECT_FALSE(TotalsReply::IsRejection("VT A01 NO"));
    RunFuzz({"VT R P1 123.5", "         NO05", "PV CF 020 24", "VT A01 -1e308"}, [](const std::string& reply) {
        for (size_t offset : {TotalsReply::kTotalOffset, TotalsReply::kValueOffset}) {
            const std::string field = TotalsReply::Field(reply, offset);
            EXPECT_LE(field.size(), reply.size());
            EXPECT_TRUE(std::isfinite(TotalsReply::Value(field)));
            static_cast<void>(TotalsReply::Integer(field));
        }
    }, {.iterations = 5000, .maxLength = 300});
}

}  // namespace
}  // namespace qs::test
