// The device commands of a document's frame over a scripted TCP/IP link: what each command
// asks, says and sends, and when it stops.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <utility>

#include "DocumentFixtures.h"
#include "RecordingUi.h"
#include "TempDir.h"
#include "TestEnv.h"
#include "platform/ProcessLauncher.h"
#include "programdata/CDirectory.h"
#include "programdata/CParam.h"
#include "appmodel/programdata/DeviceCommands.h"

namespace qs::test {
namespace {

using Sent = ScriptedDevice::Sent;

// How the scripted devices of this suite answer: a controller at every address
// (ScriptedDevice::Controller) whose probe, identification, write test and "CF" answer as set.
// It keeps every command of every document's link.
class ControllerRules {
public:
    std::string Answer(int address, const std::string& command) {
        sent.push_back({address, command});
        if (silent) return {};
        if (command == "PV SY 111") return probe;
        if (command == "GP") return gp;
        if (command == "PC SY 111 5") return writeTest;
        if (command == "CF") return cf;
        return ScriptedDevice::Controller(address, command);
    }
    // Commands sent from the n-th on.
    std::vector<std::string> CommandsFrom(size_t n) const {
        std::vector<std::string> out;
        for (size_t i = n; i < sent.size(); ++i) out.push_back(sent[i].command);
        return out;
    }

    std::vector<Sent> sent;
    bool silent = false;
    std::string probe = "PV SY 111 5";
    std::string gp = "0A463B8B";
    std::string writeTest = "PC SY 111 5";
    std::string cf = "CF 14";
};

const std::vector<std::string> kConnectWithWriteTest = {"PV SY 111", "GP", "PC SY 111 5"};

class DeviceCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.Write("Config.SD3", Records({Code(1, "Number of Load Arms")}));
        dir.Write("System.SD3", Records({Code(111, "Date Format"), Code(104, "Terminal Name")}));
        dir.Write("Arm.SD3", Records({Code(101, "Arm Name"), Code(107, "Load Position Name")}));
        dir.Write("Meter.SD3", Records({Code(101, "Meter Name"), Code(103, "K-Factor")}));
        dir.Write("Product.SD3", Records({Code(101, "Product Name")}));
        dir.Write("Bay A.SD3", Records({Code(101, "Bay Name")}));
        dir.Write("Bay B.SD3", Records({Code(101, "Bay Name")}));
        dir.Write("Recipe.SD3", Records({Code(1, "Recipe Arm Number"), Code(2, "Recipe Name")}));
        doc = std::make_unique<CVexa3Doc>(ports, FilesIn(dir.Path()), &options);
        ASSERT_EQ(doc->DirectoryCount(), 23);
        doc->SetTitle("Rack 4");
        doc->AddObserver(&views);
        tcp.answer = [this](int address, const std::string& command) { return device.Answer(address, command); };
        tcp.Attach(*doc);
        DeviceCommandHooks hooks;
        hooks.waitCursor = [this](bool busy) { cursor.push_back(busy); };
        hooks.setMainTitle = [this](const std::string& t) { titles.push_back(t); };
        hooks.minimiseMain = [this] { ++minimised; };
        commands = std::make_unique<DeviceCommands>(*doc, services, hooks);
    }
    void TearDown() override { doc->RemoveObserver(&views); }

    CDirectory* Nth(int type, int n) {
        int seen = 0;
        for (CDirectory* d = doc->FirstDirectory(); d; d = d->NextDirectory())
            if (d->Type() == type && seen++ == n) return d;
        return nullptr;
    }
    void Select(CDirectory* d, int subdirectory, int arm) {
        FrameSelection s;
        s.directory = d;
        s.subdirectory = subdirectory >= 0 ? d->Subdirectory(subdirectory) : nullptr;
        s.instance = d->CurrentInstance();
        s.arm = arm;
        commands->SetSelection(s);
    }

    RecordingUi ui;
    TempDir dir;
    TempDir programs;  // no emulator program in it
    AppOptions options;
    ComPortTable ports;
    ProcessLauncher launcher;
    // The core still speaks through the program's own services, which the recording fakes
    // stand in for: the commands get the same.
    AppServices services{
        .ui = Ui(), .options = options, .ports = ports, .launcher = launcher, .programDir = programs.Path()};
    std::unique_ptr<CVexa3Doc> doc;
    RecordingObserver views;
    ScriptedDevice tcp;
    ControllerRules device;
    std::unique_ptr<DeviceCommands> commands;
    std::vector<bool> cursor;
    std::vector<std::string> titles;
    int minimised = 0;
};

