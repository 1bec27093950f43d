// Every side-document kind to and from the simulated controller over loopback TCP/IP and over a
// pty, through a program-data document connected as the main window connects it: what a download
// sends, the controller keeps and an upload brings back; the kinds kept per address keep one
// set each; one case per named fault; and what particular kinds put on the wire. How the
// program reacts to each answer is shown by the unit tests.
#include <gtest/gtest.h>

#include <tuple>

#include "EquationBytes.h"
#include "RecordingUi.h"
#include "SideDocumentKinds.h"
#include "SimRig.h"
#include "link/ComPortTable.h"

namespace qs::test {
namespace {

// The simulator, and a program-data document on it at `address` in Minicomputer framing.
struct SideRig {
    explicit SideRig(SimRig::Setup setup, int address = 1) : rig(std::move(setup)) {
        rig.Attach(doc, Framing::Mini);
        doc.SetBaseAddress(address);
    }
    DeviceAccess Access() { return AccessThrough(doc, ui.services); }
    long LoCount() const {
        const std::vector<std::string> commands = rig.Commands();
        return std::count(commands.begin(), commands.end(), "LO");
    }

    RecordingUi ui;
    SimRig rig;
    ComPortTable ports;
    CVexa3Doc doc{ports, DefinitionSource{}};
};

class SideDocumentSim : public ::testing::TestWithParam<std::tuple<SideKind::Id, Transport>> {};

TEST_P(SideDocumentSim, WhatIsSentIsKeptAndComesBack) {
    const auto [id, transport] = GetParam();
    SideRig side(SimRig::Setup{.transport = transport});
    ASSERT_TRUE(side.rig.Ready()) << side.rig.Error();
    auto sent = SideKind::Make(id, side.ui.services);
    sent->Fill();
    ASSERT_TRUE(sent->Download(side.Access())) << side.ui.LastMessage();
    auto back = SideKind::Make(id, side.ui.services);
    ASSERT_TRUE(back->Upload(side.Access())) << side.ui.LastMessage();
    EXPECT_EQ(back->DeviceContent(), sent->DeviceContent());
    EXPECT_TRUE(side.ui.Messages().empty()) << side.ui.LastMessage();
    EXPECT_EQ(side.LoCount(), sent->sendsLo ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(KindsAndLinks, SideDocumentSim,
                         ::testing::Combine(::testing::ValuesIn(SideKind::kAll),
                                            ::testing::Values(Transport::Tcp, Transport::Pty)),
                         [](const auto& info) {
                             return std::string(SideKind::Name(std::get<0>(info.param))) +
                                    std::string(Name(std::get<1>(info.param)));
                         });

class SideDocumentSimPerAddress : public ::testing::TestWithParam<SideKind::Id> {};

TEST_P(SideDocumentSimPerAddress, EachAddressKeepsItsOwn) {
    SideRig one(SimRig::Setup{.args = {"--addresses", "1,2"}}, 1);
    ASSERT_TRUE(one.rig.Ready()) << one.rig.Error();
    ComPortTable ports;
    CVexa3Doc second(ports, DefinitionSource{});
    one.rig.Attach(second, Framing::Mini);
    second.SetBaseAddress(2);

    auto first = SideKind::Make(GetParam(), one.ui.services);
    first->Fill();
    ASSERT_TRUE(first->Download(one.Access())) << one.ui.LastMessage();
    auto empty = SideKind::Make(GetParam(), one.ui.services);
    EXPECT_FALSE(empty->Upload(AccessThrough(second, one.ui.services)));
    EXPECT_EQ(one.ui.LastMessage(), "Error initiating read -  - No Configuration Available");
    auto back = SideKind::Make(GetParam(), one.ui.services);
    ASSERT_TRUE(back->Upload(one.Access())) << one.ui.LastMessage();
    EXPECT_EQ(back->DeviceContent(), first->DeviceContent());
}

INSTANTIATE_TEST_SUITE_P(Kinds, SideDocumentSimPerAddress,
                         ::testing::Values(SideKind::kTranslations, SideKind::kCardDatabase),
                         [](const auto& info) { return std::string(SideKind::Name(info.param)); });

TEST(SideDocumentSimFaults, ARefusedLastFrameKeepsNothingAndABadCrcTakesNothing) {
    {
        SideRig side(SimRig::Setup{.args = {"--fault", "status=8006,code=0413,final"}});
        ASSERT_TRUE(side.rig.Ready()) << side.rig.Error();
        auto sent = SideKind::Make(SideKind::kEquations, side.ui.services);
        sent->Fill();
        EXPECT_FALSE(sent->Download(side.Access()));
        EXPECT_EQ(side.ui.Messages(), std::vector<std::string>{"Error in response to final packet -  - Bad CRC"});
        auto back = SideKind::Make(SideKind::kEquations, side.ui.services);
        EXPECT_FALSE(back->Upload(side.Access()));
        EXPECT_EQ(side.ui.LastMessage(), "Error initiating Read -  - No Configuration Available");
    }
    {
        SideRig side(SimRig::Setup{.args = {"--fault", "bad-crc,code=0418"}});
        ASSERT_TRUE(side.rig.Ready()) << side.rig.Error();
        auto sent = SideKind::Make(SideKind::kCardDatabase, side.ui.services);
        sent->Fill();
        ASSERT_TRUE(sent->Download(side.Access())) << side.ui.LastMessage();
        auto back = SideKind::Make(SideKind::kCardDatabase, side.ui.services);
        EXPECT_FALSE(back->Upload(side.Access()));
        EXPECT_EQ(side.ui.Messages(), std::vector<std::string>{back->badCrc});
        EXPECT_EQ(back->DeviceContent(), "");
    }
}

// ---- what particular kinds put on the wire

using namespace eqbytes;

// An equation set as the controller holds it, its constants numbered in the order the lines
// use them: two unnamed results a third line uses, a condition, a disabled timer.
std::string HeldEquations() {
    const std::string lines = DeviceLine(1, {25, 25}, {0, 1}, {281}) + DeviceLine(2, {20, 25}, {0, 2}, {319}) +
                              DeviceLine(3, {10, 12, 253}, {0, 1, 0x04200004}, {277, 258}) +
                              DeviceLine(4, {25, 25, 25, 253}, {4, 5, 3, 0x06200000}, {317, 268, 258}) +
                              DeviceLine(5, {25, 253}, {6, 0x071E0200}, {258}, false);
    return HeldSet(lines, TablesOf({2.5f}, std::string("\x01\x00\x07\x01\x02\x03\xC8\x00", 8)), 5);
}

TEST(EquationSim, AHeldSetReadAndSentBackIsTheSameBytes) {
    SideRig side(SimRig::Setup{.args = {"--block-size", "100"}, .dataSets = {{"0412.bin", HeldEquations()}}});
    ASSERT_TRUE(side.rig.Ready()) << side.rig.Error();
    sidekinds::Equations first(side.ui.services);
    ASSERT_TRUE(first.Upload(side.Access())) << side.ui.LastMessage();
    ASSERT_TRUE(first.Download(side.Access())) << side.ui.LastMessage();
    EXPECT_EQ(ReadWhole(side.rig.DataFile("0412.bin")), HeldEquations());
    sidekinds::Equations second(side.ui.services);
    ASSERT_TRUE(second.Upload(side.Access())) << side.ui.LastMessage();
    EXPECT_EQ(second.DeviceContent(), first.DeviceContent());
    EXPECT_TRUE(side.ui.Messages().empty()) << side.ui.LastMessage();
}

class EquationSimLinks : public ::testing::TestWithParam<Transport> {};

TEST_P(EquationSimLinks, ATableFrameOfAThousandEscapedBytesIsTaken) {
    SideRig side(SimRig::Setup{.transport = GetParam()});
    ASSERT_TRUE(side.rig.Ready()) << side.rig.Error();
    sidekinds::Equations set(side.ui.services);
    for (int i = 1; i <= 198; ++i) {
        auto line = std::make_unique<CEquation>();
        line->type = EquationDestinations::kTempFloat;
        line->index = static_cast<int16_t>(i);
        ASSERT_TRUE(line->ParseExpression("2 + 3 + 2 + 3 + 2", set.doc.Context()).Ok());
        set.doc.Lines().push_back(std::move(line));
    }
    ASSERT_TRUE(set.Download(side.Access())) << side.ui.LastMessage();
    const std::vector<std::string> blocks = side.rig.Blocks();
    ASSERT_EQ(blocks.size(), 1u + 1 + 198 + 1 + 1 + 1);
    EXPECT_EQ(blocks[blocks.size() - 2].size(), 5u + 4 + 990 + 4);
    sidekinds::Equations back(side.ui.services);
    ASSERT_TRUE(back.Upload(side.Access())) << side.ui.LastMessage();
    ASSERT_EQ(back.doc.Lines().size(), 198u);
    EXPECT_EQ(back.doc.Lines()[197]->text, "<NOT USED> = 2 + 3 + 2 + 3 + 2");
}

INSTANTIATE_TEST_SUITE_P(Links, EquationSimLinks, ::testing::Values(Transport::Tcp, Transport::Pty),
                         [](const auto& info) { return std::string(Name(info.param)); });

// A register of the build's dictionary that `pick` accepts (directory, data type, entry), with
// instance 1 when it has instances; 0 when there is none.
uint32_t FindRegister(const std::function<bool(int, int, const CParam&)>& pick) {
    const ParamDictionary& dictionary = BuiltParamDictionary();
    for (int dir = 0; dir < ParamDictionary::kDirectories; ++dir) {
        for (int type = 0; type < ParamDictionary::kDataTypes; ++type) {
            int position = 0;
            for (const CParam* p = dictionary.Head(dir, type); p && p->dictDirectory == dir && p->dataType == type;
                 p = p->Next(), ++position) {
                if (pick(dir, type, *p))
                    return MakeRegisterId(0, static_cast<unsigned>(type), static_cast<unsigned>(dir),
                                          static_cast<unsigned>(position), p->instances ? 1 : 0);
            }
        }
    }
    return 0;
}

bool IsRunData(int dir) { return dir == 16 || dir == 17 || dir == 18 || dir == 19 || dir == 38; }
bool IsInteger(int type) { return type != 0 && type != 4 && type != 5; }

TEST(ReportSim, EntriesOfEveryKindGoToEverySlotAndComeBack) {
    const uint32_t run = FindRegister([](int dir, int, const CParam& p) { return IsRunData(dir) && p.instances > 1; });
    const uint32_t plain = FindRegister(
        [](int dir, int type, const CParam& p) { return !IsRunData(dir) && IsInteger(type) && p.instances > 1; });
    const uint32_t option = FindRegister([](int, int, const CParam& p) { return p.HasOptionList(); });
    const uint32_t reference =
        FindRegister([](int dir, int type, const CParam& p) { return dir == 17 && IsInteger(type) && p.instances > 1; });
    ASSERT_NE(run, 0u);
    ASSERT_NE(plain, 0u);
    ASSERT_NE(option, 0u);
    ASSERT_NE(reference, 0u);
    SideRig side(SimRig::Setup{});
    ASSERT_TRUE(side.rig.Ready()) << side.rig.Error();
    for (int row = 0; row < 5; ++row) {
        SCOPED_TRACE(row);
        sidekinds::Reports sent(side.ui.services);
        CReport& report = sent.doc;
        auto add = [&](int line, int column, int type, uint32_t id, const char* format) {
            auto item = std::make_unique<ReportItem>();
            item->MoveTo(line, column);
            item->SetType(type);
            item->SetRegister(id, BuiltParamDictionary().FindParamByRegisterId(id));
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
        report.SetFormFeed(row % 2 == 0);
        const ReportSlotChoice slot = [row] { return std::optional<int>(row); };
        ASSERT_TRUE(report.DownloadToDevice(side.Access(), slot)) << side.ui.LastMessage();
        sidekinds::Reports back(side.ui.services);
        ASSERT_TRUE(back.doc.UploadFromDevice(side.Access(), slot)) << side.ui.LastMessage();
        EXPECT_EQ(back.doc.FormFeed(), report.FormFeed());
        ASSERT_EQ(back.doc.Items().size(), report.Items().size());
        for (size_t i = 0; i < report.Items().size(); ++i) {
            const ReportItem& s = *report.Items()[i];
            const ReportItem& g = *back.doc.Items()[i];
            EXPECT_EQ(g.Line(), s.Line());
            EXPECT_EQ(g.Column(), s.Column());
            EXPECT_EQ(g.Format(), s.Format());
            EXPECT_EQ(g.Condition(), s.Condition());
            EXPECT_EQ(g.ReferenceId(), s.ReferenceId());
            EXPECT_EQ(g.UseReferenceOffset(), s.UseReferenceOffset());
            // A description comes back as the text it showed.
            EXPECT_EQ(g.Type(), s.IsTextKind() ? kReportItemUserText : s.Type());
            if (s.IsTextKind()) EXPECT_EQ(g.Text(), s.Text());
            else EXPECT_EQ(g.RegisterId(), s.RegisterId());
        }
    }
    EXPECT_TRUE(side.ui.Messages().empty()) << side.ui.LastMessage();
    EXPECT_EQ(side.LoCount(), 0);
}

}  // namespace
}  // namespace qs::test
