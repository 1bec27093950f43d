#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RecordingUi.h"
#include "TempDir.h"
#include "sidedocs/carddb/CDatabase.h"

namespace qs::test {

using namespace std::string_literals;

namespace {

using CardList = std::vector<std::string>;

CDatabase Loaded(const std::string& text, CardLoadReport* report = nullptr) {
    CDatabase db;
    const CardLoadReport r = db.LoadText(text);
    if (report) *report = r;
    return db;
}

std::string Card(int i) {
    char key[16];
    std::snprintf(key, sizeof key, "%04X", i);
    return std::string(key) + ",,,,0000";
}

}  // namespace

TEST(CardDbRecords, KeepByteOrderWhateverTheOrderOfArrival) {
    struct Row {
        CardList in;
        CardList sorted;
    };
    const std::vector<Row> rows = {
        {{"B1,x,,,0001", "A0,y,,,0002"}, {"A0,y,,,0002", "B1,x,,,0001"}},
        // The comma ending a shorter key is below every digit and letter.
        {{"1F,,,,0000", "100,,,,0000", "10,,,,0000"}, {"10,,,,0000", "100,,,,0000", "1F,,,,0000"}},
        // Bytes compare unsigned: a high byte sorts after every ASCII one.
        {{"\xE9,,,,0000", "FF,,,,0000"}, {"FF,,,,0000", "\xE9,,,,0000"}},
    };
    for (const Row& row : rows) {
        CDatabase db;
        int expectedCount = 0;
        for (const auto& r : row.in) EXPECT_EQ(db.AddRecord(r), ++expectedCount);
        EXPECT_EQ(db.Records(), row.sorted);
    }
}

TEST(CardDbRecords, ByteTotalFollowsAddAndRemove) {
    CDatabase db;
    db.AddRecord(std::string(10, 'A'));
    db.AddRecord(std::string(20, 'B'));
    EXPECT_EQ(db.ByteTotal(), 32);
    EXPECT_EQ(db.RemoveRecord(2), -1);
    EXPECT_EQ(db.RemoveRecord(-1), -1);
    EXPECT_EQ(db.Count(), 2);
    EXPECT_EQ(db.RemoveRecord(0), 1);
    EXPECT_EQ(db.ByteTotal(), 21);
    EXPECT_EQ(db.Records(), CardList{std::string(20, 'B')});
}

TEST(CardDbRecords, RefusesTheThousandAndFirstAndTextsThatCannotBeStored) {
    CDatabase db;
    for (const std::string& bad : {std::string(), std::string(256, 'A'), std::string("A\rB"), std::string("A\nB"),
                                  std::string("A\0B", 3)}) {
        EXPECT_EQ(db.AddRecord(bad), 0) << bad.size();
    }
    EXPECT_EQ(db.AddRecord(std::string(255, 'A')), 1);
    for (int i = 1; i < CDatabase::kMaxRecords; ++i) db.AddRecord(Card(i));
    EXPECT_TRUE(db.Full());
    EXPECT_EQ(db.AddRecord("0,,,,0000"), 0);
    EXPECT_EQ(db.Count(), 1000);
}

TEST(CardDbRecords, FieldsAreTheTextsBetweenCommasWithoutLeadingBlanks) {
    const std::string record = "AB12,  first, second ,,0007";
    const CardList expected = {"AB12", "first", "second ", "", "0007", ""};
    for (int n = 0; n < 6; ++n) EXPECT_EQ(CDatabase::GetField(record, n), expected[static_cast<size_t>(n)]) << n;
    EXPECT_EQ(CDatabase::GetField("", 0), "");
    EXPECT_EQ(CDatabase::GetField("AB", 1), "");
    EXPECT_EQ(CDatabase::GetField("AB,x", -1), "");
}

TEST(CardDbFile, LoadsInByteOrderAndSavesCrLfLines) {
    const CDatabase db = Loaded("B1,,,,0001\r\nA0,,,,0002\r\n");
    EXPECT_EQ(db.Records(), (CardList{"A0,,,,0002", "B1,,,,0001"}));
    EXPECT_EQ(db.SaveText(), "A0,,,,0002\r\nB1,,,,0001\r\n");
}

TEST(CardDbFile, EveryLineEndLoadsAlike) {
    const CardList expected = {"A0,,,,0002", "B1,,,,0001", "C2,,,,0003"};
    for (const std::string& text : std::vector<std::string>{"B1,,,,0001\r\nA0,,,,0002\r\nC2,,,,0003\r\n", "B1,,,,0001\rA0,,,,0002\rC2,,,,0003\r",
                                   "B1,,,,0001\nA0,,,,0002\nC2,,,,0003\n", "\r\n\nB1,,,,0001\n\n\rA0,,,,0002\r\r\nC2,,,,0003",
                                   "C2,,,,0003\nA0,,,,0002\r\nB1,,,,0001"}) {
        CardLoadReport report;
        EXPECT_EQ(Loaded(text, &report).Records(), expected) << text;
        EXPECT_EQ(report.added, 3);
        EXPECT_EQ(report.refused, 0);
    }
}

TEST(CardDbFile, LongLinesAndLinesPastTheThousandthAreLeftOutAndCounted) {
    std::string text = std::string(255, 'A') + "\r\n" + std::string(256, 'B') + "\r\n" + std::string(3000, 'C') +
                       "\nD\0E\n"s;
    for (int i = 0; i < 1001; ++i) text += Card(i) + "\r\n";
    CardLoadReport report;
    const CDatabase db = Loaded(text, &report);
    EXPECT_EQ(report.refused, 3);
    EXPECT_EQ(report.added, 1000);
    EXPECT_EQ(report.leftOut, 2);
    EXPECT_EQ(db.Count(), 1000);
    EXPECT_EQ(db.Records().back(), std::string(255, 'A'));
}

TEST(CardDbFile, OneWarningPerKindOfLoss) {
    RecordingUi ui;
    TempDir dir;
    std::string text = "B1,,,,0001\n" + std::string(300, 'X') + "\n" + std::string(400, 'Y') + "\n";
    for (int i = 0; i < 1002; ++i) text += Card(i) + "\n";
    dir.Write("in.3DB", text);
    CDatabase db;
    ASSERT_TRUE(db.Load(dir.File("in.3DB"), ui.services));
    EXPECT_EQ(ui.Messages(), (CardList{"2 lines of the file were skipped: a card record is at most 255 characters long "
                                      "and holds no zero byte.",
                                      "The database holds at most 1000 cards: 3 more were left out."}));
}

TEST(CardDbFile, NewDocumentIsNamedAndEmpty) {
    CDatabase db = Loaded("A0\n");
    EXPECT_EQ(db.Name(), "");
    db.OnNewDocument();
    EXPECT_EQ(db.Name(), "New Database");
    EXPECT_EQ(db.Count(), 0);
    EXPECT_EQ(db.ByteTotal(), 0);
}

TEST(CardDbPrint, FirstPageFromLineFourLaterPagesFromTheTop) {
    struct Row {
        int records;
        int pages;
    };
    for (const Row row : {Row{0, 0}, Row{1, 1}, Row{52, 1}, Row{53, 2}, Row{108, 2}, Row{109, 3}}) {
        CDatabase db;
        for (int i = 0; i < row.records; ++i) db.AddRecord(Card(i));
        const auto cells = db.PrintLayout();
        ASSERT_EQ(cells.size(), static_cast<size_t>(row.records) * 4);
        const int pages = cells.empty() ? 0 : cells.back().page + 1;
        EXPECT_EQ(pages, row.pages) << row.records;
        for (size_t i = 0; i < cells.size(); ++i) {
            const int r = static_cast<int>(i / 4);
            EXPECT_EQ(cells[i].column, static_cast<int>(i % 4));
            EXPECT_EQ(cells[i].line, r < 52 ? r + 4 : (r - 52) % 56);
            EXPECT_LE(cells[i].line, CDatabase::kPrintLastLine);
        }
    }
    CDatabase db;
    db.AddRecord("AB12,one,two,three,0007");
    CardList texts;
    for (const auto& c : db.PrintLayout()) texts.push_back(c.text);
    EXPECT_EQ(texts, (CardList{"AB12", "one", "two", "three"}));
}

}  // namespace qs::test
