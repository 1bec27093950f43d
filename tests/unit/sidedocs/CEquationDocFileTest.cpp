// The ".EQX" file: its bytes, a save and load of every field, the fix-ups of revision-0 files,
// and the files a load refuses.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "EquationFixtures.h"
#include "Fuzz.h"
#include "RecordingUi.h"
#include "TempDir.h"
#include "platform/ArchiveError.h"
#include "platform/ArchiveReader.h"
#include "platform/ArchiveWriter.h"
#include "sidedocs/equations/EquationTokens.h"

namespace qs::test::eq {
namespace {

// Little-endian pieces of a file written by hand.
std::string Le16(uint32_t v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)}; }
std::string Le32(uint32_t v) { return Le16(v & 0xFFFF) + Le16(v >> 16); }
std::string LeDouble(double d) {
    uint64_t bits = 0;
    std::memcpy(&bits, &d, sizeof bits);
    return Le32(static_cast<uint32_t>(bits)) + Le32(static_cast<uint32_t>(bits >> 32));
}
std::string LeFloat(float f) {
    uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    return Le32(bits);
}
std::string Field(const std::string& text, size_t size) { return text + std::string(size - text.size(), '\0'); }

std::string FileHead(float revision, const std::string& name, int32_t disable, uint32_t count) {
    return Le32(30567) + LeFloat(revision) + Field("DuravaneIIIX EquationSet(.EQX)", 33) +
           Field("(c) Norvane Technologies", 33) + Field(name, 33) + Le32(static_cast<uint32_t>(disable)) + Le16(count);
}

// The class record before the first line, the class's tag before the others.
std::string Tag(bool first) { return first ? Le16(0xFFFF) + Le16(0) + Le16(9) + "CEquation" : Le16(0x8001); }

struct Place {
    double value = 0;
    int32_t kind = 0;
    int32_t op = 0;
};

std::string LineRecord(int32_t type, int16_t index, std::vector<Place> places, int32_t disable = 0) {
    places.resize(5);
    std::string out = Le32(static_cast<uint32_t>(type)) + Le16(static_cast<uint16_t>(index));
    for (const Place& p : places) out += LeDouble(p.value) + Le32(static_cast<uint32_t>(p.kind)) + Le32(static_cast<uint32_t>(p.op));
    return out + Le32(static_cast<uint32_t>(disable));
}

std::string CommentRecord(int32_t type, const std::string& text) {
    return Le32(static_cast<uint32_t>(type)) + static_cast<char>(text.size()) + text;
}

class EquationFile : public ::testing::Test {
protected:
    std::string SavedImage(const CEquationDoc& doc) {
        EXPECT_TRUE(doc.Save(dir.File("set.eqx"), ui.services));
        return dir.Read("set.eqx");
    }
    bool Load(CEquationDoc& doc, const std::string& image) {
        dir.Write("in.eqx", image);
        return doc.Load(dir.File("in.eqx"), ui.services);
    }

    RecordingUi ui;
    TempDir dir;
};

TEST_F(EquationFile, TheBytesAreTheFrameworksArchive) {
    CEquationDoc doc(Dictionary());
    doc.SetSetName("Rack 4");
    doc.SetDisableFlag(1);
    Add(doc, Dest::kUserFloat, 1, "2.5 * 2").disable = 1;
    AddComment(doc, ";  totals");
    const std::string expected =
        FileHead(11.26f, "Rack 4", 1, 2) + Tag(true) +
        LineRecord(3, 1, {{2.5, 3, 17}, {2, 2, 0}}, 1) + Tag(false) + CommentRecord(99, ";  totals");
    EXPECT_EQ(SavedImage(doc), expected);
}

