// The firmware upgrade against the simulated controller (the "UF" that reboots it) and a real
// FTP server at the same loopback address (the erase and the upload), with the server's
// faults: what reaches each side, and how each fault ends.
#include <gtest/gtest.h>

#include <algorithm>

#include "DeviceFrames.h"
#include "DocumentFixtures.h"
#include "FtpServerProcess.h"
#include "RecordingUi.h"
#include "SimRig.h"
#include "TempDir.h"
#include "appmodel/firmware/FirmwareUpgrade.h"
#include "link/FtpSession.h"
#include "platform/Clock.h"
#include "programdata/CVexa3Doc.h"

namespace qs::test {
namespace {

using F = FirmwareUpgrade;

constexpr uint32_t kController1126 = 0x0A463B8B;  // the simulated controller's own firmware

std::string Image(size_t size) {
    std::string body(size - 4, '\0');
    for (size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>((i * 131 + i / 251) & 0xFF);
    return WithCrc32(body, kController1126);
}

bool Has(const std::vector<std::string>& lines, const std::string& prefix) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
}

class FirmwareFtpSim : public ::testing::TestWithParam<Framing> {
protected:
    const FtpTimeouts own{3000, 3000, 1000, 0};

    // The simulator with `simArgs`, the FTP server with `faults` at its address, and an
    // online document on the simulator.
    void Start(std::vector<std::string> faults = {}, std::vector<std::string> simArgs = {}) {
        sim = std::make_unique<SimRig>(SimRig::Setup{.args = std::move(simArgs)});
        ASSERT_TRUE(sim->Ready()) << sim->Error();
        ftp = std::make_unique<FtpServerProcess>(FtpServerProcess::Options{.host = sim->Host(), .faults = faults});
        ASSERT_TRUE(ftp->Running()) << ftp->Error();
        ftp->Put("D3XNET.BIN", "the old image");
        doc = std::make_unique<CVexa3Doc>(ports, FilesIn(definitions.Path()));
        sim->Attach(*doc, GetParam());
        ASSERT_EQ(doc->Connect(false), CVexa3Doc::kStateOnline);
        session = std::make_unique<FtpSession>(ftp->Port(), steady);
        session->SetTimeouts(own);
        services = ui.services;
        services.clock = &pause;
    }

    // Runs the controller's upgrade; the image's revision is the device's, which is confirmed.
    bool Run(const std::string& image, const std::string& code = "4711", int transferTimeoutMs = 99999) {
        folder.Write("D3XNET.BIN", image);
        ui.prompt.Answer(IDOK);  // erase warning
        ui.prompt.Answer(IDOK);  // already installed
        FirmwareUpgrade upgrade(FirmwareVariant::Controller(), *doc,
                                FirmwareUpgradeServices{
                                    .ui = services,
                                    .ftp = *session,
                                    .timeouts = own,
                                    .askAccessCode = [code] { return std::optional<std::string>(code); },
                                    .waitCursor = {},
                                    .rest = [this](int ms) { pause.now += ms; },
                                    .imageFolder = folder.Path(),
                                    .transferTimeoutMs = transferTimeoutMs,
                                });
        return upgrade.Run();
    }

    std::vector<std::string> Said() const {
        std::vector<std::string> all = ui.Messages();
        // The erase warning and the revision's.
        all.erase(all.begin(), all.begin() + std::min<std::ptrdiff_t>(2, static_cast<std::ptrdiff_t>(all.size())));
        return all;
    }

    RecordingUi ui;
    UiServices services;
    FakeClock pause;  // the reboot pause is waited on it; the FTP session's time-outs are real
    SteadyClock steady;
    TempDir definitions, folder;
    ComPortTable ports;
    std::unique_ptr<SimRig> sim;
    std::unique_ptr<FtpServerProcess> ftp;
    std::unique_ptr<CVexa3Doc> doc;
    std::unique_ptr<FtpSession> session;
};

TEST_P(FirmwareFtpSim, TheImageReachesTheDeviceByteForByteAfterItsReboot) {
    Start();
    const std::string image = Image(300000);
    EXPECT_TRUE(Run(image));
    EXPECT_EQ(Said(), std::vector<std::string>{F::kDone});
    EXPECT_EQ(ftp->Read("D3XNET.BIN"), image);
    EXPECT_EQ(doc->State(), CVexa3Doc::kStateOffline);
    EXPECT_EQ(session->Timeouts(), own);

    ASSERT_TRUE(sim->WaitForCommand("UF", 1));
    const std::vector<Exchange> exchanges = sim->Exchanges();
    EXPECT_EQ(exchanges.back().command, "UF");
    EXPECT_EQ(exchanges.back().reply, "UF");

    // The validation login, then the upgrade's: erase, then the upload in binary over a data
    // connection the server opens (PORT), never a passive one.
    const std::vector<std::string> commands = ftp->Commands();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), "USER Quillset"), 2);
    EXPECT_EQ(std::count(commands.begin(), commands.end(), "PASS ******"), 2);
    const auto dele = std::find(commands.begin(), commands.end(), "DELE D3XNET.BIN");
    const auto stor = std::find(commands.begin(), commands.end(), "STOR D3XNET.BIN");
    ASSERT_NE(dele, commands.end());
    ASSERT_NE(stor, commands.end());
    EXPECT_LT(dele, stor);
    EXPECT_TRUE(Has(commands, "PORT 127,"));
    EXPECT_TRUE(Has(commands, "TYPE I"));
    for (const char* passive : {"PASV", "EPSV", "EPRT"}) EXPECT_FALSE(Has(commands, passive)) << passive;
    EXPECT_EQ(commands.back(), "QUIT");
}

