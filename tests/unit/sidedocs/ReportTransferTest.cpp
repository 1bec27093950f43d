// Report downloads and uploads over a scripted line: the order of the checks, the frames and
// their bytes, Cancel, and the failures the simulated controller cannot stage.
#include <gtest/gtest.h>

#include "../link/BlockFrames.h"
#include "ReportFixtures.h"
#include "link/TerminalProtocol.h"
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

std::string Be16(uint32_t v) { return U16Be(v); }

// A definition as the device sends it: header, one text entry, terminating record, the text.
std::string DeviceDefinition(const std::string& text = "Hello", uint32_t kind = 0xFFF8) {
    std::string entry = Be16(1) + Be16(3) + Bytes({0, 3}) + "%s" + Zeros(22) + U32Be(kind) + U32Be(0) + Zeros(12);
    return Bytes({0, 1, 0, 0, 0, 40, 100}) + Zeros(43) + entry + Zeros(50) + text + '\0';
}

// A device that takes every frame of a download (a 7-byte text frame is not a read request).
void AckAll(ScriptedLink& link) {
    link.device.onBlock = [](const std::string& block, int) -> std::optional<std::string> {
        return BinaryReply(1, static_cast<uint16_t>(U32From(block, 1) & 0xFFFF), 0);
    };
}

}  // namespace

