// Connecting a program-data document to the simulated controller, over loopback TCP and over
// a pty mapped to a COM port, for every kind of device at the other end.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "DocumentFixtures.h"
#include "SimRig.h"
#include "RecordingUi.h"
#include "link/DX3Protocol.h"

namespace qs::test {
namespace {

const std::string kEcho = "Response invalid - echo detected. \nCheck wiring, port selection (is port attached to a modem?)";

class DocumentConnectSim : public ::testing::TestWithParam<LinkKind> {
protected:
    // A document on a simulator of the given kind, over this test's link.
    struct Rig {
        Rig(const LinkKind& kind, std::vector<std::string> args)
            : device({kind.transport, std::move(args)}), doc(ports, BuiltDictionary()) {
            if (device.Ready()) device.Attach(doc, kind.framing);
        }
        SimRig device;
        ComPortTable ports;
        CVexa3Doc doc;
    };

    RecordingUi ui;
};

TEST_P(DocumentConnectSim, AControllerThatTakesTheWriteTestIsOnline) {
    Rig rig(GetParam(), {});
    ASSERT_TRUE(rig.device.Ready()) << rig.device.Error();
    EXPECT_EQ(rig.doc.Connect(false), CVexa3Doc::kStateOnline);
    EXPECT_EQ(rig.doc.State(), CVexa3Doc::kStateOnline);
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
    EXPECT_EQ(ui.status.texts, (std::vector<std::string>{"Attempting to connect to Duravane III.net...", "Connected."}));
    EXPECT_EQ(rig.doc.DeviceKind(), 7);
    EXPECT_FLOAT_EQ(rig.doc.Revision(), 11.26f);
    ASSERT_TRUE(rig.device.WaitForFrames(3, 3));
    const auto exchanges = rig.device.Exchanges();
    ASSERT_EQ(exchanges.size(), 3u);
    EXPECT_EQ(exchanges[0].command, "PV SY 111");
    EXPECT_EQ(exchanges[0].reply, "PV SY 111 0");
    EXPECT_EQ(exchanges[1].command, "GP");
    EXPECT_EQ(exchanges[2].command, "PC SY 111 0");
    EXPECT_EQ(exchanges[2].reply, "PC SY 111 0");
    for (const Exchange& e : exchanges) EXPECT_EQ(e.address, 1);
}

TEST_P(DocumentConnectSim, ARefusedWriteTestIsReadOnly) {
    Rig rig(GetParam(), {"--persona", "readonly"});
    ASSERT_TRUE(rig.device.Ready()) << rig.device.Error();
    EXPECT_EQ(rig.doc.Connect(false), CVexa3Doc::kStateReadOnly);
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
    ASSERT_TRUE(rig.device.WaitForFrames(3, 3));
    EXPECT_EQ(rig.device.Exchanges().back().reply, "NO06");
}

INSTANTIATE_TEST_SUITE_P(Links, DocumentConnectSim, ::testing::ValuesIn(kAllLinks), LinkName());

// A device of another kind or revision answers the probe and the identification with what the
// program's tables know it by.
struct Persona {
    const char* name;
    LinkKind link;
    std::string message;
};

class DocumentPersonaSim : public ::testing::TestWithParam<Persona> {
protected:
    RecordingUi ui;
};

TEST_P(DocumentPersonaSim, IsSaidAndTheDocumentLimited) {
    SimRig device({GetParam().link.transport, {"--persona", GetParam().name}});
    ASSERT_TRUE(device.Ready()) << device.Error();
    ComPortTable ports;
    CVexa3Doc doc(ports, BuiltDictionary());
    device.Attach(doc, GetParam().link.framing);
    EXPECT_EQ(doc.Connect(false), 4);
    EXPECT_EQ(ui.Messages(), (std::vector<std::string>{GetParam().message}));
}

INSTANTIATE_TEST_SUITE_P(
    Personas, DocumentPersonaSim,
    ::testing::Values(
        Persona{"mmi", {Transport::Tcp, Framing::Terminal},
                "The Quillset recognizes the addressed device as an MMI (Rev 11.00.) \nQuillset programming is limited "
                "to transmitting driver database information only."},
        Persona{"mmi-900", {Transport::Tcp, Framing::Mini},
                "The Quillset recognizes the addressed device as an MMI (Rev 9.00.) \nThis MMI revision is not "
                "supported by Quillset."},
        Persona{"controller-unknown", {Transport::Pty, Framing::Terminal},
                "Quillset does not recognize the Duravane III revision. \nVerify Quillset is the current version "
                "(Check Help|About)"},
        Persona{"controller-1125", {Transport::Pty, Framing::Mini},
                "The Duravane III online is an older revision (Rev 11.25). \nNot all Rev 11.26 program codes may be "
                "supported."}),
    [](const auto& info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), '-', '_');
        return name;
    });