TEST_F(EquationFile, EveryFieldComesBack) {
    CEquationDoc doc(Dictionary());
    doc.SetSetName(std::string(40, 'N'));
    doc.SetDisableFlag(1);
    Add(doc, Dest::kTempBool, 300, "TRUE AND NOT OFF");
    Add(doc, Dest::kTempFloat, 2, "ABS -1.25");
    AddComment(doc, "no mark");
    Add(doc, 90, 8, "TEMPBOOL300 IF 1 + TEMPFLOAT2 - @" + std::to_string(kKFactorArm2Meter3)).disable = 1;
    Add(doc, Dest::kNotUsed, 0, "USERBOOL5 > TIMER16 OR NOT E <= 1E-7").index = -5;
    Add(doc, Dest::kUserAlarm, 0, "TEMPBOOL300");

    CEquationDoc loaded(Dictionary());
    ASSERT_TRUE(Load(loaded, SavedImage(doc))) << ui.LastMessage();
    EXPECT_EQ(loaded.SetName(), std::string(32, 'N'));
    EXPECT_EQ(loaded.DisableFlag(), 1);
    ASSERT_EQ(loaded.Lines().size(), doc.Lines().size());
    for (size_t i = 0; i < doc.Lines().size(); ++i) {
        const CEquation& a = *doc.Lines()[i];
        const CEquation& b = *loaded.Lines()[i];
        EXPECT_EQ(b.type, a.type) << i;
        EXPECT_EQ(b.text, a.text) << i;
        if (a.IsComment()) continue;
        EXPECT_EQ(b.index, a.index) << i;
        EXPECT_EQ(b.disable, a.disable) << i;
        EXPECT_EQ(b.kinds, a.kinds) << i;
        EXPECT_EQ(b.values, a.values) << i;
        EXPECT_EQ(b.operators, a.operators) << i;
    }
    EXPECT_EQ(loaded.Lines()[3]->text,
              "TIMER8 = TEMPBOOL300 IF 1 + TEMPFLOAT2 - Arm 2 Meter Configuration(3) 103 K-Factor");
}

TEST_F(EquationFile, RevisionZeroFilesAreRenumbered) {
    const std::string image = FileHead(0.0f, "old", 0, 4) + Tag(true) +
                              LineRecord(42, 0, {{1, 6, 0}}) + Tag(false) + CommentRecord(59, ";  moved") + Tag(false) +
                              LineRecord(2, 1, {{43 * 256 + 3, 5, 15}, {1 * 256 + 4, 5, 0}}) + Tag(false) +
                              LineRecord(0, 1, {{1, 2, 0}});
    CEquationDoc doc(Dictionary());
    ASSERT_TRUE(Load(doc, image)) << ui.LastMessage();
    ASSERT_EQ(doc.Lines().size(), 4u);
    EXPECT_EQ(doc.Lines()[0]->type, Dest::kUserAlarm);
    EXPECT_EQ(doc.Lines()[0]->text, "Set User Alarm TEMPBOOL1");
    EXPECT_EQ(doc.Lines()[1]->type, Dest::kComment);
    EXPECT_EQ(doc.Lines()[1]->text, ";  moved");
    EXPECT_EQ(doc.Lines()[2]->values[0], 83 * 256 + 3);
    EXPECT_EQ(doc.Lines()[2]->values[1], 1 * 256 + 4);
    EXPECT_EQ(doc.Lines()[2]->text, "TEMPFLOAT1 = TIMER3 + USERBOOL4");
    EXPECT_EQ(doc.Lines()[3]->type, Dest::kTempBool);

    // The same type in a file of this revision is taken as it stands.
    CEquationDoc now(Dictionary());
    ASSERT_TRUE(Load(now, FileHead(11.26f, "new", 0, 1) + Tag(true) + LineRecord(42, 39, {{43 * 256 + 3, 5, 0}})));
    EXPECT_EQ(now.Lines()[0]->type, 42);
    EXPECT_EQ(now.Lines()[0]->values[0], 43 * 256 + 3);
}