TEST(ReportDownload, RefusalsComeBeforeTheLinkAndCancelOfTheChoiceSaysNothing) {
    struct Row {
        const char* name;
        std::function<void(ReportDoc&)> setUp;
        std::string message;  // "" for none
        int connects;
        int choices;
    };
    ScriptedLink mini;
    ScriptedLink sevenBits(false, 7);
    TerminalProtocol terminal(std::make_unique<ScriptedStream>(), 1);
    const Row rows[] = {
        {"no entries", [](ReportDoc&) {}, ReportDownload::kNoEntries, 0, 0},
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
        {"no document", [](ReportDoc& d) { Fill(d); }, "", 1, 0},
        {"terminal", [](ReportDoc& d) { Fill(d); }, "Minicomputer Mode Required for this function", 1, 0},
        {"seven bits", [](ReportDoc& d) { Fill(d); }, "An 8-Bit Data Protocol Required for this function", 1, 0},
        {"cancelled choice", [](ReportDoc& d) { Fill(d); }, "", 1, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ReportDoc doc;
        row.setUp(doc);
        ScriptedAccess access;
        const std::string name = row.name;
        access.protocol = name == "terminal"     ? static_cast<DX3Protocol*>(&terminal)
                          : name == "seven bits" ? sevenBits.protocol.get()
                          : name == "no document" ? nullptr
                                                  : mini.protocol.get();
        if (name == "cancelled choice") access.row = std::nullopt;
        EXPECT_FALSE(doc.report.DownloadToDevice(access.Access()));
        EXPECT_EQ(doc.ui.Messages(), row.message.empty() ? std::vector<std::string>{}
                                                         : std::vector<std::string>{row.message});
        EXPECT_EQ(access.connects, row.connects);
        EXPECT_EQ(access.choices, row.choices);
        EXPECT_TRUE(doc.ui.progress.empty());
    }
    EXPECT_TRUE(mini.stream->Written().empty());
    EXPECT_TRUE(sevenBits.stream->Written().empty());
}

TEST(ReportDownload, OneFramePerRecordAndTextWithTheFormFeedLast) {
    ReportDoc doc;
    Fill(doc);
    ScriptedLink link;
    AckAll(link);
    ScriptedAccess access;
    access.protocol = link.protocol.get();
    access.row = 4;
    ASSERT_TRUE(doc.report.DownloadToDevice(access.Access()));
    EXPECT_TRUE(doc.ui.Messages().empty());
    EXPECT_EQ(access.online, std::vector<bool>{true});

    const std::vector<std::string> frames = link.SentData();
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

    ASSERT_EQ(doc.ui.progress.size(), 1u);
    EXPECT_EQ(doc.ui.progress[0]->title, "Downloading Report...");
    EXPECT_EQ(doc.ui.progress[0]->texts, std::vector<std::string>{"Sending..."});
    EXPECT_EQ(doc.ui.progress[0]->upper, static_cast<int>(total));
    EXPECT_EQ(doc.ui.progress[0]->pos, static_cast<int>(total));
    EXPECT_EQ(doc.report.Items().size(), 3u);
}

TEST(ReportDownload, CancelEndsSilentlyAndTheFormFeedEntryIsNowhere) {
    for (int cancelAt : {1, 120, 250, 319}) {
        ReportDoc doc;
        Fill(doc);
        ScriptedLink link;
        ScriptedAccess access;
        access.protocol = link.protocol.get();
        doc.ui.CancelAfterPumps(cancelAt);
        EXPECT_FALSE(doc.report.DownloadToDevice(access.Access()));
        EXPECT_TRUE(doc.ui.Messages().empty());
        EXPECT_EQ(doc.report.Items().size(), 3u);
        EXPECT_TRUE(doc.report.FormFeed());
        // Cancel comes between the bytes of a frame, before it goes: no final frame went out.
        const auto frames = link.SentData();
        ASSERT_FALSE(frames.empty());
        EXPECT_NE(frames.back().size(), 10u);
    }
}

TEST(ReportDownload, FinalReplyIsReadOnce) {
    ReportDoc doc;
    doc.AddText(0, 0, "A");
    doc.report.SetFormFeed(false);
    ScriptedLink link;
    AckAll(link);
    ScriptedAccess access;
    access.protocol = link.protocol.get();
    // Initiation, header, entry, terminator, text, final: the reply to the sixth frame is late.
    link.line->TimeOutFirstReadAfterWrites(12);
    EXPECT_FALSE(doc.report.DownloadToDevice(access.Access()));
    EXPECT_EQ(link.line->hiccups, 1);
    EXPECT_EQ(link.SentData().size(), 6u);
    EXPECT_EQ(doc.ui.Messages(), std::vector<std::string>{"Error on serial device at port 1: - Timeout waiting for response"});
}

TEST(ReportUpload, DefinitionOfTheChosenSlotBecomesTheDocument) {
    ReportDoc doc;
    doc.report.SetPageSize(80, 60, 2);
    doc.AddText(9, 9, "replaced");
    ScriptedLink link;
    link.device.dataSet = DeviceDefinition();
    ScriptedAccess access;
    access.protocol = link.protocol.get();
    access.row = 2;
    ASSERT_TRUE(doc.report.UploadFromDevice(access.Access()));
    EXPECT_TRUE(doc.ui.Messages().empty());
    EXPECT_EQ(access.online, std::vector<bool>{false});
    EXPECT_EQ(link.SentData(), (std::vector<std::string>{ReadRequestBytes(0x040C, 0), ReadRequestBytes(0x040C, 1)}));
    EXPECT_EQ(doc.report.Columns(), 100);
    EXPECT_EQ(doc.report.LinesPerPage(), 40);
    EXPECT_EQ(doc.report.GridLines(), 80);
    EXPECT_FALSE(doc.report.FormFeed());
    ASSERT_EQ(doc.report.Items().size(), 1u);
    EXPECT_EQ(doc.report.Items()[0]->Text(), "Hello");
    ASSERT_EQ(doc.ui.progress.size(), 1u);
    EXPECT_EQ(doc.ui.progress[0]->title, "Reading Report...");
}

TEST(ReportUpload, RefusedDataLeaveTheDocumentAsItWas) {
    struct Row {
        const char* name;
        std::string data;
        std::function<void(BlockDevice&)> spoil;
        std::string message;
    };
    const Row rows[] = {
        {"crc", DeviceDefinition(),
         [](BlockDevice& d) {
             d.onBlock = [](const std::string& b, int) -> std::optional<std::string> {
                 if (b.size() != 7 || b[6] != 0) return std::nullopt;
                 return BinaryReply(1, 0x0408, 0, Vec(U32Be(150 + 6) + U32Be(0x12345678)));
             };
         },
         "CRC of returned report does not match expected value."},
        {"too large", std::string(65001, 'x'), [](BlockDevice&) {},
         "Error initiating read -  - Data too large for Target Buffer (65001 bytes announced, at most 65000 accepted)"},
        {"too short", std::string(49, '\0'), [](BlockDevice&) {},
         "The report definition the Duravane III returned is 49 bytes long, too short to hold one. Nothing was read."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ReportDoc doc;
        doc.AddText(1, 1, "kept");
        ScriptedLink link;
        link.device.dataSet = row.data;
        row.spoil(link.device);
        ScriptedAccess access;
        access.protocol = link.protocol.get();
        access.row = 0;
        EXPECT_FALSE(doc.report.UploadFromDevice(access.Access()));
        EXPECT_EQ(doc.ui.Messages(), std::vector<std::string>{row.message});
        ASSERT_EQ(doc.report.Items().size(), 1u);
        EXPECT_EQ(doc.report.Items()[0]->Text(), "kept");
    }
}

TEST(ReportUpload, EntriesOfUnknownKindsAreSaidOnce) {
    ReportDoc doc;
    ScriptedLink link;
    const std::string definition = DeviceDefinition("x", 0xABCD);
    // Two unknown entries: the first one's copy goes in before the terminating record.
    link.device.dataSet = definition.substr(0, 100) + definition.substr(50, 50) + definition.substr(100);
    ScriptedAccess access;
    access.protocol = link.protocol.get();
    EXPECT_TRUE(doc.report.UploadFromDevice(access.Access()));
    EXPECT_TRUE(doc.report.Items().empty());
    EXPECT_EQ(doc.ui.Messages(),
              std::vector<std::string>{"2 report entries of a kind this version of Quillset does not know were left out."});
}

}  // namespace qs::test