// Documents on a COM port share the port table's protocol and take it from the table each time.
class DocumentComSlotSim : public DocumentConnectSim {};

TEST_P(DocumentComSlotSim, TheSlotIsSharedAndTakenAgainAfterItWasEmptied) {
    Rig rig(GetParam(), {});
    ASSERT_TRUE(rig.device.Ready()) << rig.device.Error();
    ASSERT_EQ(rig.doc.Connect(false), CVexa3Doc::kStateOnline);
    EXPECT_EQ(rig.ports.RefCount(SimRig::kComPort), 1);
    EXPECT_EQ(static_cast<ComProtocol*>(rig.doc.GetProtocol()), rig.ports.Protocol(SimRig::kComPort));
    EXPECT_EQ(rig.doc.GetProtocol()->ProtocolIndex(), ProtocolKindOf(GetParam().framing));

    // A second document on the same port counts once more and reopens the slot.
    CVexa3Doc second(rig.ports, BuiltDictionary());
    rig.device.Attach(second, GetParam().framing);
    ASSERT_EQ(second.Connect(true), CVexa3Doc::kStateReadOnly);
    EXPECT_EQ(rig.ports.RefCount(SimRig::kComPort), 2);
    EXPECT_EQ(rig.doc.GetProtocol(), second.GetProtocol());

    // The port lent to an emulator: the slot is emptied, and the next connection takes it again.
    rig.ports.CloseSlot(SimRig::kComPort);
    EXPECT_EQ(rig.doc.GetProtocol(), nullptr);
    EXPECT_FALSE(rig.doc.SendCommand("PV SY 111"));
    EXPECT_EQ(rig.doc.Connect(false), CVexa3Doc::kStateOnline);
    EXPECT_EQ(rig.ports.RefCount(SimRig::kComPort), 2);
    EXPECT_EQ(rig.doc.SendCommand("PV SY 111"), "PV SY 111 0");

    second.ReleaseProtocol();
    EXPECT_EQ(rig.ports.RefCount(SimRig::kComPort), 1);
    EXPECT_NE(rig.ports.Protocol(SimRig::kComPort), nullptr);
    rig.doc.ReleaseProtocol();
    EXPECT_EQ(rig.ports.Protocol(SimRig::kComPort), nullptr);
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
}

INSTANTIATE_TEST_SUITE_P(Links, DocumentComSlotSim,
                         ::testing::Values(LinkKind{Transport::Pty, Framing::Terminal}, LinkKind{Transport::Pty, Framing::Mini}),
                         LinkName());

// A loop-back cable: the probe comes back as its own reply wherever the echo is a whole frame.
class DocumentEchoSim : public ::testing::TestWithParam<LinkKind> {
protected:
    RecordingUi ui;
};

TEST_P(DocumentEchoSim, AnEchoIsOfflineAndSaid) {
    SimRig device({GetParam().transport, {"--persona", "echo"}, ""});
    ASSERT_TRUE(device.Ready()) << device.Error();
    ComPortTable ports;
    CVexa3Doc doc(ports, BuiltDictionary());
    device.Attach(doc, GetParam().framing);
    EXPECT_EQ(doc.Connect(false), CVexa3Doc::kStateOffline);
    EXPECT_EQ(ui.Messages(), (std::vector<std::string>{kEcho}));
    EXPECT_EQ(ui.status.texts, (std::vector<std::string>{"Attempting to connect to Duravane III.net...", "     "}));
}

INSTANTIATE_TEST_SUITE_P(Links, DocumentEchoSim,
                         ::testing::Values(LinkKind{Transport::Tcp, Framing::Terminal}, LinkKind{Transport::Pty, Framing::Terminal},
                                           LinkKind{Transport::Pty, Framing::Mini}),
                         LinkName());

