#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../link/BlockFrames.h"
#include "DocumentFixtures.h"
#include "RecordingUi.h"
#include "link/ComPortTable.h"
#include "link/TerminalProtocol.h"
#include "programdata/CVexa3Doc.h"
#include "sidedocs/DeviceLinkSource.h"
#include "sidedocs/carddb/CDatabase.h"

// The card database's own part of its transfers, over a scripted line: what goes out, what is
// taken in, and the checks made before anything is sent. The envelope itself is the block
// reader's and writer's (their own tests); the "LO" after a write and the late final reply are
// shown against the simulated controller.
namespace qs::test {

namespace {

using CardList = std::vector<std::string>;

class CardDbTransfer : public ::testing::Test {
protected:
    // The document a transfer goes through; it has no link of its own here, so its "LO" sends
    // nothing.
    DeviceLinkSource Source(ComProtocol* protocol) {
        DeviceLinkSource s;
        s.chooseDocument = [this] {
            ++choices;
            return &doc;
        };
        s.connectedProtocol = [this, protocol](CVexa3Doc& d, bool online) {
            EXPECT_EQ(&d, &doc);
            onlineAsked.push_back(online);
            return protocol;
        };
        return s;
    }

    RecordingUi ui;
    ComPortTable ports;
    CVexa3Doc doc{ports, BuiltDictionary()};
    ScriptedLink link;
    int choices = 0;
    std::vector<bool> onlineAsked;
};

}  // namespace

TEST_F(CardDbTransfer, DownloadSendsEachRecordWithItsZeroByteAndTheListEnd) {
    CDatabase db;
    db.AddRecord(std::string(20, 'B'));
    db.AddRecord(std::string(10, 'A'));
    ASSERT_TRUE(db.DownloadToDevice(Source(link.protocol.get()), ui.services));
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(onlineAsked, std::vector<bool>{true});

    const std::string payload = std::string(10, 'A') + '\0' + std::string(20, 'B') + '\0' + '\0';
    ASSERT_EQ(payload.size(), 33u);
    const std::string head = "SV " + U16Be(0x0419);
    EXPECT_EQ(BitwiseCrc32(payload), 0x0386AC19u);
    const auto sent = link.SentData();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(Hex(sent[0]), Hex(head));
    EXPECT_EQ(Hex(sent[1]), Hex(head + U32Be(33) + payload + U32Be(0x0386AC19)));
    ASSERT_EQ(ui.progress.size(), 1u);
    EXPECT_EQ(ui.progress[0]->title, "Downloading Database...");
    EXPECT_EQ(ui.progress[0]->upper, 33);
    EXPECT_EQ(ui.progress[0]->pos, 33);
}

TEST_F(CardDbTransfer, EmptyDatabaseIsNotSentAndNoDeviceIsChosen) {
    CDatabase db;
    EXPECT_FALSE(db.DownloadToDevice(Source(link.protocol.get()), ui.services));
    EXPECT_EQ(ui.Messages(), CardList{"No entries defined... nothing to download"});
    EXPECT_EQ(choices, 0);
    EXPECT_EQ(link.stream->Written(), "");
}

TEST_F(CardDbTransfer, TerminalModeOrSevenDataBitsAreRefusedBeforeAnythingIsSent) {
    struct Row {
        std::unique_ptr<ComProtocol> protocol;
        ScriptedStream* line;
        std::string message;
    };
    std::vector<Row> rows;
    for (int dataBits : {8, 7}) {
        auto s = std::make_unique<ScriptedStream>(false, dataBits);
        ScriptedStream* line = s.get();
        if (dataBits == 8) {
            rows.push_back({std::make_unique<TerminalProtocol>(std::move(s), 1), line,
                            "Minicomputer Mode Required for this function"});
        } else {
            rows.push_back({std::make_unique<MiniProtocol>(std::move(s), 1), line,
                            "An 8-Bit Data Protocol Required for this function"});
        }
    }
    for (Row& row : rows) {
        SCOPED_TRACE(row.message);
        CDatabase db;
        db.AddRecord("AB12,,,,0007");
        ui.prompt.shown.clear();
        EXPECT_FALSE(db.DownloadToDevice(Source(row.protocol.get()), ui.services));
        EXPECT_FALSE(db.UploadFromDevice(Source(row.protocol.get()), ui.services));
        EXPECT_EQ(ui.Messages(), (CardList{row.message, row.message}));
        EXPECT_EQ(row.line->Written(), "");
        EXPECT_EQ(db.Count(), 1);
    }
    // No device document, or no protocol for it (said by whoever picked it): nothing more is said.
    CDatabase db;
    db.AddRecord("AB12,,,,0007");
    ui.prompt.shown.clear();
    DeviceLinkSource none;
    EXPECT_FALSE(db.DownloadToDevice(none, ui.services));
    EXPECT_FALSE(db.UploadFromDevice(Source(nullptr), ui.services));
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(CardDbTransfer, UploadTakesTheRecordsInByteOrder) {
    struct Row {
        std::string name;
        std::string dataSet;
        bool ok;
        CardList records;
        CardList messages;
    };
    const std::string longRecord(256, 'L');
    const std::vector<Row> rows = {
        {"two records", std::string("B1,x,,,0001\0A0,y,,,0002\0\0", 25), true, {"A0,y,,,0002", "B1,x,,,0001"}, {}},
        {"nothing", "", true, {}, {}},
        {"list end first", std::string("\0A0\0\0", 5), true, {}, {}},
        {"last text unterminated", std::string("B1\0A0", 5), true, {"A0", "B1"}, {}},
        {"texts after the list end", std::string("B1\0\0A0\0\0", 8), true, {"B1"}, {}},
        {"records that cannot be kept", std::string("A0\r1\0", 5) + longRecord + '\0' + "B1\nx" + '\0' + "C2" + '\0' + '\0', true,
         {"C2"},
         {"3 records from the device were refused: a card record is at most 255 characters long and holds no "
          "line break."}},
        {"larger than the controller's buffer", std::string(65001, 'A'), false, {},
         {"Error initiating read -  - Data too large for Target Buffer (65001 bytes announced, at most 65000 "
          "accepted)"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedLink line;
        line.device.dataSet = row.dataSet;
        ui.prompt.shown.clear();
        CDatabase db;
        EXPECT_EQ(db.UploadFromDevice(Source(line.protocol.get()), ui.services), row.ok);
        EXPECT_EQ(db.Records(), row.records);
        EXPECT_EQ(ui.Messages(), row.messages);
    }
    EXPECT_EQ(onlineAsked, std::vector<bool>(rows.size(), false));
    EXPECT_EQ(ui.progress.back()->title, "Reading Database...");
}

TEST_F(CardDbTransfer, UploadPastTheThousandthRecordKeepsAThousandAndSaysSo) {
    std::string set;
    for (int i = 0; i < 1003; ++i) set += std::to_string(100000 + i) + ",,,,0000" + '\0';
    link.device.dataSet = set + '\0';
    CDatabase db;
    ASSERT_TRUE(db.UploadFromDevice(Source(link.protocol.get()), ui.services));
    EXPECT_EQ(db.Count(), 1000);
    EXPECT_EQ(db.Records().back(), "100999,,,,0000");
    EXPECT_EQ(ui.Messages(), CardList{"The database holds at most 1000 cards: 3 more were left out."});
}

TEST_F(CardDbTransfer, CancelOrABadCrcKeepsNothing) {
    link.device.dataSet = std::string("A0\0\0", 4);
    CDatabase db;
    // The read looks at Cancel once per block; the next look, with the bar full, finds it pressed.
    ui.CancelAfterPumps(2);
    EXPECT_FALSE(db.UploadFromDevice(Source(link.protocol.get()), ui.services));
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(ui.progress.back()->pos, 4);
    EXPECT_EQ(db.Count(), 0);

    ui.CancelAfterPumps(0);
    link.device.onBlock = [&](const std::string& block, int) -> std::optional<std::string> {
        if (block.size() == 7 && block[6] == 0) {
            return BinaryReply(1, 0x0418, 0, Vec(U32Be(4) + U32Be(BitwiseCrc32(link.device.dataSet) ^ 1)));
        }
        return std::nullopt;
    };
    EXPECT_FALSE(db.UploadFromDevice(Source(link.protocol.get()), ui.services));
    EXPECT_EQ(ui.Messages(), CardList{"CRC of returned card database does not match expected value."});
    EXPECT_EQ(db.Count(), 0);
}

}  // namespace qs::test
