// The card database written to and read back from the simulated controller, through a
// program-data document on TCP/IP connected as the main frame connects it: what went over the
// wire is read back from the simulator's frame log.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "DeviceFrames.h"
#include "ModelFixtures.h"
#include "RecordingUi.h"
#include "appmodel/programdata/DocumentOptionsModel.h"
#include "SimProcess.h"
#include "link/ComPortTable.h"
#include "link/DX3Protocol.h"
#include "programdata/CVexa3Doc.h"
#include "sidedocs/DeviceLinkSource.h"
#include "sidedocs/carddb/CDatabase.h"

namespace qs::test {

namespace {

class CardDbSim : public ::testing::Test {
protected:
    // A simulator on an address of its own and a Minicomputer document on TCP/IP to it.
    void Start(std::vector<std::string> args = {}) {
        SimProcess::Options o;
        o.args = std::move(args);
        sim = std::make_unique<SimProcess>(o);
        ASSERT_TRUE(sim->Running()) << sim->Error();
        DocumentLinkFields f = doc.GetLinkFields();
        f.port = CVexa3Doc::kPortTcp;
        f.protocol = kProtocolMini;
        f.ipv4 = DocumentOptionsModel::ParseIpv4(sim->Host()).value_or(0);
        doc.SetLinkFields(f);
    }

    // The document chosen and connected as the main frame does it.
    DeviceLinkSource Link() {
        DeviceLinkSource s;
        s.chooseDocument = [this] { return &doc; };
        s.connectedProtocol = [](CVexa3Doc& d, bool requireOnline) -> ComProtocol* {
            d.Connect(false);
            DX3Protocol* protocol = d.GetProtocol();
            if (!protocol) return nullptr;
            protocol->SetAddress(d.BaseAddress());
            if (d.State() < CVexa3Doc::kStateReadOnly || (requireOnline && d.State() < CVexa3Doc::kStateOnline)) {
                protocol->ReportError(nullptr, MB_OKCANCEL);
                return nullptr;
            }
            return protocol;
        };
        return s;
    }

    // What the simulator received after the connection's three commands: blocks as "SV"
    // followed by the code in hex, texts as they are.
    std::vector<std::string> Received() const {
        std::vector<std::string> out;
        for (const SimFrame& f : sim->ReadLog()) {
            if (!f.Received() || f.kind != "frame") continue;
            out.push_back(f.binary ? "SV " + Hex(f.text.substr(3, 2)) : f.text);
        }
        return out;
    }

    static CDatabase ThreeCards() {
        CDatabase db;
        db.AddRecord("B1,Smith,Truck 7,Gate 2,0042");
        db.AddRecord("A0,Jones,,,0007");
        db.AddRecord("1F00A2,Brown,Trailer,,9999");
        return db;
    }

    RecordingUi ui;
    ComPortTable ports;
    CVexa3Doc doc{ports, FilesIn(QS_DATA_BUILD_DIR)};
    std::unique_ptr<SimProcess> sim;
};

const std::vector<std::string> kConnect = {"PV SY 111", "GP", "PC SY 111 0"};

std::vector<std::string> Joined(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

TEST_F(CardDbSim, DumpThenReadBackGivesTheSameCardsAndLoFollowsTheDump) {
    Start();
    const CDatabase sent = ThreeCards();
    ASSERT_TRUE(sent.DownloadToDevice(Link(), ui.services)) << ui.LastMessage();
    CDatabase read;
    ASSERT_TRUE(read.UploadFromDevice(Link(), ui.services)) << ui.LastMessage();
    EXPECT_EQ(read.Records(), sent.Records());
    EXPECT_EQ(read.ByteTotal(), sent.ByteTotal());
    EXPECT_TRUE(ui.Messages().empty());
    ASSERT_TRUE(sim->WaitForLog([](const auto& log) { return log.size() >= 20; }));
    // The second connection finds the device identified already.
    EXPECT_EQ(Received(), Joined(kConnect, {"SV 04 19", "SV 04 19", "LO", "PV SY 111", "PC SY 111 0", "SV 04 18",
                                            "SV 04 18"}));
}

TEST_F(CardDbSim, OneLateFinalReplyIsWaitedForAndLoStillFollows) {
    // Longer than one wait for a reply on a connected TCP/IP link, shorter than two.
    Start({"--fault", "late-final=5000"});
    ASSERT_TRUE(ThreeCards().DownloadToDevice(Link(), ui.services)) << ui.LastMessage();
    EXPECT_TRUE(ui.Messages().empty());
    ASSERT_TRUE(sim->WaitForLog([](const auto& log) { return log.size() >= 12; }));
    EXPECT_EQ(Received(), Joined(kConnect, {"SV 04 19", "SV 04 19", "LO"}));
}

TEST_F(CardDbSim, ARefusedDumpSendsNoLo) {
    Start({"--fault", "status=8006,final"});
    EXPECT_FALSE(ThreeCards().DownloadToDevice(Link(), ui.services));
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Error downloading database -  - Bad CRC"});
    ASSERT_TRUE(sim->WaitForLog([](const auto& log) { return log.size() >= 10; }));
    EXPECT_EQ(Received(), Joined(kConnect, {"SV 04 19", "SV 04 19"}));
}

TEST_F(CardDbSim, AReadWithABadCrcKeepsNothing) {
    // The fault spoils reads alone: the dump goes through.
    Start({"--fault", "bad-crc"});
    ASSERT_TRUE(ThreeCards().DownloadToDevice(Link(), ui.services));
    CDatabase read;
    EXPECT_FALSE(read.UploadFromDevice(Link(), ui.services));
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"CRC of returned card database does not match expected value."});
    EXPECT_EQ(read.Count(), 0);
}

}  // namespace qs::test
