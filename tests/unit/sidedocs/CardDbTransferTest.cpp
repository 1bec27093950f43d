// The card database's own part of its transfers, over the scripted device: the payload of a
// download, and what an upload takes from the device's data. What every side document's
// transfer shares is in SideDocumentTransferTest; the envelope is the block reader's and writer's.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SideDevice.h"
#include "sidedocs/carddb/CDatabase.h"

namespace qs::test {

namespace {

using CardList = std::vector<std::string>;

}  // namespace

TEST(CardDbTransfer, DownloadSendsEachRecordWithItsZeroByteAndTheListEnd) {
    SideDevice dev;
    CDatabase db;
    db.AddRecord(std::string(20, 'B'));
    db.AddRecord(std::string(10, 'A'));
    ASSERT_TRUE(db.DownloadToDevice(dev.Access()));
    EXPECT_TRUE(dev.ui.Messages().empty());

    const std::string payload = std::string(10, 'A') + '\0' + std::string(20, 'B') + '\0' + '\0';
    ASSERT_EQ(payload.size(), 33u);
    const std::string head = "SV " + U16Be(0x0419);
    EXPECT_EQ(BitwiseCrc32(payload), 0x0386AC19u);
    ASSERT_EQ(dev.Blocks().size(), 2u);
    EXPECT_EQ(Hex(dev.Blocks()[1]), Hex(head + U32Be(33) + payload + U32Be(0x0386AC19)));
    ASSERT_EQ(dev.ui.progress.size(), 1u);
    EXPECT_EQ(dev.ui.progress[0]->title, "Downloading Database...");
    EXPECT_EQ(dev.ui.progress[0]->upper, 33);
    EXPECT_EQ(dev.ui.progress[0]->pos, 33);
}

TEST(CardDbTransfer, UploadTakesTheRecordsInByteOrder) {
    struct Row {
        std::string name;
        std::string dataSet;
        CardList records;
        CardList messages;
    };
    const std::string longRecord(256, 'L');
    const std::vector<Row> rows = {
        {"two records", std::string("B1,x,,,0001\0A0,y,,,0002\0\0", 25), {"A0,y,,,0002", "B1,x,,,0001"}, {}},
        {"nothing", "", {}, {}},
        {"list end first", std::string("\0A0\0\0", 5), {}, {}},
        {"last text unterminated", std::string("B1\0A0", 5), {"A0", "B1"}, {}},
        {"texts after the list end", std::string("B1\0\0A0\0\0", 8), {"B1"}, {}},
        {"records that cannot be kept", std::string("A0\r1\0", 5) + longRecord + '\0' + "B1\nx" + '\0' + "C2" + '\0' + '\0',
         {"C2"},
         {"3 records from the device were refused: a card record is at most 255 characters long and holds no "
          "line break."}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SideDevice dev;
        dev.device.dataSet = row.dataSet;
        CDatabase db;
        EXPECT_TRUE(db.UploadFromDevice(dev.Access()));
        EXPECT_EQ(db.Records(), row.records);
        EXPECT_EQ(dev.ui.Messages(), row.messages);
        EXPECT_EQ(dev.ui.progress.back()->title, "Reading Database...");
    }
}

TEST(CardDbTransfer, UploadPastTheThousandthRecordKeepsAThousandAndSaysSo) {
    SideDevice dev;
    std::string set;
    for (int i = 0; i < 1003; ++i) set += std::to_string(100000 + i) + ",,,,0000" + '\0';
    dev.device.dataSet = set + '\0';
    CDatabase db;
    ASSERT_TRUE(db.UploadFromDevice(dev.Access()));
    EXPECT_EQ(db.Count(), 1000);
    EXPECT_EQ(db.Records().back(), "100999,,,,0000");
    EXPECT_EQ(dev.ui.Messages(), CardList{"The database holds at most 1000 cards: 3 more were left out."});
}

TEST(CardDbTransfer, ACancelWithTheBarFullStillKeepsNothing) {
    SideDevice dev;
    dev.device.dataSet = std::string("A0\0\0", 4);
    CDatabase db;
    // The read looks at Cancel once per block; the next look, with the bar full, finds it pressed.
    dev.ui.CancelAfterPumps(2);
    EXPECT_FALSE(db.UploadFromDevice(dev.Access()));
    EXPECT_TRUE(dev.ui.Messages().empty());
    EXPECT_EQ(dev.ui.progress.back()->pos, 4);
    EXPECT_EQ(db.Count(), 0);
}

}  // namespace qs::test
