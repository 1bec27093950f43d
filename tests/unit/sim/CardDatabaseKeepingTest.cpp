#include <gtest/gtest.h>

#include <string>

#include "device/BlockTransfer.h"
#include "device/CardDatabase.h"
#include "device/Controller.h"

namespace sim::test {

using namespace std::string_literals;

namespace {

std::string Be16(uint16_t v) { return {static_cast<char>(v >> 8), static_cast<char>(v & 0xFF)}; }
std::string Be32(uint32_t v) { return Be16(static_cast<uint16_t>(v >> 16)) + Be16(static_cast<uint16_t>(v)); }

// The initiation and one data frame holding `payload` (its closing 0x00 included) and the CRC.
void WriteSet(BlockTransfer& link, int address, const std::string& payload) {
    const std::string head = "SV \x04\x19"s;
    ASSERT_EQ(*link.Handle(address, head), head + "\0\0"s);
    const std::string frame = head + Be32(static_cast<uint32_t>(payload.size())) + payload + Be32(Crc32::Of(payload));
    ASSERT_EQ(*link.Handle(address, frame), head + "\0\0"s);
}

// Block 0 and then every data block of a read of the card database.
std::string ReadSet(BlockTransfer& link, int address) {
    const std::string head = "SV \x04\x18"s;
    const std::string first = *link.Handle(address, head + Be16(0));
    if (first.size() < 15) return "refused";
    const uint32_t length = static_cast<uint32_t>(GetU32(first, 7));
    std::string data;
    for (uint16_t block = 1; data.size() < length && block < 100; ++block) {
        data += link.Handle(address, head + Be16(block))->substr(7);
    }
    EXPECT_EQ(GetU32(first, 11), Crc32::Of(data));
    return data;
}

}  // namespace

TEST(SimCardDatabase, EachAddressKeepsWhatWasWrittenToIt) {
    ControllerConfig config;
    config.addresses = {1, 2, 3};
    Controller controller(config);
    controller.DataSets().Put(CardDatabase::kReadCode, "SHARED,,,,0000\0\0"s);
    BlockTransfer one(controller.DataSets(), BlockOptions{4, 1u << 20, 0});
    BlockTransfer other(controller.DataSets(), BlockOptions{4, 1u << 20, 0});

    WriteSet(one, 1, "A1,x,y,z,0001\0\0"s);
    WriteSet(one, 2, "B2,,,,0002\0C3,,,,0003\0\0"s);
    // Another link sees the same controller; blocks of one address never mix with another's.
    EXPECT_EQ(ReadSet(other, 1), "A1,x,y,z,0001\0\0"s);
    EXPECT_EQ(ReadSet(other, 2), "B2,,,,0002\0C3,,,,0003\0\0"s);
    EXPECT_EQ(ReadSet(other, 3), "SHARED,,,,0000\0\0"s);
    EXPECT_EQ(other.Handle(2, "SV \x04\x18\0\0"s)->size(), 15u);
    EXPECT_EQ(other.Handle(1, "SV \x04\x18\0\x01"s)->substr(7), "A1,x"s);

    // A later write replaces the address's set; the last write is also the one kept as a file.
    WriteSet(other, 1, "D4,,,,0004\0\0"s);
    EXPECT_EQ(ReadSet(one, 1), "D4,,,,0004\0\0"s);
    EXPECT_EQ(controller.DataSets().Written(CardDatabase::kWriteCode), "D4,,,,0004\0\0"s);
}

TEST(SimCardDatabase, OtherCodesAreNotKeptPerAddress) {
    DataSetStore store;
    CardDatabase::Install(store);
    store.Put(0x0412, "equations");
    EXPECT_EQ(store.Save(2, 0x0413, "new equations"), "");
    EXPECT_EQ(store.Read(2, 0x0412), "equations");
    EXPECT_EQ(store.Read(2, CardDatabase::kReadCode), std::nullopt);
}

}  // namespace sim::test
