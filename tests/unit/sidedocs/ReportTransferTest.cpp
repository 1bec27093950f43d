// Report downloads and uploads over the scripted device: the order of the checks, the frames and
// their bytes, Cancel, and what an upload makes of a definition.
#include <gtest/gtest.h>

#include "ReportFixtures.h"
#include "SideDevice.h"
#include "sidedocs/reports/ReportDownload.h"

namespace qs::test {

namespace {

const std::string kHead41C = std::string("SV \x04\x1C", 5);

// A report of a value, a title text and a description, form feed on.
void Fill(ReportDoc& doc) {
    doc.AddValue(2, 9, ReportDictionary::kBatchNet3);
    doc.AddText(0, 30, "LOADING TICKET");
    ReportItem* name = doc.AddValue(2, 0, ReportDictionary::MeterFactor(2), "%s");
    name->SetType(kReportItemDescription);
    name->SetText("Meter Factor");
}

// A definition as the device sends it: header, one text entry, terminating record, the text.
std::string DeviceDefinition(const std::string& text = "Hello", uint32_t kind = 0xFFF8) {
    std::string entry = U16Be(1) + U16Be(3) + Bytes({0, 3}) + "%s" + Zeros(22) + U32Be(kind) + U32Be(0) + Zeros(12);
    return Bytes({0, 1, 0, 0, 0, 40, 100}) + Zeros(43) + entry + Zeros(50) + text + '\0';
}

// "Select Report" answering `row`, counting how often it was shown.
struct SlotChoice {
    std::optional<int> row = 1;
    int shown = 0;
    ReportSlotChoice Choice() {
        return [this] {
            ++shown;
            return row;
        };
    }
};

}  // namespace

TEST(ReportDownload, RefusalsComeBeforeTheLinkAndCancelOfTheChoiceSaysNothing) {
    struct Row {
        const char* name;
        std::function<void(ReportDoc&)> setUp;
        std::string message;  // "" for none
        int choices;          // of the program-data document
        int shown;            // of the slot
    };
    const Row rows[] = {
        {"unknown register",
         [](ReportDoc& d) {
             Fill(d);
             d.AddValue(6, 11, 0x08050900);
         },
         "The entry at line 7, column 12 names a register that is not in the parameter dictionary. Nothing was sent.",
         0, 0},
        {"wide page",
         [](ReportDoc& d) {
             Fill(d);
             d.report.SetPageSize(256, 60, 1);
         },
         "This report is 256 columns wide with 60 lines per page; the Duravane III takes at most 255 of each. Nothing "
         "was sent.",
         0, 0},
        {"cancelled choice", [](ReportDoc& d) { Fill(d); }, "", 1, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ReportDoc doc;
        row.setUp(doc);
        SideDevice dev;
        SlotChoice slot;
        slot.row = std::nullopt;
        EXPECT_FALSE(doc.report.DownloadToDevice(dev.Access(), slot.Choice()));
        EXPECT_EQ(dev.ui.Messages(), row.message.empty() ? std::vector<std::string>{}
                                                         : std::vector<std::string>{row.message});
        EXPECT_EQ(dev.choices, row.choices);
        EXPECT_EQ(slot.shown, row.shown);
        EXPECT_TRUE(dev.Blocks().empty());
        EXPECT_TRUE(dev.ui.progress.empty());
    }
}

TEST(ReportDownload, OneFramePerRecordAndTextWithTheFormFeedLast) {
    ReportDoc doc;
    Fill(doc);
    SideDevice dev;
    SlotChoice slot;
    slot.row = 4;
    ASSERT_TRUE(doc.report.DownloadToDevice(dev.Access(), slot.Choice()));
    EXPECT_TRUE(dev.ui.Messages().empty());

    const std::vector<std::string>& frames = dev.Blocks();
    // Initiation, header, four entries (the form feed one of them), terminator, three texts, final.
    ASSERT_EQ(frames.size(), 11u);
    EXPECT_EQ(frames[0], kHead41C);
    const std::string payload = [&] {
        std::string p;
        for (size_t i = 2; i + 1 < frames.size(); ++i) p += frames[i].substr(5);
        return frames[1].substr(9) + p + '\0';
    }();
    const uint32_t total = U32From(frames[1], 5);
    EXPECT_EQ(total, payload.size());
    EXPECT_EQ(total, 50u + 4 * 50 + 50 + 15 + 13 + 2 + 1);
    EXPECT_EQ(Hex(frames[1].substr(9)), Hex(Bytes({0, 1, 0, 0, 0, 60, 80}) + Zeros(43)));
    for (size_t i = 1; i <= 6; ++i) EXPECT_EQ(frames[i].size(), i == 1 ? 59u : 55u) << i;
    for (size_t i = 0; i < frames.size(); ++i) EXPECT_EQ(frames[i].substr(0, 5), kHead41C) << i;
    // The entries in order: title text 0, description text 1, the value, the form feed text 2
    // at the last entry's line and the last column.
    EXPECT_EQ(Hex(frames[2].substr(5, 4) + frames[2].substr(35, 8)), "00 01 00 1F 00 00 FF F8 00 00 00 00");
    EXPECT_EQ(Hex(frames[3].substr(5, 4) + frames[3].substr(35, 8)), "00 03 00 01 00 00 FF F8 00 00 00 01");
    EXPECT_EQ(Hex(frames[4].substr(35, 8)), "00 00 FF F3 04 11 03 02");
    EXPECT_EQ(Hex(frames[5].substr(5, 4) + frames[5].substr(35, 8)), "00 03 00 50 00 00 FF F8 00 00 00 02");
    EXPECT_EQ(frames[6], kHead41C + Zeros(50));
    EXPECT_EQ(frames[7], kHead41C + "LOADING TICKET" + '\0');
    EXPECT_EQ(frames[8], kHead41C + "Meter Factor" + '\0');
    EXPECT_EQ(frames[9], kHead41C + "\x0C" + '\0');
    EXPECT_EQ(Hex(frames[10]), Hex(kHead41C + '\0' + U32Be(BitwiseCrc32(payload))));

    ASSERT_EQ(dev.ui.progress.size(), 1u);
    EXPECT_EQ(dev.ui.progress[0]->title, "Downloading Report...");
    EXPECT_EQ(dev.ui.progress[0]->texts, std::vector<std::string>{"Sending..."});
    EXPECT_EQ(dev.ui.progress[0]->upper, static_cast<int>(total));
    EXPECT_EQ(dev.ui.progress[0]->pos, static_cast<int>(total));
    EXPECT_EQ(doc.report.Items().size(), 3u);
}

TEST(ReportDownload, EachRefusedStepEndsTheDownloadWithItsWords) {
    // A value and a text, no form feed: initiation 0, header 1, entries 2-3, terminator 4,
    // text 5, final 6.
    const struct {
        int frame;
        const char* prefix;
    } rows[] = {
        {0, "Unable to initiate transfer - "},     {1, "Error sending first report entry - "},
        {3, "Error sending report entry - "},      {4, "Error sending last report entry - "},
        {5, "Error sending user text entries - "}, {6, "Error sending final packet - "},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.prefix);
        ReportDoc doc;
        doc.AddText(0, 0, "TEXT");
        doc.AddValue(1, 0, ReportDictionary::UnitNumber(), "%6d");
        doc.report.SetFormFeed(false);
        SideDevice dev;
        dev.device.onBlock = [&row](const std::string&, int index) -> std::optional<std::string> {
            if (index == row.frame) return BinaryReply(1, 0x040B, 0x8006);
            return std::nullopt;
        };
        SlotChoice slot;
        EXPECT_FALSE(doc.report.DownloadToDevice(dev.Access(), slot.Choice()));
        EXPECT_EQ(dev.ui.Messages(), std::vector<std::string>{std::string(row.prefix) + " - Bad CRC"});
        EXPECT_EQ(dev.Blocks().size(), static_cast<size_t>(row.frame) + 1);
        EXPECT_EQ(doc.report.Items().size(), 2u);
    }
}

TEST(ReportUpload, EachRefusedReadEndsTheUploadWithItsWords) {
    const struct {
        int block;
        const char* message;
    } rows[] = {
        {0, "Error initiating read -  - Block Out of Sequence"},
        {1, "Error occurred during read -  - Block Out of Sequence"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.message);
        ReportDoc doc;
        doc.AddText(3, 3, "KEPT");
        SideDevice dev;
        dev.device.dataSet = DeviceDefinition();
        dev.device.onBlock = [&row](const std::string&, int index) -> std::optional<std::string> {
            if (index == row.block) return BinaryReply(1, 0x040A, 0x8003);
            return std::nullopt;
        };
        SlotChoice slot;
        EXPECT_FALSE(doc.report.UploadFromDevice(dev.Access(), slot.Choice()));
        EXPECT_EQ(dev.ui.Messages(), std::vector<std::string>{row.message});
        ASSERT_EQ(doc.report.Items().size(), 1u);
        EXPECT_EQ(doc.report.Items()[0]->Text(), "KEPT");
    }
}

TEST(ReportDownload, AfterACancelTheFormFeedEntryIsNowhere) {
    for (int cancelAt : {1, 120, 250, 319}) {
        SCOPED_TRACE(cancelAt);
        ReportDoc doc;
        Fill(doc);
        SideDevice dev;
        SlotChoice slot;
        dev.ui.CancelAfterPumps(cancelAt);
        EXPECT_FALSE(doc.report.DownloadToDevice(dev.Access(), slot.Choice()));
        EXPECT_EQ(doc.report.Items().size(), 3u);
        EXPECT_TRUE(doc.report.FormFeed());
        // Cancel comes between the bytes of a frame, before it goes: no final frame went out.
        ASSERT_FALSE(dev.Blocks().empty());
        EXPECT_NE(dev.Blocks().back().size(), 10u);
    }
}

TEST(ReportUpload, DefinitionOfTheChosenSlotBecomesTheDocument) {
    ReportDoc doc;
    doc.report.SetPageSize(80, 60, 2);
    doc.AddText(9, 9, "replaced");
    SideDevice dev;
    dev.device.dataSet = DeviceDefinition();
    SlotChoice slot;
    slot.row = 2;
    ASSERT_TRUE(doc.report.UploadFromDevice(dev.Access(), slot.Choice()));
    EXPECT_TRUE(dev.ui.Messages().empty());
    EXPECT_EQ(dev.Blocks(), (std::vector<std::string>{ReadRequestBytes(0x040C, 0), ReadRequestBytes(0x040C, 1)}));
    EXPECT_EQ(doc.report.Columns(), 100);
    EXPECT_EQ(doc.report.LinesPerPage(), 40);
    EXPECT_EQ(doc.report.GridLines(), 80);
    EXPECT_FALSE(doc.report.FormFeed());
    ASSERT_EQ(doc.report.Items().size(), 1u);
    EXPECT_EQ(doc.report.Items()[0]->Text(), "Hello");
    ASSERT_EQ(dev.ui.progress.size(), 1u);
    EXPECT_EQ(dev.ui.progress[0]->title, "Reading Report...");
}

TEST(ReportUpload, ADefinitionTooShortOrOfUnknownEntriesIsSaid) {
    const std::string definition = DeviceDefinition("x", 0xABCD);
    struct Row {
        const char* name;
        std::string data;
        bool taken;
        std::string message;
    };
    const Row rows[] = {
        {"too short", std::string(49, '\0'), false,
         "The report definition the Duravane III returned is 49 bytes long, too short to hold one. Nothing was read."},
        // Two unknown entries: the first one's copy goes in before the terminating record.
        {"unknown kinds", definition.substr(0, 100) + definition.substr(50, 50) + definition.substr(100), true,
         "2 report entries of a kind this version of Quillset does not know were left out."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ReportDoc doc;
        doc.AddText(1, 1, "kept");
        SideDevice dev;
        dev.device.dataSet = row.data;
        SlotChoice slot;
        EXPECT_EQ(doc.report.UploadFromDevice(dev.Access(), slot.Choice()), row.taken);
        EXPECT_EQ(dev.ui.Messages(), std::vector<std::string>{row.message});
        EXPECT_EQ(doc.report.Items().size(), row.taken ? 0u : 1u);
    }
}

}  // namespace qs::test
