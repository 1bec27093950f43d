#include "Session.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace sim::test {

using namespace std::string_literals;

namespace {

struct Rig {
    explicit Rig(std::vector<std::string> faults = {}, const char* persona = "controller", std::vector<int> addresses = {1}) {
        ControllerConfig config;
        config.persona = *Persona::FromName(persona);
        config.addresses = std::move(addresses);
        controller = std::make_unique<Controller>(config);
        for (const auto& f : faults) EXPECT_EQ(controller->Faults().Add(f), "") << f;
        controller->Values().Put(1, "SY", 111, {"5", 3});
        controller->Values().Put(2, "SY", 111, {"6", 3});
        controller->DataSets().Put(0x0418, "0123456789");
        tcp = std::make_unique<Session>(*controller, Transport::Tcp, 1);
        pty = std::make_unique<Session>(*controller, Transport::Pty, 2);
    }

    // The bytes sent back for `request`, all Send events joined.
    std::string Reply(const std::string& request, bool serial = false) {
        last = (serial ? pty : tcp)->OnBytes(request, 0);
        std::string out;
        for (const auto& e : last) {
            if (e.type == SessionEvent::Type::Send) out += e.wire;
        }
        return out;
    }
    const SessionEvent* Find(SessionEvent::Type type) const {
        for (const auto& e : last) {
            if (e.type == type) return &e;
        }
        return nullptr;
    }

    std::unique_ptr<Controller> controller;
    std::unique_ptr<Session> tcp, pty;
    std::vector<SessionEvent> last;
};

std::string BlockRequest(int address, const std::string& block) {
    std::string body = FrameCodec::AddressDigits(address) + FrameCodec::Escape(block) + "\x03";
    uint8_t lrc = 0;
    for (char c : body) lrc ^= static_cast<uint8_t>(c);
    return "\x02" + body + std::string{static_cast<char>(lrc), '\x7F', '\0'};
}

}  // namespace

TEST(SimSession, RepliesInTheFramingOfTheRequest) {
    Rig rig;
    EXPECT_EQ(rig.Reply("*01PV SY 111\r\n"), "*01PV SY 111 5\r\n");
    // Minicomputer replies carry LRC and pad on every link.
    EXPECT_EQ(rig.Reply("\x02" "01PV SY 111\x03"s), "\x02" "01PV SY 111 5\x03\x2A\x00"s);
    EXPECT_EQ(rig.Reply("\x02" "01PV SY 111\x03\x3F\x7F\x00"s, true), "\x02" "01PV SY 111 5\x03\x2A\x00"s);
    EXPECT_EQ(rig.Reply("\x02" "01GP\x03"s), "\x02" "010A463B8B\x03\x7A\x00"s);
    EXPECT_EQ(rig.Reply("*01PV SY 999\r\n"), "*01NO14\r\n");
    // On serial, a text frame without its trailer is not complete yet.
    EXPECT_EQ(rig.Reply("\x02" "01GP\x03"s, true), "");
}

TEST(SimSession, BlocksAreAnsweredEscapedWithTrailer) {
    Rig rig;
    const std::string reply = rig.Reply(BlockRequest(1, "SV \x04\x18\x00\x00"s));
    ASSERT_GE(reply.size(), 5u);
    // Length 10 and the CRC-32 of "0123456789" (0xA684C7C6).
    EXPECT_EQ(reply.substr(0, reply.size() - 2), "\x02" "01SV \x04\x18\x00\x00\x00\x00\x00\x0A\xA6\x84\xC7\xC6\x03"s);
    const SessionEvent* sent = rig.Find(SessionEvent::Type::Send);
    ASSERT_NE(sent, nullptr);
    EXPECT_TRUE(sent->record.binary);
    EXPECT_EQ(sent->record.text, "SV \x04\x18\x00\x00\x00\x00\x00\x0A\xA6\x84\xC7\xC6"s);
    EXPECT_EQ(rig.Reply(BlockRequest(1, "SV \x04\x18\x00\x01"s)).substr(10, 10), "0123456789");
}

TEST(SimSession, OnlyServedAddressesAreAnswered) {
    Rig rig({}, "controller", {1, 2});
    EXPECT_EQ(rig.Reply("*02PV SY 111\r\n"), "*02PV SY 111 6\r\n");
    EXPECT_EQ(rig.Reply("*03PV SY 111\r\n"), "");
    ASSERT_EQ(rig.last.size(), 1u);
    EXPECT_EQ(rig.last[0].record.error, "address not served");
    EXPECT_EQ(rig.last[0].record.address, 3);
    EXPECT_EQ(rig.Reply("\x02" "01PV SY 111\x03\x00\x7F\x00"s, true), "");
    EXPECT_EQ(rig.last[0].record.error, "bad LRC");
}

TEST(SimSession, EchoAndSilentPersonas) {
    Rig echo({}, "echo");
    const std::string anything = "\x02" "01PV SY 111\x03\x3F\x7F\x00junk"s;
    EXPECT_EQ(echo.Reply(anything), anything);
    EXPECT_EQ(echo.last[1].record.kind, "raw");
    Rig silent({}, "silent");
    EXPECT_EQ(silent.Reply("*01PV SY 111\r\n"), "");
    ASSERT_EQ(silent.last.size(), 1u);
    EXPECT_EQ(silent.last[0].type, SessionEvent::Type::Received);
}

