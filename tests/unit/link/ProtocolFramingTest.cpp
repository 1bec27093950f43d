#include <gtest/gtest.h>

#include <memory>

#include "DeviceFrames.h"
#include "ScriptedStream.h"
#include "link/MiniProtocol.h"
#include "link/TerminalProtocol.h"

namespace qs::test {

namespace {

struct Link {
    ScriptedStream* stream;
    std::unique_ptr<TerminalProtocol> protocol;
};

Link Terminal(bool network, int address = 1) {
    auto s = std::make_unique<ScriptedStream>(network);
    auto* raw = s.get();
    return {raw, std::make_unique<TerminalProtocol>(std::move(s), address)};
}

Link Mini(bool network, int address = 1) {
    auto s = std::make_unique<ScriptedStream>(network);
    auto* raw = s.get();
    return {raw, std::make_unique<MiniProtocol>(std::move(s), address)};
}

}  // namespace

TEST(ProtocolFraming, NamesIndexesAndAddressesFromTheConstructors) {
    auto t = Terminal(false, 7);
    EXPECT_STREQ(t.protocol->Name(), "Terminal  (CR)");
    EXPECT_EQ(t.protocol->ProtocolIndex(), 0);
    EXPECT_EQ(t.protocol->Address(), 7);
    EXPECT_EQ(t.protocol->StartText(), "*");
    EXPECT_EQ(t.protocol->EndText(), "\r\n");
    EXPECT_EQ(t.protocol->ReplyTerminator(), '\n');

    auto m = Mini(true, 0x1FF);  // only the low byte is kept
    EXPECT_STREQ(m.protocol->Name(), "Minicomputer (LRC)");
    EXPECT_EQ(m.protocol->ProtocolIndex(), 1);
    EXPECT_EQ(m.protocol->Address(), 0xFF);
    EXPECT_EQ(m.protocol->StartText(), "\x02");
    EXPECT_EQ(m.protocol->EndText(), "\x03");
    EXPECT_EQ(m.protocol->ReplyTerminator(), '\x03');

    EXPECT_STREQ(ProtocolName(2), "Brask over IP");
    EXPECT_STREQ(ProtocolName(3), "");
    EXPECT_STREQ(ProtocolName(-1), "");
    EXPECT_STREQ(ProtocolName(4), "");
    TerminalProtocol odd(std::make_unique<ScriptedStream>(), 1, 9);
    EXPECT_STREQ(odd.Name(), "");
}

TEST(ProtocolFraming, TerminalFrameIsTheSameOnSerialAndTcp) {
    for (bool network : {false, true}) {
        auto link = Terminal(network);
        const std::string* frame = link.protocol->Send("PV SY 111");
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(*frame, "*01PV SY 111\r\n");
        EXPECT_EQ(link.stream->writes, std::vector<std::string>{"*01PV SY 111\r\n"});
        EXPECT_EQ(&link.protocol->LastFrame(), frame);
        EXPECT_EQ(link.stream->purges, 1);
    }
}

TEST(ProtocolFraming, MinicomputerTextFrameCarriesItsCheckOnSerialOnly) {
    auto serial = Mini(false);
    const std::string* frame = serial.protocol->Send("PV SY 111");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(Hex(serial.stream->Written()), "02 30 31 50 56 20 53 59 20 31 31 31 03 3F 7F 00");
    EXPECT_EQ(Hex(*frame), "02 30 31 50 56 20 53 59 20 31 31 31 03");
    EXPECT_EQ(serial.stream->writes.size(), 1u) << "frame and check bytes in one write";

    auto tcp = Mini(true);
    ASSERT_NE(tcp.protocol->Send("PV SY 111"), nullptr);
    EXPECT_EQ(Hex(tcp.stream->Written()), "02 30 31 50 56 20 53 59 20 31 31 31 03");
}

TEST(ProtocolFraming, AddressIsAlwaysTwoDigitsAndOutOfRangeIsRefused) {
    auto link = Terminal(false, 0);
    ASSERT_NE(link.protocol->Send("GP"), nullptr);
    link.protocol->SetAddress(7);
    ASSERT_NE(link.protocol->Send("GP"), nullptr);
    link.protocol->SetAddress(99);
    ASSERT_NE(link.protocol->Send("GP"), nullptr);
    EXPECT_EQ(link.stream->writes, (std::vector<std::string>{"*00GP\r\n", "*07GP\r\n", "*99GP\r\n"}));

    for (int bad : {100, 255, -1}) {
        link.stream->ClearWritten();
        link.stream->SetStatus(kStatusOk);
        link.protocol->SetAddress(bad);
        const int purgesBefore = link.stream->purges;
        EXPECT_EQ(link.protocol->Send("GP"), nullptr) << bad;
        EXPECT_EQ(link.stream->Status(), kStatusTransmitError);
        EXPECT_TRUE(link.stream->writes.empty());
        EXPECT_EQ(link.stream->purges, purgesBefore);
        EXPECT_TRUE(link.protocol->LastFrame().empty());
    }

    auto stream = std::make_unique<ScriptedStream>(true);
    auto* raw = stream.get();
    MiniProtocol mini(std::move(stream), 100);
    EXPECT_EQ(mini.Send("GP"), nullptr);
    EXPECT_EQ(mini.SendBinary(std::vector<uint8_t>{1, 2, 3}), nullptr);
    EXPECT_EQ(raw->Status(), kStatusTransmitError);
    EXPECT_EQ(raw->writeCalls, 0);
}

TEST(ProtocolFraming, CommandsThatWouldBreakTheFrameAreRefusedBeforeSending) {
    for (const std::string& bad : std::vector<std::string>{"PV\r", "PV\nSY", "A\x02", "A\x03"}) {
        for (bool mini : {false, true}) {
            auto link = mini ? Mini(false) : Terminal(false);
            EXPECT_EQ(link.protocol->Send(bad), nullptr) << Hex(bad);
            EXPECT_EQ(link.stream->Status(), kStatusTransmitError);
            EXPECT_EQ(link.stream->writeCalls, 0);
            EXPECT_EQ(link.stream->purges, 0);
        }
    }
    // Other control bytes are the device's business.
    auto link = Mini(true);
    ASSERT_NE(link.protocol->Send(std::string("SV \x04\x16\x46\xFE", 7)), nullptr);
    EXPECT_EQ(Hex(link.stream->Written()), "02 30 31 53 56 20 04 16 46 FE 03");
}

TEST(ProtocolFraming, FailedWritesGiveNullAndThePortStatus) {
    auto link = Terminal(false);
    link.stream->FailWritesFrom(1);
    EXPECT_EQ(link.protocol->Send("GP"), nullptr);
    EXPECT_EQ(link.stream->Status(), kStatusReceiveError);
    EXPECT_TRUE(link.protocol->LastFrame().empty());

    // The frame with its check bytes is one write.
    auto mini = Mini(false);
    mini.stream->FailWritesFrom(1);
    EXPECT_EQ(mini.protocol->Send("GP"), nullptr);
    EXPECT_EQ(mini.stream->Status(), kStatusReceiveError);
    EXPECT_TRUE(mini.protocol->LastFrame().empty());

    // A port that never opened keeps its status 1.
    auto closed = Mini(false);
    closed.stream->SetState(kStateClosed);
    closed.stream->SetStatus(kStatusCannotOpen);
    EXPECT_EQ(closed.protocol->Send("GP"), nullptr);
    EXPECT_EQ(closed.stream->Status(), kStatusCannotOpen);
    std::string reply;
    EXPECT_EQ(closed.protocol->Receive(reply), kStatusCannotOpen);
}

TEST(ProtocolFraming, AStaleRejectionNeverNamesAFailedWrite) {
    // A write that fails without the port saying why must not leave "rejected" (or "OK") behind.
    class MuteStream final : public ComStream {
    public:
        MuteStream() { state_ = kStateOpen; status_ = kStatusRejected; }
        int Write(const char*, int length) override { return length > 3 ? 3 : 0; }
        int Read(std::span<char>, int, int) override { return 0; }
        void Flush() override {}
        void PurgeInput() override {}
        std::string Describe(int) const override { return {}; }
        bool IsNetwork() const override { return true; }
        int GetDataBits() const override { return 8; }
        int ReadWaitMs() const override { return 0; }
    };
    TerminalProtocol p(std::make_unique<MuteStream>(), 1);
    EXPECT_EQ(p.Send("GP"), nullptr);
    EXPECT_EQ(p.Port()->Status(), kStatusTransmitError);
    // Likewise a read that brings nothing and sets nothing.
    p.Port()->SetStatus(kStatusRejected);
    std::string reply;
    EXPECT_EQ(p.Receive(reply), kStatusTimeout);
    EXPECT_EQ(p.Port()->Status(), kStatusTimeout);
}

TEST(ProtocolFraming, SerialSendPurgesWhatTheLineHeldBefore) {
    auto link = Terminal(false);
    link.stream->Feed("*01STALE\r\n");
    link.stream->QueueReply("*01FRESH\r\n");
    ASSERT_NE(link.protocol->Send("GP"), nullptr);
    std::string reply;
    ASSERT_EQ(link.protocol->Receive(reply), 0);
    EXPECT_EQ(reply, "FRESH");
}

TEST(ProtocolHelpers, LrcReverseBytesAndReplyValue) {
    EXPECT_EQ(ComputeLrc(std::string_view("01PV SY 111\x03")), 0x3F);
    EXPECT_EQ(ComputeLrc(std::string_view()), 0);

    uint8_t src[4] = {1, 2, 3, 4};
    uint8_t dst[4] = {};
    EXPECT_EQ(ReverseBytes(dst, src, 4), 4);
    EXPECT_EQ(std::vector<uint8_t>(dst, dst + 4), (std::vector<uint8_t>{4, 3, 2, 1}));
    EXPECT_EQ(ReverseBytes(src, src, 3), 3);
    EXPECT_EQ(std::vector<uint8_t>(src, src + 4), (std::vector<uint8_t>{3, 2, 1, 4}));
    EXPECT_EQ(ReverseBytes(dst, src, 0), 0);
    EXPECT_EQ(ReverseBytes(dst, src, -2), 0);
    EXPECT_EQ(dst[0], 4);

    EXPECT_EQ(ReplyValue("PV SY 111 5"), "5");
    EXPECT_EQ(ReplyValue("PC SY 111 ABC DEF"), "ABC DEF");
    EXPECT_EQ(ReplyValue("PV SY 111 "), "");
    EXPECT_EQ(ReplyValue("PV"), "");
    EXPECT_EQ(ReplyValue(""), "");
}

}  // namespace qs::test
