#include "device/BlockTransfer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempDir.h"

namespace sim::test {

using namespace std::string_literals;

namespace {

std::string Be16(uint16_t v) { return {static_cast<char>(v >> 8), static_cast<char>(v & 0xFF)}; }
std::string Be32(uint32_t v) { return Be16(static_cast<uint16_t>(v >> 16)) + Be16(static_cast<uint16_t>(v)); }
std::string ReadRequest(uint16_t code, uint16_t block) { return "SV " + Be16(code) + Be16(block); }

uint16_t StatusOf(const std::string& reply) {
    return static_cast<uint16_t>(static_cast<uint8_t>(reply[5]) << 8 | static_cast<uint8_t>(reply[6]));
}

// Items written the way the program does it: frames of at most 507 bytes, whole items only,
// the total (payload + the closing 0x00) after the head of the first, 0x00 and the CRC-32 last.
std::vector<std::string> WriteFrames(uint16_t code, const std::vector<std::string>& items, uint32_t crc,
                                     int totalAdjust = 0) {
    size_t payload = 0;
    for (const auto& i : items) payload += i.size();
    const std::string head = "SV " + Be16(code);
    std::vector<std::string> frames{head};
    std::string frame = head + Be32(static_cast<uint32_t>(payload + 1 + totalAdjust));
    for (const auto& item : items) {
        if (frame.size() + item.size() > 507) {
            frames.push_back(frame);
            frame = head;
        }
        frame += item;
    }
    frame += '\0' + Be32(crc);
    frames.push_back(frame);
    return frames;
}

std::vector<std::string> ThousandBytes() {
    std::vector<std::string> items;
    for (int i = 0; i < 10; ++i) {
        std::string item(100, static_cast<char>('a' + i));
        item[0] = '\x02';
        item[1] = '\x03';
        item[2] = '\x7F';
        item[3] = '\x1B';
        item[99] = '\0';
        items.push_back(item);
    }
    return items;
}

std::string Concat(const std::vector<std::string>& items) {
    std::string all;
    for (const auto& i : items) all += i;
    return all;
}

}  // namespace

TEST(SimBlockTransfer, ReadAnswersLengthAndCrcThenChunks) {
    DataSetStore store;
    std::string data(1234, '\0');
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7);
    store.Put(0x0418, data);
    BlockTransfer blocks(store, BlockOptions{500, 1u << 20, 0});

    const Bytes first = *blocks.Handle(1, ReadRequest(0x0418, 0));
    ASSERT_EQ(first.size(), 15u);
    EXPECT_EQ(first, "SV \x04\x18\x00\x00"s + Be32(1234) + Be32(Crc32::Of(data)));

    std::string got;
    for (uint16_t k = 1; k <= 3; ++k) {
        const Bytes reply = *blocks.Handle(1, ReadRequest(0x0418, k));
        ASSERT_GE(reply.size(), 7u);
        EXPECT_EQ(reply.substr(0, 7), "SV \x04\x18\x00\x00"s);
        EXPECT_EQ(reply.size() - 7, k < 3 ? 500u : 234u);
        got += reply.substr(7);
    }
    EXPECT_EQ(got, data);
    EXPECT_EQ(StatusOf(*blocks.Handle(1, ReadRequest(0x0418, 4))), BlockTransfer::kBlockNotFound);
    EXPECT_EQ(StatusOf(*blocks.Handle(1, ReadRequest(0x0412, 0))), BlockTransfer::kNoConfiguration);
}

TEST(SimBlockTransfer, EmptyDataSetAnswersLengthAndCrcZero) {
    DataSetStore store;
    store.Put(0x0410, "");
    BlockTransfer blocks(store, BlockOptions{});
    EXPECT_EQ(*blocks.Handle(1, ReadRequest(0x0410, 0)), "SV \x04\x10"s + std::string(10, '\0'));
}

