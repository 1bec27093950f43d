// The ".D3X" file of a program-data document, checked against images written out by hand.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <unordered_set>

#include "DocumentFixtures.h"
#include "Fuzz.h"
#include "RecordingUi.h"
#include "TempDir.h"
#include "platform/BinaryArchive.h"
#include "programdata/CDirectory.h"
#include "programdata/CParam.h"

namespace qs::test {
namespace {

constexpr size_t kHeaderAndLink = 180;
constexpr size_t kRecord = 54;

class DocumentFile : public ::testing::Test {
protected:
    std::unique_ptr<CVexa3Doc> NewDocument() { return std::make_unique<CVexa3Doc>(ports, BuiltDictionary()); }

    static CParam& Code(CVexa3Doc& doc, int type, int number) {
        CDirectory* d = doc.FindDirectory(type);
        EXPECT_NE(d, nullptr) << "directory " << type;
        CParam* p = d ? d->FindParam(number) : nullptr;
        EXPECT_NE(p, nullptr) << "code " << type << "/" << number;
        static CParam none;
        return p ? *p : none;
    }

    std::string SaveAndRead(CVexa3Doc& doc, const std::string& name = "doc.D3X") {
        EXPECT_TRUE(doc.Save(dir.File(name)));
        return dir.Read(name);
    }

