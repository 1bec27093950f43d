// Binary blocks between the Minicomputer protocol and the simulator: "SV " read requests for
// a data set kept in the simulator's data folder, escaped on the wire in both directions and
// checked by their LRC, on TCP/IP and on a serial line alike.
#include <gtest/gtest.h>

#include "DeviceFrames.h"
#include "SimRig.h"
#include "link/Crc32.h"
#include "link/MiniProtocol.h"

namespace qs::test {
namespace {

constexpr uint16_t kCode = 0x0418;

std::vector<uint8_t> ReadRequest(uint16_t block) { return Vec(ReadRequestBytes(kCode, block)); }

// The head a reply echoes, its status word, then `data`.
std::vector<uint8_t> ReplyBlock(uint16_t status, const std::vector<uint8_t>& data = {}) {
    return Vec(ReadRequestBytes(kCode, status) + Text(data));
}

uint32_t BigEndian32(const std::vector<uint8_t>& bytes, size_t at) { return U32From(Text(bytes), at); }

class ProtocolSimBinary : public ::testing::TestWithParam<Transport> {
protected:
    std::string Transcript(const SimRig& sim) const {
        std::string out;
        for (const SimFrame& f : sim.Sim().ReadLog()) out += f.direction + " " + Hex(f.bytes) + " " + f.error + "\n";
        return out;
    }
};

TEST_P(ProtocolSimBinary, ADataSetIsReadBlockByBlockWithEveryByteValue) {
    // Every byte value, the framing and escape bytes among them, in the first data block.
    std::vector<uint8_t> data;
    for (int i = 0; i < 256; ++i) data.push_back(static_cast<uint8_t>(i));
    for (int i = 255; i >= 0; --i) data.push_back(static_cast<uint8_t>(i));
    SimRig sim({GetParam(), {"--fault", "status=8009,block=2,count=1"}, "", {{"0418.bin", Text(data)}}});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    auto p = sim.OpenMini();
    EXPECT_EQ(p->GetDataBits(), 8);

    std::vector<uint8_t> out;
    // Block 0: the length and CRC-32 of the set.
    const std::string* frame = p->SendBinary(ReadRequest(0));
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(Hex(*frame), Hex(BlockRequestBytes(1, ReadRequest(0)).substr(0, 11)));
    ASSERT_EQ(p->ReceiveBinary(out), 15);
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 7), ReplyBlock(0));
    EXPECT_EQ(BigEndian32(out, 7), data.size());
    EXPECT_EQ(BigEndian32(out, 11), Crc32(data.data(), data.size()));
    EXPECT_EQ(p->LastCode(), 0u);
    EXPECT_EQ(p->Port()->Status(), kStatusOk);

    // Block 1: the first 500 bytes.
    const std::vector<uint8_t> first(data.begin(), data.begin() + 500);
    ASSERT_NE(p->SendBinary(ReadRequest(1)), nullptr);
    ASSERT_EQ(p->ReceiveBinary(out), 507);
    EXPECT_EQ(out, ReplyBlock(0, first));

    // Block 2, refused once by the fault, then served: the last 12 bytes.
    ASSERT_NE(p->SendBinary(ReadRequest(2)), nullptr);
    EXPECT_EQ(p->ReceiveBinary(out), -kStatusRejected);
    EXPECT_EQ(p->LastCode(), 0x8009u);
    EXPECT_EQ(p->GetErrorText(), "Bad Database Identifier");
    EXPECT_EQ(p->Port()->Status(), kStatusRejected);
    const std::vector<uint8_t> rest(data.begin() + 500, data.end());
    ASSERT_NE(p->SendBinary(ReadRequest(2)), nullptr);
    ASSERT_EQ(p->ReceiveBinary(out), 19);
    EXPECT_EQ(out, ReplyBlock(0, rest));
    EXPECT_EQ(p->Port()->Status(), kStatusOk);

    // Past the end.
    ASSERT_NE(p->SendBinary(ReadRequest(3)), nullptr);
    EXPECT_EQ(p->ReceiveBinary(out), -kStatusRejected);
    EXPECT_EQ(p->GetErrorText(), "Block Not Found");

    ASSERT_TRUE(sim.WaitForFrames(5, 5)) << Transcript(sim);
    const auto rx = sim.Received();
    const uint16_t asked[] = {0, 1, 2, 2, 3};
    for (size_t i = 0; i < rx.size(); ++i) {
        EXPECT_TRUE(rx[i].binary) << i;
        EXPECT_EQ(rx[i].error, "") << i;
        EXPECT_EQ(Hex(rx[i].bytes), Hex(BlockRequestBytes(1, ReadRequest(asked[i])))) << i;
        EXPECT_EQ(Hex(rx[i].text), Hex(Text(ReadRequest(asked[i])))) << i;
    }
    const auto tx = sim.Sent();
    ASSERT_EQ(tx.size(), 5u);
    EXPECT_EQ(Hex(tx[1].bytes), Hex(SimBlockReplyBytes(1, ReplyBlock(0, first))));
    EXPECT_EQ(Hex(tx[2].bytes), Hex(SimBlockReplyBytes(1, ReplyBlock(0x8009))));
    EXPECT_EQ(Hex(tx[3].bytes), Hex(SimBlockReplyBytes(1, ReplyBlock(0, rest))));
    EXPECT_EQ(Hex(tx[4].bytes), Hex(SimBlockReplyBytes(1, ReplyBlock(0x8001))));

