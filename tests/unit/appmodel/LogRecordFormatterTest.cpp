// The log records written as lines: every record type from bytes built by hand, time stamps,
// name lists, and payloads too short for their record.
#include <gtest/gtest.h>

#include "Fuzz.h"
#include "LogFixtures.h"
#include "appmodel/logs/BayAssignment.h"
#include "appmodel/logs/LogRecordFormatter.h"

namespace qs::test {
namespace {

using F = LogRecordFormatter;

std::optional<std::string> Line(std::optional<std::string> (*format)(const LogPayload&), const RecordBytes& r) {
    const std::vector<uint8_t> bytes = r.Vec();
    return format(LogPayload(bytes));
}

const std::string kZero = "0.000000";

TEST(LogRecordLines, TransactionHeaderWritesEveryFieldInOrder) {
    RecordBytes r(1062);
    r.U16(0, 7).U16(2, 0xFFFF).U16(4, 1234).U16(6, 2).Stamp(8, 2024, 2, 29, 9, 8, 7);
    r.U32(24, 100000).U32(28, 2).U32(32, 3).U32(36, 4).U32(40, 4294967295u);
    r.U16(44, 3).Text(46, "GAS").Text(66, "ULSD");  // the second name is empty
    r.F32(246, 1.5f).F64(270, -2.25).F64(502 + 29 * 8, 1e6);
    r.Fill(742, 22, '\xFF');  // not written
    r.Text(764, "ABCDEFGHIJKLMNOPQRSTUV");  // fills its field: no NUL
    r.Text(786, "D1").Text(806, "D2").Text(846, "D4").Text(866, "D5").Text(886, "CARRIER");
    r.Text(934, "O1").Text(966, "O2").Text(998, "O3").Text(1030, "TRAILER").Text(1062, "done");
    const std::string expected = "7,1234,2,02/29/2024,09:08:07,100000,2,3,4,4294967295,3,GAS ULSD ,1.500000" +
                                 Repeat("," + kZero, 5) + ",-2.250000" + Repeat("," + kZero, 23) +
                                 Repeat("," + kZero, 5) + Repeat("," + kZero, 29) + ",1000000.000000" +
                                 ",ABCDEFGHIJKLMNOPQRSTUV,D1,D2,,D4,D5,CARRIER,O1,O2,O3,TRAILER,done";
    EXPECT_EQ(Line(&F::TransactionHeader, r), expected);
    const std::vector<uint8_t> bytes = r.Vec();
    EXPECT_EQ(F::BatchCount(LogPayload(bytes)), 2);
}

TEST(LogRecordLines, HeaderNamesStopAtTheirTwentySlotsAndAnInvalidDateHasNoComma) {
    RecordBytes r(1062);
    r.Stamp(8, 2024, 13, 1, 0, 0, 0).U16(44, 25);
    for (int i = 0; i < 20; ++i) r.Text(46 + 10 * static_cast<size_t>(i), "N" + std::to_string(i + 1));
    // What follows the slots (the first float) is not read as names.
    r.Text(246, "XX");
    const std::optional<std::string> line = Line(&F::TransactionHeader, r);
    ASSERT_TRUE(line);
    std::string names;
    for (int i = 1; i <= 20; ++i) names += "N" + std::to_string(i) + " ";
    EXPECT_EQ(line->substr(0, 50), std::string("0,0,0,Invalid DateTime0,0,0,0,0,25,") + names.substr(0, 15));
    EXPECT_NE(line->find("25," + names + ","), std::string::npos);
    // Ends with the texts, all empty, and no trailing text.
    EXPECT_EQ(line->substr(line->size() - 12), ",,,,,,,,,,,,");
}

TEST(LogRecordLines, ExtraRecordIsAppendedWithLeadingCommas) {
    RecordBytes r(290);
    r.Fill(0, 4, '\x7F').U16(4, 1).U16(6, 2).U16(8, 3).U16(10, 4).U16(12, 65535).F32(14, 0.5f);
    for (int i = 0; i < 8; ++i) r.Text(34 + 32 * static_cast<size_t>(i), "E" + std::to_string(i + 1));
    EXPECT_EQ(Line(&F::TransactionExtra, r),
              ",1,2,3,4,65535,0.500000" + Repeat("," + kZero, 4) + ",E1,E2,E3,E4,E5,E6,E7,E8");
}

TEST(LogRecordLines, BatchLineHoldsItsGroupsAndTenNamesAtMost) {
    RecordBytes r(1046);
    r.U16(0, 3).U16(4, 10).U16(6, 20).U16(8, 65535).U32(10, 77).F32(14, 2.5f).F64(42 + 29 * 8, 8.125);
    r.U16(282, 12);
    for (int i = 0; i < 10; ++i)
        if (i != 3) r.Text(284 + 8 * static_cast<size_t>(i), "B" + std::to_string(i + 1));
    r.F32(364, 1.25f).F32(940, 0.75f).U16(948, 9).F64(950 + 88, -1.0);
    const std::string expected = " Batch 3,10,20,65535,77,2.500000," + Repeat(kZero + ",", 6) + Repeat(kZero + ",", 29) +
                                 "8.125000,12,B1 B2 B3 B5 B6 B7 B8 B9 B10 ,1.250000" + Repeat("," + kZero, 11 + 6) +
                                 Repeat("," + kZero, 5 * 18) + ",0.750000," + kZero + ",9" + Repeat("," + kZero, 11) +
                                 ",-1.000000";
    EXPECT_EQ(Line(&F::Batch, r), expected);
}

TEST(LogRecordLines, BayTotalsFollowTheirLead) {
    RecordBytes r(1444);
    r.Fill(0, 4, '\x02').F64(4, 0.5).F64(4 + 179 * 8, 179.0);
    EXPECT_EQ(Line(&F::BayTotals, r), "Bay Nonresettables: 0.500000," + Repeat(kZero + ",", 178) + "179.000000,");
}

TEST(LogRecordLines, EntriesLeadWithTheirNumberCodeAndTime) {
    RecordBytes event(110);
    event.Text(0, "Power fail").Stamp(92, 2024, 1, 2, 3, 4, 5).U16(108, 42);
    const std::vector<uint8_t> e = event.Vec();
    EXPECT_EQ(F::EventEntry(4000000000u, LogPayload(e)), "4000000000,42,01/02/2024,03:04:05,Power fail");
    RecordBytes audit(90);
    audit.Fill(0, 72, 'X').Stamp(72, 1999, 12, 31, 23, 59, 59).U16(88, 65535);
    const std::vector<uint8_t> a = audit.Vec();
    EXPECT_EQ(F::AuditEntry(1, LogPayload(a)), "1,65535,12/31/1999,23:59:59," + std::string(72, 'X'));
}

TEST(LogRecordLines, TimeStampsThatAreNoDateAreInvalid) {
    struct Row {
        int y, mo, d, h, mi, s;
        const char* text;
    };
    const Row rows[] = {
        {2024, 2, 29, 9, 8, 7, "02/29/2024,09:08:07,"}, {2000, 2, 29, 0, 0, 0, "02/29/2000,00:00:00,"},
        {2023, 2, 29, 0, 0, 0, "Invalid DateTime"},     {1900, 2, 29, 0, 0, 0, "Invalid DateTime"},
        {2024, 4, 31, 0, 0, 0, "Invalid DateTime"},     {2024, 13, 1, 0, 0, 0, "Invalid DateTime"},
        {2024, 0, 1, 0, 0, 0, "Invalid DateTime"},      {2024, 1, 0, 0, 0, 0, "Invalid DateTime"},
        {2024, 1, 1, 24, 0, 0, "Invalid DateTime"},     {2024, 1, 1, 0, 60, 0, "Invalid DateTime"},
        {2024, 1, 1, 0, 0, 60, "Invalid DateTime"},     {0, 1, 1, 0, 0, 0, "Invalid DateTime"},
        {2024, 12, 31, 23, 59, 59, "12/31/2024,23:59:59,"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.y) + "-" + std::to_string(row.mo) + "-" + std::to_string(row.d));
        RecordBytes r(110);
        r.Text(0, "T").Stamp(92, row.y, row.mo, row.d, row.h, row.mi, row.s).U16(108, 1);
        const std::vector<uint8_t> bytes = r.Vec();
        EXPECT_EQ(F::EventEntry(9, LogPayload(bytes)), std::string("9,1,") + row.text + "T");
    }
}

TEST(LogRecordLines, APayloadShorterThanItsRecordGivesNoLine) {
    struct Row {
        const char* name;
        size_t size;
        std::function<std::optional<std::string>(const LogPayload&)> format;
    };
    const Row rows[] = {
        {"header", 1062, F::TransactionHeader},
        {"extra", 290, F::TransactionExtra},
        {"batch", 1046, F::Batch},
        {"bay totals", 1444, F::BayTotals},
        {"event", 110, [](const LogPayload& p) { return F::EventEntry(1, p); }},
        {"audit", 90, [](const LogPayload& p) { return F::AuditEntry(1, p); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::vector<uint8_t> whole(row.size, 0), short_(row.size - 1, 0);
        EXPECT_TRUE(row.format(LogPayload(whole)));
        EXPECT_FALSE(row.format(LogPayload(short_)));
    }
}

TEST(LogRecordLines, BayReplyGivesEachBayItsFirstArm) {
    const std::array<int, 6> addresses = {11, 12, 13, 14, 15, 16};
    struct Row {
        const char* reply;
        int arms, bays, a, b;
    };
    const Row rows[] = {
        {"BA AB", 2, 2, 11, 12},   {"BA BA", 2, 2, 12, 11},  {"BA BA", 2, 1, 12, 0},  {"BA xAAB", 4, 2, 12, 14},
        {"BA A", 2, 2, 11, 0},     {"BA", 6, 2, 0, 0},       {"", 6, 2, 0, 0},        {"BA BBBBBBA", 9, 2, 0, 11},
        {"BA AB", 0, 2, 0, 0},     {"         NO00", 6, 2, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.reply + std::string(" arms ") + std::to_string(row.arms));
        EXPECT_EQ(BayAssignment::FromReply(row.reply, row.arms, row.bays, addresses), (std::array<int, 2>{row.a, row.b}));
    }
    // An arm with a negative address gives its bay none; the next arm of the bay does.
    EXPECT_EQ(BayAssignment::FromReply("BA AA", 2, 1, {-1, 12, 0, 0, 0, 0}), (std::array<int, 2>{12, 0}));
}

TEST(LogRecordLines, FormattersAndBayRepliesTakeAnyBytes) {
    std::vector<std::string> seeds;
    for (size_t size : {0, 90, 110, 290, 1046, 1062, 1100, 1444}) seeds.push_back(std::string(size, '\x01'));
    seeds.push_back(RecordBytes(1062).U16(44, 65535).U16(6, 65535).Text(1062, "tail").bytes);
    RunFuzz(seeds, [](const std::string& input) {
        const std::vector<uint8_t> bytes(input.begin(), input.end());
        const LogPayload p(bytes);
        for (auto line : {F::TransactionHeader(p), F::TransactionExtra(p), F::Batch(p), F::BayTotals(p),
                          F::EventEntry(0xFFFFFFFFu, p), F::AuditEntry(0, p)}) {
            if (line) {
                EXPECT_LT(line->size(), 64u * 1024u);
            }
        }
        const std::array<int, 2> bays = BayAssignment::FromReply(input, static_cast<int>(input.size() % 9) - 1,
                                                                 static_cast<int>(input.size() % 4), {1, 2, 3, 4, 5, 6});
        EXPECT_TRUE(bays[0] >= 0 && bays[0] <= 6 && bays[1] >= 0 && bays[1] <= 6);
    }, {.iterations = 3000, .maxLength = 1600});
}

}  // namespace
}  // namespace qs::test
