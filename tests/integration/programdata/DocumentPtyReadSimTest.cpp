// A document read from the simulated controller over a serial line (its pty) is saved to the
// same bytes as the same device read over TCP/IP: serial replies taken in pieces, the
// Minicomputer trailer and the check bytes change nothing in what the file holds.
#include <gtest/gtest.h>

#include <string>

#include "DocumentFixtures.h"
#include "RecordingUi.h"
#include "SimRig.h"
#include "TempDir.h"

namespace qs::test {
namespace {

// Six arms with values of their own, some with spaces and the longest names.
std::string DeviceState() {
    std::string s = "[1]\nCF 001 - 6\nCF 002 - 2\nSY 104 - RACK 4 NORTH\nSY 111 3 1\nSY 101 - 10001\n"
                    "BA 101 - SOUTH BAY\n05 002 2 RECIPE FIVE\n";
    for (int a = 1; a <= 6; ++a) {
        const std::string n = std::to_string(a);
        s += "[" + n + "]\nAR 101 - ARM " + n + "\nAR 107 - LANE " + n + "\n";
        for (int m = 1; m <= 6; ++m) s += "M" + std::to_string(m) + " 101 4 METER " + n + "." + std::to_string(m) + "\n";
        s += "M3 103 - " + n + "2.125\nP2 101 - PRODUCT " + n + ".2\n";
    }
    return s;
}

// Reads everything from a fresh simulator on the transport and saves it; the link fields are
// made the same first, so only what was read can differ. The saved bytes, "" on failure.
std::string ReadAllAndSave(Transport transport, Framing framing, const TempDir& dir) {
    RecordingUi ui;
    ComPortTable ports;
    SimRig rig({transport, {"--addresses", "1-6"}, DeviceState()});
    if (!rig.Ready()) {
        ADD_FAILURE() << rig.Error();
        return "";
    }
    CVexa3Doc doc(ports, BuiltDictionary());
    rig.Attach(doc, framing);
    if (doc.Connect(true) < CVexa3Doc::kStateReadOnly || !doc.ReadAllFromDevice(nullptr)) {
        ADD_FAILURE() << "Read All failed: " << ui.LastMessage();
        return "";
    }
    EXPECT_TRUE(ui.errorLog.lines.empty());
    auto f = doc.GetLinkFields();
    f.port = CVexa3Doc::kPortTcp;
    f.ipv4 = 0x7F000001;
    doc.SetLinkFields(f);
    const std::string path = dir.File(transport == Transport::Pty ? "pty.D3X" : "tcp.D3X");
    if (!doc.Save(path)) {
        ADD_FAILURE() << "the save failed";
        return "";
    }
    return ReadWhole(path);
}

class DocumentPtyReadSim : public ::testing::TestWithParam<Framing> {};

TEST_P(DocumentPtyReadSim, SavesTheSameBytesAsAReadOverTcp) {
    TempDir dir;
    const std::string overTcp = ReadAllAndSave(Transport::Tcp, GetParam(), dir);
    const std::string overPty = ReadAllAndSave(Transport::Pty, GetParam(), dir);
    ASSERT_FALSE(overTcp.empty());
    // The state's own values made it into the file.
    EXPECT_NE(overTcp.find("METER 6.6"), std::string::npos);
    EXPECT_NE(overTcp.find("RECIPE FIVE"), std::string::npos);
    EXPECT_TRUE(overPty == overTcp) << "sizes " << overPty.size() << " and " << overTcp.size();
}

INSTANTIATE_TEST_SUITE_P(Framings, DocumentPtyReadSim, ::testing::Values(Framing::Terminal, Framing::Mini),
                         [](const auto& info) { return info.param == Framing::Mini ? "Mini" : "Terminal"; });

}  // namespace
}  // namespace qs::test
