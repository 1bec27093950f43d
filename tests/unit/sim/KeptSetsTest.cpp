// The data sets the simulated controller keeps: each kind serves what was written to it (each
// address its own where the kind is kept per address), refuses a write its kind cannot take and
// keeps the set before, and the checks of the equation sets and report definitions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EquationBytes.h"
#include "TempDir.h"
#include "device/BlockTransfer.h"
#include "device/Controller.h"
#include "device/EquationSets.h"
#include "device/ReportDefinitions.h"

namespace sim::test {

using namespace std::string_literals;
using namespace eqbytes;

namespace {

uint16_t StatusOf(const std::string& reply) {
    return static_cast<uint16_t>(static_cast<uint8_t>(reply[5]) << 8 | static_cast<uint8_t>(reply[6]));
}

// A write as the program makes it, the total and the data in one frame, the closing 0x00 and
// the CRC-32 in the last; the status of the last reply.
uint16_t Write(BlockTransfer& blocks, int address, uint16_t code, const std::string& data) {
    const std::string head = "SV " + U16(code);
    EXPECT_EQ(StatusOf(*blocks.Handle(address, head)), 0);
    const std::string body = data.substr(0, data.size() - 1);
    EXPECT_EQ(StatusOf(*blocks.Handle(address, head + U32(static_cast<uint32_t>(data.size())) + body)), 0);
    return StatusOf(*blocks.Handle(address, head + std::string(1, '\0') + U32(Crc32::Of(data))));
}

// Block 0 and every data block of a read: the set, or the refusal's status.
std::string Read(BlockTransfer& blocks, int address, uint16_t code) {
    const std::string request = "SV " + U16(code);
    const std::string first = *blocks.Handle(address, request + U16(0));
    if (StatusOf(first) != 0) return "status " + std::to_string(StatusOf(first));
    const uint32_t length = GetU32(first, 7);
    std::string data;
    for (uint16_t b = 1; data.size() < length; ++b) data += blocks.Handle(address, request + U16(b))->substr(7);
    EXPECT_EQ(GetU32(first, 11), Crc32::Of(data));
    return data;
}

std::string Zeros(size_t n) { return std::string(n, '\0'); }

// One report entry record.
std::string Entry(uint16_t line, uint16_t column, uint32_t kind, uint32_t id) {
    std::string format = "%6d";
    format.resize(24, '\0');
    return U16(line) + U16(column) + "\x00\x03"s + format + U32(kind) + U32(id) + Zeros(12);
}

std::string ReportHeader(int lines = 60, int columns = 80) {
    return "\x00\x01\x00\x00\x00"s + static_cast<char>(lines) + static_cast<char>(columns) + Zeros(43);
}

// A whole report download: header, a value, two texts, terminator, the texts, the end byte.
std::string Definition() {
    return ReportHeader() + Entry(1, 1, 0xFFF8, 0) + Entry(2, 5, 0xFFFC, 0x080C0001) + Entry(3, 80, 0xFFF8, 1) +
           Zeros(50) + "Title\0"s + "\x0C\0"s + '\0';
}

// A written equation set: the held set and the closing 0x00, the header's total moved by `totalDelta`.
std::string Equations(const std::string& lines, const std::string& tables, uint32_t headerLines = 1, int totalDelta = 0) {
    std::string set = HeldSet(lines, tables, headerLines) + std::string(1, '\0');
    set.replace(22, 2, U16(static_cast<uint32_t>(static_cast<int>(set.size()) + totalDelta)));
    return set;
}

const std::string kFloatAndBytes = TablesOf({2.5f}, std::string("\x02\x00", 2));
const std::string kUserFloat1 = DeviceLine(1, {20, 25, 253}, {0, 0, 0x04200000}, {319, 258});

struct Kept {
    const char* name;
    uint16_t write;
    uint16_t read;
    std::string written;
    std::string served;
    bool perAddress;
};

std::vector<Kept> Kinds() {
    const std::string eq = Equations(kUserFloat1, kFloatAndBytes);
    return {
        {"card database", 0x0419, 0x0418, "A1,x,y,z,0001\0\0"s, "A1,x,y,z,0001\0\0"s, true},
        {"translation", 0x0411, 0x0410, "Deutsch\0"s + Zeros(30) + "Bereit\0\0"s, "Deutsch\0"s + Zeros(30) + "Bereit\0\0"s,
         true},
        {"equation set", 0x0413, 0x0412, eq, eq.substr(0, eq.size() - 1), false},
        {"report slot 3", 0x040D, 0x040C, Definition(), Definition().substr(0, Definition().size() - 1), false},
        {"prove report", 0x041C, 0x041B, Definition(), Definition().substr(0, Definition().size() - 1), false},
    };
}

class KeptSets : public ::testing::Test {
protected:
    ControllerConfig Config(const std::string& folder = {}) {
        ControllerConfig config;
        config.addresses = {1, 2};
        config.dataDir = folder;
        return config;
    }
    qs::test::TempDir folder;
    Controller controller{Config(folder.Path())};
    BlockTransfer blocks{controller.DataSets(), BlockOptions{7, 1u << 20, 0}};
    BlockTransfer other{controller.DataSets(), BlockOptions{7, 1u << 20, 0}};
};

}  // namespace

TEST_F(KeptSets, EachKindServesWhatWasWrittenToItAtEveryAddressOrOnlyAtItsOwn) {
    for (const Kept& kind : Kinds()) {
        SCOPED_TRACE(kind.name);
        EXPECT_EQ(Read(blocks, 1, kind.read), "status 32775");
        ASSERT_EQ(Write(blocks, 1, kind.write, kind.written), 0);
        // Another link sees the same controller.
        EXPECT_EQ(Read(other, 1, kind.read), kind.served);
        EXPECT_EQ(Read(other, 2, kind.read), kind.perAddress ? "status 32775" : kind.served);
        // Kept for every address: also the read code's file of the data folder.
        EXPECT_EQ(folder.Read(DataSetStore::FileName(kind.read)), kind.perAddress ? "" : kind.served);
    }
}

TEST_F(KeptSets, TheBlocksOfOneAddressNeverMixWithAnothers) {
    ASSERT_EQ(Write(blocks, 1, 0x0419, "A1,x,y,z,0001\0\0"s), 0);
    ASSERT_EQ(Write(blocks, 2, 0x0419, "B2,,,,0002\0C3,,,,0003\0\0"s), 0);
    EXPECT_EQ(other.Handle(2, "SV \x04\x18\0\0"s)->size(), 15u);
    EXPECT_EQ(other.Handle(1, "SV \x04\x18\0\x01"s)->substr(7), "A1,x,y,"s);
    EXPECT_EQ(Read(other, 2, 0x0418), "B2,,,,0002\0C3,,,,0003\0\0"s);
}

TEST_F(KeptSets, AWriteItsKindRefusesKeepsTheSetBefore) {
    const std::string faultyReport = ReportHeader() + Entry(1, 1, 0xFFF8, 3) + Zeros(50) + "x\0"s + '\0';
    const std::string faultyEquations = Equations(kUserFloat1 + DeviceLine(3, {25}, {0}, {343}), kFloatAndBytes);
    for (const Kept& kind : Kinds()) {
        if (kind.perAddress) continue;
        SCOPED_TRACE(kind.name);
        ASSERT_EQ(Write(blocks, 1, kind.write, kind.written), 0);
        const std::string faulty = kind.write == 0x0413 ? faultyEquations : faultyReport;
        EXPECT_EQ(Write(blocks, 1, kind.write, faulty), 0x8002);
        EXPECT_EQ(Read(blocks, 1, kind.read), kind.served);
    }
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
        {"one line", Equations(kUserFloat1, kFloatAndBytes), 0},
        {"comments counted in the header", Equations(kUserFloat1, kFloatAndBytes, 7), 0},
        {"TEMP lines named", Equations(DeviceLine(1, {25}, {0}, {268}) + DeviceLine(2, {10, 12}, {0, 2}, {277}) + DeviceLine(3, {25}, {1}, {343}), bytes), 0},
        {"1000 table bytes", Equations(DeviceLine(1, {25}, {991}, {343}), manyBytes), 0},
        {"header total one short", Equations(kUserFloat1, kFloatAndBytes, 1, -1), EquationSets::kBadFormat},
        {"no tag", "X" + Equations(kUserFloat1, kFloatAndBytes).substr(1), EquationSets::kBadFormat},
        {"line numbers with a gap", Equations(DeviceLine(2, {25}, {0}, {343}), bytes), EquationSets::kBadFormat},
        {"unknown operand kind", Equations(DeviceLine(1, {24}, {0}, {343}), bytes), EquationSets::kBadFormat},
        {"operand after the last", Equations(DeviceLine(1, {25, 0, 25}, {0, 0, 1}, {343}), bytes), EquationSets::kBadFormat},
        {"no operand", Equations(DeviceLine(1, {}, {}, {343}), bytes), EquationSets::kBadFormat},
        {"byte constant out of its table", Equations(DeviceLine(1, {25}, {2}, {343}), bytes), EquationSets::kBadFormat},
        {"float constant of no table", Equations(DeviceLine(1, {20}, {0}, {343}), bytes), EquationSets::kBadFormat},
        {"TEMP line out of the set", Equations(DeviceLine(1, {10}, {1}, {268}), bytes), EquationSets::kBadFormat},
        {"table type 21", Equations(kUserFloat1, U16(21) + U16(0) + std::string(4, '\0')), EquationSets::kBadFormat},
        {"byte table twice", Equations(DeviceLine(1, {25}, {0}, {343}), U16(25) + U16(0) + bytes), EquationSets::kBadFormat},
        {"bytes after the tables", Equations(DeviceLine(1, {25}, {0}, {343}), bytes + "x"), EquationSets::kBadFormat},
        {"1004 table bytes", Equations(DeviceLine(1, {25}, {0}, {343}), U16(25) + U16(996) + std::string(996, '\x02') + std::string(4, '\0')),
         EquationSets::kTooLarge},
        {"12000 bytes and more", Equations(lines240, bytes), EquationSets::kTooLarge},
    };
    for (const Case& c : cases) {
        const EquationSets::Decoded d = EquationSets::Decode(c.data);
        EXPECT_EQ(d.status, c.status) << c.name << ": " << d.fault;
        EXPECT_EQ(d.set.has_value(), c.status == 0) << c.name;
    }
}

