// Sending a set to the controller over the scripted device: the frames of a one-line set to the
// byte, the sets refused before anything is sent, and the report of each step that fails.
#include <gtest/gtest.h>

#include <functional>

#include "EquationFixtures.h"
#include "SideDevice.h"
#include "sidedocs/equations/EquationTokens.h"

namespace qs::test::eq {
namespace {

const std::string kHead("SV \x04\x13", 5);

std::string FromHex(const std::string& hex) {
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 3) out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

// "USERFLOAT1 = 2.5 * 2", set and line enabled, as it goes out (before framing and escaping).
const std::vector<std::string> kGolden = {
    FromHex("53 56 20 04 13 "),
    FromHex("53 56 20 04 13 00 00 00 95 45 51 55 41 54 49 4F 4E 53 00 00 00 00 00 00 00 00 00 00 00 "
            "01 05 00 95 00 01 01 F4 00 00 "),
    FromHex("53 56 20 04 13 00 01 00 01 01 14 19 FD 00 00 00 00 00 00 00 00 00 00 04 20 00 00 00 00 00 00 "
            "00 00 00 00 00 00 01 3F 00 00 01 02 00 00 01 00 00 00 01 00 00 00 00 00 "),
    kHead + std::string(50, '\0'),
    FromHex("53 56 20 04 13 00 14 00 01 40 20 00 00 00 19 00 02 02 00 00 00 00 00 "),
    FromHex("53 56 20 04 13 00 57 70 76 D4 "),
};

class EquationDownloadTest : public ::testing::Test {
protected:
    EquationDownloadTest() : doc(Dictionary()) {}

    bool Download() { return doc.Download(dev.Access()); }

