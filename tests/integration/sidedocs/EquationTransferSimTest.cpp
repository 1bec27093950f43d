// Equation sets to and from the simulated controller over loopback TCP and over a pty, through
// a program-data document connected as the main frame connects it.
#include <gtest/gtest.h>

#include <cstring>

#include "../../unit/sidedocs/EquationBytes.h"
#include "EquationDevice.h"
#include "RecordingUi.h"
#include "programdata/ParamDictionary.h"
#include "sidedocs/equations/EquationDestinations.h"

namespace qs::test::eqsim {
namespace {

using Dest = EquationDestinations;
constexpr uint16_t kWrite = 0x0413;
constexpr uint16_t kRead = 0x0412;

const ParamDictionary& Dictionary() {
    static ParamDictionary dictionary;
    static const bool loaded = dictionary.LoadFile(std::string(QS_DATA_BUILD_DIR) + "/PARAM.DAT");
    EXPECT_TRUE(loaded);
    return dictionary;
}

using namespace eqbytes;

// A set as the controller holds it, its constants numbered in the order the lines use them:
// two unnamed results a third line uses, a condition, a disabled timer.
std::string Held() {
    const std::string lines = DeviceLine(1, {25, 25}, {0, 1}, {281}) + DeviceLine(2, {20, 25}, {0, 2}, {319}) +
                              DeviceLine(3, {10, 12, 253}, {0, 1, 0x04200004}, {277, 258}) +
                              DeviceLine(4, {25, 25, 25, 253}, {4, 5, 3, 0x06200000}, {317, 268, 258}) +
                              DeviceLine(5, {25, 253}, {6, 0x071E0200}, {258}, false);
    return HeldSet(lines, TablesOf({2.5f}, std::string("\x01\x00\x07\x01\x02\x03\xC8\x00", 8)), 5);
}

const std::vector<std::string> kHeldTexts = {"TEMPBOOL1 = 1 AND NOT 0", "TEMPFLOAT1 = 2.5 * 7",
                                             "USERFLOAT5 = TEMPBOOL1 AND TEMPFLOAT1", "USERBOOL1 = 1 IF 2 + 3",
                                             "TIMER3 = 200"};

std::vector<std::string> Texts(const CEquationDoc& doc) {
    std::vector<std::string> out;
    for (const auto& l : doc.Lines()) out.push_back(l->text);
    return out;
}

void AddLine(CEquationDoc& doc, int type, int index, const std::string& expression) {
    auto line = std::make_unique<CEquation>();
    line->type = type;
    line->index = static_cast<int16_t>(index);
    ASSERT_TRUE(line->ParseExpression(expression, doc.Context()).Ok()) << expression;
    line->SetText(nullptr, doc.Dictionary());
    doc.Lines().push_back(std::move(line));
}

class EquationTransferSim : public ::testing::TestWithParam<Transport> {
protected:
    RecordingUi ui;
};

TEST_P(EquationTransferSim, AOneLineSetIsTakenAndServedBack) {
    EquationDevice device(GetParam(), ui.services);
    ASSERT_TRUE(device.Ready()) << device.Error();
    CEquationDoc set(Dictionary());
    AddLine(set, Dest::kUserFloat, 1, "2.5 * 2");
    ASSERT_TRUE(set.Download(device.Link(true), ui.services)) << ui.LastMessage();
    EXPECT_TRUE(ui.Messages().empty());

    const auto blocks = device.Exchanges(kWrite, 6);
    ASSERT_EQ(blocks.size(), 6u);
    for (const auto& b : blocks) EXPECT_EQ(b.status, 0);
    EXPECT_EQ(blocks[1].block.substr(5, 4), U32(0x95));
    EXPECT_EQ(blocks[5].block, std::string("SV \x04\x13\x00\x57\x70\x76\xD4", 10));

    CEquationDoc back(Dictionary());
    ASSERT_TRUE(back.Upload(device.Link(false), ui.services)) << ui.LastMessage();
    EXPECT_EQ(Texts(back), std::vector<std::string>{"USERFLOAT1 = 2.5 * 2"});
    // What the controller serves is every byte sent but the closing 0x00.
    const std::string sent =
        blocks[1].block.substr(9) + blocks[2].block.substr(5) + blocks[3].block.substr(5) + blocks[4].block.substr(5);
    EXPECT_EQ(device.ReadsServed(kRead, 2), std::vector<std::string>{sent});
}

TEST_P(EquationTransferSim, AHeldSetReadAndSentBackIsTheSameBytes) {
    EquationDevice device(GetParam(), ui.services, {"--block-size", "100"}, Held());
    ASSERT_TRUE(device.Ready()) << device.Error();
    CEquationDoc first(Dictionary());
    ASSERT_TRUE(first.Upload(device.Link(false), ui.services)) << ui.LastMessage();
    EXPECT_EQ(Texts(first), kHeldTexts);
    ASSERT_TRUE(first.Download(device.Link(true), ui.services)) << ui.LastMessage();
    CEquationDoc second(Dictionary());
    ASSERT_TRUE(second.Upload(device.Link(false), ui.services)) << ui.LastMessage();
    EXPECT_EQ(Texts(second), kHeldTexts);
    EXPECT_EQ(second.Lines()[4]->disable, 1);
    const auto reads = device.ReadsServed(kRead, 2 * (1 + (Held().size() + 99) / 100));
    ASSERT_EQ(reads.size(), 2u);
    EXPECT_EQ(reads[0], Held());
    EXPECT_EQ(reads[1], Held());
    EXPECT_TRUE(ui.Messages().empty()) << ui.LastMessage();
}

TEST_P(EquationTransferSim, ATableFrameOfAThousandEscapedBytesIsTaken) {
    EquationDevice device(GetParam(), ui.services);
    ASSERT_TRUE(device.Ready()) << device.Error();
    CEquationDoc set(Dictionary());
    for (int i = 1; i <= 198; ++i) AddLine(set, Dest::kTempFloat, i, "2 + 3 + 2 + 3 + 2");
    ASSERT_TRUE(set.Download(device.Link(true), ui.services)) << ui.LastMessage();
    const size_t frames = 1 + 1 + 198 + 1 + 1 + 1;
    const auto blocks = device.Exchanges(kWrite, frames);
    ASSERT_EQ(blocks.size(), frames);
    for (const auto& b : blocks) EXPECT_EQ(b.status, 0);
    EXPECT_EQ(blocks[frames - 2].block.size(), 5u + 4 + 990 + 4);
    EXPECT_GT(blocks[frames - 2].wire.size(), 2000u);

    CEquationDoc back(Dictionary());
    ASSERT_TRUE(back.Upload(device.Link(false), ui.services)) << ui.LastMessage();
    ASSERT_EQ(back.Lines().size(), 198u);
    EXPECT_EQ(back.Lines()[197]->text, "<NOT USED> = 2 + 3 + 2 + 3 + 2");
}

INSTANTIATE_TEST_SUITE_P(Links, EquationTransferSim, ::testing::Values(Transport::Tcp, Transport::Pty),
                         [](const auto& info) { return std::string(Name(info.param)); });

TEST(EquationTransferSimFaults, ARefusedFinalFrameAddsNothing) {
    RecordingUi ui;
    EquationDevice device(Transport::Tcp, ui.services, {"--fault", "status=8006,code=0413,final"}, Held());
    ASSERT_TRUE(device.Ready()) << device.Error();
    CEquationDoc set(Dictionary());
    AddLine(set, Dest::kUserFloat, 1, "2.5 * 2");
    EXPECT_FALSE(set.Download(device.Link(true), ui.services));
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Error in response to final packet -  - Bad CRC"});
    CEquationDoc back(Dictionary());
    ASSERT_TRUE(back.Upload(device.Link(false), ui.services)) << ui.LastMessage();
    EXPECT_EQ(Texts(back), kHeldTexts);
}

TEST(EquationTransferSimFaults, AnUploadFailingItsCrcAddsNothing) {
    RecordingUi ui;
    EquationDevice device(Transport::Tcp, ui.services, {"--fault", "bad-crc,code=0412"}, Held());
    ASSERT_TRUE(device.Ready()) << device.Error();
    CEquationDoc back(Dictionary());
    EXPECT_FALSE(back.Upload(device.Link(false), ui.services));
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"CRC of returned equation set does not match expected value."});
    EXPECT_TRUE(back.Lines().empty());
}

}  // namespace
}  // namespace qs::test::eqsim
