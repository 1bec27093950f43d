// Connecting a document over a scripted TCP/IP link: every branch of the probe, the
// identification, the write test, and the single commands other parts send through it.
#include <gtest/gtest.h>

#include <tuple>

#include "DocumentFixtures.h"
#include "RecordingUi.h"
#include "TempDir.h"
#include "programdata/DeviceIdentification.h"

namespace qs::test {
namespace {

const std::string kAttempting = "Attempting to connect to Duravane III.net...";
const std::string kUnknownRevision =
    "Quillset does not recognize the Duravane III revision. \nVerify Quillset is the current version (Check Help|About)";

class DocumentConnect : public ::testing::Test {
protected:
    void SetUp() override {
        dir.Write("System.SD3", Records({Code(111, "Date Format")}));
        doc = std::make_unique<CVexa3Doc>(ports, FilesIn(dir.Path()));
        doc->AddObserver(&views);
        device.Attach(*doc);
    }
    void TearDown() override { doc->RemoveObserver(&views); }

    // The probe answered by a current controller.
    void Controller(const std::string& probeReply = "PV SY 111 5", const std::string& id = "0A463B8B") {
        device.Reply(probeReply);
        device.Reply(id);
    }

    RecordingUi ui;
    TempDir dir;
    ComPortTable ports;
    std::unique_ptr<CVexa3Doc> doc;
    RecordingObserver views;
    ScriptedDevice device;
};

TEST_F(DocumentConnect, WithoutAPortNothingHappens) {
    doc->SetPortIndex(CVexa3Doc::kPortNone);
    EXPECT_EQ(doc->Connect(false), CVexa3Doc::kStateNoComm);
    EXPECT_TRUE(device.hosts.empty());
    EXPECT_TRUE(ui.status.texts.empty());
    EXPECT_EQ(doc->GetProtocol(), nullptr);
    EXPECT_FALSE(doc->SendCommand("PV SY 111"));
    EXPECT_FALSE(doc->SendLoCommand());
    EXPECT_EQ(doc->State(), CVexa3Doc::kStateNoComm);
}

TEST_F(DocumentConnect, AnAcceptedWriteTestIsOnline) {
    doc->SetBaseAddress(7);
    doc->SetIpv4(0x7F000102);
    device.Reply("PV SY 111 5", 7);
    device.Reply("0A463B8B", 7);
    device.Reply("PC SY 111 5", 7);
    EXPECT_EQ(doc->Connect(false), CVexa3Doc::kStateOnline);
    EXPECT_EQ(doc->State(), CVexa3Doc::kStateOnline);
    EXPECT_EQ(device.Commands(), (std::vector<std::string>{"PV SY 111", "GP", "PC SY 111 5"}));
    EXPECT_EQ(device.Addresses(), (std::vector<int>{7, 7, 7}));
    EXPECT_EQ(device.hosts, (std::vector<std::string>{"127.0.1.2"}));
    EXPECT_EQ(device.kinds, (std::vector<int>{0}));
    EXPECT_EQ(ui.status.texts, (std::vector<std::string>{kAttempting, "Connected."}));
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
    EXPECT_EQ(doc->DeviceKind(), 7);
    EXPECT_FLOAT_EQ(doc->Revision(), 11.26f);
    EXPECT_EQ(views.changes, 1);
    EXPECT_EQ(views.states, (std::vector<int>{4}));
}

TEST_F(DocumentConnect, TheWriteTestIsTheReplyCutToElevenCharacters) {
    Controller("PV SY 111 5 and whatever follows");
    device.Reply("PC SY 111 5");
    EXPECT_EQ(doc->Connect(false), CVexa3Doc::kStateOnline);
    EXPECT_EQ(device.Commands().back(), "PC SY 111 5");
}

TEST_F(DocumentConnect, AReplyTooShortToWriteBackIsReadOnlyAndNothingIsWritten) {
    Controller("PV SY 111 ");
    EXPECT_EQ(doc->Connect(false), CVexa3Doc::kStateReadOnly);
    EXPECT_EQ(device.Commands(), (std::vector<std::string>{"PV SY 111", "GP"}));
}

TEST_F(DocumentConnect, ARefusedWriteTestIsReadOnly) {
    Controller();
    device.Reply("NO06");
    EXPECT_EQ(doc->Connect(false), CVexa3Doc::kStateReadOnly);
    EXPECT_TRUE(ui.prompt.shown.empty());

    // Once readable the device is not identified again.
    device.Reply("PV SY 111 5");
    device.Reply("PC SY 111 5");
    EXPECT_EQ(doc->Connect(false), CVexa3Doc::kStateOnline);
    EXPECT_EQ(device.Commands(), (std::vector<std::string>{"PV SY 111", "GP", "PC SY 111 5", "PV SY 111", "PC SY 111 5"}));
    EXPECT_EQ(views.states, (std::vector<int>{2, 4}));
}

TEST_F(DocumentConnect, AReadOnlyProbeWritesNothing) {
    Controller();
    EXPECT_EQ(doc->Connect(true), CVexa3Doc::kStateReadOnly);
    EXPECT_EQ(device.Commands(), (std::vector<std::string>{"PV SY 111", "GP"}));

    // It never lowers a state already reached.
    doc->SetState(CVexa3Doc::kStateOnline);
    device.Reply("PV SY 111 5");
    EXPECT_EQ(doc->Connect(true), CVexa3Doc::kStateReadOnly);
    EXPECT_EQ(doc->State(), CVexa3Doc::kStateOnline);
}

TEST_F(DocumentConnect, AnEchoIsOffline) {
    device.Reply("PV SY 111");
    EXPECT_EQ(doc->Connect(false), CVexa3Doc::kStateOffline);
    EXPECT_EQ(ui.Messages(), (std::vector<std::string>{"Response invalid - echo detected. \nCheck wiring, port selection "
                                                       "(is port attached to a modem?)"}));
    EXPECT_EQ(ui.status.texts, (std::vector<std::string>{kAttempting, "     "}));
    EXPECT_EQ(device.Commands(), (std::vector<std::string>{"PV SY 111"}));
}

TEST_F(DocumentConnect, ADeviceThatDoesNotAnswerIsOffline) {
    device.Silence();
    EXPECT_EQ(doc->Connect(false), CVexa3Doc::kStateOffline);
    EXPECT_TRUE(ui.prompt.shown.empty());
    EXPECT_EQ(ui.status.texts, (std::vector<std::string>{kAttempting, "     "}));
}

TEST_F(DocumentConnect, RevisionsOtherThanTheProgramsAreSaid) {
    Controller("PV SY 111 5", "2AF16B7A");
    device.Reply("PC SY 111 5");
    EXPECT_EQ(doc->Connect(false), CVexa3Doc::kStateOnline);
    EXPECT_EQ(ui.Messages(), (std::vector<std::string>{"The Duravane III online is an older revision (Rev 11.25). \nNot "
                                                       "all Rev 11.26 program codes may be supported."}));

    doc->SetState(CVexa3Doc::kStateOffline);
    Controller("PV SY 111 5", "5EEDF00D");
    device.Reply("PC SY 111 5");
    EXPECT_EQ(doc->Connect(false), CVexa3Doc::kStateOnline);
    EXPECT_EQ(ui.LastMessage(), kUnknownRevision);

    // No answer to "GP" at all.
    doc->SetState(CVexa3Doc::kStateOffline);
    device.Reply("PV SY 111 5");
    device.Silence();
    device.Reply("PC SY 111 5");
    EXPECT_EQ(doc->Connect(false), CVexa3Doc::kStateOnline);
    EXPECT_EQ(ui.LastMessage(), kUnknownRevision);
    EXPECT_EQ(ui.prompt.shown.size(), 3u);
}

// A refused probe: the identification says an operator panel of a revision (no arms), or
// nothing known (the document stays a controller's).
struct RefusedProbe {
    std::string id;
    std::string message;
    int kind;
    float revision;
    int arms;
};

class DocumentConnectRefused : public DocumentConnect, public ::testing::WithParamInterface<RefusedProbe> {};

TEST_P(DocumentConnectRefused, IsAnOperatorPanelOrAnUnknownDevice) {
    device.Reply("NO00");
    device.Reply(GetParam().id);
    EXPECT_EQ(doc->Connect(false), CVexa3Doc::kStateOnline);
    EXPECT_EQ(ui.Messages(), (std::vector<std::string>{GetParam().message}));
    EXPECT_EQ(doc->DeviceKind(), GetParam().kind);
    EXPECT_FLOAT_EQ(doc->Revision(), GetParam().revision);
    EXPECT_EQ(doc->ActiveArmCount(), GetParam().arms);
}

INSTANTIATE_TEST_SUITE_P(
    Ids, DocumentConnectRefused,
    ::testing::Values(
        RefusedProbe{"32A0E748", "The Quillset recognizes the addressed device as an MMI (Rev 11.00.) \nQuillset "
                                 "programming is limited to transmitting driver database information only.", 8, 11.0f, 0},
        RefusedProbe{"227DC101", "The Quillset recognizes the addressed device as an MMI (Rev 10.02.) \nQuillset "
                                 "programming is limited to transmitting driver database information only.", 8, 10.02f, 0},
        RefusedProbe{"86AB945A", "The Quillset recognizes the addressed device as an MMI (Rev 10.01.) \nThis MMI "
                                 "revision is not supported by Quillset.", 8, 10.01f, 0},
        RefusedProbe{"72F9F00F", "The Quillset recognizes the addressed device as an MMI (Rev 9.00.) \nThis MMI "
                                 "revision is not supported by Quillset.", 8, 9.0f, 0},
        RefusedProbe{"5EEDF00D", "Quillset does not recognize the device online. \nVerify Quillset is the current "
                                 "version (Check Help|About)", 7, -1.0f, 6}),
    [](const auto& info) { return info.param.id; });

TEST_F(DocumentConnect, BothIdentificationTablesAreSearched) {
    Controller();
    ASSERT_EQ(doc->Connect(true), CVexa3Doc::kStateReadOnly);
    for (const auto& [id, kind, revision] : std::vector<std::tuple<std::string, int, float>>{
             {"7219241C", 7, 0.0f}, {"8ECAE4A6", 7, 11.0f}, {"0A463B8B", 7, 11.26f}, {"32A0E748", 8, 11.0f},
             {"5CFB4707", 8, 10.0f}, {"E612702B", 8, 10.23f}}) {
        device.Reply(id);
        EXPECT_FLOAT_EQ(doc->IdentifyDevice(), revision) << id;
        EXPECT_EQ(doc->DeviceKind(), kind) << id;
    }
    for (const char* id : {"", "GP 0A463B8B", "10A463B8B", "-F5B9C475", "00000000"}) {
        device.Reply(id);
        EXPECT_EQ(doc->IdentifyDevice(), -1.0f) << id;
    }
    EXPECT_EQ(DeviceIdentification::ControllerTable().size(), 62u);
    EXPECT_EQ(DeviceIdentification::OperatorPanelTable().size(), 26u);
}

TEST_F(DocumentConnect, ALinkThatFailedIsMadeAgainAtTheNextConnection) {
    device.opens = false;
    EXPECT_EQ(doc->Connect(false), CVexa3Doc::kStateOffline);
    EXPECT_EQ(device.hosts.size(), 1u);

    device.opens = true;
    Controller();
    device.Reply("PC SY 111 5");
    EXPECT_EQ(doc->Connect(false), CVexa3Doc::kStateOnline);
    EXPECT_EQ(device.hosts.size(), 2u);

    // A working link is kept.
    device.Reply("PV SY 111 5");
    device.Reply("PC SY 111 5");
    EXPECT_EQ(doc->Connect(false), CVexa3Doc::kStateOnline);
    EXPECT_EQ(device.hosts.size(), 2u);

    // New link settings let it go, and the state was the old link's.
    doc->SetIpv4(0x7F000003);
    EXPECT_EQ(doc->GetProtocol(), nullptr);
    EXPECT_EQ(doc->State(), CVexa3Doc::kStateOffline);
}

TEST_F(DocumentConnect, ALinkThatCannotBeMadeAtAllIsNoComm) {
    doc->SetTcpProtocolFactory([](const std::string&, int) -> std::unique_ptr<DX3Protocol> { throw std::bad_alloc(); });
    EXPECT_EQ(doc->Connect(false), CVexa3Doc::kStateNoComm);
    EXPECT_EQ(ui.status.texts, (std::vector<std::string>{kAttempting, "     "}));
}

TEST_F(DocumentConnect, SingleCommandsGiveTheReplyTheRejectionOrNothing) {
    Controller();
    ASSERT_EQ(doc->Connect(true), CVexa3Doc::kStateReadOnly);

    device.Reply("PV SY 111 5");
    EXPECT_EQ(doc->SendCommand("PV SY 111"), "PV SY 111 5");
    device.Reply("NO14");
    EXPECT_EQ(doc->SendCommand("PV SY 112"), "         NO14");
    device.Reply("NO99");
    EXPECT_EQ(doc->SendCommand("PV SY 112"), "         NO99");
    device.Reply("PV SY 104 " + std::string(400, 'x'));
    EXPECT_EQ(doc->SendCommand("PV SY 104"), "PV SY 104 " + std::string(261, 'x'));
    EXPECT_TRUE(ui.prompt.shown.empty());
    EXPECT_EQ(doc->State(), CVexa3Doc::kStateReadOnly) << "rejections leave the link as it was";
    EXPECT_EQ(ui.status.texts.back(), "Connected.");

    // A reply that never comes is the link failing: the document is Offline, and the pane no
    // longer says it is connected.
    device.Silence();
    EXPECT_FALSE(doc->SendCommand("PV SY 111"));
    EXPECT_EQ(doc->State(), CVexa3Doc::kStateOffline);
    EXPECT_EQ(ui.status.texts.back(), "     ");
    ASSERT_EQ(ui.prompt.shown.size(), 1u);
    EXPECT_EQ(ui.prompt.shown[0].type & MB_TYPEMASK, MB_OKCANCEL);
    EXPECT_NE(ui.LastMessage().find("Timeout waiting for response"), std::string::npos) << ui.LastMessage();

    // A command that cannot be framed is not sent.
    EXPECT_FALSE(doc->SendCommand("PV SY\r111"));
    EXPECT_EQ(ui.prompt.shown.size(), 2u);
}

TEST_F(DocumentConnect, LoGoesToTheBaseAddressConnectingFirstWhenNeeded) {
    doc->SetBaseAddress(4);
    device.Reply("PV SY 111 5", 4);
    device.Reply("0A463B8B", 4);
    device.Reply("LO", 4);
    EXPECT_TRUE(doc->SendLoCommand());
    EXPECT_EQ(device.Commands(), (std::vector<std::string>{"PV SY 111", "GP", "LO"}));
    EXPECT_EQ(device.Addresses(), (std::vector<int>{4, 4, 4}));

    doc->GetProtocol()->SetAddress(9);
    device.Reply("NO00", 4);
    EXPECT_FALSE(doc->SendLoCommand());
    EXPECT_EQ(device.Addresses().back(), 4);
    EXPECT_EQ(doc->State(), CVexa3Doc::kStateReadOnly);
    device.Silence();
    EXPECT_FALSE(doc->SendLoCommand());
    EXPECT_EQ(doc->State(), CVexa3Doc::kStateOffline) << "no answer at all is the link failing";

    // A device that cannot be reached is not sent anything.
    doc->SetIpv4(0x7F000009);
    device.opens = false;
    EXPECT_FALSE(doc->SendLoCommand());
    EXPECT_TRUE(device.Commands().empty());
}

TEST_F(DocumentConnect, ProductsPerArmAreCountedFromTheDevicesConfigCodes) {
    Controller();
    ASSERT_EQ(doc->Connect(true), CVexa3Doc::kStateReadOnly);
    auto ask = [&](const std::vector<std::string>& replies, int arm) {
        const size_t before = device.Commands().size();
        for (const auto& r : replies) device.Reply(r);
        const int products = doc->CountArmProducts(arm);
        const auto all = device.Commands();
        return std::make_pair(products, std::vector<std::string>(all.begin() + static_cast<long>(before), all.end()));
    };

    auto [all, sent] = ask({"PV CF 001 3", "PV CF 002 0", "PV CF 004 1", "PV CF 005 4", "PV CF 006 2", "PV CF 007 x"}, -1);
    EXPECT_EQ(all, 5);
    EXPECT_EQ(sent, (std::vector<std::string>{"PV CF 001", "PV CF 002", "PV CF 004", "PV CF 005", "PV CF 006", "PV CF 007"}));

    auto [one, sentOne] = ask({"PV CF 001 3", "PV CF 004 2", "PV CF 005 3 Products"}, 1);
    EXPECT_EQ(one, 3);
    EXPECT_EQ(sentOne, (std::vector<std::string>{"PV CF 001", "PV CF 004", "PV CF 005"}));

    auto [beyond, sentBeyond] = ask({"PV CF 001 3"}, 3);
    EXPECT_EQ(beyond, 0);
    EXPECT_EQ(sentBeyond, (std::vector<std::string>{"PV CF 001"}));

    // Refusals and texts that are no number count nothing.
    auto [refused, sentRefused] = ask({"PV CF 001 2", "NO14", "NO14", "PV CF 004", "PV CF 005 "}, -1);
    EXPECT_EQ(refused, 0);
    EXPECT_EQ(sentRefused.size(), 5u);
    auto [noArms, sentNoArms] = ask({"PV CF 001 ?"}, -1);
    EXPECT_EQ(noArms, 0);
    EXPECT_EQ(sentNoArms.size(), 1u);
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
}

}  // namespace
}  // namespace qs::test
