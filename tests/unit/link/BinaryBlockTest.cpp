#include <gtest/gtest.h>

#include <memory>
#include <numeric>

#include "DeviceFrames.h"
#include "ScriptedStream.h"
#include "link/MiniProtocol.h"

namespace qs::test {

namespace {

struct MiniLink {
    explicit MiniLink(bool network, int address = 1) {
        auto s = std::make_unique<ScriptedStream>(network);
        stream = s.get();
        protocol = std::make_unique<MiniProtocol>(std::move(s), address);
    }
    ScriptedStream* stream;
    std::unique_ptr<MiniProtocol> protocol;
};

std::vector<uint8_t> Data(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

}  // namespace

TEST(BinaryBlock, FrameCarriesItsCheckOnEveryLink) {
    const auto request = Data(std::string("SV \x04\x16\x46\xFE", 7));
    for (bool network : {false, true}) {
        MiniLink link(network);
        const std::string* frame = link.protocol->SendBinary(request);
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(Hex(*frame), "02 30 31 53 56 20 04 16 46 FE 03");
        EXPECT_EQ(Hex(link.stream->Written()), "02 30 31 53 56 20 04 16 46 FE 03 8D 7F 00");
        EXPECT_EQ(link.stream->purges, 1);
    }
}

TEST(BinaryBlock, ControlBytesAreEscaped) {
    MiniLink link(true, 12);
    const std::string* frame = link.protocol->SendBinary(std::vector<uint8_t>{0x02, 0x03, 0x7F, 0x1B, 0x41, 0x00});
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(Hex(*frame), "02 31 32 1B 53 1B 45 1B 50 1B 1B 41 00 03");
    // The check covers the escaped bytes as sent.
    EXPECT_EQ(static_cast<uint8_t>(link.stream->Written()[frame->size()]), XorOf(frame->substr(1)));
}

TEST(BinaryBlock, EveryByteValueRoundTripsThroughTheLine) {
    std::vector<uint8_t> all(256);
    std::iota(all.begin(), all.end(), 0);
    for (bool network : {false, true}) {
        MiniLink link(network);
        const std::string* frame = link.protocol->SendBinary(all);
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->size(), 1 + 2 + 256 + 4 + 1);
        const std::string inner = frame->substr(1, frame->size() - 2);
        EXPECT_EQ(inner.find_first_of(std::string("\x02\x03\x7F", 3)), std::string::npos);

        // What went out, served back as the reply, decodes to the same bytes (its status word,
        // bytes 5 and 6, is 0x0506: no rejection).
        link.stream->Feed(link.stream->Written());
        std::vector<uint8_t> out;
        EXPECT_EQ(link.protocol->ReceiveBinary(out), 256);
        EXPECT_EQ(out, all);
        EXPECT_EQ(link.protocol->LastCode(), 0x0506u);
    }
}

TEST(BinaryBlock, BlocksUpTo1024BytesGoOutAndLongerOnesAreRefused) {
    MiniLink link(false);
    const std::vector<uint8_t> worst(1024, 0x1B);
    const std::string* frame = link.protocol->SendBinary(worst);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->size(), 1 + 2 + 2048 + 1);
    link.stream->Feed(link.stream->Written());
    std::vector<uint8_t> out;
    EXPECT_EQ(link.protocol->ReceiveBinary(out), 1024);
    EXPECT_EQ(out, worst);

    link.stream->ClearWritten();
    const int calls = link.stream->writeCalls;
    EXPECT_EQ(link.protocol->SendBinary(std::vector<uint8_t>(1025, 'a')), nullptr);
    EXPECT_EQ(link.stream->writeCalls, calls);
    EXPECT_EQ(link.stream->Status(), kStatusTransmitError);
    EXPECT_TRUE(link.protocol->LastFrame().empty());
}

TEST(BinaryBlock, FailedWritesGiveNull) {
    // The frame and its check bytes go out in one write.
    MiniLink link(true);
    link.stream->FailWritesFrom(1);
    EXPECT_EQ(link.protocol->SendBinary(Data("SV \x04\x10")), nullptr);
    EXPECT_EQ(link.stream->writeCalls, 1);
    EXPECT_EQ(link.stream->Status(), kStatusReceiveError);
    EXPECT_TRUE(link.protocol->LastFrame().empty());
}

