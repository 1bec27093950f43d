// The simulated controller's equation set: what a written set must be to be kept, and what a
// read serves once it is.
#include "device/EquationSets.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/BlockTransfer.h"
#include "device/Controller.h"
#include "wire/Crc32.h"
#include "../sidedocs/EquationBytes.h"

namespace sim::test {
namespace {

using namespace eqbytes;

// A written set: the held set and the closing 0x00, the header's total moved by `totalDelta`.
std::string Written(const std::string& lines, const std::string& tables, uint32_t headerLines = 1, int totalDelta = 0) {
    std::string set = HeldSet(lines, tables, headerLines) + std::string(1, '\0');
    set.replace(22, 2, U16(static_cast<uint32_t>(static_cast<int>(set.size()) + totalDelta)));
    return set;
}

const std::string kFloatAndBytes = TablesOf({2.5f}, std::string("\x02\x00", 2));
const std::string kUserFloat1 = DeviceLine(1, {20, 25, 253}, {0, 0, 0x04200000}, {319, 258});

uint16_t StatusOf(const std::string& reply) {
    return static_cast<uint16_t>(static_cast<uint8_t>(reply[5]) << 8 | static_cast<uint8_t>(reply[6]));
}

// Writes `data` to the controller the way the program does: one piece per frame is not
// needed here, so the total and the data go in one frame, the closing CRC in the last.
uint16_t Write(BlockTransfer& blocks, const std::string& data, bool spoilCrc = false) {
    const std::string head = "SV " + U16(EquationSets::kWriteCode);
    EXPECT_EQ(StatusOf(*blocks.Handle(1, head)), 0);
    const std::string body = data.substr(0, data.size() - 1);
    EXPECT_EQ(StatusOf(*blocks.Handle(1, head + U32(static_cast<uint32_t>(data.size())) + body)), 0);
    const uint32_t crc = Crc32::Of(data) ^ (spoilCrc ? 1u : 0u);
    return StatusOf(*blocks.Handle(1, head + std::string(1, '\0') + U32(crc)));
}

std::string Read(BlockTransfer& blocks) {
    const std::string request = "SV " + U16(EquationSets::kReadCode);
    const std::string first = *blocks.Handle(1, request + U16(0));
    if (StatusOf(first) != 0) return "refused";
    const uint32_t length = static_cast<uint32_t>(static_cast<uint8_t>(first[7])) << 24 |
                            static_cast<uint32_t>(static_cast<uint8_t>(first[8])) << 16 |
                            static_cast<uint32_t>(static_cast<uint8_t>(first[9])) << 8 | static_cast<uint8_t>(first[10]);
    std::string data;
    for (uint16_t b = 1; data.size() < length; ++b) data += blocks.Handle(1, request + U16(b))->substr(7);
    return data;
}

class EquationSetsKept : public ::testing::Test {
protected:
    Controller controller{ControllerConfig{}};
    BlockTransfer blocks{controller.DataSets(), controller.Config().block};
};

TEST_F(EquationSetsKept, AWrittenSetIsWhatReadsServe) {
    EXPECT_EQ(Read(blocks), "refused");
    const std::string set = Written(kUserFloat1, kFloatAndBytes);
    ASSERT_EQ(set.size(), 0x95u);
    EXPECT_EQ(Write(blocks, set), 0);
    EXPECT_EQ(Read(blocks), set.substr(0, set.size() - 1));
}

TEST_F(EquationSetsKept, ARefusedOrSpoiltWriteKeepsTheSetBefore) {
    const std::string first = Written(kUserFloat1, kFloatAndBytes);
    ASSERT_EQ(Write(blocks, first), 0);
    EXPECT_EQ(Write(blocks, Written(kUserFloat1 + DeviceLine(3, {25}, {0}, {343}), kFloatAndBytes)), EquationSets::kBadFormat);
    EXPECT_EQ(Write(blocks, Written(DeviceLine(1, {25}, {1}, {343}), kFloatAndBytes), true), 0x8006);
    EXPECT_EQ(Read(blocks), first.substr(0, first.size() - 1));
}

TEST(EquationSetsDecode, OnlyWholeConsistentSetsAreTaken) {
    const std::string bytes = U16(25) + U16(2) + std::string("\x01\x00", 2) + std::string(4, '\0');
    const std::string manyBytes = U16(25) + U16(992) + std::string(992, '\x03') + std::string(4, '\0');
    std::string lines240;
    for (int i = 1; i <= 240; ++i) lines240 += DeviceLine(i, {25}, {0}, {343});
    struct Case {
        const char* name;
        std::string data;
        uint16_t status;
    };
    const std::vector<Case> cases = {
        {"one line", Written(kUserFloat1, kFloatAndBytes), 0},
        {"comments counted in the header", Written(kUserFloat1, kFloatAndBytes, 7), 0},
        {"TEMP lines named", Written(DeviceLine(1, {25}, {0}, {268}) + DeviceLine(2, {10, 12}, {0, 2}, {277}) + DeviceLine(3, {25}, {1}, {343}), bytes), 0},
        {"1000 table bytes", Written(DeviceLine(1, {25}, {991}, {343}), manyBytes), 0},
        {"header total one short", Written(kUserFloat1, kFloatAndBytes, 1, -1), EquationSets::kBadFormat},
        {"no tag", "X" + Written(kUserFloat1, kFloatAndBytes).substr(1), EquationSets::kBadFormat},
        {"line numbers with a gap", Written(DeviceLine(2, {25}, {0}, {343}), bytes), EquationSets::kBadFormat},
        {"unknown operand kind", Written(DeviceLine(1, {24}, {0}, {343}), bytes), EquationSets::kBadFormat},
        {"operand after the last", Written(DeviceLine(1, {25, 0, 25}, {0, 0, 1}, {343}), bytes), EquationSets::kBadFormat},
        {"no operand", Written(DeviceLine(1, {}, {}, {343}), bytes), EquationSets::kBadFormat},
        {"byte constant out of its table", Written(DeviceLine(1, {25}, {2}, {343}), bytes), EquationSets::kBadFormat},
        {"float constant of no table", Written(DeviceLine(1, {20}, {0}, {343}), bytes), EquationSets::kBadFormat},
        {"TEMP line out of the set", Written(DeviceLine(1, {10}, {1}, {268}), bytes), EquationSets::kBadFormat},
        {"table type 21", Written(kUserFloat1, U16(21) + U16(0) + std::string(4, '\0')), EquationSets::kBadFormat},
        {"byte table twice", Written(DeviceLine(1, {25}, {0}, {343}), U16(25) + U16(0) + bytes), EquationSets::kBadFormat},
        {"bytes after the tables", Written(DeviceLine(1, {25}, {0}, {343}), bytes + "x"), EquationSets::kBadFormat},
        {"1004 table bytes", Written(DeviceLine(1, {25}, {0}, {343}), U16(25) + U16(996) + std::string(996, '\x02') + std::string(4, '\0')),
         EquationSets::kTooLarge},
        {"12000 bytes and more", Written(lines240, bytes), EquationSets::kTooLarge},
    };
    for (const Case& c : cases) {
        const EquationSets::Decoded d = EquationSets::Decode(c.data);
        EXPECT_EQ(d.status, c.status) << c.name << ": " << d.fault;
        EXPECT_EQ(d.set.has_value(), c.status == 0) << c.name;
    }
}

}  // namespace
}  // namespace sim::test