TEST(ReportDefinitionsCheck, EachFaultIsNamed) {
    const std::string good = Definition();
    EXPECT_EQ(ReportDefinitions::Check(good), "");
    const struct {
        std::string written;
        const char* fault;
    } rows[] = {
        {ReportHeader() + Zeros(50), "shorter than a header, a terminating record and the end byte"},
        {good.substr(0, good.size() - 1) + 'x', "no end byte"},
        {"\x00\x02"s + good.substr(2), "header record number is not 1"},
        {ReportHeader(0) + good.substr(50), "header without lines per page or columns"},
        {ReportHeader() + Entry(1, 1, 0xFFFC, 1) + Entry(1, 2, 0xFFFC, 1) + '\0', "no terminating record"},
        {ReportHeader() + Entry(0, 1, 0xFFFC, 1) + Zeros(50) + '\0', "record at byte 50: line or column 0"},
        {ReportHeader() + Entry(1, 1, 0xFFF9, 1) + Zeros(50) + '\0', "record at byte 50: kind 0000fff9 is not one a download sends"},
        {ReportHeader() + Entry(1, 1, 0xFFF8, 1) + Zeros(50) + "a\0"s + '\0', "record at byte 50: text index 1 where 0 was due"},
        {ReportHeader() + Entry(1, 1, 0xFFF8, 0) + Zeros(50) + "a" + '\0', "text 0 has no zero byte"},
        {ReportHeader() + Entry(1, 1, 0xFFFC, 1) + Zeros(50) + "extra\0"s + '\0', "6 bytes after the texts"},
        {ReportHeader() + Entry(1, 1, 0xFFFC, 1) + Zeros(49) + "\x01" + '\0', "terminating record is not all zero"},
    };
    for (const auto& row : rows) EXPECT_EQ(ReportDefinitions::Check(row.written), row.fault);
}

}  // namespace sim::test