TEST(BinaryBlock, ReplyStatusWordDecidesRejection) {
    MiniLink link(true);  // a network read leaves the port status alone
    link.stream->SetStatus(kStatusTimeout);
    link.stream->Feed(BinaryReply(1, 0x0418, 0x0000, {0xAA, 0x02, 0xBB}));
    std::vector<uint8_t> out;
    EXPECT_EQ(link.protocol->ReceiveBinary(out), 10);
    EXPECT_EQ(out, (std::vector<uint8_t>{'S', 'V', ' ', 0x04, 0x18, 0, 0, 0xAA, 0x02, 0xBB}));
    EXPECT_EQ(link.stream->Status(), kStatusOk);

    link.stream->Feed(BinaryReply(1, 0x0418, 0x0000));
    EXPECT_EQ(link.protocol->ReceiveBinary(out), 7);

    link.stream->Feed(BinaryReply(1, 0x0419, 0x8006));
    EXPECT_EQ(link.protocol->ReceiveBinary(out), -kStatusRejected);
    EXPECT_EQ(link.stream->Status(), kStatusRejected);
    EXPECT_EQ(link.protocol->LastCode(), 0x8006u);
    EXPECT_EQ(link.protocol->GetErrorText(), "Bad CRC");
    EXPECT_EQ(out.size(), 7u);

    link.stream->Feed(BinaryReply(1, 0x0419, 0xC003));
    EXPECT_EQ(link.protocol->ReceiveBinary(out), -kStatusRejected);
    EXPECT_EQ(link.protocol->GetErrorText(), "Buffer Allocation Error");

    link.stream->Feed(BinaryReply(1, 0x0419, 0x4000));
    EXPECT_EQ(link.protocol->ReceiveBinary(out), 7);
    EXPECT_EQ(link.protocol->LastCode(), 0x4000u);
}

TEST(BinaryBlock, EscapeFollowedByAnyOtherByteDecodesToZero) {
    MiniLink link(true);
    const std::string head("SV \x04\x18\0\0", 7);
    std::string escapes;
    size_t count = 0;
    for (int b = 0; b < 256; ++b) {
        if (b == 'S' || b == 'E' || b == 'P' || b == 0x1B || b == 0x03) continue;
        escapes += '\x1B';
        escapes += static_cast<char>(b);
        ++count;
    }
    // And a lone ESC at the end of the data.
    link.stream->Feed(MiniReply(1, head + escapes + "\x1B"));
    std::vector<uint8_t> out;
    EXPECT_EQ(link.protocol->ReceiveBinary(out), static_cast<int>(7 + count + 1));
    EXPECT_EQ(std::vector<uint8_t>(out.begin() + 7, out.end()), std::vector<uint8_t>(count + 1, 0));
}

TEST(BinaryBlock, MalformedRepliesGiveMinusProtocolError) {
    const std::string cases[] = {
        MiniReply(1, "SV \x04\x18\x01", 0),                              // six bytes
        MiniReply(1, std::string("SV \x1BS\x1BS", 7)),                   // seven on the line, five decoded
        MiniReply(1, std::string("SV \x04\x18\0\0", 7), 1),              // wrong LRC
        Bytes({2, '1', 3, 0x32, 0}),                                     // shorter than the address
        "\x02" + std::string(5000, 'a'),                                 // no ETX in 4095 bytes
        std::string(4096, '\x03') + BinaryReply(1, 0x0418, 0),           // endless noise
    };
    for (const auto& line : cases) {
        MiniLink link(false);
        link.stream->Feed(line);
        std::vector<uint8_t> out{1, 2, 3};
        EXPECT_EQ(link.protocol->ReceiveBinary(out), -kStatusProtocolError) << Hex(line.substr(0, 24));
        EXPECT_EQ(link.stream->Status(), kStatusProtocolError);
        EXPECT_TRUE(out.empty());
    }
}

TEST(BinaryBlock, FailedReadsGiveMinusThePortStatus) {
    MiniLink link(true);
    link.stream->networkChunk = 1;
    std::vector<uint8_t> out;
    EXPECT_EQ(link.protocol->ReceiveBinary(out), -kStatusTimeout);
    const std::string reply = BinaryReply(1, 0x0418, 0);
    link.stream->Feed(reply.substr(0, reply.size() - 1));
    EXPECT_EQ(link.protocol->ReceiveBinary(out), -kStatusTimeout);
    link.stream->starveStatus = kStatusReceiveError;
    EXPECT_EQ(link.protocol->ReceiveBinary(out), -kStatusReceiveError);
    // A reply that arrives a byte at a time is still whole.
    link.stream->Feed(reply);
    EXPECT_EQ(link.protocol->ReceiveBinary(out), 7);
}

TEST(BinaryBlock, DataBitsComeFromThePort) {
    auto s = std::make_unique<ScriptedStream>(false, 7);
    MiniProtocol serial7(std::move(s), 1);
    EXPECT_EQ(serial7.GetDataBits(), 7);
}

}  // namespace qs::test