    RecordingUi ui;
    ComPortTable ports;
    TempDir dir;
};

TEST_F(DocumentFile, HeaderAndLinkSettingsAreWrittenFieldByField) {
    auto doc = NewDocument();
    DocumentLinkFields f;
    f.description = "Rack 4 north, lanes 1-6 and the spare lane";  // longer than the field
    f.port = 0;
    f.protocol = 0;
    f.baseAddress = 7;
    f.armAddresses = {8, 9, 10, 11, 0};
    f.codePage = 3;
    f.ipv4 = 0x0A000102;
    doc->SetLinkFields(f);
    doc->SetTitle("Rack 4");
    ASSERT_TRUE(doc->IsModified());

    const std::string bytes = SaveAndRead(*doc);
    EXPECT_FALSE(doc->IsModified());
    ASSERT_EQ(bytes.size(), kHeaderAndLink);  // no value programmed: no record
    EXPECT_EQ(Hex(bytes.substr(0, 8)), "38 77 00 00 F6 28 34 41");
    EXPECT_EQ(bytes.substr(8, 33), std::string("Duravane III.NET Data File (.D3X") + '\0');
    EXPECT_EQ(bytes[41 + 32], '\0');
    LinkImage expected;
    expected.port = 0;
    expected.base = 7;
    expected.ipv4 = 0x0A000102;
    expected.arms = {8, 9, 10, 11, 0};
    expected.kind = 0;
    expected.codePage = 3;
    expected.title = "Rack 4";
    expected.description = "Rack 4 north, lanes 1-6 and the ";
    EXPECT_EQ(Hex(bytes.substr(74)), Hex(LinkFields(expected)));
}

TEST_F(DocumentFile, OneRecordPerProgrammedValueInTheOrderOfTheWalk) {
    auto doc = NewDocument();
    Code(*doc, CDirectory::kSystem, 111).SetValue("2", 0);
    Code(*doc, CDirectory::kSystem, 111).SetLevel(3);
    Code(*doc, CDirectory::kSystem, 1).SetValue("3", 0);        // a 0xx code, kept in "800-Additives"
    Code(*doc, CDirectory::kConfig, 400).SetValue("17", 0);     // an x00 code
    Code(*doc, CDirectory::kArm, 107).SetValue("LANE 5", 4);    // arm 5
    Code(*doc, CDirectory::kMeter, 103).SetValue("51.5", 1 + 2 * 6);  // meter 2 of arm 3
    Code(*doc, CDirectory::kProduct, 101).SetValue("GASOIL", 5 + 5 * 6);  // product 6 of arm 6
    Code(*doc, CDirectory::kBayB, 101).SetValue("NORTH", 0);
    Code(*doc, CDirectory::kRecipe, 2).SetValue("DIESEL", 49);  // recipe 50

    const std::string bytes = SaveAndRead(*doc);
    ASSERT_EQ(bytes.size(), kHeaderAndLink + 8 * kRecord);
    const std::string expected = ValueRecordBytes(0, 0, 400, "17") + ValueRecordBytes(1, 0, 111, "2", 0x0003) +
                                 ValueRecordBytes(1, 0, 1, "3") + ValueRecordBytes(2, 4, 107, "LANE 5") +
                                 ValueRecordBytes(3, 13, 103, "51.5") + ValueRecordBytes(4, 35, 101, "GASOIL") +
                                 ValueRecordBytes(7, 0, 101, "NORTH") + ValueRecordBytes(5, 49, 2, "DIESEL");
    EXPECT_EQ(Hex(bytes.substr(kHeaderAndLink)), Hex(expected));
}

// Every value of every code, instance and arm, with levels, through a save and a load.
TEST_F(DocumentFile, SaveAndLoadGiveBackEveryValueWithoutAWarning) {
    auto doc = NewDocument();
    DocumentLinkFields f = doc->GetLinkFields();
    f.port = 12;
    f.protocol = 0;
    f.baseAddress = 21;
    f.armAddresses = {22, 23, 0, 25, 99};
    f.codePage = 5;
    f.ipv4 = 0xAC10FE01;
    f.description = "round trip";
    doc->SetLinkFields(f);

    size_t values = 0;
    std::unordered_set<const CParam*> seen;
    for (CDirectory* d = doc->FirstDirectory(); d; d = d->NextDirectory()) {
        for (int i = 0; i < d->SubdirectoryCount(); ++i) {
            d->Subdirectory(i)->ForEachParam([&](CParam& p) {
                if (!seen.insert(&p).second) return;
                for (int v = 0; v < p.ValueCount(); ++v) {
                    if ((p.number + v) % 5 == 0) continue;  // some values left empty
                    p.SetValue(std::to_string(d->Type()) + "/" + std::to_string(p.number) + "/" + std::to_string(v), v);
                    ++values;
                }
                p.SetLevel(p.number % 7 == 0 ? CParam::kLevelNone : static_cast<uint8_t>(p.number % 250));
            });
        }
    }
    ASSERT_GT(values, 5000u);
    const std::string bytes = SaveAndRead(*doc);
    EXPECT_EQ(bytes.size(), kHeaderAndLink + values * kRecord);

    auto loaded = NewDocument();
    loaded->SetModified();
    ASSERT_TRUE(loaded->Load(dir.File("doc.D3X")));
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
    EXPECT_FALSE(loaded->IsModified());
    EXPECT_EQ(loaded->GetLinkFields(), doc->GetLinkFields());
    EXPECT_EQ(loaded->Host(), "172.16.254.1");

    for (CDirectory *a = doc->FirstDirectory(), *b = loaded->FirstDirectory(); a || b;
         a = a->NextDirectory(), b = b->NextDirectory()) {
        ASSERT_TRUE(a && b);
        for (int i = 0; i < a->SubdirectoryCount(); ++i) {
            const CParam* q = b->Subdirectory(i)->First();
            a->Subdirectory(i)->ForEachParam([&](const CParam& p) {
                ASSERT_NE(q, nullptr);
                for (int v = 0; v < p.ValueCount(); ++v) ASSERT_EQ(q->Value(v), p.Value(v)) << p.Name() << " " << v;
                // A code with no value keeps no level in the file.
                bool any = false;
                for (int v = 0; v < p.ValueCount(); ++v) any = any || !p.Value(v).empty();
                EXPECT_EQ(q->Level(), any ? p.Level() : CParam::kLevelNone) << p.Name();
                q = q->Next();
            });
        }
    }
}

TEST_F(DocumentFile, AnOlderLayoutLoadsWithTheDefaultHost) {
    LinkImage link;
    dir.Write("old.D3X", FileHeader(kOldMagic, kVersion1126) + LinkFields(link, false) +
                             ValueRecordBytes(1, 0, 111, "1", 0x0001) + ValueRecordBytes(2, 3, 108, "4"));
    auto doc = NewDocument();
    doc->SetIpv4(0x01020304);
    ASSERT_TRUE(doc->Load(dir.File("old.D3X")));
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
    EXPECT_EQ(doc->Ipv4(), 0xC0A80001u);
    EXPECT_EQ(doc->Host(), "192.168.0.1");
    EXPECT_EQ(doc->PortIndex(), 0);
    EXPECT_EQ(doc->ArmAddresses(), (std::array<int, 6>{7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(doc->ProtocolKind(), 0);
    EXPECT_EQ(doc->CodePage(), 3);
    EXPECT_EQ(doc->Description(), "a description");
    EXPECT_EQ(Code(*doc, CDirectory::kSystem, 111).Value(0), "1");
    EXPECT_EQ(Code(*doc, CDirectory::kSystem, 111).Level(), 1);
    EXPECT_EQ(Code(*doc, CDirectory::kArm, 108).Value(3), "4");
}

TEST_F(DocumentFile, OtherRevisionsAreWarnedAboutAndStillLoad) {
    // Written by an older program: the version's bytes are the integer 11.
    dir.Write("int.D3X", FileHeader(kMagic, 11) + LinkFields({}) + ValueRecordBytes(1, 0, 111, "2"));
    dir.Write("new.D3X", FileHeader(kMagic, FloatBits(12.5f)) + LinkFields({}) + ValueRecordBytes(1, 0, 111, "1"));

    auto doc = NewDocument();
    ASSERT_TRUE(doc->Load(dir.File("int.D3X")));
    ASSERT_EQ(ui.Messages(), (std::vector<std::string>{
                                 "This file was last saved with Quillset Revision 11.00\nProgram codes added after "
                                 "Revision 11.00 will not yet have values programmed."}));
    EXPECT_EQ(Code(*doc, CDirectory::kSystem, 111).Value(0), "2");

    ASSERT_TRUE(doc->Load(dir.File("new.D3X")));
    EXPECT_EQ(ui.LastMessage(),
              "This file was created with a newer revision Quillset (Rev12.50). Not all data will be loaded.\nWarning: "
              "Saving the file from this Quillset (rev 11.26) may result in data loss.");
    EXPECT_EQ(Code(*doc, CDirectory::kSystem, 111).Value(0), "1");
}

TEST_F(DocumentFile, TextsAreKeptAsTextAndCutToTheField) {
    auto doc = NewDocument();
    const std::string percent = "100% %s%n%d";
    const std::string long45 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdefghi";
    ASSERT_EQ(long45.size(), 45u);
    ASSERT_TRUE(doc->SetParamText(CDirectory::kSystem, 104, 0, percent));
    ASSERT_TRUE(doc->SetParamText(CDirectory::kArm, 101, 2, long45));

    const std::string bytes = SaveAndRead(*doc);
    ASSERT_EQ(bytes.size(), kHeaderAndLink + 2 * kRecord);
    EXPECT_EQ(Hex(bytes.substr(kHeaderAndLink)),
              Hex(ValueRecordBytes(1, 0, 104, percent) + ValueRecordBytes(2, 2, 101, long45.substr(0, 39))));

    auto loaded = NewDocument();
    ASSERT_TRUE(loaded->Load(dir.File("doc.D3X")));
    EXPECT_EQ(Code(*loaded, CDirectory::kSystem, 104).Value(0), percent);
    EXPECT_EQ(Code(*loaded, CDirectory::kArm, 101).Value(2), long45.substr(0, 39));
}

TEST_F(DocumentFile, LevelsAreSignExtendedAndReadFromTheLowByte) {
    auto doc = NewDocument();
    const std::vector<std::pair<int, uint8_t>> levels = {{101, CParam::kLevelNone}, {102, 0}, {105, 199}, {106, 127}};
    for (const auto& [number, level] : levels) {
        Code(*doc, CDirectory::kSystem, number).SetValue("1", 0);
        Code(*doc, CDirectory::kSystem, number).SetLevel(level);
    }
    const std::string bytes = SaveAndRead(*doc);
    ASSERT_EQ(bytes.size(), kHeaderAndLink + 4 * kRecord);
    EXPECT_EQ(Hex(bytes.substr(kHeaderAndLink + 52, 2)), "FF FF");
    EXPECT_EQ(Hex(bytes.substr(kHeaderAndLink + kRecord + 52, 2)), "00 00");
    EXPECT_EQ(Hex(bytes.substr(kHeaderAndLink + 2 * kRecord + 52, 2)), "C7 FF");
    EXPECT_EQ(Hex(bytes.substr(kHeaderAndLink + 3 * kRecord + 52, 2)), "7F 00");

    auto loaded = NewDocument();
    ASSERT_TRUE(loaded->Load(dir.File("doc.D3X")));
    for (const auto& [number, level] : levels) EXPECT_EQ(Code(*loaded, CDirectory::kSystem, number).Level(), level);
}

TEST_F(DocumentFile, ARecordCutShortEndsTheFile) {
    const std::string full = FileHeader(kMagic, kVersion1126) + LinkFields({}) + ValueRecordBytes(1, 0, 105, "12") +
                             ValueRecordBytes(1, 0, 106, "7");
    dir.Write("cut.D3X", full.substr(0, full.size() - 1));
    auto doc = NewDocument();
    ASSERT_TRUE(doc->Load(dir.File("cut.D3X")));
    EXPECT_TRUE(ui.prompt.shown.empty());
    EXPECT_EQ(Code(*doc, CDirectory::kSystem, 105).Value(0), "12");
    EXPECT_EQ(Code(*doc, CDirectory::kSystem, 106).Value(0), "");
}

TEST_F(DocumentFile, FieldsOutOfRangeKeepTheirDefaultsAndUnknownRecordsArePassedOver) {
    LinkImage link;
    link.port = 150;
    link.base = -4;
    link.arms = {100, 5, -1, 99, 0};
    link.kind = 2;
    link.codePage = 6;
    dir.Write("odd.D3X", FileHeader(kMagic, kVersion1126) + LinkFields(link) +
                             ValueRecordBytes(9, 0, 111, "no such directory") +
                             ValueRecordBytes(1, 1, 111, "instance past the values") +
                             ValueRecordBytes(1, -1, 111, "negative instance") +
                             ValueRecordBytes(1, 0, 5000, "number no subdirectory holds") +
                             ValueRecordBytes(1, 0, -7, "negative number") + ValueRecordBytes(1, 0, 60, "not a code") +
                             ValueRecordBytes(0, 0, 400, "5") + ValueRecordBytes(1, 0, 1, "6") +
                             ValueRecordBytes(3, 35, 103, "99.5"));
    auto doc = NewDocument();
    ASSERT_TRUE(doc->Load(dir.File("odd.D3X")));
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
    EXPECT_EQ(doc->PortIndex(), 1);
    EXPECT_EQ(doc->ArmAddresses(), (std::array<int, 6>{1, 2, 5, 4, 99, 0}));
    EXPECT_EQ(doc->ProtocolKind(), 1);
    EXPECT_EQ(doc->CodePage(), 0);
    EXPECT_EQ(Code(*doc, CDirectory::kSystem, 111).Value(0), "");
    EXPECT_EQ(Code(*doc, CDirectory::kConfig, 400).Value(0), "5");
    EXPECT_EQ(Code(*doc, CDirectory::kSystem, 1).Value(0), "6");
    EXPECT_EQ(Code(*doc, CDirectory::kMeter, 103).Value(35), "99.5");
}

TEST_F(DocumentFile, ABaseAddressOutside1To99LoadsAsTheDefault) {
    const std::pair<int32_t, int> rows[] = {{0, 1}, {-1, 1}, {100, 1}, {1, 1}, {99, 99}, {42, 42}};
    for (const auto& [stored, loaded] : rows) {
        SCOPED_TRACE(stored);
        LinkImage link;
        link.base = stored;
        dir.Write("base.D3X", FileHeader(kMagic, kVersion1126) + LinkFields(link));
        auto doc = NewDocument();
        ASSERT_TRUE(doc->Load(dir.File("base.D3X")));
        EXPECT_EQ(doc->BaseAddress(), loaded);
        // Nor can the settings give it address 0; arms 2-6 can be switched off with it.
        auto f = doc->GetLinkFields();
        f.baseAddress = 0;
        f.armAddresses[0] = 0;
        doc->SetLinkFields(f);
        EXPECT_EQ(doc->BaseAddress(), loaded);
        EXPECT_EQ(doc->ArmAddress(1), 0);
    }
}

TEST_F(DocumentFile, TheLastRecordMayHoldATextWithoutItsNul) {
    std::string record = ValueRecordBytes(1, 0, 104, "");
    record.replace(12, 40, std::string(40, 'T'));
    dir.Write("nul.D3X", FileHeader(kMagic, kVersion1126) + LinkFields({}) + record);
    auto doc = NewDocument();
    ASSERT_TRUE(doc->Load(dir.File("nul.D3X")));
    EXPECT_EQ(Code(*doc, CDirectory::kSystem, 104).Value(0), std::string(39, 'T'));
}

TEST_F(DocumentFile, OnlyAWrongMagicOrAFileCutInItsSettingsIsRefusedAndTheDocumentStaysAsItWas) {
    auto doc = NewDocument();
    doc->SetDescription("kept");
    doc->SetBaseAddress(42);
    Code(*doc, CDirectory::kSystem, 111).SetValue("1", 0);
    doc->SetModified();

    const std::string body = LinkFields({}) + ValueRecordBytes(1, 0, 111, "2");
    dir.Write("eqx.D3X", FileHeader(30567, kVersion1126) + body);
    dir.Write("short.D3X", FileHeader(kMagic, kVersion1126) + body.substr(0, 20));
    dir.Write("tiny.D3X", std::string("\x38\x77", 2));
    for (const char* name : {"eqx.D3X", "short.D3X", "tiny.D3X"}) {
        ui.prompt.shown.clear();
        EXPECT_FALSE(doc->Load(dir.File(name))) << name;
        EXPECT_EQ(ui.Messages(), (std::vector<std::string>{"Unable to open " + dir.File(name) +
                                                           "\nUnexpected file format."}));
        EXPECT_EQ(doc->Description(), "kept");
        EXPECT_EQ(doc->BaseAddress(), 42);
        EXPECT_EQ(Code(*doc, CDirectory::kSystem, 111).Value(0), "1");
        EXPECT_TRUE(doc->IsModified());
    }
    ui.prompt.shown.clear();
    EXPECT_FALSE(doc->Load(dir.File("missing.D3X")));
    ASSERT_EQ(ui.prompt.shown.size(), 1u);
    EXPECT_EQ(ui.LastMessage().rfind("Unable to open " + dir.File("missing.D3X") + "\n", 0), 0u);
}

TEST_F(DocumentFile, LoadingReplacesEveryEarlierValue) {
    dir.Write("one.D3X", FileHeader(kMagic, kVersion1126) + LinkFields({}) + ValueRecordBytes(1, 0, 105, "3"));
    auto doc = NewDocument();
    Code(*doc, CDirectory::kSystem, 106).SetValue("9", 0);
    Code(*doc, CDirectory::kSystem, 106).SetLevel(2);
    Code(*doc, CDirectory::kRecipe, 1).SetValue("2", 30);
    ASSERT_TRUE(doc->Load(dir.File("one.D3X")));
    EXPECT_EQ(Code(*doc, CDirectory::kSystem, 105).Value(0), "3");
    EXPECT_EQ(Code(*doc, CDirectory::kSystem, 106).Value(0), "");
    EXPECT_EQ(Code(*doc, CDirectory::kSystem, 106).Level(), CParam::kLevelNone);
    EXPECT_EQ(Code(*doc, CDirectory::kRecipe, 1).Value(30), "");
}

// A write that fails half-way (the file-size limit) leaves the old file and says so.
TEST_F(DocumentFile, AFailedSaveLeavesTheOldFileAndSaysSo) {
    auto doc = NewDocument();
    Code(*doc, CDirectory::kSystem, 105).SetValue("1", 0);
    const std::string old = SaveAndRead(*doc);
    for (int r = 0; r < 50; ++r) Code(*doc, CDirectory::kRecipe, 2).SetValue("RECIPE " + std::to_string(r), r);
    doc->SetModified();

    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool savedOk = doc->Save(dir.File("doc.D3X"));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(savedOk);
    EXPECT_EQ(dir.Read("doc.D3X"), old);
    ASSERT_EQ(ui.prompt.shown.size(), 1u);
    EXPECT_EQ(ui.LastMessage(), "Unable to save " + dir.File("doc.D3X") + "\nFile too large\nThe file on disk has not been changed.");
    EXPECT_TRUE(doc->IsModified());
    size_t files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.Path())) files += e.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 1u);  // no temporary file left behind
}

TEST_F(DocumentFile, SavingWhileOnlineSendsLo) {
    auto doc = NewDocument();
    ScriptedDevice device;
    device.Attach(*doc);
    device.Reply("PV SY 111 0");
    device.Reply("0A463B8B");
    device.Reply("PC SY 111 0");
    ASSERT_EQ(doc->Connect(false), CVexa3Doc::kStateOnline);
    device.Reply("LO");
    ASSERT_TRUE(doc->Save(dir.File("online.D3X")));
    EXPECT_EQ(device.Commands(), (std::vector<std::string>{"PV SY 111", "GP", "PC SY 111 0", "LO"}));

    auto readOnly = NewDocument();
    ScriptedDevice device2;
    device2.Attach(*readOnly);
    device2.Reply("PV SY 111 0");
    device2.Reply("0A463B8B");
    ASSERT_EQ(readOnly->Connect(true), CVexa3Doc::kStateReadOnly);
    ASSERT_TRUE(readOnly->Save(dir.File("readonly.D3X")));
    EXPECT_EQ(device2.Commands(), (std::vector<std::string>{"PV SY 111", "GP"}));
}

TEST_F(DocumentFile, LoadingDamagedFilesNeverGoesOutOfBounds) {
    auto doc = NewDocument();
    Code(*doc, CDirectory::kSystem, 111).SetValue("1", 0);
    Code(*doc, CDirectory::kMeter, 103).SetValue("12.5", 20);
    Code(*doc, CDirectory::kRecipe, 2).SetValue("R", 10);
    const std::string current = SaveAndRead(*doc);
    const std::string older = FileHeader(kOldMagic, 11) + LinkFields({}, false) + ValueRecordBytes(2, 5, 107, "X");

    RunFuzz({current, older}, [&](const std::string& bytes) {
        ArchiveReader in(bytes);
        try {
            doc->Serialize(in);
        } catch (const ArchiveError&) {
        }
        ASSERT_GE(doc->PortIndex(), -1);
        ASSERT_LE(doc->PortIndex(), 99);
        ASSERT_GE(doc->ProtocolKind(), 0);
        ASSERT_LE(doc->ProtocolKind(), 1);
        ASSERT_GE(doc->CodePage(), 0);
        ASSERT_LE(doc->CodePage(), 5);
        for (int a : doc->ArmAddresses()) ASSERT_TRUE(a >= 0 && a <= 99) << a;
        ASSERT_LE(doc->Description().size(), 32u);
        ui.prompt.shown.clear();
    }, FuzzOptions{.iterations = 3000, .maxLength = 1024});
}

}  // namespace
}  // namespace qs::test
