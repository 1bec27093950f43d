// Whole transfers and the printout of a document: which directories of which arm are visited,
// at which address, in which order, and what lands where.
#include <gtest/gtest.h>

#include <map>
#include <unordered_set>
#include <set>

#include "DocumentFixtures.h"
#include "RecordingUi.h"
#include "TempDir.h"
#include "programdata/CDirectory.h"
#include "programdata/CParam.h"
#include "platform/PrintSheet.h"

namespace qs::test {
namespace {

using Sent = ScriptedDevice::Sent;

class DocumentWalk : public ::testing::Test {
protected:
    void SetUp() override {
        dir.Write("Config.SD3", Records({Code(1, "Number of Load Arms")}));
        dir.Write("System.SD3", Records({Code(111, "Date Format"), Code(112, "Serial", CParam::kReadOnly)}));
        dir.Write("Arm.SD3", Records({Code(101, "Arm Name"), Code(107, "Load Position Name"), Code(108, "Lane")}));
        dir.Write("Meter.SD3", Records({Code(101, "Meter Name"), Code(103, "K-Factor")}));
        dir.Write("Product.SD3", Records({Code(101, "Product Name")}));
        dir.Write("Bay A.SD3", Records({Code(101, "Bay Name")}));
        dir.Write("Bay B.SD3", Records({Code(101, "Bay Name")}));
        dir.Write("Recipe.SD3", Records({Code(1, "Recipe Arm Number"), Code(2, "Recipe Name")}));
        doc = std::make_unique<CVexa3Doc>(ports, FilesIn(dir.Path()));
        ASSERT_EQ(doc->DirectoryCount(), 23);
        // A device at every address that takes every write but those `refuse` names.
        device.answer = [this](int address, const std::string& command) {
            return refuse.count(command.substr(0, 9)) ? "NO03" : ScriptedDevice::Controller(address, command);
        };
        device.Attach(*doc);
        device.Reply("PV SY 111 1");
        device.Reply("0A463B8B");
        ASSERT_EQ(doc->Connect(true), CVexa3Doc::kStateReadOnly);
        device.sent.clear();
    }

    std::string Value(int type, int number, int instance) {
        return doc->FindDirectory(type)->FindParam(number)->Value(instance);
    }
    // The mnemonics in the order they were first sent to each address, runs collapsed.
    std::vector<std::string> Runs() const {
        std::vector<std::string> runs;
        for (const Sent& s : device.sent) {
            const std::string key = std::to_string(s.address) + " " + s.command.substr(3, 2);
            if (runs.empty() || runs.back() != key) runs.push_back(key);
        }
        return runs;
    }

