#include "programdata/CFileHeader.h"

#include <gtest/gtest.h>

#include <bit>

#include "DeviceFrames.h"  // Hex
#include "Fuzz.h"
#include "platform/BinaryArchive.h"
#include "programdata/Revision.h"

namespace qs::test {

namespace {
std::string Field(const std::string& text) { return text + std::string(CFileHeader::kTextSize - text.size(), '\0'); }

std::string HeaderBytes(uint32_t magic, uint32_t versionBits, const std::string& description = "d",
                        const std::string& notice = "n") {
    ArchiveWriter w;
    w.WriteU32(magic);
    w.WriteU32(versionBits);
    w.WriteFixedText(description, CFileHeader::kTextSize);
    w.WriteFixedText(notice, CFileHeader::kTextSize);
    return w.Bytes();
}

CFileHeader Load(const std::string& bytes) {
    ArchiveReader r(bytes);
    CFileHeader h;
    h.Serialize(r);
    EXPECT_TRUE(r.AtEnd());
    return h;
}
}  // namespace

TEST(CFileHeader, ProgramDataHeaderBytes) {
    ArchiveWriter w;
    CFileHeader::ForDocument(CFileHeader::kMagicProgramData, CFileHeader::kProgramDataDescription).Serialize(w);
    const std::string& b = w.Bytes();
    ASSERT_EQ(b.size(), 74u);
    EXPECT_EQ(Hex(b.substr(0, 8)), "38 77 00 00 F6 28 34 41");
    // The description loses its last two characters, the ")" and the trailing blank.
    EXPECT_EQ(b.substr(8, 33), Field("Duravane III.NET Data File (.D3X"));
    EXPECT_EQ(b.substr(41, 33), Field(std::string(CFileHeader::kNotice)));
    EXPECT_LE(CFileHeader::kNotice.size(), 32u);

    const CFileHeader h = Load(b);
    EXPECT_EQ(h.Magic(), 30520);
    EXPECT_EQ(h.Version(), 11.26f);
    EXPECT_EQ(h.Description(), "Duravane III.NET Data File (.D3X");
    EXPECT_EQ(h.Notice(), CFileHeader::kNotice);
    EXPECT_FALSE(h.IsNewerThanProgram());
    EXPECT_FALSE(h.IsOlderThanProgram());
    EXPECT_EQ(h.RevisionWarning(), std::nullopt);  // a file this program wrote
}

TEST(CFileHeader, SideDocumentHeadersKeepTheirWholeDescriptions) {
    const struct {
        int32_t magic;
        std::string_view description;
        const char* magicBytes;
    } docs[] = {{CFileHeader::kMagicEquations, CFileHeader::kEquationsDescription, "67 77 00 00"},
                {CFileHeader::kMagicReports, CFileHeader::kReportsDescription, "57 77 00 00"},
                {CFileHeader::kMagicTranslations, CFileHeader::kTranslationsDescription, "47 77 00 00"}};
    for (const auto& d : docs) {
        ArchiveWriter w;
        CFileHeader::ForDocument(d.magic, d.description).Serialize(w);
        EXPECT_EQ(Hex(w.Bytes().substr(0, 4)), d.magicBytes);
        EXPECT_EQ(w.Bytes().substr(8, 33), Field(std::string(d.description)));
        EXPECT_EQ(Load(w.Bytes()).Description(), d.description);
    }
    EXPECT_EQ(CFileHeader::kEquationsDescription, "DuravaneIIIX EquationSet(.EQX)");
    EXPECT_EQ(CFileHeader::kReportsDescription, "DuravaneIIIX Report Def (.RPX)");
    EXPECT_EQ(CFileHeader::kTranslationsDescription, "DuravaneIIIX Translation (.LGX)");
}

TEST(CFileHeader, TextsAreBoundedOnBothSides) {
    CFileHeader made(1, 1.0f, std::string(40, 'd'), std::string("no\0tice", 7));
    EXPECT_EQ(made.Description(), std::string(32, 'd'));
    EXPECT_EQ(made.Notice(), "no");
    ArchiveWriter w;
    made.Serialize(w);
    EXPECT_EQ(w.Bytes()[8 + 32], '\0');

    // A file whose fields hold no NUL at all still yields 32 characters each.
    std::string raw = HeaderBytes(30520, std::bit_cast<uint32_t>(11.26f));
    for (size_t i = 8; i < 74; ++i) raw[i] = 'Z';
    const CFileHeader loaded = Load(raw);
    EXPECT_EQ(loaded.Description(), std::string(32, 'Z'));
    EXPECT_EQ(loaded.Notice(), std::string(32, 'Z'));
}

TEST(CFileHeader, MagicIsCheckedAndAWrongFileLeavesTheHeaderAlone) {
    const float rev = 11.26f;
    for (int32_t magic : {30520, 30519}) {
        ArchiveReader r(HeaderBytes(static_cast<uint32_t>(magic), std::bit_cast<uint32_t>(rev)) + "rest");
        CFileHeader h;
        h.LoadExpecting(r, {CFileHeader::kMagicProgramData, CFileHeader::kMagicProgramDataOld});
        EXPECT_EQ(h.Magic(), magic);
        EXPECT_EQ(r.Remaining(), 4u);
    }
    CFileHeader h(7, 1.5f, "keep", "me");
    for (uint32_t magic : {30567u, 30521u, 0u, 0x38770000u}) {
        ArchiveReader r(HeaderBytes(magic, std::bit_cast<uint32_t>(rev)));
        try {
            h.LoadExpecting(r, {CFileHeader::kMagicProgramData, CFileHeader::kMagicProgramDataOld});
            FAIL() << "magic " << magic << " accepted";
        } catch (const ArchiveError& e) {
            EXPECT_EQ(e.Fault(), ArchiveFault::BadIndex);
        }
    }
    EXPECT_EQ(h.Magic(), 7);
    EXPECT_EQ(h.Description(), "keep");

    ArchiveReader shortFile(HeaderBytes(30520, std::bit_cast<uint32_t>(rev)).substr(0, 73));
    try {
        h.LoadExpecting(shortFile, {CFileHeader::kMagicProgramData});
        FAIL();
    } catch (const ArchiveError& e) {
        EXPECT_EQ(e.Fault(), ArchiveFault::EndOfFile);
    }
    EXPECT_EQ(h.Magic(), 7);
}

TEST(CFileHeader, VersionsOutsideTheFloatRangeAreOldIntegerVersions) {
    EXPECT_EQ(Load(HeaderBytes(30520, 11)).Version(), 11.0f);  // a tiny denormal as a float
    EXPECT_EQ(Load(HeaderBytes(30520, 7)).Version(), 7.0f);
    EXPECT_EQ(Load(HeaderBytes(30520, 0)).Version(), 0.0f);    // revision 0 stays 0
    EXPECT_EQ(Load(HeaderBytes(30520, std::bit_cast<uint32_t>(0.1f))).Version(), 0.1f);
    EXPECT_EQ(Load(HeaderBytes(30520, std::bit_cast<uint32_t>(99.5f))).Version(), 99.5f);
    EXPECT_EQ(Load(HeaderBytes(30520, std::bit_cast<uint32_t>(100.0f))).Version(),
              static_cast<float>(std::bit_cast<int32_t>(100.0f)));
    EXPECT_EQ(Load(HeaderBytes(30520, std::bit_cast<uint32_t>(-1.0f))).Version(),
              static_cast<float>(std::bit_cast<int32_t>(-1.0f)));
    EXPECT_EQ(Load(HeaderBytes(30520, 0x7FC00000u)).Version(), static_cast<float>(0x7FC00000));  // NaN bits
}

TEST(CFileHeader, RevisionWarningsWhenOpeningAProgramDataFile) {
    const CFileHeader oldInt = Load(HeaderBytes(30520, 11));
    EXPECT_EQ(oldInt.RevisionWarning(),
              "This file was last saved with Quillset Revision 11.00\n"
              "Program codes added after Revision 11.00 will not yet have values programmed.");
    EXPECT_EQ(CFileHeader(30520, 11.25f, "", "").RevisionWarning(),
              "This file was last saved with Quillset Revision 11.25\n"
              "Program codes added after Revision 11.25 will not yet have values programmed.");
    EXPECT_EQ(CFileHeader(30520, 11.27f, "", "").RevisionWarning(),
              "This file was created with a newer revision Quillset (Rev11.27). Not all data will be loaded.\n"
              "Warning: Saving the file from this Quillset (rev 11.26) may result in data loss.");
    // The nearest float32 values either side of the program's own revision.
    const uint32_t own = std::bit_cast<uint32_t>(kProgramRevision);
    EXPECT_TRUE(Load(HeaderBytes(30520, own + 1)).IsNewerThanProgram());
    EXPECT_TRUE(Load(HeaderBytes(30520, own - 1)).IsOlderThanProgram());
    EXPECT_EQ(Load(HeaderBytes(30520, own)).RevisionWarning(), std::nullopt);
    EXPECT_EQ(CFileHeader(30520, 0.0f, "", "").RevisionWarning(),
              "This file was last saved with Quillset Revision 0.00\n"
              "Program codes added after Revision 0.00 will not yet have values programmed.");
}

TEST(CFileHeader, RevisionText) {
    EXPECT_EQ(ProgramRevisionText(), "Revision 11.26");
    EXPECT_EQ(FormatRevision(9.5, 5), " 9.50");
    EXPECT_EQ(FormatRevision(11.0), "11.00");
    EXPECT_EQ(FormatRevision(-1082130432.0), "-1082130432.00");
}

TEST(CFileHeader, BoundedFuzzOfHeaderLoading) {
    const std::string seed = HeaderBytes(30520, std::bit_cast<uint32_t>(11.26f), "Duravane III.NET Data File (.D3X");
    FuzzOptions options;
    options.maxLength = 200;
    int accepted = 0;
    RunFuzz({seed}, [&](const std::string& input) {
        ArchiveReader r(input);
        CFileHeader h;
        try {
            h.LoadExpecting(r, {CFileHeader::kMagicProgramData, CFileHeader::kMagicProgramDataOld});
            ++accepted;
            EXPECT_LE(h.Description().size(), 32u);
            EXPECT_LE(h.Notice().size(), 32u);
            (void)h.RevisionWarning();
        } catch (const ArchiveError&) {
        }
    }, options);
    EXPECT_GT(accepted, 0);
}

}  // namespace qs::test