    // On the wire the data block carries no bare framing byte: STX and ETX only at its ends,
    // each of the four special bytes as ESC and a letter (ESC ESC for ESC itself).
    const std::string& wire = tx[1].bytes;
    const std::string body = wire.substr(1, wire.size() - 4);
    EXPECT_EQ(body.find_first_of(std::string("\x02\x03\x7F", 3)), std::string::npos) << Hex(body);
    for (const char* escape : {"\x1BS", "\x1B" "E", "\x1BP", "\x1B\x1B"}) {
        EXPECT_NE(body.find(escape), std::string::npos) << Hex(escape);
    }
}

TEST_P(ProtocolSimBinary, RequestBytesThatNeedEscapingReachTheDeviceIntact) {
    // One byte per block, so block numbers can be any 16-bit value within the set: 0x7F1B and
    // 0x0203 carry all four bytes that must be escaped.
    std::string set(0x7F1C, '\0');
    for (size_t i = 0; i < set.size(); ++i) set[i] = static_cast<char>(i * 7 + 1);
    SimRig sim({GetParam(), {"--block-size", "1", "--addresses", "42"}, "", {{"0418.bin", set}}});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    auto p = sim.OpenMini(42);

    std::vector<uint8_t> out;
    for (uint16_t block : {0x7F1B, 0x0203}) {
        const std::string* frame = p->SendBinary(ReadRequest(block));
        ASSERT_NE(frame, nullptr);
        // The escaped request, not the raw one, sits between STX and ETX.
        const std::string inside = frame->substr(1, frame->size() - 2);
        EXPECT_EQ(inside.find_first_of(std::string("\x02\x03\x7F", 3)), std::string::npos) << Hex(*frame);
        ASSERT_EQ(p->ReceiveBinary(out), 8) << Transcript(sim);
        EXPECT_EQ(out, ReplyBlock(0, {static_cast<uint8_t>(set[block - 1u])}));
    }

    ASSERT_TRUE(sim.WaitForFrames(2, 2)) << Transcript(sim);
    const auto rx = sim.Received();
    EXPECT_EQ(Hex(rx[0].bytes), Hex(BlockRequestBytes(42, ReadRequest(0x7F1B))));
    EXPECT_NE(rx[0].bytes.find("\x1BP\x1B\x1B"), std::string::npos);
    EXPECT_EQ(Hex(rx[1].bytes), Hex(BlockRequestBytes(42, ReadRequest(0x0203))));
    EXPECT_NE(rx[1].bytes.find("\x1BS\x1B" "E"), std::string::npos);
    for (const SimFrame& f : rx) {
        EXPECT_EQ(f.error, "");
        EXPECT_EQ(f.address, 42);
    }
}

TEST_P(ProtocolSimBinary, ABinaryReplyLongerThanTheReaderTakesIsAProtocolErrorWithoutWaiting) {
    // The reader takes 4095 bytes after STX: the address digits, the escaped block and ETX.
    // Block 1 escapes to exactly 4092 bytes (a 7-byte head, 2042 bytes 0x7F doubled, one
    // plain byte); block 2 to one byte more than fits.
    std::string set(2042, '\x7F');
    set += 'A';
    set += std::string(2043, '\x7F');
    SimRig sim({GetParam(), {"--block-size", "2043"}, "", {{"0418.bin", set}}});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    auto p = sim.OpenMini();

    std::vector<uint8_t> out;
    ASSERT_NE(p->SendBinary(ReadRequest(1)), nullptr);
    ASSERT_EQ(p->ReceiveBinary(out), 7 + 2043) << Transcript(sim);
    EXPECT_EQ(Text(out).substr(7), set.substr(0, 2043));

    // Known once the reader is full: a protocol error, not a time-out.
    ASSERT_NE(p->SendBinary(ReadRequest(2)), nullptr);
    EXPECT_EQ(p->ReceiveBinary(out), -kStatusProtocolError);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(p->Port()->Status(), kStatusProtocolError);

    // The rest of the long reply is dropped before the next request.
    ASSERT_NE(p->SendBinary(ReadRequest(0)), nullptr);
    ASSERT_EQ(p->ReceiveBinary(out), 15) << Transcript(sim);
    EXPECT_EQ(BigEndian32(out, 7), set.size());

    ASSERT_TRUE(sim.WaitForFrames(3, 3));
    const auto tx = sim.Sent();
    EXPECT_EQ(tx[0].bytes.size(), 1 + 4095 + 2u);
    EXPECT_EQ(tx[1].bytes.size(), 1 + 4096 + 2u);
}

INSTANTIATE_TEST_SUITE_P(Links, ProtocolSimBinary, ::testing::ValuesIn(kTransports), LinkName());

}  // namespace
}  // namespace qs::test