    RecordingUi ui;
    TempDir dir;
    ComPortTable ports;
    std::unique_ptr<CVexa3Doc> doc;
    ScriptedDevice device;
    std::set<std::string> refuse;
};

TEST_F(DocumentWalk, ReadAllVisitsEachArmAtItsAddressWithRecipesLast) {
    doc->SetArmAddress(2, 0);
    doc->SetCurrentArm(4);
    auto bar = MakeProgress("Reading Duravane.NET...");
    bar->SetRange(0, doc->TotalCodes());
    ASSERT_TRUE(doc->ReadAllFromDevice(bar.get()));

    std::vector<std::string> expected = {"1 CF", "1 SY", "1 AR"};
    auto meterAndProduct = [&](int address) {
        for (int m = 1; m <= 6; ++m) expected.push_back(std::to_string(address) + " M" + std::to_string(m));
        for (int p = 1; p <= 6; ++p) expected.push_back(std::to_string(address) + " P" + std::to_string(p));
    };
    meterAndProduct(1);
    expected.insert(expected.end(), {"1 BA", "1 BB"});
    for (int address : {2, 4, 5, 6}) {
        expected.push_back(std::to_string(address) + " AR");
        meterAndProduct(address);
    }
    for (int r = 1; r <= 50; ++r) expected.push_back((r < 10 ? "1 0" : "1 ") + std::to_string(r));
    EXPECT_EQ(Runs(), expected);

    // Levels are read for the first instance only.
    std::set<std::string> levels;
    for (const Sent& s : device.sent)
        if (s.command.starts_with("XV")) levels.insert(std::to_string(s.address) + " " + s.command.substr(3));
    EXPECT_EQ(levels, (std::set<std::string>{"1 CF 001", "1 SY 111", "1 SY 112", "1 AR 101", "1 AR 107", "1 AR 108",
                                             "1 M1 101", "1 M1 103", "1 P1 101", "1 BA 101", "1 BB 101", "1 01 001",
                                             "1 01 002"}));

    EXPECT_EQ(Value(CDirectory::kMeter, 103, 2 + 1 * 6), "2:M3 103");  // meter 3 of arm 2
    EXPECT_EQ(Value(CDirectory::kProduct, 101, 5 + 5 * 6), "6:P6 101");
    EXPECT_EQ(Value(CDirectory::kArm, 107, 3), "4:AR 107");
    EXPECT_EQ(Value(CDirectory::kArm, 107, 2), "");  // the arm without an address
    EXPECT_EQ(Value(CDirectory::kRecipe, 2, 49), "1:50 002");
    EXPECT_EQ(doc->FindDirectory(CDirectory::kMeter)->FindParam(103)->Level(), 1);

    EXPECT_EQ(ui.progress.back()->pos, doc->TotalCodes());
    EXPECT_EQ(doc->TotalCodes(), 1 + 2 + 6 * (3 + 6 * 2 + 6 * 1) + 1 + 1 + 50 * 2);
    EXPECT_EQ(doc->CurrentArm(), 4);
    EXPECT_EQ(doc->GetProtocol()->Address(), 1);
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
}

TEST_F(DocumentWalk, DumpAllWritesWhatTheRulesAllowAndLogsRefusals) {
    ASSERT_TRUE(doc->SetParamText(CDirectory::kConfig, 1, 0, "2"));
    ASSERT_TRUE(doc->ApplyConfiguration());
    ASSERT_EQ(doc->ActiveArmCount(), 2);
    std::unordered_set<const CParam*> seen;
    for (CDirectory* d = doc->FirstDirectory(); d; d = d->NextDirectory())
        for (int i = 0; i < d->SubdirectoryCount(); ++i)
            d->Subdirectory(i)->ForEachParam([&](CParam& p) {
                if (!seen.insert(&p).second) return;
                for (int v = 0; v < p.ValueCount(); ++v) p.SetValue(std::to_string(v + 1), v);
                p.SetLevel(3);
            });
    refuse = {"PC SY 111", "XC M1 103"};
    AddTransferError(doc.get(), "an earlier line of this document");
    AddTransferError(this, "a line of another document");

    ASSERT_TRUE(doc->WriteAllToDevice(nullptr));

    std::map<int, std::set<std::string>> written;  // address -> "PC AR 107" ...
    for (const Sent& s : device.sent) written[s.address].insert(s.command.substr(0, 9));
    // Arms from the third on: only their position codes.
    for (int address = 3; address <= 6; ++address)
        EXPECT_EQ(written[address], (std::set<std::string>{"PC AR 107", "PC AR 108"})) << address;
    EXPECT_TRUE(written[2].count("PC M6 103"));
    EXPECT_TRUE(written[2].count("PC AR 101"));
    EXPECT_FALSE(written[1].count("PC SY 112"));  // read-only
    EXPECT_FALSE(written[1].count("XC SY 112"));
    EXPECT_TRUE(written[1].count("XC SY 111"));
    EXPECT_FALSE(written[1].count("XC M2 101"));  // levels go with the first instance only
    EXPECT_FALSE(written[2].count("XC AR 101"));

    bool sawMeterValue = false;
    for (const Sent& s : device.sent) {
        if (s.address == 2 && s.command.starts_with("PC M3 103")) {
            EXPECT_EQ(s.command, "PC M3 103 " + std::to_string(2 + 1 * 6 + 1));
            sawMeterValue = true;
        }
        if (s.command.starts_with("XC")) {
            EXPECT_EQ(s.command.substr(9), " 4") << s.command;
        }
    }
    EXPECT_TRUE(sawMeterValue);
    EXPECT_EQ(ui.errorLog.Lines(),
              (std::vector<std::string>{"a line of another document",
                                        "Unable to Program System 111 Date Format to 1 : Value out of Range",
                                        "Could Not Set Security Level for Meter 1 103 K-Factor : Value out of Range"}));
}

TEST_F(DocumentWalk, ACancelStopsTheWalkAndRestoresTheArm) {
    doc->SetCurrentArm(3);
    ui.CancelAfterPumps(20);
    auto bar = MakeProgress("Reading Duravane.NET...");
    EXPECT_FALSE(doc->ReadAllFromDevice(bar.get()));
    EXPECT_EQ(doc->CurrentArm(), 3);
    size_t values = 0;
    for (const Sent& s : device.sent) values += s.command.starts_with("PV") ? 1 : 0;
    EXPECT_EQ(values, 20u);
}

TEST_F(DocumentWalk, ThePrintoutGoesArmByArmWithRecipesLast) {
    doc->SetArmAddress(2, 0);  // printed all the same
    PrintSheet sheet;
    doc->PrintAll(sheet);
    std::vector<std::string> headers;
    for (const std::string& line : sheet.Lines())
        if (line.starts_with("*****")) headers.push_back(line);
    ASSERT_EQ(headers.size(), 17u + 5 * 13 + 1);
    EXPECT_EQ(headers[0], "***** Config Directory *****");
    EXPECT_EQ(headers[2], "***** Arm 1 Arm 1 Directory *****");
    EXPECT_EQ(headers[3], "***** Arm 1 Meter 1 Directory *****");
    EXPECT_EQ(headers[17], "***** Arm 2 Arm 2 Directory *****");
    EXPECT_EQ(headers[17 + 13 * 2 + 1], "***** Arm 4 Meter 1 Directory *****");
    EXPECT_EQ(headers.back(), "***** Recipe Directory *****");
    EXPECT_GT(sheet.Pages(), 1);
    for (const PrintItem& item : sheet.Items()) EXPECT_LE(item.line, 55) << item.text;
}

}  // namespace
}  // namespace qs::test