// ---- Read All

TEST_F(DeviceCommandsTest, ReadAllFillsTheDocumentAndWaitsForClose) {
    CParam* name = Nth(CDirectory::kSystem, 0)->FindParam(104);
    ASSERT_TRUE(commands->ReadAll());
    ASSERT_EQ(ui.progress.size(), 1u);
    const ProgressRecord& bar = *ui.progress[0];
    EXPECT_EQ(bar.title, "Reading Duravane.NET...");
    ASSERT_FALSE(bar.texts.empty());
    EXPECT_EQ(bar.texts[0], "Reading data to Rack 4");
    EXPECT_EQ(bar.upper, doc->TotalCodes());
    EXPECT_EQ(bar.pos, doc->TotalCodes());
    EXPECT_TRUE(bar.waitedForClose);
    EXPECT_EQ(name->Value(0), "1:SY 104");
    EXPECT_TRUE(doc->IsModified());
    EXPECT_GT(views.changes, 0);
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
    // A read-only probe: nothing written.
    for (const Sent& s : device.sent) EXPECT_FALSE(s.command.starts_with("PC") || s.command.starts_with("XC")) << s.command;
}

TEST_F(DeviceCommandsTest, ReadAllOnASilentDeviceSaysSoAndChangesNothing) {
    device.silent = true;
    CParam* name = Nth(CDirectory::kSystem, 0)->FindParam(104);
    ASSERT_TRUE(name->SetValue("KEPT", 0));
    EXPECT_FALSE(commands->ReadAll());
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Duravane.NET not responding"});
    EXPECT_EQ(device.CommandsFrom(0), std::vector<std::string>{"PV SY 111"});
    EXPECT_EQ(name->Value(0), "KEPT");
    EXPECT_FALSE(doc->IsModified());
    EXPECT_FALSE(ui.progress.at(0)->waitedForClose);
}

TEST_F(DeviceCommandsTest, ACancelledReadAllKeepsWhatWasReadWithoutTheCompletionWait) {
    ui.CancelAfterPumps(3);
    EXPECT_FALSE(commands->ReadAll());
    EXPECT_FALSE(ui.progress.at(0)->waitedForClose);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(Nth(CDirectory::kConfig, 0)->FindParam(1)->Value(0), "1:CF 001");
    // Connect (probe, identification), then three codes of which the first two levels.
    EXPECT_EQ(device.CommandsFrom(2), (std::vector<std::string>{"PV CF 001", "XV CF 001", "PV SY 111", "XV SY 111",
                                                                "PV SY 104"}));
}

// ---- Dump All

TEST_F(DeviceCommandsTest, DumpAllWritesEndsWithLoAndWaitsForClose) {
    Nth(CDirectory::kSystem, 0)->FindParam(104)->SetValue("17", 0);
    ASSERT_TRUE(commands->DumpAll());
    const auto sent = device.CommandsFrom(0);
    ASSERT_GE(sent.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(sent.begin(), sent.begin() + 3), kConnectWithWriteTest);
    EXPECT_EQ(sent[3], "PC SY 104 17");
    EXPECT_EQ(sent.back(), "LO");
    ASSERT_EQ(ui.progress.size(), 1u);
    EXPECT_EQ(ui.progress[0]->title, "Writing data in Rack 4 to Duravane.NET");
    EXPECT_EQ(ui.progress[0]->upper, doc->TotalCodes());
    EXPECT_TRUE(ui.progress[0]->waitedForClose);
}