TEST(SimSession, ReplyFaults) {
    {
        Rig rig({"bad-lrc"});
        EXPECT_EQ(rig.Reply("\x02" "01GP\x03"s), "\x02" "010A463B8B\x03\x85\x00"s);
        EXPECT_EQ(rig.Reply("*01GP\r\n"), "*010A463B8B\r\n");
    }
    {
        Rig rig({"no-cr"});
        EXPECT_EQ(rig.Reply("*01GP\r\n"), "*010A463B8B\n");
    }
    {
        Rig rig({"noise=5,on=GP"});
        const std::string reply = rig.Reply("*01GP\r\n");
        ASSERT_EQ(reply.size(), 5u + 13u);
        EXPECT_EQ(reply.substr(5), "*010A463B8B\r\n");
        EXPECT_EQ(reply.substr(0, 5).find_first_of("*\x02\x03\r\n"s), std::string::npos);
        EXPECT_EQ(rig.last[1].record.kind, "noise");
    }
    {
        Rig rig({"long-reply=5000"});
        const std::string reply = rig.Reply("*01PV SY 111\r\n");
        EXPECT_EQ(reply.size(), 5000u + 5u);
        EXPECT_EQ(reply.substr(0, 14), "*01PV SY 111 5");
    }
    {
        Rig rig({"delay=250,on=GP"});
        rig.Reply("*01GP\r\n");
        EXPECT_EQ(rig.Find(SessionEvent::Type::Send)->delayMs, 250);
        rig.Reply("*01LO\r\n");
        EXPECT_EQ(rig.Find(SessionEvent::Type::Send)->delayMs, 0);
    }
}

TEST(SimSession, RejectionAndSilenceFaults) {
    Rig rig({"reject=06,on=PC SY 111", "drop,count=2,on=LO"});
    EXPECT_EQ(rig.Reply("*01PC SY 111 7\r\n"), "*01NO06\r\n");
    EXPECT_EQ(rig.Reply("*01PV SY 111\r\n"), "*01PV SY 111 5\r\n");  // not acted on
    EXPECT_EQ(rig.Reply("*01LO\r\n"), "");
    EXPECT_EQ(rig.Reply("*01LO\r\n"), "");
    EXPECT_EQ(rig.Reply("*01LO\r\n"), "*01LO\r\n");
}

TEST(SimSession, CloseAfterCountsTheFramesOfEachConnection) {
    Rig rig({"close-after=2"});
    EXPECT_EQ(rig.Reply("*01GP\r\n"), "*010A463B8B\r\n");
    EXPECT_EQ(rig.Reply("*01GP\r\n"), "");
    EXPECT_NE(rig.Find(SessionEvent::Type::Close), nullptr);
    Session other(*rig.controller, Transport::Tcp, 9);
    auto events = other.OnBytes("*01GP\r\n", 0);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].type, SessionEvent::Type::Send);
}

TEST(SimSession, EnvelopeFaults) {
    {
        Rig rig({"reject-block=2:8003,code=0418"});
        EXPECT_EQ(rig.Reply(BlockRequest(1, "SV \x04\x18\x00\x01"s)).substr(8, 2), "\x00\x00"s);
        EXPECT_EQ(rig.Reply(BlockRequest(1, "SV \x04\x18\x00\x02"s)).substr(0, 11), "\x02" "01SV \x04\x18\x80\x1B" "E"s);
    }
    {
        Rig rig({"short-reply,block=0"});
        const SessionEvent* sent = nullptr;
        rig.Reply(BlockRequest(1, "SV \x04\x18\x00\x00"s));
        sent = rig.Find(SessionEvent::Type::Send);
        ASSERT_NE(sent, nullptr);
        EXPECT_EQ(sent->record.text.size(), 14u);
    }
    {
        Rig rig({"late-final=3000"});
        rig.Reply(BlockRequest(1, "SV \x04\x19"s));
        EXPECT_EQ(rig.Find(SessionEvent::Type::Send)->delayMs, 0);
        // Total 2: "A" and the closing 0x00, then the CRC-32 of "A\0".
        rig.Reply(BlockRequest(1, "SV \x04\x19\x00\x00\x00\x02" "A"s));
        EXPECT_EQ(rig.Find(SessionEvent::Type::Send)->delayMs, 0);
        const uint32_t crc = Crc32::Of("A\0"s);
        std::string last = "SV \x04\x19\0"s;
        PutU32(last, crc);
        rig.Reply(BlockRequest(1, last));
        const SessionEvent* ack = rig.Find(SessionEvent::Type::Send);
        ASSERT_NE(ack, nullptr);
        EXPECT_EQ(ack->delayMs, 3000);
        EXPECT_EQ(ack->record.text, "SV \x04\x19\x00\x00"s);
        EXPECT_EQ(rig.controller->DataSets().Written(0x0419), "A\0"s);
    }
}

}  // namespace sim::test