TEST(SimBlockTransfer, ReadFaultsChangeOnlyWhatTheyName) {
    DataSetStore store;
    store.Put(0x0412, "hello");
    BlockTransfer blocks(store, BlockOptions{});
    const Bytes sound = *blocks.Handle(1, ReadRequest(0x0412, 0));
    EXPECT_EQ(sound.substr(11), Be32(0x3610A686));  // CRC-32 of "hello"

    BlockFaults badCrc;
    badCrc.badCrc = true;
    const Bytes wrong = *blocks.Handle(1, ReadRequest(0x0412, 0), badCrc);
    EXPECT_EQ(wrong.substr(0, 11), sound.substr(0, 11));
    EXPECT_NE(wrong.substr(11), sound.substr(11));

    BlockFaults huge;
    huge.lengthOverride = 0xFFFFFFF0u;
    EXPECT_EQ(blocks.Handle(1, ReadRequest(0x0412, 0), huge)->substr(7, 4), Be32(0xFFFFFFF0u));

    BlockFaults empty;
    empty.emptyBlock = true;
    EXPECT_EQ(*blocks.Handle(1, ReadRequest(0x0412, 1), empty), "SV \x04\x12\x00\x00"s);
    EXPECT_EQ(*blocks.Handle(1, ReadRequest(0x0412, 1)), "SV \x04\x12\x00\x00hello"s);
}

TEST(SimBlockTransfer, WriteOfAThousandBytesIsAcceptedAndSaved) {
    DataSetStore store;
    BlockTransfer blocks(store, BlockOptions{});
    const auto items = ThousandBytes();
    const std::string payload = Concat(items) + '\0';
    const auto frames = WriteFrames(0x0419, items, Crc32::Of(payload));
    ASSERT_EQ(frames.size(), 4u);  // initiation and three data frames
    EXPECT_EQ(frames[1].substr(5, 4), Be32(1001));

    for (size_t i = 0; i < frames.size(); ++i) {
        const BlockInfo info = blocks.Classify(frames[i]);
        EXPECT_EQ(info.kind, i == 0 ? BlockKind::WriteInit : BlockKind::WriteData);
        EXPECT_EQ(info.block, static_cast<int>(i));
        EXPECT_EQ(info.final, i == frames.size() - 1);
        EXPECT_EQ(*blocks.Handle(1, frames[i]), "SV \x04\x19\x00\x00"s) << "frame " << i;
    }
    EXPECT_FALSE(blocks.WriteOpen());
    ASSERT_TRUE(store.Written(0x0419));
    EXPECT_EQ(*store.Written(0x0419), payload);
}

TEST(SimBlockTransfer, WriteMismatchesAreRefusedWithBadCrc) {
    const auto items = ThousandBytes();
    const std::string payload = Concat(items) + '\0';
    struct Case {
        const char* name;
        std::vector<std::string> frames;
    };
    const std::vector<Case> cases{
        {"wrong CRC", WriteFrames(0x0419, items, Crc32::Of(payload) ^ 1)},
        {"fewer bytes than announced", WriteFrames(0x0419, items, Crc32::Of(payload), 5)},
        {"more bytes than announced", WriteFrames(0x0419, items, Crc32::Of(payload), -5)},
    };
    for (const Case& c : cases) {
        DataSetStore store;
        BlockTransfer blocks(store, BlockOptions{});
        Bytes last;
        size_t answered = 0;
        for (const auto& f : c.frames) {
            last = *blocks.Handle(1, f);
            ++answered;
            if (StatusOf(last) != 0) break;
        }
        EXPECT_EQ(answered, c.frames.size()) << c.name;
        EXPECT_EQ(StatusOf(last), BlockTransfer::kBadCrc) << c.name;
        EXPECT_FALSE(store.Written(0x0419)) << c.name;
        EXPECT_FALSE(blocks.WriteOpen()) << c.name;
    }
}