TEST_F(DeviceCommandsTest, DumpAllOnAReadOnlyDeviceNamesTheRejectionOnlyWhenThereWasOne) {
    struct Case {
        const char* gp;
        const char* probe;
        const char* writeTest;
        const char* message;
    } cases[] = {
        {"0A463B8B", "PV SY 111 5", "NO06", "Cannot program Duravane.NET - Operation Not Allowed"},
        // An identification the device refused leaves its code behind; a write test that then
        // times out must not be blamed on it.
        {"NO14", "PV SY 111 5", "", "Cannot program Duravane.NET - Timeout waiting for response"},
        // A probe reply too short to be sent back: there was no test to refuse.
        {"0A463B8B", "PV SY 111 ", "", "Cannot program Duravane.NET - Protocol error in response"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        ui.prompt.shown.clear();
        device.sent.clear();
        doc->SetState(CVexa3Doc::kStateOffline);
        device.gp = c.gp;
        device.probe = c.probe;
        device.writeTest = c.writeTest;
        EXPECT_FALSE(commands->DumpAll());
        ASSERT_FALSE(ui.prompt.shown.empty());
        EXPECT_EQ(ui.LastMessage(), c.message);
        for (const std::string& s : device.CommandsFrom(0)) EXPECT_FALSE(s.starts_with("XC") || s == "LO") << s;
        EXPECT_EQ(doc->State(), CVexa3Doc::kStateReadOnly);
    }
    EXPECT_TRUE(ui.progress.empty());
}

TEST_F(DeviceCommandsTest, ConfirmWritesIsAskedAfterTheWriteTestForDumpAll) {
    options.ConfirmWrites = true;
    ui.prompt.Answer(IDCANCEL);
    EXPECT_FALSE(commands->DumpAll());
    EXPECT_EQ(ui.Messages(),
              std::vector<std::string>{"You are currently online; are you sure you want to modify the device?"});
    EXPECT_EQ(ui.prompt.shown[0].type & MB_TYPEMASK, MB_OKCANCEL);
    EXPECT_EQ(device.CommandsFrom(0), kConnectWithWriteTest);
    EXPECT_TRUE(ui.progress.empty());

    ui.prompt.Answer(IDOK);
    EXPECT_TRUE(commands->DumpAll());
    EXPECT_EQ(device.sent.back().command, "LO");
}

// ---- Read Selection and Dump Selection

TEST_F(DeviceCommandsTest, NothingSelectedDoesNothing) {
    EXPECT_FALSE(commands->ReadSelection());
    EXPECT_FALSE(commands->DumpSelection());
    EXPECT_TRUE(device.sent.empty());
    EXPECT_TRUE(ui.prompt.shown.empty());
    EXPECT_TRUE(ui.progress.empty());
}

TEST_F(DeviceCommandsTest, AnArmWithoutAnAddressIsRefusedBeforeAnythingIsSent) {
    doc->SetArmAddress(2, 0);
    Select(Nth(CDirectory::kMeter, 1), 1, 2);
    options.ConfirmWrites = true;
    const std::string text =
        "Cannot perform requested operation - arm address is 0.\nSet arm 3 address to a valid entry (1-99) via "
        "'Options|Options for this Duravane III'";
    EXPECT_FALSE(commands->ReadSelection());
    EXPECT_FALSE(commands->DumpSelection());
    EXPECT_EQ(ui.Messages(), (std::vector<std::string>{text, text}));
    EXPECT_TRUE(device.sent.empty());
}

TEST_F(DeviceCommandsTest, ReadSelectionSaysWhichDirectoryItReads) {
    struct Case {
        int type, nth, subdirectory, arm;
        const char* text;
        int address;
    } cases[] = {
        {CDirectory::kRecipe, 0, 2, 0, "Reading Recipe 03 directory", 1},
        {CDirectory::kMeter, 2, 1, 1, "Reading Arm 2 Meter 3 100-General Purpose directory", 2},
        {CDirectory::kSystem, 0, 1, 0, "Reading System 100-General Purpose directory", 1},
        {CDirectory::kArm, 3, 1, 3, "Reading Arm 4 100-General Purpose directory", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        device.sent.clear();
        ui.progress.clear();
        Select(Nth(c.type, c.nth), c.subdirectory, c.arm);
        ASSERT_TRUE(commands->ReadSelection());
        ASSERT_EQ(ui.progress.size(), 1u);
        const ProgressRecord& bar = *ui.progress[0];
        EXPECT_EQ(bar.title, "Reading Selection...");
        ASSERT_GE(bar.texts.size(), 3u);
        EXPECT_EQ(bar.texts[0], "Initiating read...");
        EXPECT_EQ(bar.texts[1], c.text);
        EXPECT_EQ(bar.upper, Nth(c.type, c.nth)->Subdirectory(c.subdirectory)->ParamCount());
        EXPECT_TRUE(bar.waitedForClose);
        // The probe goes to the base address, the codes to the arm's.
        for (size_t i = 1; i < device.sent.size(); ++i) {
            if (device.sent[i].command == "GP") continue;
            EXPECT_EQ(device.sent[i].address, c.address) << device.sent[i].command;
        }
        EXPECT_EQ(doc->CurrentArm(), c.arm);
        EXPECT_EQ(doc->GetProtocol()->Address(), doc->BaseAddress());
    }
    EXPECT_EQ(Nth(CDirectory::kMeter, 2)->FindParam(103)->Value(2 + 6), "2:M3 103");
    EXPECT_EQ(Nth(CDirectory::kRecipe, 0)->FindParam(2)->Value(2), "1:03 002");
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
}

TEST_F(DeviceCommandsTest, ReadSelectionOnASilentDeviceHasItsOwnText) {
    device.silent = true;
    Select(Nth(CDirectory::kSystem, 0), 1, 0);
    EXPECT_FALSE(commands->ReadSelection());
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Duravane III not responding"});
}

TEST_F(DeviceCommandsTest, ReadSelectionOfAnArmAlsoReadsItsMetersAndProducts) {
    Select(Nth(CDirectory::kArm, 1), -1, 1);
    ASSERT_TRUE(commands->ReadSelection());
    std::vector<std::string> mnemonics;
    for (size_t i = 2; i < device.sent.size(); ++i) {
        EXPECT_EQ(device.sent[i].address, 2) << device.sent[i].command;
        const std::string m = device.sent[i].command.substr(3, 2);
        if (mnemonics.empty() || mnemonics.back() != m) mnemonics.push_back(m);
    }
    EXPECT_EQ(mnemonics, (std::vector<std::string>{"AR", "M1", "M2", "M3", "M4", "M5", "M6", "P1", "P2", "P3", "P4",
                                                   "P5", "P6"}));
    // Arm 2's instances: no level is asked for.
    for (const Sent& s : device.sent) EXPECT_FALSE(s.command.starts_with("XV")) << s.command;
    EXPECT_EQ(Nth(CDirectory::kProduct, 5)->FindParam(101)->Value(5 + 6), "2:P6 101");
    // The bar starts again for the meters and again for the products.
    const ProgressRecord& bar = *ui.progress.at(0);
    EXPECT_EQ(bar.upper, 6 * Nth(CDirectory::kProduct, 0)->TotalParams());
    EXPECT_EQ(bar.pos, bar.upper);
    EXPECT_TRUE(bar.waitedForClose);
}

TEST_F(DeviceCommandsTest, DumpSelectionAsksBeforeConnecting) {
    options.ConfirmWrites = true;
    Select(Nth(CDirectory::kSystem, 0), 1, 0);
    ui.prompt.Answer(IDCANCEL);
    EXPECT_FALSE(commands->DumpSelection());
    EXPECT_EQ(ui.Messages(),
              std::vector<std::string>{"You are currently online; are you sure you want to modify the device?"});
    EXPECT_TRUE(device.sent.empty());
    EXPECT_TRUE(tcp.hosts.empty());  // not even a connection
    EXPECT_TRUE(ui.progress.empty());
}

TEST_F(DeviceCommandsTest, DumpSelectionWritesTheSubdirectoryAndEndsWithLo) {
    Nth(CDirectory::kMeter, 1)->FindParam(103)->SetValue("125", 1 + 6 * 2);
    Select(Nth(CDirectory::kMeter, 1), 1, 2);
    ASSERT_TRUE(commands->DumpSelection());
    EXPECT_EQ(device.CommandsFrom(0), (std::vector<std::string>{"PV SY 111", "GP", "PC SY 111 5", "PC M2 103 125",
                                                                "LO"}));
    EXPECT_EQ(device.sent[3].address, 3);
    EXPECT_EQ(device.sent.back().address, 1);
    const ProgressRecord& bar = *ui.progress.at(0);
    EXPECT_EQ(bar.title, "Transmitting Selection ...");
    EXPECT_EQ(bar.texts.at(0), "Initiating download...");
    EXPECT_TRUE(bar.waitedForClose);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(DeviceCommandsTest, DumpSelectionToAReadOnlyDeviceIsRefused) {
    device.writeTest = "NO06";
    Select(Nth(CDirectory::kArm, 0), 1, 0);
    EXPECT_FALSE(commands->DumpSelection());
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Cannot program Duravane.NET - Operation Not Allowed"});
    EXPECT_EQ(device.CommandsFrom(0), kConnectWithWriteTest);
    EXPECT_FALSE(ui.progress.at(0)->waitedForClose);
}

// ---- online, offline, enabling

TEST_F(DeviceCommandsTest, GoOnlineAndGoOfflineMoveTheStateAndTheEnabledCommands) {
    EXPECT_FALSE(commands->IsEnabled(kCmdGoOffline));
    EXPECT_FALSE(commands->IsEnabled(kCmdRemoteDisplay));
    EXPECT_TRUE(commands->IsEnabled(kCmdGoOnline));
    EXPECT_TRUE(commands->Execute(kCmdGoOnline));
    EXPECT_EQ(doc->State(), CVexa3Doc::kStateOnline);
    EXPECT_TRUE(commands->IsEnabled(kCmdGoOffline));
    EXPECT_TRUE(commands->IsEnabled(kCmdRemoteDisplay));
    EXPECT_FALSE(commands->IsEnabled(kCmdInteractiveDisplay));  // TCP/IP
    EXPECT_FALSE(commands->IsEnabled(kCmdRetrieveNonresettables));  // not built yet
    EXPECT_FALSE(commands->Execute(kCmdRetrieveNonresettables));
    EXPECT_EQ(cursor, (std::vector<bool>{true, false}));

    const size_t sent = device.sent.size();
    EXPECT_TRUE(commands->Execute(kCmdGoOffline));
    EXPECT_EQ(doc->State(), CVexa3Doc::kStateOffline);
    EXPECT_EQ(device.sent.size(), sent);
    EXPECT_NE(doc->GetProtocol(), nullptr);  // the link stays open
    EXPECT_FALSE(commands->Execute(kCmdGoOffline));

    device.silent = true;
    EXPECT_FALSE(commands->GoOnline());
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Duravane.NET not responding"});
}

// A progress window whose pump tries what a user might: another device command.
class MeddlingProgress final : public ProgressSink {
public:
    explicit MeddlingProgress(std::function<void()> meddle) : meddle_(std::move(meddle)) {}
    void SetRange(int, int, int) override {}
    void SetText(const std::string&) override {}
    int SetPos(int) override { return 0; }
    int OffsetPos(int) override { return 0; }
    int StepIt() override { return 0; }
    bool PeekAndPump(bool, bool) override {
        if (meddle_) std::exchange(meddle_, nullptr)();
        return true;
    }
    bool Cancelled() const override { return false; }
    void WaitForClose() override {}

private:
    std::function<void()> meddle_;
};

TEST_F(DeviceCommandsTest, NoSecondCommandStartsWhileOneIsPumping) {
    ScriptedDevice otherTcp;
    CVexa3Doc other(ports, FilesIn(dir.Path()), &options);
    otherTcp.answer = [this](int address, const std::string& command) { return device.Answer(address, command); };
    otherTcp.Attach(other);
    DeviceCommands otherFrame(other, services);
    bool tried = false;
    UiServices services = Ui();
    services.progress = [&](const std::string&, bool) -> std::unique_ptr<ProgressSink> {
        return std::make_unique<MeddlingProgress>([&] {
            tried = true;
            EXPECT_TRUE(DeviceCommands::CommandRunning());
            EXPECT_FALSE(otherFrame.IsEnabled(kCmdReadAll));
            EXPECT_FALSE(otherFrame.Execute(kCmdDumpAll));
            EXPECT_FALSE(otherFrame.ReadAll());
            EXPECT_FALSE(commands->GoOnline());
            // An emulator's "done" arriving now waits for the transfer.
            EXPECT_EQ(otherFrame.ReconnectAfterEmulator(), CVexa3Doc::kStateNoComm);
            EXPECT_EQ(otherFrame.ReconnectAfterEmulator(), CVexa3Doc::kStateNoComm);
            EXPECT_TRUE(otherTcp.hosts.empty());
        });
    };
    ScopedUiServices scope(services);
    const size_t before = device.sent.size();
    ASSERT_TRUE(commands->ReadAll());
    EXPECT_TRUE(tried);
    EXPECT_FALSE(DeviceCommands::CommandRunning());
    EXPECT_TRUE(otherFrame.IsEnabled(kCmdReadAll));
    // Then it connected, once, after the last command of the read.
    EXPECT_EQ(otherTcp.hosts.size(), 1u);
    EXPECT_EQ(other.State(), CVexa3Doc::kStateOnline);
    EXPECT_EQ(device.CommandsFrom(device.sent.size() - 3), kConnectWithWriteTest);
    EXPECT_GT(device.sent.size() - 3, before);
}

TEST_F(DeviceCommandsTest, FocusPointsTheLinkAtTheBaseAddressAgain) {
    doc->SetBaseAddress(7);
    device.probe = "PV SY 111 5";
    ASSERT_TRUE(commands->GoOnline());
    doc->GetProtocol()->SetAddress(12);
    commands->OnFocus();
    EXPECT_EQ(doc->GetProtocol()->Address(), 7);
    // A document without a link has nothing to point.
    doc->SetPortIndex(CVexa3Doc::kPortNone);
    commands->OnFocus();
}

// ---- displays over TCP/IP (the programs themselves are started in the integration tests)

TEST_F(DeviceCommandsTest, RemoteDisplayWithoutItsProgramSaysSoAndKeepsTheLink) {
    ScopedEnv path("PATH", programs.Path());
    ASSERT_TRUE(commands->GoOnline());
    EXPECT_FALSE(commands->RemoteDisplay());
    EXPECT_EQ(ui.Messages(),
              std::vector<std::string>{"Unable to start farview - not found beside Quillset or on PATH"});
    EXPECT_EQ(device.sent.back().command, "CF");
    EXPECT_EQ(doc->State(), CVexa3Doc::kStateOnline);
    EXPECT_TRUE(launcher.Running().empty());
    EXPECT_TRUE(titles.empty());
    EXPECT_EQ(minimised, 0);
}

TEST_F(DeviceCommandsTest, DisplaysNeedAnAnsweringDevice) {
    device.silent = true;
    EXPECT_FALSE(commands->RemoteDisplay());
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Duravane.NET not responding"});
    // The operator panel has no TCP/IP link: the command is not offered and does nothing.
    device.silent = false;
    ui.prompt.shown.clear();
    EXPECT_FALSE(commands->InteractiveDisplay());
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
    for (const Sent& s : device.sent) EXPECT_NE(s.command, "CF");
}

// ---- document options on TCP/IP

TEST_F(DeviceCommandsTest, OptionsOnTcpConnectAgainWhenAutoConnectIsOn) {
    ASSERT_TRUE(commands->GoOnline());
    DocumentLinkFields f = commands->OptionsFields();
    f.description = "north rack";
    device.sent.clear();
    commands->ApplyOptions(f, false);
    EXPECT_EQ(doc->Description(), "north rack");
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(device.CommandsFrom(0), (std::vector<std::string>{"PV SY 111", "PC SY 111 5"}));
    EXPECT_EQ(tcp.hosts.size(), 1u);  // the same link
    EXPECT_EQ(doc->State(), CVexa3Doc::kStateOnline);
}

TEST_F(DeviceCommandsTest, AChangedLinkThatIsNotConnectedAgainIsOffline) {
    options.AutoConnect = false;
    ASSERT_TRUE(commands->GoOnline());
    DocumentLinkFields f = commands->OptionsFields();
    f.baseAddress = 9;
    device.sent.clear();
    commands->ApplyOptions(f, false);
    EXPECT_TRUE(device.sent.empty());
    EXPECT_EQ(doc->BaseAddress(), 9);
    EXPECT_EQ(doc->State(), CVexa3Doc::kStateOffline);

    ASSERT_TRUE(commands->GoOnline());
    f = commands->OptionsFields();
    f.ipv4 = 0x7F000109;
    commands->ApplyOptions(f, false);
    EXPECT_EQ(doc->State(), CVexa3Doc::kStateOffline);
    EXPECT_EQ(doc->GetProtocol(), nullptr);  // let go
    EXPECT_EQ(doc->Host(), "127.0.1.9");
}

}  // namespace
}  // namespace qs::test
