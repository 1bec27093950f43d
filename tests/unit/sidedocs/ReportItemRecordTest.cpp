// The 50-byte device record of a report entry, both ways, against records spelled out by hand.
#include <gtest/gtest.h>

#include <ostream>

#include "ReportFixtures.h"
#include "sidedocs/reports/ReportItem.h"

namespace qs::test {

namespace {

std::string Be16(uint32_t v) { return Bytes({static_cast<int>(v >> 8 & 0xFF), static_cast<int>(v & 0xFF)}); }
std::string Be32(uint32_t v) { return Be16(v >> 16) + Be16(v & 0xFFFF); }

// A device record: line and column as the device counts them (from 1).
std::string Rec(int line1, int column1, const std::string& format, uint32_t kind, uint32_t id, uint32_t ref = 0,
                uint16_t condition = 0) {
    std::string f = format;
    f.resize(24, '\0');  // bytes 6-29
    return Be16(static_cast<uint32_t>(line1)) + Be16(static_cast<uint32_t>(column1)) + Bytes({0, 3}) + f + Be32(kind) +
           Be32(id) + Be32(ref) + Be16(condition) + Zeros(6);
}

std::array<uint8_t, 50> AsRecord(const std::string& s) {
    std::array<uint8_t, 50> r{};
    std::copy_n(s.begin(), 50, r.begin());
    return r;
}

struct BuildRow {
    const char* name;
    int type;
    uint32_t id;
    uint32_t ref;
    bool offset;
    int condition;
    std::string expected;  // the record, or "" when the entry is refused
};

void PrintTo(const BuildRow& row, std::ostream* os) { *os << row.name; }

class ReportItemRecord : public ::testing::TestWithParam<BuildRow> {};

}  // namespace

TEST(ReportItemRecordGolden, ValueOfABatchRegisterWithInstances) {
    ReportDictionary d;
    ReportItem item;
    item.MoveTo(2, 9);
    item.SetType(kReportItemValue);
    item.SetRegister(0x04110303, d.dictionary.FindParamByRegisterId(0x04110303));
    item.SetFormat("%8.2f");
    const auto record = item.ToDeviceRecord(d.dictionary, 0);
    ASSERT_TRUE(record);
    EXPECT_EQ(RecordHex(*record), "00 03 00 0A 00 03 25 38 2E 32 66 " + Hex(Zeros(19)) + " 00 00 FF F3 04 11 03 02 " +
                                      Hex(Zeros(12)));

    // The same register in a dictionary where it has no instances keeps its id.
    ParamDictionary flat;
    std::vector<Def> defs;
    for (int p = 0; p < 4; ++p) defs.push_back(Entry(17, 4, "Batch " + std::to_string(p), 0, 10, "%*.*f"));
    flat.Load(Records(defs));
    const auto unchanged = item.ToDeviceRecord(flat, 0);
    ASSERT_TRUE(unchanged);
    EXPECT_EQ(RecordHex(*unchanged).substr(34 * 3, 11), "04 11 03 03");
}

TEST_P(ReportItemRecord, Build) {
    const BuildRow& row = GetParam();
    ReportDictionary d;
    ReportItem item;
    item.MoveTo(4, 6);
    item.SetType(row.type);
    item.SetRegister(row.id, d.dictionary.FindParamByRegisterId(row.id));
    item.SetFormat("%6d");
    item.SetText("shown");
    item.SetReferenceId(row.ref);
    item.SetUseReferenceOffset(row.offset);
    item.SetCondition(row.condition);
    const auto record = item.ToDeviceRecord(d.dictionary, 5);
    EXPECT_EQ(item.CanSend(d.dictionary), !row.expected.empty());
    if (row.expected.empty()) {
        EXPECT_FALSE(record);
        return;
    }
    ASSERT_TRUE(record);
    EXPECT_EQ(RecordHex(*record), Hex(row.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ReportItemRecord,
    ::testing::Values(
        BuildRow{"PlainRegisterWithoutInstances", 0, 0x08040000, 0, false, 0, Rec(5, 7, "%6d", 0xFFFC, 0x08040000)},
        BuildRow{"InstanceCountsFromZeroOnTheDevice", 0, 0x080C0003, 0, false, 0, Rec(5, 7, "%6d", 0xFFFC, 0x080C0002)},
        BuildRow{"TransactionData", 0, 0x08100001, 0, false, 0, Rec(5, 7, "%6d", 0xFFF3, 0x08100000)},
        BuildRow{"ProductRunData", 0, 0x08120002, 0, false, 0, Rec(5, 7, "%6d", 0xFFF3, 0x08120001)},
        BuildRow{"ProductRunDataForBatch", 0, 0x08130001, 0, false, 0, Rec(5, 7, "%6d", 0xFFF3, 0x08130000)},
        BuildRow{"BayRunData", 0, 0x08260002, 0, false, 0, Rec(5, 7, "%6d", 0xFFF3, 0x08260001)},
        BuildRow{"OffsetFromReferenceTradesPlaces", 0, 0x080C0001, 0x03170007, true, 0,
                 Rec(5, 7, "%6d", 0xFFF2, 0x03170006, 0x080C0000)},
        BuildRow{"ReferenceAndCondition", 0, 0x08040000, 0x03170007, false, 8,
                 Rec(5, 7, "%6d", 0xFFFC, 0x08040000, 0x03170006, 8)},
        BuildRow{"OptionText", 3, 0x01040000, 0, false, 0, Rec(5, 7, "%6d", 0xFFF7, 0x01040000)},
        BuildRow{"DescriptionGoesAsText", 1, 0x080C0002, 0, false, 0, Rec(5, 7, "%6d", 0xFFF8, 5)},
        BuildRow{"DescriptionOfAnUnknownRegisterStillGoesAsText", 1, 0x08050900, 0, false, 0,
                 Rec(5, 7, "%6d", 0xFFF8, 5)},
        BuildRow{"UserText", 2, 0, 0, false, 1, Rec(5, 7, "%6d", 0xFFF8, 5, 0, 1)},
        BuildRow{"ValueOfAnUnknownRegisterIsRefused", 0, 0x08050900, 0, false, 0, ""},
        BuildRow{"OptionWithoutRegisterIsRefused", 3, 0, 0, false, 0, ""},
        BuildRow{"OffsetWithoutReferenceIsRefused", 0, 0x080C0001, 0, true, 0, ""},
        BuildRow{"UnknownReferenceIsRefused", 2, 0, 0x08050900, false, 2, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReportItemRecordLine, FirstCellIsSentAsLineOneColumnOne) {
    ReportDictionary d;
    ReportItem item(0, 0, std::string("x"));
    EXPECT_EQ(RecordHex(*item.ToDeviceRecord(d.dictionary, 0)).substr(0, 11), "00 01 00 01");
}

struct ReadRow {
    const char* name;
    std::string record;
    int type;
    uint32_t id;
    uint32_t ref;
    bool offset;
    int condition;
    std::string text;
};

void PrintTo(const ReadRow& row, std::ostream* os) { *os << row.name; }

class ReportItemFromDevice : public ::testing::TestWithParam<ReadRow> {};

TEST_P(ReportItemFromDevice, Read) {
    const ReadRow& row = GetParam();
    ReportDictionary d;
    const auto record = AsRecord(row.record);
    auto item = ReportItem::FromDeviceRecord(record, d.dictionary);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->Line(), 1);
    EXPECT_EQ(item->Column(), 2);
    EXPECT_EQ(item->Type(), row.type);
    EXPECT_EQ(item->RegisterId(), row.id);
    EXPECT_EQ(item->ReferenceId(), row.ref);
    EXPECT_EQ(item->UseReferenceOffset(), row.offset);
    EXPECT_EQ(item->Condition(), row.condition);
    EXPECT_EQ(item->Text(), row.text);
    EXPECT_EQ(item->Entry() != nullptr, row.type != kReportItemUserText && row.id != 0x08050900);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ReportItemFromDevice,
    ::testing::Values(
        ReadRow{"RealSampleIsTheMaximum", Rec(2, 3, "%8.2f", 0xFFF3, 0x04110302), 0, 0x04110303, 0, false, 0,
                "99999.99"},
        ReadRow{"IntegerConversionOfAnIntegerRegister", Rec(2, 3, "%4d", 0xFFFC, 0x08040000), 0, 0x08040000, 0, false,
                0, " 250"},
        ReadRow{"TextRegisterSampleIsARunOfN", Rec(2, 3, "%-14s", 0xFFFC, 0x00200000), 0, 0x00200000, 0, false, 0,
                "NNNNNNNNNNNN  "},
        ReadRow{"FormatThatDoesNotApplyShowsItself", Rec(2, 3, "%s%d", 0xFFFC, 0x08040000), 0, 0x08040000, 0, false,
                0, "%s%d"},
        ReadRow{"UnknownRegisterKeepsItsIdAndShowsTheFormat", Rec(2, 3, "%6d", 0xFFFC, 0x08050900), 0, 0x08050900, 0,
                false, 0, "%6d"},
        ReadRow{"OffsetValueSwapsBack", Rec(2, 3, "%6d", 0xFFF2, 0x03170006, 0x080C0000), 0, 0x080C0001, 0x03170007,
                true, 0, " 65000"},
        ReadRow{"OptionTextOfTheEntrysValue", Rec(2, 3, "%s", 0xFFF7, 0x01040000), 3, 0x01040000, 0, false, 0, "Off"},
        ReadRow{"TextComesLater", Rec(2, 3, "%s", 0xFFF8, 4, 0, 0xFFFF), 2, 0, 0, false, -1, ""},
        ReadRow{"NameOfARegister", Rec(2, 3, "%s", 0xFFF9, 0x080C0000, 0x03170000, 3), 1, 0x080C0001, 0x03170001,
                false, 3, "Meter Factor"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReportItemFromDeviceKinds, UnknownKindGivesNoEntryAndLineZeroStaysOnTheGrid) {
    ReportDictionary d;
    EXPECT_FALSE(ReportItem::FromDeviceRecord(AsRecord(Rec(1, 1, "%s", 0x1234, 0)), d.dictionary));
    const auto item = ReportItem::FromDeviceRecord(AsRecord(Rec(0, 0, "%s", 0xFFF8, 0)), d.dictionary);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->Line(), 0);
    EXPECT_EQ(item->Column(), 0);
}

TEST(ReportItemFromDeviceKinds, InstancesRoundTripThroughTheDevice) {
    ReportDictionary d;
    for (uint32_t id : {0x080C0001u, 0x080C0006u, 0x04110303u, 0x08040000u}) {
        ReportItem item;
        item.SetType(kReportItemValue);
        item.SetRegister(id, d.dictionary.FindParamByRegisterId(id));
        const auto back = ReportItem::FromDeviceRecord(*item.ToDeviceRecord(d.dictionary, 0), d.dictionary);
        EXPECT_EQ(back->RegisterId(), id);
    }
}

}  // namespace qs::test
