// The document options of a program-data document on a shared COM port: the port table's
// counts and the documents' references stay right whatever is changed, left alone or emptied.
#include <gtest/gtest.h>

#include "DocumentFixtures.h"
#include "SimRig.h"
#include "RecordingUi.h"
#include "platform/ProcessLauncher.h"
#include "appmodel/programdata/DeviceCommands.h"

namespace qs::test {
namespace {

class DeviceCommandsOptionsSim : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(device.Ready()) << device.Error();
        options.AutoConnect = false;
        for (auto* d : {&a, &b}) {
            *d = std::make_unique<CVexa3Doc>(ports, BuiltDictionary(), &options);
            device.Attach(**d, Framing::Mini);
        }
        frameA = std::make_unique<DeviceCommands>(*a, services);
        frameB = std::make_unique<DeviceCommands>(*b, services);
    }

    RecordingUi ui;
    SimRig device{{Transport::Pty, {"--addresses", "1,3"}, ""}};
    AppOptions options;
    ComPortTable ports;
    ProcessLauncher launcher;
    TempDir programs;
    // The core still speaks through the program's own services, which the recording fakes
    // stand in for: the commands get the same.
    AppServices services{
        .ui = Ui(), .options = options, .ports = ports, .launcher = launcher, .programDir = programs.Path()};
    std::unique_ptr<CVexa3Doc> a, b;
    std::unique_ptr<DeviceCommands> frameA, frameB;
};

TEST_F(DeviceCommandsOptionsSim, UnchangedOptionsKeepTheReferenceAndThePort) {
    ASSERT_TRUE(frameA->GoOnline());
    ComProtocol* before = ports.Protocol(SimRig::kComPort);
    ASSERT_EQ(ports.RefCount(SimRig::kComPort), 1);
    DocumentLinkFields f = frameA->OptionsFields();
    f.description = "only the words";
    f.armAddresses[0] = 3;
    frameA->ApplyOptions(f, false);
    EXPECT_EQ(ports.RefCount(SimRig::kComPort), 1);
    EXPECT_EQ(ports.Protocol(SimRig::kComPort), before);
    EXPECT_TRUE(a->HoldsPortReference());
    EXPECT_EQ(a->State(), CVexa3Doc::kStateOnline);
    EXPECT_EQ(a->ArmAddresses()[1], 3);
    EXPECT_EQ(a->SendCommand("LO"), std::optional<std::string>("LO"));
}

TEST_F(DeviceCommandsOptionsSim, ADocumentWithoutAReferenceLeavesTheOthersCountAlone) {
    ASSERT_TRUE(frameA->GoOnline());
    ASSERT_EQ(ports.RefCount(SimRig::kComPort), 1);
    // B is on the same port but has never used it.
    DocumentLinkFields f = frameB->OptionsFields();
    f.port = 6;
    frameB->ApplyOptions(f, false);
    EXPECT_EQ(ports.RefCount(SimRig::kComPort), 1);
    EXPECT_NE(ports.Protocol(SimRig::kComPort), nullptr);
    EXPECT_EQ(ports.RefCount(6), 0);
    EXPECT_FALSE(b->HoldsPortReference());
    EXPECT_EQ(a->SendCommand("LO"), std::optional<std::string>("LO"));
}

TEST_F(DeviceCommandsOptionsSim, LeavingThePortGivesBackOneReference) {
    ASSERT_TRUE(frameA->GoOnline());
    ASSERT_TRUE(frameB->GoOnline());
    ASSERT_EQ(ports.RefCount(SimRig::kComPort), 2);
    DocumentLinkFields f = frameA->OptionsFields();
    f.port = CVexa3Doc::kPortTcp;
    frameA->ApplyOptions(f, false);
    EXPECT_EQ(ports.RefCount(SimRig::kComPort), 1);
    EXPECT_FALSE(a->HoldsPortReference());
    EXPECT_EQ(a->State(), CVexa3Doc::kStateOffline);
    EXPECT_NE(ports.Protocol(SimRig::kComPort), nullptr);
    EXPECT_EQ(b->SendCommand("LO"), std::optional<std::string>("LO"));

    f = frameB->OptionsFields();
    f.protocol = kProtocolTerminal;
    frameB->ApplyOptions(f, false);
    EXPECT_EQ(ports.RefCount(SimRig::kComPort), 0);
    EXPECT_EQ(ports.Protocol(SimRig::kComPort), nullptr);
    EXPECT_FALSE(b->HoldsPortReference());
}

TEST_F(DeviceCommandsOptionsSim, AfterAHandOverUnchangedOptionsCountTheDocumentOnce) {
    ASSERT_TRUE(frameA->GoOnline());
    // The port lent to an emulator: the slot is emptied, its count and A's reference stay.
    ports.CloseSlot(SimRig::kComPort);
    a->SetState(CVexa3Doc::kStateOffline);
    frameA->ApplyOptions(frameA->OptionsFields(), false);
    EXPECT_TRUE(a->HoldsPortReference());
    EXPECT_EQ(ports.RefCount(SimRig::kComPort), 1);
    EXPECT_EQ(frameA->ReconnectAfterEmulator(), CVexa3Doc::kStateOnline);
    EXPECT_EQ(ports.RefCount(SimRig::kComPort), 1);
    a.reset();
    EXPECT_EQ(ports.RefCount(SimRig::kComPort), 0);
    EXPECT_EQ(ports.Protocol(SimRig::kComPort), nullptr);
}

TEST_F(DeviceCommandsOptionsSim, ChangesAreConnectedAgainOnlyWithAutoConnect) {
    ASSERT_TRUE(frameA->GoOnline());
    ASSERT_TRUE(frameB->GoOnline());
    // A mark on the slot's object that a new one would not carry.
    ports.Protocol(SimRig::kComPort)->SetAddress(42);

    // New serial settings for the port in use: the slot opens again under its count; A is
    // not online until it connects.
    frameA->ApplyOptions(frameA->OptionsFields(), true);
    ASSERT_NE(ports.Protocol(SimRig::kComPort), nullptr);
    EXPECT_NE(ports.Protocol(SimRig::kComPort)->Address(), 42);
    EXPECT_EQ(ports.RefCount(SimRig::kComPort), 2);
    EXPECT_EQ(a->State(), CVexa3Doc::kStateOffline);
    EXPECT_EQ(b->SendCommand("LO"), std::optional<std::string>("LO"));

    // A new base address with AutoConnect: connected there at once.
    options.AutoConnect = true;
    const size_t sent = device.Exchanges().size();
    DocumentLinkFields f = frameA->OptionsFields();
    f.baseAddress = 3;
    frameA->ApplyOptions(f, false);
    EXPECT_EQ(a->State(), CVexa3Doc::kStateOnline);
    const std::vector<Exchange> all = device.Exchanges();
    ASSERT_GT(all.size(), sent);
    EXPECT_EQ(all[sent].command, "PV SY 111");
    EXPECT_EQ(all[sent].address, 3);
    EXPECT_EQ(ports.RefCount(SimRig::kComPort), 2);
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
}

}  // namespace
}  // namespace qs::test
