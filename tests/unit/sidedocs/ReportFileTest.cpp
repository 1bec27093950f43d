// The ".RPX" file: its bytes written out by hand, and what loading makes of them.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>

#include "DocumentFixtures.h"  // PutLe32, FileHeader, FloatBits
#include "ReportFixtures.h"
#include "TempDir.h"
#include "platform/BinaryArchive.h"

namespace qs::test {

namespace {

std::string Le16(uint16_t v) { return Bytes({v & 0xFF, v >> 8}); }
std::string Le32(uint32_t v) {
    std::string s;
    PutLe32(s, v);
    return s;
}
std::string Field(const std::string& text, size_t size) {
    std::string f = text;
    f.resize(size, '\0');
    return f;
}

// One 297-byte entry record.
std::string EntryRecord(int32_t line, int32_t column, int32_t type, uint32_t id, const std::string& format,
                        const std::string& text, uint32_t ref = 0, int32_t condition = 0, int32_t offset = 0) {
    return Le32(static_cast<uint32_t>(line)) + Le32(static_cast<uint32_t>(column)) + Le32(static_cast<uint32_t>(type)) +
           Le32(id) + Field(format, 14) + Field(text, 255) + Le32(ref) + Le32(static_cast<uint32_t>(condition)) +
           Le32(static_cast<uint32_t>(offset));
}

// Header, page fields (formFeed only when given), title, and the object list of `records`.
std::string ReportFile(uint32_t versionBits, std::vector<int32_t> fields, const std::string& title,
                       const std::vector<std::string>& records, uint32_t magic = 30551) {
    std::string s = FileHeader(magic, versionBits, "DuravaneIIIX Report Def (.RPX)", "(c) Norvane Technologies");
    for (int32_t f : fields) s += Le32(static_cast<uint32_t>(f));
    s += Field(title, 33);
    s += Le16(static_cast<uint16_t>(records.size()));
    for (size_t i = 0; i < records.size(); ++i) {
        s += i == 0 ? Le16(0xFFFF) + Le16(0) + Le16(10) + "ReportItem" : Le16(0x8001);
        s += records[i];
    }
    return s;
}

struct LoadedDoc : ReportDoc {
    // Loads an image; false when it was refused.
    bool LoadImage(const std::string& bytes) {
        ArchiveReader in(bytes);
        try {
            report.Serialize(in);
        } catch (const ArchiveError&) {
            return false;
        }
        return true;
    }
};

}  // namespace

TEST(ReportItemFile, RecordIs297BytesAndA254CharacterTextSurvives) {
    const std::string text(254, 'q');
    ReportItem item(3, 7, text + "cut");
    item.SetFormat("%-20.20s tail");
    item.SetReferenceId(0x03170002);
    item.SetCondition(6);
    ArchiveWriter out;
    item.Store(out);
    EXPECT_EQ(out.Size(), ReportItem::kFileRecordSize);
    EXPECT_EQ(Hex(out.Bytes()), Hex(EntryRecord(3, 7, 2, 0, "%-20.20s tail", text, 0x03170002, 6)));

    ArchiveReader in(out.Bytes());
    ReportItem back;
    back.Load(in);
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(back.Text(), text);
    EXPECT_EQ(back.Format(), "%-20.20s tail");
    EXPECT_EQ(back.ReferenceId(), 0x03170002u);
    EXPECT_EQ(back.Condition(), 6);
}

TEST(ReportItemFile, LoadTakesNamesAndOptionsFromTheDictionary) {
    ReportDictionary d;
    const struct {
        int32_t type;
        uint32_t id;
        const char* text;
    } rows[] = {
        {kReportItemDescription, ReportDictionary::MeterFactor(2), "Meter Factor"},
        {kReportItemValueText, ReportDictionary::PrintMode(), "Off"},
        {kReportItemValue, ReportDictionary::UnitNumber(), "as read"},
        {kReportItemUserText, ReportDictionary::UnitNumber(), "as read"},
        {kReportItemDescription, 0x08050900, "as read"},  // not in the dictionary
        {7, 0, "as read"},                               // no such type: user text
    };
    for (const auto& row : rows) {
        ArchiveReader in(EntryRecord(-4, 70000, row.type, row.id, "%s", "as read"));
        ReportItem item;
        item.Load(in);
        item.ResolveAfterLoad(d.dictionary);
        EXPECT_EQ(item.Text(), row.text) << row.type;
        EXPECT_EQ(item.Entry() != nullptr, item.Type() != kReportItemUserText && row.id != 0x08050900) << row.type;
        EXPECT_EQ(item.Line(), 0);
        EXPECT_EQ(item.Column(), ReportItem::kMaxPosition);
    }
}

TEST(ReportFile, TwoEntriesAsWritten) {
    ReportDoc doc;
    doc.report.SetTitle("Loading Ticket");
    doc.AddValue(2, 9, ReportDictionary::kBatchNet3);
    doc.AddText(0, 4, "Bay A");
    ArchiveWriter out;
    doc.report.Serialize(out);
    EXPECT_EQ(Hex(out.Bytes().substr(0, 8)), "57 77 00 00 " + Hex(Le32(FloatBits(11.26f))));
    EXPECT_EQ(Hex(out.Bytes()),
              Hex(ReportFile(FloatBits(11.26f), {80, 60, 1, 0, 1}, "Loading Ticket",
                             {EntryRecord(0, 4, 2, 0, "%s", "Bay A"),
                              EntryRecord(2, 9, 0, 0x04110303, "%8.2f", "New Item")})));
}

TEST(ReportFile, LoadedEntriesFindTheirRegistersAgain) {
    TempDir dir;
    ReportDoc doc;
    doc.AddValue(5, 1, ReportDictionary::MeterFactor(4), "%6d")->SetCondition(1);
    ASSERT_TRUE(doc.report.Save(dir.File("a.RPX")));

    ReportDoc loaded;
    ASSERT_TRUE(loaded.report.Load(dir.File("a.RPX")));
    ASSERT_EQ(loaded.report.Items().size(), 1u);
    const ReportItem& value = *loaded.report.Items()[0];
    EXPECT_EQ(value.RegisterId(), ReportDictionary::MeterFactor(4));
    EXPECT_NE(value.Entry(), nullptr);
    EXPECT_EQ(value.Condition(), 1);
}

TEST(ReportFile, RevisionSevenHasNoFormFeedField) {
    LoadedDoc doc;
    doc.report.SetFormFeed(false);
    // The int after the character set is not read: the title follows at once.
    ASSERT_TRUE(doc.LoadImage(ReportFile(FloatBits(7.0f), {100, 50, 2, 1}, "Old one", {})));
    EXPECT_TRUE(doc.report.FormFeed());
    EXPECT_EQ(doc.report.Title(), "Old one");
    EXPECT_EQ(doc.report.GridColumns(), 100);
    EXPECT_EQ(doc.report.GridLines(), 100);
    EXPECT_EQ(doc.report.Charset(), 1);

    // An integer-written revision 7 reads the same way.
    LoadedDoc older;
    ASSERT_TRUE(older.LoadImage(ReportFile(7, {80, 60, 1, 0}, "Integer", {})));
    EXPECT_EQ(older.report.Title(), "Integer");
    // One revision later the field is there.
    LoadedDoc newer;
    ASSERT_TRUE(newer.LoadImage(ReportFile(FloatBits(7.01f), {80, 60, 1, 0, 0}, "Newer", {})));
    EXPECT_FALSE(newer.report.FormFeed());
}

TEST(ReportFile, TitleKeepsThirtyTwoCharactersAndFieldsOutOfRangeKeepDefaults) {
    ReportDoc doc;
    doc.report.SetTitle(std::string(40, 'T'));
    EXPECT_EQ(doc.report.Title(), std::string(32, 'T'));

    LoadedDoc loaded;
    std::string image = ReportFile(FloatBits(11.26f), {0, 300, -2, 9, 5}, std::string(33, 'X'),
                                   {EntryRecord(7, 1, 2, 0, "%s", "later"), EntryRecord(3, 1, 2, 0, "%s", "earlier")});
    ASSERT_TRUE(loaded.LoadImage(image));
    EXPECT_EQ(loaded.report.Title(), std::string(32, 'X'));
    EXPECT_EQ(loaded.report.Columns(), 80);        // 0
    EXPECT_EQ(loaded.report.LinesPerPage(), 300);  // above the device's 255: still loads
    EXPECT_EQ(loaded.report.Pages(), 1);           // -2
    EXPECT_EQ(loaded.report.Charset(), 0);         // 9
    EXPECT_TRUE(loaded.report.FormFeed());
    ASSERT_EQ(loaded.report.Items().size(), 2u);
    EXPECT_EQ(loaded.report.Items()[0]->Text(), "earlier");
}

TEST(ReportFile, WrongMagicOrClassLeavesTheDocumentAndSaysSo) {
    TempDir dir;
    ReportDoc doc;
    doc.AddText(1, 1, "kept");
    const std::string good = ReportFile(FloatBits(11.26f), {80, 60, 1, 0, 1}, "t", {EntryRecord(0, 0, 2, 0, "%s", "x")});
    const std::string images[] = {
        ReportFile(FloatBits(11.26f), {80, 60, 1, 0, 1}, "t", {}, 30567),  // an equation set
        good.substr(0, good.size() - 297 - 16) + Le16(0xFFFF) + Le16(0) + Le16(9) + "CReportXX" +
            good.substr(good.size() - 297),  // another class
    };
    for (const std::string& image : images) {
        dir.Write("bad.RPX", image);
        EXPECT_FALSE(doc.report.Load(dir.File("bad.RPX")));
        EXPECT_EQ(doc.ui.LastMessage(), "Unable to open " + dir.File("bad.RPX") + "\nUnexpected file format.");
        ASSERT_EQ(doc.report.Items().size(), 1u);
        EXPECT_EQ(doc.report.Items()[0]->Text(), "kept");
    }
}

}  // namespace qs::test