TEST(SimBlockTransfer, WriteAnnouncingTooMuchIsRefusedAtOnce) {
    DataSetStore store;
    BlockTransfer blocks(store, BlockOptions{500, 1000, 0});
    EXPECT_EQ(StatusOf(*blocks.Handle(1, "SV \x04\x11"s)), 0);
    EXPECT_EQ(StatusOf(*blocks.Handle(1, "SV \x04\x11"s + Be32(1001) + "abc")), BlockTransfer::kDataTooLarge);
    EXPECT_FALSE(blocks.WriteOpen());
    // A first data frame too short to hold its total.
    EXPECT_EQ(StatusOf(*blocks.Handle(1, "SV \x04\x11"s)), 0);
    EXPECT_EQ(StatusOf(*blocks.Handle(1, "SV \x04\x11\x00\x01"s)), BlockTransfer::kBadMessageFormat);
}

TEST(SimBlockTransfer, HandoversAndMalformedRequests) {
    DataSetStore store;
    BlockTransfer blocks(store, BlockOptions{500, 1000, 0x800F});
    EXPECT_FALSE(blocks.Handle(1, "SV \x04\x16\x46\xFE"s));
    EXPECT_EQ(*blocks.Handle(1, "SV \x04\x17\x46\xFE"s), "SV \x04\x17\x80\x0F"s);
    BlockTransfer accepting(store, BlockOptions{});
    EXPECT_EQ(*accepting.Handle(1, "SV \x04\x17\x46\xFE"s), "SV \x04\x17\x00\x00"s);
    EXPECT_EQ(*accepting.Handle(1, "SV \x04\x18\x00"s), "SV \x04\x18\x80\x02"s);
    EXPECT_EQ(*accepting.Handle(1, "SV \x04\x14\x00\x01\x00\x02\x00\x03"s), "SV \x04\x14\x80\x02"s);
}

TEST(SimBlockTransfer, RefusalDropsAnOpenWrite) {
    DataSetStore store;
    BlockTransfer blocks(store, BlockOptions{});
    blocks.Handle(1, "SV \x04\x13"s);
    EXPECT_TRUE(blocks.WriteOpen());
    EXPECT_EQ(blocks.Refuse("SV \x04\x13"s + Be32(10) + "x", 0x8003), "SV \x04\x13\x80\x03"s);
    EXPECT_FALSE(blocks.WriteOpen());
    // A frame of another kind ends the write as well.
    blocks.Handle(1, "SV \x04\x13"s);
    blocks.Handle(1, ReadRequest(0x0412, 0));
    EXPECT_FALSE(blocks.WriteOpen());
}

TEST(SimBlockTransfer, SpecialHandlersTakeTheirCodes) {
    DataSetStore store;
    BlockTransfer::SpecialHandlers specials;
    specials[0x0414] = [](int address, const Bytes& request) -> std::optional<Bytes> {
        return BlockTransfer::Head(0x0414, 0) + std::to_string(address) + std::to_string(request.size());
    };
    BlockTransfer blocks(store, BlockOptions{}, &specials);
    EXPECT_EQ(blocks.Classify("SV \x04\x14\x00\x01\x00\x02"s).kind, BlockKind::Special);
    EXPECT_EQ(*blocks.Handle(3, "SV \x04\x14\x00\x01\x00\x02\x00\x03"s), "SV \x04\x14\x00\x00" "311"s);
}

TEST(SimBlockTransfer, DataSetsLiveInFiles) {
    qs::test::TempDir dir;
    dir.Write("0418.bin", "card data");
    DataSetStore store(dir.Path());
    EXPECT_EQ(DataSetStore::FileName(0x041B), "041B.bin");
    EXPECT_EQ(store.Read(0x0418), "card data");
    EXPECT_FALSE(store.Read(0x0410));
    ASSERT_EQ(store.Save(0x0419, "written\0"s), "");
    EXPECT_EQ(dir.Read("0419.bin"), "written\0"s);
    store.Put(0x0418, "memory");
    EXPECT_EQ(store.Read(0x0418), "memory");
    DataSetStore nowhere("/nonexistent-folder/x");
    EXPECT_NE(nowhere.Save(0x0419, "x"), "");
}

}  // namespace sim::test