TEST_P(FirmwareFtpSim, AWrongAccessCodeStopsAtTheLoginAndTheDeviceIsNotRebooted) {
    Start();
    EXPECT_FALSE(Run(Image(4096), "4712"));
    EXPECT_EQ(Said(), std::vector<std::string>{F::kInvalidCode});
    EXPECT_EQ(ftp->Commands(), (std::vector<std::string>{"USER Quillset", "PASS ******"}));
    const std::vector<std::string> sent = sim->Commands();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "UF"), 0);
    EXPECT_EQ(ftp->Read("D3XNET.BIN"), "the old image");
    EXPECT_EQ(doc->State(), CVexa3Doc::kStateOnline);
}

TEST_P(FirmwareFtpSim, ADeviceThatRefusesTheRebootIsNotErased) {
    Start({}, {"--fault", "reject=06,on=UF"});
    EXPECT_FALSE(Run(Image(4096)));
    const std::vector<std::string> said = Said();
    ASSERT_EQ(said.size(), 2u);
    EXPECT_EQ(said[0], "Command Rejected -  - Operation Not Allowed");
    EXPECT_EQ(said[1], F::kRamExecutiveFailed);
    EXPECT_FALSE(Has(ftp->Commands(), "DELE"));
    EXPECT_EQ(ftp->Read("D3XNET.BIN"), "the old image");
}

INSTANTIATE_TEST_SUITE_P(Framings, FirmwareFtpSim, ::testing::Values(Framing::Terminal, Framing::Mini), LinkName());

// The server's faults during the upgrade; the device's framing does not matter to them.
class FirmwareFtpFaults : public FirmwareFtpSim {};

TEST_P(FirmwareFtpFaults, ARefusedEraseEndsWithTheSessionsOwnTimeouts) {
    Start({"dele-refused"});
    EXPECT_FALSE(Run(Image(4096)));
    EXPECT_EQ(Said(), std::vector<std::string>{F::kEraseRefused});
    EXPECT_FALSE(Has(ftp->Commands(), "STOR"));
    EXPECT_EQ(ftp->Read("D3XNET.BIN"), "the old image");
    EXPECT_EQ(session->Timeouts(), own);
    EXPECT_EQ(doc->State(), CVexa3Doc::kStateOnline);
}

TEST_P(FirmwareFtpFaults, AConnectionDroppedDuringTheEraseIsOpenedAgainAndTheUploadGoesOn) {
    Start({"dele-close"});
    const std::string image = Image(4096);
    EXPECT_TRUE(Run(image));
    EXPECT_EQ(Said(), (std::vector<std::string>{F::kEraseLost, F::kDone}));
    EXPECT_EQ(ftp->Read("D3XNET.BIN"), image);
}

TEST_P(FirmwareFtpFaults, AServerThatStallsMidUploadEndsAtTheTimeOut) {
    Start({"stall=65536"});
    const std::string image = Image(8u << 20);
    EXPECT_FALSE(Run(image, "4711", 1500));
    EXPECT_EQ(Said(), std::vector<std::string>{F::kUploadFailed});
    EXPECT_LT(ftp->Read("D3XNET.BIN").size(), image.size());
    EXPECT_EQ(session->Timeouts(), own);
    EXPECT_EQ(doc->State(), CVexa3Doc::kStateOnline);
}

INSTANTIATE_TEST_SUITE_P(Terminal, FirmwareFtpFaults, ::testing::Values(Framing::Terminal), LinkName());

}  // namespace
}  // namespace qs::test
