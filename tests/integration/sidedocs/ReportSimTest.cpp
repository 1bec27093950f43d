// Report definitions to and from the simulated controller, for every report slot, over
// loopback TCP and a pty; and each failing step of both transfers.
#include <gtest/gtest.h>

#include <ostream>

#include "ReportSim.h"
#include "sidedocs/reports/ReportDestination.h"

namespace qs::test::reportsim {

namespace {

bool IsRunData(int dir) { return dir == 16 || dir == 17 || dir == 18 || dir == 19 || dir == 38; }
bool IsInteger(int type) { return type != 0 && type != 4 && type != 5; }

// One entry of every kind the program sends, on registers of the build's dictionary.
void Fill(ReportRig& rig, CReport& report) {
    const uint32_t run = rig.FindRegister([](int dir, int, const CParam& p) { return IsRunData(dir) && p.instances > 1; });
    const uint32_t plain =
        rig.FindRegister([](int dir, int type, const CParam& p) { return !IsRunData(dir) && IsInteger(type) && p.instances > 1; });
    const uint32_t option = rig.FindRegister([](int, int, const CParam& p) { return p.HasOptionList(); });
    const uint32_t reference =
        rig.FindRegister([](int dir, int type, const CParam& p) { return dir == 17 && IsInteger(type) && p.instances > 1; });
    ASSERT_NE(run, 0u);
    ASSERT_NE(plain, 0u);
    ASSERT_NE(option, 0u);
    ASSERT_NE(reference, 0u);
    auto add = [&](int line, int column, int type, uint32_t id, const char* format) {
        auto item = std::make_unique<ReportItem>();
        item->MoveTo(line, column);
        item->SetType(type);
        item->SetRegister(id, rig.dictionary.FindParamByRegisterId(id));
        item->SetFormat(format);
        return report.InsertItemInOrder(std::move(item));
    };
    report.InsertItemInOrder(std::make_unique<ReportItem>(0, 20, std::string("BILL OF LADING")));
    add(2, 0, kReportItemDescription, run + 1, "%s")->SetText("Described");
    add(2, 30, kReportItemValue, run + 1, "%10.2f")->SetCondition(3);
    add(3, 30, kReportItemValue, plain + 2, "%6ld");
    add(4, 30, kReportItemValueText, option, "%s");
    ReportItem* offset = add(5, 30, kReportItemValue, plain, "%6ld");
    offset->SetReferenceId(reference + 1);
    offset->SetUseReferenceOffset(true);
    offset->SetCondition(4);
}

struct Slot {
    Transport transport;
    int row;
};

void PrintTo(const Slot& s, std::ostream* os) { *os << (s.transport == Transport::Tcp ? "tcp" : "pty") << s.row; }

class ReportSimRoundTrip : public ::testing::TestWithParam<Slot> {};

}  // namespace

TEST_P(ReportSimRoundTrip, WhatIsDownloadedComesBack) {
    const Slot slot = GetParam();
    ReportRig rig(slot.transport);
    ASSERT_TRUE(rig.Ready()) << rig.Error();
    auto report = rig.NewReport();
    Fill(rig, *report);
    report->SetPageSize(132, 66, 2);
    report->SetFormFeed(slot.row % 2 == 0);
    ASSERT_TRUE(report->DownloadToDevice(rig.Access(slot.row))) << rig.ui.LastMessage();
    EXPECT_TRUE(rig.ui.Messages().empty()) << rig.ui.LastMessage();

    // Frames: initiation, header, the entries (and the form feed), terminator, texts, final.
    const size_t entries = report->Items().size() + (report->FormFeed() ? 1 : 0);
    const size_t texts = 2 + (report->FormFeed() ? 1 : 0);
    const uint16_t code = ReportDestination::WriteCode(slot.row);
    const std::vector<std::string> frames = rig.Received(code, entries + texts + 4);
    ASSERT_EQ(frames.size(), entries + texts + 4);
    EXPECT_EQ(frames[0].size(), 5u);
    EXPECT_EQ(frames[1].size(), 59u);
    std::string covered = frames[1].substr(9);
    for (size_t i = 2; i + 1 < frames.size(); ++i) {
        if (i < entries + 3) {
            EXPECT_EQ(frames[i].size(), 55u) << i;
        }
        covered += frames[i].substr(5);
    }
    covered += '\0';
    EXPECT_EQ(U32At(frames[1], 5), covered.size());
    EXPECT_EQ(frames.back(), frames.back().substr(0, 5) + '\0' + U32Be(BitwiseCrc32(covered)));
    EXPECT_EQ(frames[entries + 3], frames[0] + "BILL OF LADING" + '\0');
    // A download says nothing else: no "LO", only the connection's own commands.
    for (const std::string& command : rig.Commands()) EXPECT_NE(command, "LO");

    auto back = rig.NewReport();
    back->SetFormFeed(!report->FormFeed());
    ASSERT_TRUE(back->UploadFromDevice(rig.Access(slot.row))) << rig.ui.LastMessage();
    EXPECT_TRUE(rig.ui.Messages().empty()) << rig.ui.LastMessage();
    EXPECT_EQ(back->Columns(), 132);
    EXPECT_EQ(back->LinesPerPage(), 66);
    EXPECT_EQ(back->FormFeed(), report->FormFeed());
    ASSERT_EQ(back->Items().size(), report->Items().size());
    for (size_t i = 0; i < back->Items().size(); ++i) {
        const ReportItem& sent = *report->Items()[i];
        const ReportItem& got = *back->Items()[i];
        SCOPED_TRACE(sent.Text());
        EXPECT_EQ(got.Line(), sent.Line());
        EXPECT_EQ(got.Column(), sent.Column());
        EXPECT_EQ(got.Format(), sent.Format());
        EXPECT_EQ(got.Condition(), sent.Condition());
        EXPECT_EQ(got.ReferenceId(), sent.ReferenceId());
        EXPECT_EQ(got.UseReferenceOffset(), sent.UseReferenceOffset());
        if (sent.IsTextKind()) {
            // A description comes back as the text it showed.
            EXPECT_EQ(got.Type(), kReportItemUserText);
            EXPECT_EQ(got.Text(), sent.Text());
        } else {
            EXPECT_EQ(got.Type(), sent.Type());
            EXPECT_EQ(got.RegisterId(), sent.RegisterId());
            EXPECT_NE(got.Entry(), nullptr);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Slots, ReportSimRoundTrip,
                         ::testing::Values(Slot{Transport::Tcp, 0}, Slot{Transport::Tcp, 1}, Slot{Transport::Tcp, 2},
                                           Slot{Transport::Tcp, 3}, Slot{Transport::Tcp, 4}, Slot{Transport::Pty, 1},
                                           Slot{Transport::Pty, 4}));

TEST(ReportSimDownloadFault, EachRefusedStepEndsTheDownloadWithItsWords) {
    // A value and a text, no form feed: initiation 0, header 1, entries 2-3, terminator 4,
    // text 5, final 6.
    const struct {
        int frame;
        const char* prefix;
    } rows[] = {
        {0, "Unable to initiate transfer - "},     {1, "Error sending first report entry - "},
        {3, "Error sending report entry - "},      {4, "Error sending last report entry - "},
        {5, "Error sending user text entries - "}, {6, "Error sending final packet - "},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.prefix);
        ReportRig rig(Transport::Tcp, {"--fault", "status=8006,code=040D,count=1,skip=" + std::to_string(row.frame)});
        ASSERT_TRUE(rig.Ready()) << rig.Error();
        auto report = rig.NewReport();
        report->InsertItemInOrder(std::make_unique<ReportItem>(0, 0, std::string("TEXT")));
        const uint32_t value = rig.FindRegister([](int, int type, const CParam&) { return IsInteger(type); });
        auto item = std::make_unique<ReportItem>();
        item->MoveTo(1, 0);
        item->SetType(kReportItemValue);
        item->SetRegister(value, rig.dictionary.FindParamByRegisterId(value));
        report->InsertItemInOrder(std::move(item));
        report->SetFormFeed(false);
        EXPECT_FALSE(report->DownloadToDevice(rig.Access(2)));
        EXPECT_EQ(rig.ui.Messages(), std::vector<std::string>{std::string(row.prefix) + " - Bad CRC"});
        // Nothing went out after the refused frame, and the document is as it was.
        EXPECT_EQ(rig.Received(0x040D, static_cast<size_t>(row.frame) + 1).size(), static_cast<size_t>(row.frame) + 1);
        EXPECT_EQ(report->Items().size(), 2u);
        EXPECT_FALSE(report->FormFeed());
        // The slot kept nothing.
        auto back = rig.NewReport();
        EXPECT_FALSE(back->UploadFromDevice(rig.Access(2)));
        EXPECT_EQ(rig.ui.LastMessage(), "Error initiating read -  - No Configuration Available");
    }
}

TEST(ReportSimUploadFault, EachRefusedReadEndsTheUploadWithItsWords) {
    const struct {
        int block;
        const char* message;
    } rows[] = {
        {0, "Error initiating read -  - Block Out of Sequence"},
        {1, "Error occurred during read -  - Block Out of Sequence"},
    };
    for (const auto& row : rows) {
        ReportRig rig(Transport::Tcp, {"--fault", "status=8003,code=0408,count=1,skip=" + std::to_string(row.block)});
        ASSERT_TRUE(rig.Ready()) << rig.Error();
        auto report = rig.NewReport();
        report->InsertItemInOrder(std::make_unique<ReportItem>(3, 3, std::string("KEPT")));
        ASSERT_TRUE(report->DownloadToDevice(rig.Access(0))) << rig.ui.LastMessage();
        EXPECT_FALSE(report->UploadFromDevice(rig.Access(0)));
        EXPECT_EQ(rig.ui.Messages(), std::vector<std::string>{row.message});
        EXPECT_EQ(rig.Received(0x0408, static_cast<size_t>(row.block) + 1).size(), static_cast<size_t>(row.block) + 1);
        ASSERT_EQ(report->Items().size(), 1u);
        EXPECT_EQ(report->Items()[0]->Text(), "KEPT");
    }
}

}  // namespace qs::test::reportsim
