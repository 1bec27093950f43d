// The device protocols against the simulated controller, on every link and framing: the
// bytes the simulator logs as received must be the frames the program is meant to send, and
// what the program makes of the replies must match the bytes the simulator logs as sent.
#include <gtest/gtest.h>

#include "DeviceFrames.h"
#include "SimRig.h"
#include "RecordingUi.h"

namespace qs::test {
namespace {

const char* const kState =
    "# seeded for every address served\n"
    "SY 111 - 5\n"
    "SY 112 7 Metric units\n"
    "AR 003 200 \n";

class ProtocolSim : public ::testing::TestWithParam<LinkKind> {
protected:
    Framing F() const { return GetParam().framing; }
    Transport T() const { return GetParam().transport; }

    std::unique_ptr<SimRig> Start(std::vector<std::string> args, std::string state = kState) {
        // The codes these tests use are the state file's alone, whatever the dictionary holds.
        args.insert(args.begin(), "--no-dictionary");
        auto link = std::make_unique<SimRig>(SimRig::Setup{T(), std::move(args), std::move(state)});
        EXPECT_TRUE(link->Ready()) << link->Error();
        return link;
    }

    std::string Request(std::string_view command, int address = 1) const {
        return Hex(RequestBytes(F(), T(), address, command));
    }
    std::string Reply(std::string_view text, int address = 1) const { return Hex(SimReplyBytes(F(), address, text)); }
};

TEST_P(ProtocolSim, ReadsSeededValuesAndSecurityLevels) {
    auto sim = Start({});
    ASSERT_TRUE(sim->Ready());
    auto p = sim->Open(F());
    ASSERT_GE(p->Port()->State(), kStateOpen) << p->Port()->Describe(1);

    Answer value = Ask(*p, "PV SY 111");
    ASSERT_TRUE(value.sent);
    EXPECT_EQ(value.status, kStatusOk);
    EXPECT_EQ(value.reply, "PV SY 111 5");
    EXPECT_EQ(ReplyValue(value.reply), "5");
    EXPECT_EQ(p->Port()->Status(), kStatusOk);

    Answer blanks = Ask(*p, "PV SY 112");
    EXPECT_EQ(blanks.status, kStatusOk);
    EXPECT_EQ(ReplyValue(blanks.reply), "Metric units");

    Answer level = Ask(*p, "XV SY 112");
    EXPECT_EQ(level.status, kStatusOk);
    EXPECT_EQ(ReplyValue(level.reply), "7");

    Answer empty = Ask(*p, "PV AR 003");
    EXPECT_EQ(empty.status, kStatusOk);
    EXPECT_EQ(empty.reply, "PV AR 003 ");
    EXPECT_EQ(ReplyValue(empty.reply), "");

    Answer firmware = Ask(*p, "GP");
    EXPECT_EQ(firmware.status, kStatusOk);
    EXPECT_EQ(firmware.reply, "0A463B8B");

    ASSERT_TRUE(sim->WaitForFrames(5, 5));
    EXPECT_EQ(BytesOf(sim->Received()),
              (std::vector<std::string>{Request("PV SY 111"), Request("PV SY 112"), Request("XV SY 112"),
                                        Request("PV AR 003"), Request("GP")}));
    EXPECT_EQ(BytesOf(sim->Sent()),
              (std::vector<std::string>{Reply("PV SY 111 5"), Reply("PV SY 112 Metric units"), Reply("XV SY 112 7"),
                                        Reply("PV AR 003 "), Reply("0A463B8B")}));
    for (const SimFrame& f : sim->Received()) {
        EXPECT_EQ(f.error, "") << Hex(f.bytes);
        EXPECT_EQ(f.transport, T() == Transport::Tcp ? "tcp" : "pty");
        EXPECT_EQ(f.framing, F() == Framing::Terminal ? "terminal" : "mini");
        EXPECT_FALSE(f.binary);
    }
    // The simulator ends cleanly on SIGTERM, even with the program still connected.
    EXPECT_EQ(sim->Sim().Stop(), 0);
}

TEST_P(ProtocolSim, AValueWrittenIsReadBackOnThisAndOnANewConnection) {
    auto sim = Start({});
    ASSERT_TRUE(sim->Ready());
    {
        auto p = sim->Open(F());
        Answer write = Ask(*p, "PC SY 111 42");
        EXPECT_EQ(write.status, kStatusOk);
        EXPECT_EQ(write.reply, "PC SY 111 42");
        EXPECT_EQ(Ask(*p, "PV SY 111").reply, "PV SY 111 42");

        Answer level = Ask(*p, "XC SY 111 9");
        EXPECT_EQ(level.status, kStatusOk);
        EXPECT_EQ(level.reply, "XC SY 111 9");
        EXPECT_EQ(Ask(*p, "XV SY 111").reply, "XV SY 111 9");

        // A value with blanks is everything after the blank behind the code number.
        EXPECT_EQ(Ask(*p, "PC SY 112 Gallons US").reply, "PC SY 112 Gallons US");
    }
    // The device keeps what was written; a new link (a reconnect) sees it.
    auto again = sim->Open(F());
    EXPECT_EQ(Ask(*again, "PV SY 111").reply, "PV SY 111 42");
    EXPECT_EQ(Ask(*again, "XV SY 111").reply, "XV SY 111 9");
    EXPECT_EQ(ReplyValue(Ask(*again, "PV SY 112").reply), "Gallons US");

    ASSERT_TRUE(sim->WaitForFrames(8, 8));
    const auto rx = BytesOf(sim->Received());
    ASSERT_EQ(rx.size(), 8u);
    EXPECT_EQ(rx[0], Request("PC SY 111 42"));
    EXPECT_EQ(rx[2], Request("XC SY 111 9"));
    const auto tx = BytesOf(sim->Sent());
    EXPECT_EQ(tx[0], Reply("PC SY 111 42"));
    EXPECT_EQ(tx[5], Reply("PV SY 111 42"));
}

TEST_P(ProtocolSim, RejectionsGiveStatusEightAndTheDevicesText) {
    RecordingUi ui;
    auto sim = Start({"--fault", "reject=05,on=PC SY 111"});
    ASSERT_TRUE(sim->Ready());
    auto p = sim->Open(F());

    Answer unknownCode = Ask(*p, "PV SY 999");
    EXPECT_EQ(unknownCode.status, kStatusRejected);
    EXPECT_EQ(unknownCode.reply, "NO14");
    EXPECT_EQ(p->Port()->Status(), kStatusRejected);
    EXPECT_EQ(p->LastCode(), 14u);
    EXPECT_EQ(p->GetErrorText(), "Program Code Not Used");

    Answer unknownCommand = Ask(*p, "ZZ SY 111");
    EXPECT_EQ(unknownCommand.status, kStatusRejected);
    EXPECT_EQ(p->LastCode(), 0u);
    EXPECT_EQ(p->GetErrorText(), "Invalid Command");

    // The fault refuses the write with the chosen code, and the device does not act on it.
    Answer refused = Ask(*p, "PC SY 111 9");
    EXPECT_EQ(refused.status, kStatusRejected);
    EXPECT_EQ(refused.reply, "NO05");
    EXPECT_EQ(p->LastCode(), 5u);
    EXPECT_EQ(p->GetErrorText(), "No Transaction Ever Done");
    p->ReportError("Cannot write SY 111", MB_OK);
    EXPECT_EQ(ui.LastMessage(), "Cannot write SY 111 - No Transaction Ever Done");

    Answer unchanged = Ask(*p, "PV SY 111");
    EXPECT_EQ(unchanged.status, kStatusOk);
    EXPECT_EQ(unchanged.reply, "PV SY 111 5");
    EXPECT_EQ(p->Port()->Status(), kStatusOk);

    ASSERT_TRUE(sim->WaitForFrames(4, 4));
    EXPECT_EQ(BytesOf(sim->Sent()), (std::vector<std::string>{Reply("NO14"), Reply("NO00"), Reply("NO05"),
                                                              Reply("PV SY 111 5")}));
}

TEST_P(ProtocolSim, NoiseBeforeTheReplyIsSkippedUpToTheLimit) {
    // The first reply comes after 100 bytes of noise, the second after the most the reader
    // skips, the third after one byte more than that.
    auto sim = Start({"--fault", "noise=100,count=1", "--fault", "noise=4095,skip=1,count=1", "--fault",
                      "noise=4096,skip=2,count=1"});
    ASSERT_TRUE(sim->Ready());
    auto p = sim->Open(F());

    EXPECT_EQ(Ask(*p, "PV SY 111").reply, "PV SY 111 5");
    Answer most = Ask(*p, "PV SY 112");
    EXPECT_EQ(most.status, kStatusOk);
    EXPECT_EQ(most.reply, "PV SY 112 Metric units");

    // Given up by count: a protocol error, not a time-out.
    Answer tooMuch = Ask(*p, "GP");
    EXPECT_EQ(tooMuch.status, kStatusProtocolError);
    EXPECT_EQ(p->Port()->Status(), kStatusProtocolError);
    EXPECT_EQ(tooMuch.reply, "");

    // The reader stopped at the last noise byte: the reply behind it is still whole.
    std::string late;
    EXPECT_EQ(p->Receive(late), kStatusOk);
    EXPECT_EQ(late, "0A463B8B");

    Answer next = Ask(*p, "XV SY 112");
    EXPECT_EQ(next.status, kStatusOk);
    EXPECT_EQ(next.reply, "XV SY 112 7");

    ASSERT_TRUE(sim->WaitForFrames(4, 4));
    std::vector<size_t> noise;
    for (const SimFrame& f : sim->Sim().ReadLog()) {
        if (f.Sent() && f.kind == "noise") noise.push_back(f.bytes.size());
    }
    EXPECT_EQ(noise, (std::vector<size_t>{100, 4095, 4096}));
    EXPECT_EQ(BytesOf(sim->Sent())[1], Reply("PV SY 112 Metric units"));
}

TEST_P(ProtocolSim, AReplyLongerThanTheReaderTakesIsAProtocolErrorWithoutWaiting) {
    // The reader takes 4096 bytes after the start character: the address digits, the text and
    // the end (CR LF, or ETX before the two check bytes).
    const size_t longest = F() == Framing::Terminal ? 4092 : 4093;
    const std::string fits = "long-reply=" + std::to_string(longest) + ",count=1";
    const std::string over = "long-reply=" + std::to_string(longest + 1) + ",skip=1,count=1";
    auto sim = Start({"--fault", fits, "--fault", over, "--fault", "long-reply=5000,skip=2,count=1"});
    ASSERT_TRUE(sim->Ready());
    auto p = sim->Open(F());

    Answer largest = Ask(*p, "PV SY 111");
    EXPECT_EQ(largest.status, kStatusOk);
    EXPECT_EQ(largest.reply.size(), longest);
    EXPECT_EQ(largest.reply, "PV SY 111 5" + std::string(longest - 11, 'X'));

    for (const char* command : {"PV SY 112", "XV SY 112"}) {
        // Known once the reader is full: a protocol error, not a time-out.
        Answer longOne = Ask(*p, command);
        EXPECT_EQ(longOne.status, kStatusProtocolError) << command;
        EXPECT_EQ(p->Port()->Status(), kStatusProtocolError);
        EXPECT_EQ(longOne.reply, "");
    }

    ASSERT_TRUE(sim->WaitForFrames(3, 3));
    const auto sent = sim->Sent();
    EXPECT_EQ(sent.at(1).text.size(), longest + 1);
    EXPECT_EQ(sent.at(2).text.size(), 5000u);
    EXPECT_EQ(sent.at(2).text.substr(0, 11), "XV SY 112 7");
    EXPECT_EQ(Hex(sent.at(0).bytes), Reply(largest.reply));

    // What was left of the long replies is dropped before the next command.
    Answer next = Ask(*p, "GP");
    EXPECT_EQ(next.status, kStatusOk);
    EXPECT_EQ(next.reply, "0A463B8B");
}

TEST_P(ProtocolSim, SeveralDeviceAddressesShareOneLink) {
    auto sim = Start({"--addresses", "1,2,3"},
                     "[1]\nSY 111 - one\n[2]\nSY 111 - two\n[3]\nSY 111 - three\n[*]\nSY 200 - shared\n");
    ASSERT_TRUE(sim->Ready());
    auto p = sim->Open(F());
    const std::string names[] = {"one", "two", "three"};
    for (int address = 1; address <= 3; ++address) {
        p->SetAddress(address);
        EXPECT_EQ(Ask(*p, "PV SY 111").reply, "PV SY 111 " + names[address - 1]) << address;
    }
    p->SetAddress(2);
    EXPECT_EQ(Ask(*p, "PC SY 111 2b").status, kStatusOk);
    for (int address = 1; address <= 3; ++address) {
        p->SetAddress(address);
        EXPECT_EQ(ReplyValue(Ask(*p, "PV SY 111").reply), address == 2 ? "2b" : names[address - 1]) << address;
        EXPECT_EQ(ReplyValue(Ask(*p, "PV SY 200").reply), "shared") << address;
    }

    ASSERT_TRUE(sim->WaitForFrames(10, 10));
    const std::vector<int> order = {1, 2, 3, 2, 1, 1, 2, 2, 3, 3};
    EXPECT_EQ(AddressesOf(sim->Received()), order);
    EXPECT_EQ(AddressesOf(sim->Sent()), order);
    EXPECT_EQ(BytesOf(sim->Received())[3], Request("PC SY 111 2b", 2));
    EXPECT_EQ(BytesOf(sim->Sent())[2], Reply("PV SY 111 three", 3));
}

INSTANTIATE_TEST_SUITE_P(Links, ProtocolSim, ::testing::ValuesIn(kAllLinks), LinkName());

// Faults that belong to one framing, on both transports.
class ProtocolSimFraming : public ::testing::TestWithParam<Transport> {
protected:
    std::unique_ptr<SimRig> Start(std::vector<std::string> args) {
        args.insert(args.begin(), "--no-dictionary");
        auto link = std::make_unique<SimRig>(SimRig::Setup{GetParam(), std::move(args), kState});
        EXPECT_TRUE(link->Ready()) << link->Error();
        return link;
    }
};

TEST_P(ProtocolSimFraming, AMinicomputerReplyWithAWrongLrcIsAProtocolError) {
    auto sim = Start({"--fault", "bad-lrc,count=1"});
    ASSERT_TRUE(sim->Ready());
    auto p = sim->Open(Framing::Mini);

    Answer bad = Ask(*p, "PV SY 111");
    EXPECT_EQ(bad.status, kStatusProtocolError);
    EXPECT_EQ(p->Port()->Status(), kStatusProtocolError);
    EXPECT_EQ(bad.reply, "");

    ASSERT_TRUE(sim->WaitForFrames(1, 1));
    // The frame is right but for its check byte.
    const std::string wire = sim->Sent().at(0).bytes;
    const std::string good = SimReplyBytes(Framing::Mini, 1, "PV SY 111 5");
    ASSERT_EQ(wire.size(), good.size());
    EXPECT_EQ(wire.substr(0, wire.size() - 2), good.substr(0, good.size() - 2));
    EXPECT_NE(wire[wire.size() - 2], good[good.size() - 2]);

    Answer next = Ask(*p, "PV SY 111");
    EXPECT_EQ(next.status, kStatusOk);
    EXPECT_EQ(next.reply, "PV SY 111 5");
}

TEST_P(ProtocolSimFraming, ATerminalReplyWithoutCarriageReturnIsAProtocolError) {
    auto sim = Start({"--fault", "no-cr,count=1"});
    ASSERT_TRUE(sim->Ready());
    auto p = sim->Open(Framing::Terminal);

    Answer bad = Ask(*p, "PV SY 111");
    EXPECT_EQ(bad.status, kStatusProtocolError);
    EXPECT_EQ(p->Port()->Status(), kStatusProtocolError);
    EXPECT_EQ(bad.reply, "");

    ASSERT_TRUE(sim->WaitForFrames(1, 1));
    EXPECT_EQ(Hex(sim->Sent().at(0).bytes), Hex("*01PV SY 111 5\n"));

    EXPECT_EQ(Ask(*p, "GP").reply, "0A463B8B");
}

TEST_P(ProtocolSimFraming, PersonasAnswerAsTheirDevices) {
    // An operator panel refuses the probe and names its own firmware; a read-only controller
    // answers reads and refuses writes.
    {
        auto mmi = Start({"--persona", "mmi"});
        ASSERT_TRUE(mmi->Ready());
        auto p = mmi->Open(Framing::Mini);
        EXPECT_EQ(Ask(*p, "PV SY 111").status, kStatusRejected);
        EXPECT_EQ(p->GetErrorText(), "Invalid Command");
        EXPECT_EQ(Ask(*p, "GP").reply, "32A0E748");
    }
    auto ro = Start({"--persona", "readonly"});
    ASSERT_TRUE(ro->Ready());
    auto p = ro->Open(Framing::Terminal);
    EXPECT_EQ(Ask(*p, "PV SY 111").reply, "PV SY 111 5");
    EXPECT_EQ(Ask(*p, "PC SY 111 6").status, kStatusRejected);
    EXPECT_EQ(p->GetErrorText(), "Operation Not Allowed");
    EXPECT_EQ(Ask(*p, "PV SY 111").reply, "PV SY 111 5");
}

INSTANTIATE_TEST_SUITE_P(Links, ProtocolSimFraming, ::testing::ValuesIn(kTransports), LinkName());

// The exact bytes of the probe on both kinds of link, spelled out once.
TEST(ProtocolSimWire, TheProbeInMinicomputerFramingCarriesItsCheckOnSerialOnly) {
    const std::string serial = "02 30 31 50 56 20 53 59 20 31 31 31 03 3F 7F 00";
    const std::string tcp = "02 30 31 50 56 20 53 59 20 31 31 31 03";
    for (Transport t : {Transport::Pty, Transport::Tcp}) {
        SimRig sim({t, {"--no-dictionary"}, kState});
        ASSERT_TRUE(sim.Ready()) << sim.Error();
        auto p = sim.OpenMini();
        const std::string* frame = p->Send("PV SY 111");
        ASSERT_NE(frame, nullptr);
        // The frame handed back is STX to ETX on both links.
        EXPECT_EQ(Hex(*frame), tcp);
        std::string reply;
        EXPECT_EQ(p->Receive(reply), kStatusOk);
        ASSERT_TRUE(sim.WaitForFrames(1, 1));
        EXPECT_EQ(Hex(sim.Received().at(0).bytes), t == Transport::Pty ? serial : tcp);
    }
}

}  // namespace
}  // namespace qs::test
