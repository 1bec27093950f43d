// The data of a report definition, read as the device sends it.
#include <gtest/gtest.h>

#include "ReportFixtures.h"
#include "sidedocs/reports/ReportPayload.h"

namespace qs::test {

namespace {

std::string Be16(uint32_t v) { return Bytes({static_cast<int>(v >> 8 & 0xFF), static_cast<int>(v & 0xFF)}); }
std::string Be32(uint32_t v) { return Be16(v >> 16) + Be16(v & 0xFFFF); }

std::string Header(int lines, int columns) { return Bytes({0, 1, 0, 0, 0, lines, columns}) + Zeros(43); }

std::string Entry(int line1, int column1, uint32_t kind, uint32_t id, const std::string& format = "%s") {
    std::string f = format;
    f.resize(24, '\0');
    return Be16(static_cast<uint32_t>(line1)) + Be16(static_cast<uint32_t>(column1)) + Bytes({0, 3}) + f + Be32(kind) +
           Be32(id) + Zeros(12);
}

struct Parsed {
    std::optional<ReportPayload::Incoming> in;
    std::vector<std::string> texts;
    std::vector<int> types;
    std::vector<std::pair<int, int>> cells;
};

Parsed Parse(const ReportDictionary& d, const std::string& data) {
    Parsed p;
    p.in = ReportPayload::Parse(std::span(reinterpret_cast<const uint8_t*>(data.data()), data.size()), d.dictionary);
    if (!p.in) return p;
    for (const auto& item : p.in->items) {
        p.texts.push_back(item->Text());
        p.types.push_back(item->Type());
        p.cells.emplace_back(item->Line(), item->Column());
    }
    return p;
}

const uint32_t kMeter1Device = 0x080C0000;

}  // namespace

TEST(ReportPayload, TextsFollowTheirEntriesAndTheFormFeedIsTakenOff) {
    ReportDictionary d;
    const std::string data = Header(66, 132) + Entry(1, 1, 0xFFF8, 0) + Entry(1, 20, 0xFFFC, kMeter1Device, "%d") +
                             Entry(2, 1, 0xFFF9, kMeter1Device) + Entry(2, 40, 0xFFF8, 2) + Entry(2, 132, 0xFFF8, 3) +
                             Zeros(50) + "Title" + '\0' + "device name" + '\0' + "Total" + '\0' + "\x0C" + '\0';
    const Parsed p = Parse(d, data);
    ASSERT_TRUE(p.in);
    EXPECT_EQ(p.in->linesPerPage, 66);
    EXPECT_EQ(p.in->columns, 132);
    EXPECT_TRUE(p.in->formFeed);
    EXPECT_EQ(p.texts, (std::vector<std::string>{"Title", "65000", "Meter Factor", "Total"}));
    EXPECT_EQ(p.types, (std::vector<int>{2, 0, 1, 2}));
    EXPECT_EQ(p.in->unknownRecords, 0);
}

TEST(ReportPayload, UnknownKindsAreDroppedWithoutTakingATextAndEntriesAreSortedStably) {
    ReportDictionary d;
    const std::string data = Header(60, 80) + Entry(5, 1, 0xFFF8, 0) + Entry(3, 1, 0x00001234, 0) +
                             Entry(3, 9, 0xFFF8, 1) + Entry(3, 9, 0xFFF8, 2) + Entry(1, 1, 0xFFFC, 0x08040000, "%d") +
                             Zeros(50) + "five" + '\0' + "three-a" + '\0' + "three-b" + '\0';
    const Parsed p = Parse(d, data);
    ASSERT_TRUE(p.in);
    EXPECT_EQ(p.in->unknownRecords, 1);
    EXPECT_FALSE(p.in->formFeed);
    EXPECT_EQ(p.texts, (std::vector<std::string>{"250", "three-a", "three-b", "five"}));
    EXPECT_EQ(p.cells, (std::vector<std::pair<int, int>>{{0, 0}, {2, 8}, {2, 8}, {4, 0}}));
}

TEST(ReportPayload, ShortAndCutDataAreBounded) {
    ReportDictionary d;
    EXPECT_FALSE(Parse(d, Header(60, 80).substr(0, 49)).in);

    // No entries at all: nothing to test for a form feed; sizes of 0 are the device giving none.
    Parsed empty = Parse(d, Header(0, 0) + Zeros(50));
    ASSERT_TRUE(empty.in);
    EXPECT_TRUE(empty.in->items.empty());
    EXPECT_FALSE(empty.in->formFeed);
    EXPECT_EQ(empty.in->columns, 0);

    // The walk stops where the data end: a half record is not read, and without a terminating
    // record no text is taken.
    Parsed cut = Parse(d, Header(60, 80) + Entry(1, 1, 0xFFF8, 0) + Entry(2, 1, 0xFFF8, 1).substr(0, 30));
    ASSERT_TRUE(cut.in);
    EXPECT_EQ(cut.texts, (std::vector<std::string>{""}));

    // Texts the data lack stay empty; the last one may lack its zero byte.
    Parsed missing = Parse(d, Header(60, 80) + Entry(1, 1, 0xFFF8, 0) + Entry(1, 5, 0xFFF8, 1) +
                                  Entry(1, 9, 0xFFF8, 2) + Zeros(50) + "one" + '\0' + "tw");
    ASSERT_TRUE(missing.in);
    EXPECT_EQ(missing.texts, (std::vector<std::string>{"one", "tw", ""}));
}

}  // namespace qs::test
