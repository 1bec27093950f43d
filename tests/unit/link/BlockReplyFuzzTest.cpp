#include <gtest/gtest.h>

#include <cstdio>

#include "ScriptedDevice.h"
#include "Fuzz.h"
#include "RecordingUi.h"
#include "link/BlockEnvelope.h"
#include "link/BlockReader.h"
#include "link/Crc32.h"

namespace qs::test {

namespace {

constexpr size_t kLimit = 4096;

// How the runs ended, to show the inputs reach past the first reply.
struct Tally {
    int done = 0, crcFailed = 0, other = 0;
};
Tally g_tally;

// A fuzz input read as a device's answers. First byte even: a list of blocks, each a length
// byte and that many bytes, framed and escaped properly, one per request. First byte odd: the
// rest is raw line bytes, all waiting at once, read by request after request.
void ReadFrom(const std::string& input) {
    // The parsers alone first, on the raw bytes.
    const std::vector<uint8_t> raw(input.begin(), input.end());
    EXPECT_EQ(BlockEnvelope::ParseFirstReply(raw).has_value(), raw.size() >= 15u);
    EXPECT_LE(BlockEnvelope::BlockData(raw).size(), raw.size());

    RecordingUi ui;
    const bool structured = input.empty() || (static_cast<uint8_t>(input[0]) & 1) == 0;
    ScriptedDevice link;
    auto protocol = link.OpenMini(!structured);
    link.stream->respond = nullptr;
    size_t requests = 0;
    std::vector<std::string> replies;
    if (structured) {
        for (size_t i = 1; i < input.size();) {
            const size_t n = static_cast<uint8_t>(input[i++]);
            const std::string body = input.substr(i, n);
            i += body.size();
            replies.push_back(MiniReply(1, EscapeForWire(Vec(body))));
        }
        link.stream->respond = [&](const std::string&) {
            return requests < replies.size() ? replies[requests++] : std::string();
        };
    } else {
        link.stream->respond = [&](const std::string&) { return requests++ == 0 ? input.substr(1) : std::string(); };
    }

    std::vector<uint8_t> data = Vec("untouched");
    TransferTexts texts;
    texts.crcMismatch = "crc";
    BlockReader reader(*protocol, 0x0418, texts, kLimit);
    const TransferOutcome outcome = reader.Read(data);
    if (outcome == TransferOutcome::Done) {
        ++g_tally.done;
        ASSERT_EQ(data.size(), reader.AnnouncedLength());
        EXPECT_LE(data.size(), kLimit);
        EXPECT_EQ(Crc32(data.data(), data.size()), reader.AnnouncedCrc());
    } else {
        EXPECT_EQ(Text(data), "untouched");
        EXPECT_EQ(outcome, TransferOutcome::Failed);  // nobody pressed Cancel
        EXPECT_EQ(ui.Messages().size(), 1u);
        ++(ui.LastMessage() == "crc" ? g_tally.crcFailed : g_tally.other);
    }
    // Never more requests than answers to them, plus the one that found none.
    EXPECT_LE(link.Frames().size(), requests + 1);
}

std::string Block(const std::string& body) { return std::string(1, static_cast<char>(body.size())) + body; }

std::string Transcript(const std::string& set, size_t blockSize) {
    std::string t(1, '\0');
    t += Block("SV \x04\x18" + U16Be(0) + U32Be(static_cast<uint32_t>(set.size())) + U32Be(BitwiseCrc32(set)));
    for (size_t at = 0; at < set.size(); at += blockSize) t += Block("SV \x04\x18" + U16Be(0) + set.substr(at, blockSize));
    return t;
}

}  // namespace

TEST(BlockReplyFuzz, FirstAndLaterBlockRepliesNeverCrashHangOrHandOverUncheckedData) {
    std::vector<std::string> seeds = {
        Transcript("", 10),
        Transcript("hello, card database", 7),
        Transcript(std::string("\x02\x03\x1B\x7F\x00 escaped bytes", 19), 5),
        Transcript(std::string(600, 'z'), 200),
    };
    // Raw line bytes: a whole first reply followed by a block.
    std::string rawSeed(1, '\x01');
    rawSeed += BinaryReply(1, 0x0418, 0, Vec(U32Be(3) + U32Be(BitwiseCrc32("abc"))));
    rawSeed += BinaryReply(1, 0x0418, 0, Vec("abc"));
    seeds.push_back(rawSeed);

    FuzzOptions options;
    options.iterations = 6000;
    options.maxLength = 1500;
    g_tally = {};
    const int runs = RunFuzz(seeds, ReadFrom, options);
    EXPECT_GT(g_tally.done, 0);
    EXPECT_GT(g_tally.crcFailed, 0);
    std::printf("runs %d: %d read whole, %d failed their CRC, %d failed before\n", runs, g_tally.done,
                g_tally.crcFailed, g_tally.other);
}

}  // namespace qs::test
