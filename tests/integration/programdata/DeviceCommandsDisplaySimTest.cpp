// Remote Display and Interactive Display against the simulated controller, with stand-in
// emulator programs: the command lines they get, the hand-over request on the serial line,
// the port let go and taken back, and every way the launch stops before it starts anything.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "DeviceFrames.h"
#include "DocumentFixtures.h"
#include "SimRig.h"
#include "FakeEmulator.h"
#include "RecordingUi.h"
#include "TestEnv.h"
#include "platform/ProcessLauncher.h"
#include "appmodel/programdata/DeviceCommands.h"

namespace qs::test {
namespace {

using Args = std::vector<std::string>;

class DeviceCommandsDisplaySim : public ::testing::Test {
protected:
    void Open(SimRig& device, Framing framing, const std::string& programDir) {
        ASSERT_TRUE(device.Ready()) << device.Error();
        doc = std::make_unique<CVexa3Doc>(ports, BuiltDictionary(), &options);
        device.Attach(*doc, framing);
        DeviceCommandHooks hooks;
        hooks.setMainTitle = [this](const std::string& t) { titles.push_back(t); };
        hooks.minimiseMain = [this] { ++minimised; };
        services.emplace(AppServices{.ui = Ui(), .options = options, .ports = ports, .launcher = launcher,
                                     .programDir = programDir});
        commands = std::make_unique<DeviceCommands>(*doc, *services, hooks);
    }
    // The one program started, waited for until it has ended; its arguments.
    std::optional<Args> StartedWith(const std::string& name) {
        EXPECT_EQ(launcher.Running().size(), 1u);
        if (launcher.Running().size() != 1) return std::nullopt;
        EXPECT_TRUE(FakeEmulator::WaitEnded(launcher.Running()[0]));
        return fakes.Arguments(name);
    }
    // The binary blocks the device received.
    static std::vector<SimFrame> Blocks(SimRig& device) {
        std::vector<SimFrame> out;
        for (const SimFrame& f : device.Sim().ReadLog())
            if (f.kind == "frame" && f.binary && f.Received()) out.push_back(f);
        return out;
    }