    SideDevice dev;
    CEquationDoc doc;
};

TEST_F(EquationDownloadTest, AOneLineSetGoesOutAsPinned) {
    Add(doc, Dest::kUserFloat, 1, "2.5 * 2");
    ASSERT_TRUE(Download()) << dev.ui.LastMessage();
    EXPECT_TRUE(dev.ui.Messages().empty());
    const auto& sent = dev.Blocks();
    ASSERT_EQ(sent.size(), kGolden.size());
    for (size_t i = 0; i < sent.size(); ++i) EXPECT_EQ(Hex(sent[i]), Hex(kGolden[i])) << "frame " << i + 1;
    // The CRC-32 covers every byte after the total, the closing 0x00 included.
    const std::string covered = kGolden[1].substr(9) + kGolden[2].substr(5) + kGolden[3].substr(5) +
                                kGolden[4].substr(5) + std::string(1, '\0');
    EXPECT_EQ(covered.size(), 0x95u);
    EXPECT_EQ(BitwiseCrc32(covered), 0x577076D4u);
    // The table's count and its byte constant 2 go on the line escaped.
    EXPECT_NE(dev.device.stream->Written().find(std::string("\x19\x00\x1BS\x1BS\x00", 7)), std::string::npos);
    ASSERT_EQ(dev.ui.progress.size(), 1u);
    EXPECT_EQ(dev.ui.progress[0]->title, "Downloading Equation...");
    EXPECT_EQ(dev.ui.progress[0]->texts, std::vector<std::string>{"Sending..."});
    EXPECT_EQ(dev.ui.progress[0]->upper, 0x95);
    EXPECT_EQ(dev.ui.progress[0]->steps, 0x95);
}

TEST_F(EquationDownloadTest, CommentsAndDisabledLinesAreSentAsTheyAre) {
    doc.SetDisableFlag(1);
    AddComment(doc, "first");
    Add(doc, Dest::kTempBool, 1, "TRUE AND NOT FALSE").disable = 1;
    AddComment(doc, "between");
    Add(doc, Dest::kUserBool, 2, "TEMPBOOL1");
    ASSERT_TRUE(Download()) << dev.ui.LastMessage();
    const auto& sent = dev.Blocks();
    ASSERT_EQ(sent.size(), 7u);
    // 30 header bytes, two lines, the end record, 10 table bytes and the closing 0x00.
    EXPECT_EQ(Hex(sent[1].substr(5, 4)), Hex(U32(191)));
    EXPECT_EQ(Hex(sent[1].substr(9)), Hex(SetHeader(191, 4).replace(20, 1, 1, '\0')));
    EXPECT_EQ(Hex(sent[2]), Hex(kHead + DeviceLine(1, {25, 25}, {0, 1}, {281}, false)));
    EXPECT_EQ(Hex(sent[3]), Hex(kHead + DeviceLine(2, {10, 253}, {0, 0x06200001}, {258})));
    EXPECT_EQ(Hex(sent[5]), Hex(kHead + TablesOf({}, std::string("\x01\x00", 2))));
}

TEST_F(EquationDownloadTest, SetsThatCannotGoAreRefusedBeforeAnythingIsSent) {
    struct Case {
        const char* name;
        std::function<void(CEquationDoc&)> fill;
        std::string message;
        int choices;
    };
    const auto floats = [](int count) {
        return [count](CEquationDoc& doc) {
            for (int left = count; left > 0; left -= 5) {
                std::string e = "PI";
                for (int i = 1; i < std::min(left, 5); ++i) e += " + PI";
                Add(doc, Dest::kTempFloat, 1, e);
            }
        };
    };
    const auto bytes = [](int lines) {
        return [lines](CEquationDoc& doc) {
            for (int i = 0; i < lines; ++i) Add(doc, Dest::kTempFloat, 1, "1");
        };
    };
    const std::vector<Case> cases = {
        {"only comments", [](CEquationDoc& d) { AddComment(d, "a"); AddComment(d, "b"); },
         "All lines contain comments. Nothing to download.", 1},
        {"1004 table bytes", floats(249), "Constant data exceeds allowable size... reduce number of constants", 1},
        {"12023 bytes", bytes(234), "Equation set too large for destination buffer - reduce size/simplify", 1},
        {"a TEMPBOOL that is gone",
         [](CEquationDoc& d) {
             Add(d, Dest::kTempBool, 2, "TRUE");
             Add(d, Dest::kUserBool, 1, "TEMPBOOL2");
             d.Lines().erase(d.Lines().begin());
             AddComment(d, "last");
         },
         "Equation line 1: Error 9 - TEMP USED BEFORE DEFINITION", 1},
        {"an operator outside the table",
         [](CEquationDoc& d) {
             AddComment(d, "first");
             Add(d, Dest::kTempFloat, 1, "1 + 2").operators[0] = EquationTokens::kUnknownRow;
         },
         "Equation line 2: Error 2 - UNRECOGNIZED ENTRY", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SideDevice dev;
        CEquationDoc doc(Dictionary());
        c.fill(doc);
        EXPECT_FALSE(doc.Download(dev.Access()));
        EXPECT_EQ(dev.ui.Messages(), std::vector<std::string>{c.message});
        EXPECT_EQ(dev.choices, c.choices);
        EXPECT_TRUE(dev.Blocks().empty());
        EXPECT_TRUE(dev.ui.progress.empty());
    }
    // Just within both limits.
    for (const auto& fill : std::vector<std::function<void(CEquationDoc&)>>{floats(248), bytes(233)}) {
        SideDevice dev;
        CEquationDoc doc(Dictionary());
        fill(doc);
        EXPECT_TRUE(doc.Download(dev.Access())) << dev.ui.LastMessage();
    }
}

TEST_F(EquationDownloadTest, EachFailedStepIsReportedWithItsOwnPrefix) {
    const std::vector<std::string> prefixes = {
        "Unable to initiate download - ", "Error writing data - ", "Error downloading equation line - ",
        "Error downloading final equation line - ", "Error sending constant tables - ",
        "Error in response to final packet - "};
    for (int failAt = 0; failAt < static_cast<int>(prefixes.size()); ++failAt) {
        SideDevice dev;
        dev.device.onBlock = [failAt](const std::string&, int index) -> std::optional<std::string> {
            if (index == failAt) return BinaryReply(1, 0x0413, 0x8006);
            return std::nullopt;
        };
        CEquationDoc doc(Dictionary());
        Add(doc, Dest::kUserFloat, 1, "2.5 * 2");
        EXPECT_FALSE(doc.Download(dev.Access()));
        EXPECT_EQ(dev.ui.Messages(), std::vector<std::string>{prefixes[static_cast<size_t>(failAt)] + " - Bad CRC"});
        EXPECT_EQ(dev.ui.prompt.shown[0].type, static_cast<unsigned>(MB_OKCANCEL));
        EXPECT_EQ(dev.Blocks().size(), static_cast<size_t>(failAt + 1));
    }
}

TEST_F(EquationDownloadTest, ACancelledDownloadLeavesNoConstantsForTheNext) {
    Add(doc, Dest::kUserFloat, 1, "2.5 * 2");
    dev.ui.CancelAfterPumps(40);  // within the first line
    EXPECT_FALSE(Download());
    SideDevice again;
    EXPECT_TRUE(doc.Download(again.Access()));
    EXPECT_EQ(Hex(again.Blocks()[4]), Hex(kGolden[4]));
}

}  // namespace
}  // namespace qs::test::eq