TEST(DocumentLinkSim, WithoutAPortTheStateIsNoComm) {
    RecordingUi ui;
    ComPortTable ports;
    CVexa3Doc doc(ports, BuiltDictionary());
    doc.SetPortIndex(CVexa3Doc::kPortNone);
    EXPECT_EQ(doc.Connect(false), CVexa3Doc::kStateNoComm);
    EXPECT_TRUE(ui.prompt.shown.empty());
}

TEST(DocumentLinkSim, ADeviceThatWasDownIsReachedOnceItIsBack) {
    RecordingUi ui;
    ComPortTable ports;
    CVexa3Doc doc(ports, BuiltDictionary());
    const std::string host = SimProcess::UniqueLoopbackAddress();
    DocumentLinkFields f = doc.GetLinkFields();
    f.port = CVexa3Doc::kPortTcp;
    f.ipv4 = SimRig::Ipv4Of(host);
    doc.SetLinkFields(f);

    EXPECT_EQ(doc.Connect(false), CVexa3Doc::kStateOffline);  // nothing listens there yet
    SimRig device({.host = host});
    ASSERT_TRUE(device.Ready()) << device.Error();
    EXPECT_EQ(doc.Connect(false), CVexa3Doc::kStateOnline);
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
}

// The device goes away while the document is online (here: it is restarted at its address).
TEST(DocumentLinkSim, ALostConnectionLeavesTheDocumentOfflineAndIsMadeAgainAtOnce) {
    RecordingUi ui;
    ComPortTable ports;
    CVexa3Doc doc(ports, BuiltDictionary());
    const std::string host = SimProcess::UniqueLoopbackAddress();
    auto device = std::make_unique<SimRig>(SimRig::Setup{.host = host});
    ASSERT_TRUE(device->Ready()) << device->Error();
    device->Attach(doc, Framing::Mini);
    ASSERT_EQ(doc.Connect(false), CVexa3Doc::kStateOnline);

    // Gone while the link lay idle: the next connection notices and connects again, at once.
    device.reset();
    device = std::make_unique<SimRig>(SimRig::Setup{.host = host});
    ASSERT_TRUE(device->Ready()) << device->Error();
    EXPECT_EQ(doc.Connect(false), CVexa3Doc::kStateOnline);
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();

    // Gone for good: the command that meets the lost link says so and leaves the document
    // Offline, the pane no longer saying it is connected.
    device.reset();
    EXPECT_FALSE(doc.SendCommand("PV SY 001"));
    EXPECT_EQ(ui.prompt.shown.size(), 1u);
    EXPECT_EQ(doc.State(), CVexa3Doc::kStateOffline);
    EXPECT_EQ(ui.status.texts.back(), "     ");
}

// A document on a Minicomputer link over TCP/IP to a device of the given persona connects
// and ends up offline with no message box.
void ExpectQuietlyOffline(RecordingUi& ui, const char* persona) {
    SimRig device({Transport::Tcp, {"--persona", persona}, ""});
    ASSERT_TRUE(device.Ready()) << device.Error();
    ComPortTable ports;
    CVexa3Doc doc(ports, BuiltDictionary());
    device.Attach(doc, Framing::Mini);
    // The wait runs to the link's receive time-out, on a clock that moves a second a turn.
    ScopedIdleClock clock(1000);
    EXPECT_EQ(doc.Connect(false), CVexa3Doc::kStateOffline);
    EXPECT_GE(clock.ElapsedMs(), 4000);
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
}

TEST(DocumentLinkSimSlow, ASilentDeviceIsOffline) {
    RecordingUi ui;
    ExpectQuietlyOffline(ui, "silent");
}

// Over TCP/IP a Minicomputer frame has no LRC trailer, so the echoed probe is never a whole
// reply: the read times out and nothing is said about an echo.
TEST(DocumentLinkSimSlow, AnEchoOfAMinicomputerFrameOverTcpTimesOut) {
    RecordingUi ui;
    ExpectQuietlyOffline(ui, "echo");
    if (HasFatalFailure()) return;
    EXPECT_EQ(ui.status.texts, (std::vector<std::string>{"Attempting to connect to Duravane III.net...", "     "}));
}

}  // namespace
}  // namespace qs::test