    RecordingUi ui;
    AppOptions options;
    ComPortTable ports;
    ProcessLauncher launcher;
    FakeEmulator fakes;
    // The core still speaks through the program's own services, which the recording fakes
    // stand in for: the commands get the same.
    std::optional<AppServices> services;
    std::unique_ptr<CVexa3Doc> doc;
    std::unique_ptr<DeviceCommands> commands;
    std::vector<std::string> titles;
    int minimised = 0;
};

TEST_F(DeviceCommandsDisplaySim, OverTcpFarviewGetsTheAddressAndTheLayoutAndQuillsetStaysOnline) {
    for (const auto& [cf, layout] : std::vector<std::pair<std::string, Args>>{{"CF 14", {"QUAD"}}, {"CF 10", {}}}) {
        SCOPED_TRACE(cf);
        SimRig device({Transport::Tcp, {"--cf", cf}, ""});
        fakes.Install("farview");
        fakes.Forget("farview");
        Open(device, Framing::Mini, fakes.Folder());
        ASSERT_TRUE(commands->Execute(kCmdGoOnline));
        ASSERT_TRUE(commands->Execute(kCmdRemoteDisplay));
        char addr[16];
        std::snprintf(addr, sizeof addr, "ADDR%08X", SimRig::Ipv4Of(device.Host()));
        Args expected = {"COM0", addr};
        expected.insert(expected.end(), layout.begin(), layout.end());
        EXPECT_EQ(StartedWith("farview"), expected);
        EXPECT_EQ(titles, Args{"Quillset"});
        EXPECT_EQ(minimised, 0);
        EXPECT_EQ(doc->State(), CVexa3Doc::kStateOnline);
        EXPECT_TRUE(Blocks(device).empty());
        // The link is still ours.
        EXPECT_EQ(doc->SendCommand("LO"), std::optional<std::string>("LO"));
        EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
        launcher.ReapFinished();
        titles.clear();
        commands.reset();
        doc.reset();
    }
}

TEST_F(DeviceCommandsDisplaySim, AProgramNotBesideQuillsetIsFoundOnPath) {
    SimRig device({Transport::Tcp, {}, ""});
    fakes.Install("farview");
    TempDir empty;
    ScopedEnv path("PATH", "relative/dir:" + fakes.Folder());
    Open(device, Framing::Terminal, empty.Path());
    ASSERT_TRUE(commands->RemoteDisplay());
    const std::optional<Args> args = StartedWith("farview");
    ASSERT_TRUE(args);
    EXPECT_EQ(args->back(), "QUAD");
}

TEST_F(DeviceCommandsDisplaySim, OverSerialThePortIsHandedToFarviewAndTakenBackWhenItIsDone) {
    SimRig device({Transport::Pty, {}, ""});
    fakes.Install("farview");
    Open(device, Framing::Mini, fakes.Folder());
    ASSERT_TRUE(commands->Execute(kCmdGoOnline));
    ASSERT_EQ(ports.RefCount(SimRig::kComPort), 1);

    ASSERT_TRUE(commands->Execute(kCmdRemoteDisplay));
    EXPECT_EQ(StartedWith("farview"), (Args{"MASTER", "COM5", "QUAD"}));
    // The hand-over: "SV ", 0x0416, 0x46 0xFE in a Minicomputer block to the base address.
    ASSERT_TRUE(device.Sim().WaitForLog([](const std::vector<SimFrame>& log) {
        for (const SimFrame& f : log)
            if (f.binary && f.Received()) return true;
        return false;
    }));
    const std::vector<SimFrame> blocks = Blocks(device);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(Hex(blocks[0].text), "53 56 20 04 16 46 FE");
    // On the wire: STX, address 01, the block, ETX, LRC, 0x7F, 0x00.
    EXPECT_EQ(Hex(blocks[0].bytes), Hex(MiniReply(1, "SV \x04\x16\x46\xFE") + '\0'));

    // The slot is empty under its count, the document Offline, Quillset minimised.
    EXPECT_EQ(ports.Protocol(SimRig::kComPort), nullptr);
    EXPECT_EQ(ports.RefCount(SimRig::kComPort), 1);
    EXPECT_TRUE(doc->HoldsPortReference());
    EXPECT_EQ(doc->State(), CVexa3Doc::kStateOffline);
    EXPECT_EQ(titles, Args{"Quillset"});
    EXPECT_EQ(minimised, 1);
    EXPECT_FALSE(commands->IsEnabled(kCmdRemoteDisplay));
    // Every user of the slot copes with it empty.
    commands->OnFocus();
    EXPECT_EQ(doc->SendCommand("GP"), std::nullopt);

    EXPECT_EQ(commands->ReconnectAfterEmulator(), CVexa3Doc::kStateOnline);
    EXPECT_NE(ports.Protocol(SimRig::kComPort), nullptr);
    EXPECT_EQ(ports.RefCount(SimRig::kComPort), 1);
    EXPECT_TRUE(launcher.Running().empty());  // the ended emulator was collected
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
}

TEST_F(DeviceCommandsDisplaySim, NothingIsHandedOverWhenTheLaunchCannotGoAhead) {
    SimRig device({Transport::Pty, {}, ""});
    fakes.Install("farview");
    fakes.Install("panelsim");
    TempDir empty;
    ScopedEnv path("PATH", empty.Path());

    // The terminal protocol cannot carry the request.
    Open(device, Framing::Terminal, fakes.Folder());
    EXPECT_FALSE(commands->RemoteDisplay());
    EXPECT_FALSE(commands->InteractiveDisplay());
    EXPECT_EQ(ui.Messages(), (Args{"Minicomputer mode required for this function",
                                   "Minicomputer mode required for this function"}));

    // No program to start: said before the device is asked to give its port away.
    ui.prompt.shown.clear();
    commands.reset();
    doc.reset();
    Open(device, Framing::Mini, empty.Path());
    EXPECT_FALSE(commands->RemoteDisplay());
    EXPECT_FALSE(commands->InteractiveDisplay());
    EXPECT_EQ(ui.Messages(), (Args{"Unable to start farview - not found beside Quillset or on PATH",
                                   "Unable to start panelsim - not found beside Quillset or on PATH"}));

    EXPECT_TRUE(Blocks(device).empty());
    EXPECT_TRUE(launcher.Running().empty());
    EXPECT_NE(ports.Protocol(SimRig::kComPort), nullptr);
    EXPECT_EQ(doc->State(), CVexa3Doc::kStateReadOnly);
    EXPECT_EQ(minimised, 0);
}

TEST_F(DeviceCommandsDisplaySim, AProgramThatCannotStartIsSaidAndThePortTakenBack) {
    SimRig device({Transport::Pty, {}, ""});
    fakes.InstallBroken("farview");
    Open(device, Framing::Mini, fakes.Folder());
    EXPECT_FALSE(commands->RemoteDisplay());
    EXPECT_EQ(ui.Messages(), Args{"Unable to start farview - " + fakes.Path("farview") + ": No such file or directory"});
    EXPECT_EQ(Blocks(device).size(), 1u);
    EXPECT_EQ(minimised, 0);
    EXPECT_TRUE(titles.empty());
    EXPECT_EQ(doc->State(), CVexa3Doc::kStateOnline);
    EXPECT_NE(ports.Protocol(SimRig::kComPort), nullptr);
    EXPECT_EQ(ports.RefCount(SimRig::kComPort), 1);
}

TEST_F(DeviceCommandsDisplaySim, PanelsimGetsTheArmListOnceTheDeviceAgrees) {
    SimRig device({Transport::Pty, {"--addresses", "1,2"}, ""});
    fakes.Install("panelsim");
    Open(device, Framing::Mini, fakes.Folder());
    doc->SetArmAddress(2, 0);
    ASSERT_TRUE(commands->GoOnline());
    ASSERT_TRUE(commands->IsEnabled(kCmdInteractiveDisplay));
    ASSERT_TRUE(commands->Execute(kCmdInteractiveDisplay));
    EXPECT_EQ(StartedWith("panelsim"), (Args{"COM5", "ARMS", "01,02"}));
    const std::vector<SimFrame> blocks = Blocks(device);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(Hex(blocks[0].text), "53 56 20 04 17 46 FE");
    EXPECT_EQ(ports.Protocol(SimRig::kComPort), nullptr);
    EXPECT_EQ(doc->State(), CVexa3Doc::kStateOffline);
    EXPECT_EQ(minimised, 1);
    EXPECT_EQ(commands->ReconnectAfterEmulator(), CVexa3Doc::kStateOnline);
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
}

TEST_F(DeviceCommandsDisplaySim, ThePanelsDeviceRefusalsStopWithTheirMessages) {
    for (const auto& [status, message] : std::vector<std::pair<std::string, std::string>>{
             {"800F", "Cannot activate interactive display if MMI is in use."},
             {"801C",
              "Cannot active interactive display unless System Status Display option selected in System 139."}}) {
        SCOPED_TRACE(status);
        SimRig device({Transport::Pty, {"--panel-handover", status}, ""});
        fakes.Install("panelsim");
        ui.prompt.shown.clear();
        Open(device, Framing::Mini, fakes.Folder());
        EXPECT_FALSE(commands->InteractiveDisplay());
        EXPECT_EQ(ui.Messages(), Args{message});
        EXPECT_EQ(Blocks(device).size(), 1u);
        EXPECT_TRUE(launcher.Running().empty());
        EXPECT_FALSE(fakes.Arguments("panelsim"));
        // Quillset keeps the port.
        EXPECT_NE(ports.Protocol(SimRig::kComPort), nullptr);
        EXPECT_EQ(doc->State(), CVexa3Doc::kStateReadOnly);
        EXPECT_EQ(minimised, 0);
        EXPECT_TRUE(titles.empty());
        commands.reset();
        doc.reset();
    }
}

// A prompt that records like the recording one and runs something when a box comes up.
class PromptWithAction final : public Prompt {
public:
    int MessageBox(const std::string& text, const std::string&, unsigned type) override {
        shown.push_back(text);
        if (action) std::exchange(action, nullptr)();
        return DefaultAnswer(type);
    }
    std::vector<std::string> shown;
    std::function<void()> action;
};

TEST_F(DeviceCommandsDisplaySim, AHandOverThatCannotBeSentIsReportedAndStops) {
    // The reply to "CF" fails its check; while that is being said, the device goes away.
    SimRig device({Transport::Pty, {"--fault", "bad-lrc,on=CF"}, ""});
    fakes.Install("farview");
    Open(device, Framing::Mini, fakes.Folder());
    PromptWithAction prompt;
    prompt.action = [&] { device.Sim().Stop(); };
    UiServices services = Ui();
    services.prompt = &prompt;
    ScopedUiServices scope(services);

    EXPECT_FALSE(commands->RemoteDisplay());
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_NE(prompt.shown[0].find("Protocol error in response"), std::string::npos) << prompt.shown[0];
    // The line is gone: the port's own report of the failed write.
    EXPECT_EQ(prompt.shown[1], std::strerror(EIO));
    EXPECT_TRUE(launcher.Running().empty());
    EXPECT_FALSE(fakes.Arguments("farview"));
    EXPECT_EQ(minimised, 0);
    // Nothing was handed over: the port stays; the line failing under "CF" left the document
    // Offline.
    EXPECT_NE(ports.Protocol(SimRig::kComPort), nullptr);
    EXPECT_EQ(doc->State(), CVexa3Doc::kStateOffline);
}

}  // namespace
}  // namespace qs::test