TEST_F(EquationFile, DamagedFilesAreRefusedAndChangeNothing) {
    const std::string good = LineRecord(0, 1, {{1, 2, 3}, {2, 2, 0}});
    struct Case {
        const char* name;
        std::string image;
    };
    const std::string nan = LeDouble(std::numeric_limits<double>::quiet_NaN());
    std::vector<Case> cases = {
        {"another document's magic", Le32(30551) + FileHead(11.26f, "x", 0, 1).substr(4) + Tag(true) + good},
        {"type 107", FileHead(11.26f, "x", 0, 1) + Tag(true) + LineRecord(107, 1, {{1, 2, 0}})},
        {"type -1", FileHead(11.26f, "x", 0, 1) + Tag(true) + LineRecord(-1, 1, {{1, 2, 0}})},
        {"kind 8", FileHead(11.26f, "x", 0, 1) + Tag(true) + LineRecord(0, 1, {{1, 8, 0}})},
        {"operator 27", FileHead(11.26f, "x", 0, 1) + Tag(true) + LineRecord(0, 1, {{1, 2, 27}, {1, 2, 0}})},
        {"operator flag 0x200", FileHead(11.26f, "x", 0, 1) + Tag(true) + LineRecord(0, 1, {{1, 2, 0x203}, {1, 2, 0}})},
        {"byte constant 300", FileHead(11.26f, "x", 0, 1) + Tag(true) + LineRecord(0, 1, {{300, 2, 0}})},
        {"named constant 6", FileHead(11.26f, "x", 0, 1) + Tag(true) + LineRecord(0, 1, {{6, 1, 0}})},
        {"destination type 107", FileHead(11.26f, "x", 0, 1) + Tag(true) + LineRecord(0, 1, {{107 * 256, 5, 0}})},
        {"float not a number", FileHead(11.26f, "x", 0, 1) + Tag(true) + Le32(0) + Le16(1) + nan + Le32(3) + Le32(0) +
                                   LineRecord(0, 1, {}).substr(6 + 16)},
        {"201 lines", FileHead(11.26f, "x", 0, 201) + Tag(true) + good},
        {"a line named twice", FileHead(11.26f, "x", 0, 2) + Tag(true) + good + Le16(2)},
        {"a comment longer than the file", FileHead(11.26f, "x", 0, 1) + Tag(true) + Le32(99) + "\x40" + "short"},
    };
    for (const Case& c : cases) {
        CEquationDoc doc(Dictionary());
        doc.SetSetName("kept");
        Add(doc, Dest::kTempBool, 1, "TRUE");
        ui.prompt.shown.clear();
        EXPECT_FALSE(Load(doc, c.image)) << c.name;
        EXPECT_EQ(ui.LastMessage(), "Unable to open " + dir.File("in.eqx") + "\nUnexpected file format.") << c.name;
        EXPECT_EQ(doc.SetName(), "kept") << c.name;
        EXPECT_EQ(doc.Lines().size(), 1u) << c.name;
    }
}

TEST(EquationFileFuzz, DamagedImagesNeverHurt) {
    CEquationDoc sample(Dictionary());
    sample.SetSetName("fuzz");
    Add(sample, Dest::kTempBool, 1, "TRUE AND NOT OFF");
    AddComment(sample, "note");
    Add(sample, Dest::kUserFloat, 3, "TEMPBOOL1 IF 2.5 * @" + std::to_string(kUserFloat5));
    ArchiveWriter out;
    sample.Serialize(out);
    std::string legacy = out.Bytes();
    legacy.replace(4, 4, std::string(4, '\0'));
    RunFuzz({out.Bytes(), legacy}, [](const std::string& image) {
        CEquationDoc doc(Dictionary());
        ArchiveReader in(image);
        try {
            doc.Serialize(in);
        } catch (const ArchiveError&) {
            return;
        }
        ASSERT_LE(doc.Lines().size(), CEquationDoc::kMaxLines);
        for (const auto& line : doc.Lines()) {
            ASSERT_TRUE(EquationDestinations::Valid(line->type));
            line->GetExpressionText();
        }
        ArchiveWriter again;
        doc.Serialize(again);
    }, {.iterations = 20000, .maxLength = 1024, .seed = 18});
}

}  // namespace
}  // namespace qs::test::eq
