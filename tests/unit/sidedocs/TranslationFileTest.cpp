// The ".LGX" file of a translation, checked against images written out by hand.
#include <gtest/gtest.h>

#include <cstring>

#include "Fuzz.h"
#include "RecordingUi.h"
#include "TempDir.h"
#include "platform/BinaryArchive.h"
#include "sidedocs/translations/CTranslation.h"

namespace qs::test {
namespace {

void PutLe32(std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

uint32_t Bits(float f) {
    uint32_t b;
    std::memcpy(&b, &f, 4);
    return b;
}

std::string Field(const std::string& text, size_t size) {
    std::string f = text.substr(0, size);
    f.resize(size, '\0');
    return f;
}

// Header, character set, the 33-byte name field as given, and the texts with one-byte lengths.
std::string Image(float revision, int32_t characterSet, const std::string& nameField,
                  const std::vector<std::string>& texts, uint32_t magic = 30535) {
    std::string s;
    PutLe32(s, magic);
    PutLe32(s, Bits(revision));
    s += Field("DuravaneIIIX Translation (.LGX)", 33);
    s += Field("notice", 33);
    PutLe32(s, static_cast<uint32_t>(characterSet));
    s += nameField;
    s += static_cast<char>(texts.size() & 0xFF);
    s += static_cast<char>(texts.size() >> 8);
    for (const std::string& t : texts) {
        s += static_cast<char>(t.size());
        s += t;
    }
    return s;
}

class TranslationFile : public ::testing::Test {
protected:
    bool Load(CTranslation& t, const std::string& image) {
        ArchiveReader in(image);
        try {
            t.Serialize(in, ui.services);
            return true;
        } catch (const ArchiveError&) {
            return false;
        }
    }

    RecordingUi ui;
    TempDir dir;
};

TEST_F(TranslationFile, IsWrittenFieldByField) {
    CTranslation t;
    t.SetName("A name that is longer than thirty-two characters");
    t.SetCharacterSet(2);
    t.SetText(0, "\xC3\xEE\xF2\xEE\xE2");  // 1251 bytes
    t.SetText(4573, std::string(300, 'x'));
    ArchiveWriter out;
    t.Serialize(out);
    const std::string& b = out.Bytes();

    std::string expected;
    PutLe32(expected, 30535);
    PutLe32(expected, Bits(11.26f));
    expected += Field("DuravaneIIIX Translation (.LGX)", 33);
    ASSERT_GE(b.size(), 74u + 4 + 33 + 2);
    EXPECT_EQ(b.substr(0, 41), expected);
    EXPECT_EQ(b.substr(74, 4), std::string("\x02\0\0\0", 4));
    // The name cut to 32 characters, the 33rd byte a NUL.
    EXPECT_EQ(b.substr(78, 33), Field("A name that is longer than thirty-two characters", 32) + std::string(1, '\0'));
    // 4575 strings: the count, then each with its length prefix (0xFF and 16 bits past 254).
    EXPECT_EQ(b.substr(111, 2), "\xDF\x11");
    EXPECT_EQ(b.substr(113, 6), "\x05\xC3\xEE\xF2\xEE\xE2");
    EXPECT_EQ(b.substr(119, 4572), std::string(4572, '\0'));
    EXPECT_EQ(b.substr(119 + 4572, 3), "\xFF\x2C\x01");
    EXPECT_EQ(b.size(), 119u + 4572 + 3 + 300 + 1);

    CTranslation back;
    ASSERT_TRUE(Load(back, b));
    EXPECT_EQ(back.Name(), std::string("A name that is longer than thirty-two characters").substr(0, 32));
    EXPECT_EQ(back.CharacterSet(), 2);
    EXPECT_EQ(back.Texts(), t.Texts());
    EXPECT_FALSE(back.Upgraded());
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(TranslationFile, ReadsANameWithoutNulAndPadsTheTextsToTheTable) {
    CTranslation t;
    ASSERT_TRUE(Load(t, Image(11.26f, 4, std::string(33, 'N'), {"one", "two", "three"})));
    EXPECT_EQ(t.Name(), std::string(32, 'N'));
    EXPECT_EQ(t.CharacterSet(), 4);
    ASSERT_EQ(t.Texts().size(), 4575u);
    EXPECT_EQ(t.Text(2), "three");
    EXPECT_EQ(t.Text(3), "");
}

TEST_F(TranslationFile, ACharacterSetOutsideTheTableBecomesTheFirst) {
    CTranslation t;
    ASSERT_TRUE(Load(t, Image(11.26f, 9, Field("n", 33), {"a"})));
    EXPECT_EQ(t.CharacterSet(), 0);
    ASSERT_TRUE(Load(t, Image(11.26f, -1, Field("n", 33), {"a"})));
    EXPECT_EQ(t.CharacterSet(), 0);
}

TEST_F(TranslationFile, AFileOfAnotherKindLeavesTheTranslationAsItWas) {
    CTranslation t;
    t.SetName("kept");
    t.SetText(5, "kept");
    EXPECT_FALSE(Load(t, Image(11.26f, 1, Field("other", 33), {"a"}, 30520)));
    EXPECT_EQ(t.Name(), "kept");
    EXPECT_EQ(t.Text(5), "kept");
    EXPECT_TRUE(ui.Messages().empty());
}

struct RevisionCase {
    float revision;
    std::vector<std::string> messages;
    bool upgraded;
};

class TranslationFileRevision : public TranslationFile, public ::testing::WithParamInterface<RevisionCase> {};

TEST_P(TranslationFileRevision, UpgradesOnlyFilesOfAKnownOlderRevision) {
    std::vector<std::string> texts(4572);
    for (size_t i = 0; i < texts.size(); ++i) texts[i] = "t" + std::to_string(i);
    std::string image = Image(GetParam().revision, 0, Field("n", 33), {});
    image.resize(image.size() - 2);
    image += "\xDC\x11";  // 4572
    for (const auto& text : texts) image += static_cast<char>(text.size()) + text;
    CTranslation t;
    ASSERT_TRUE(Load(t, image));
    EXPECT_EQ(ui.Messages(), GetParam().messages);
    EXPECT_EQ(t.Upgraded(), GetParam().upgraded);
    ASSERT_EQ(t.Texts().size(), 4575u);
    // From 11.25 the vapour-recovery texts arrive before "t266"; otherwise nothing moves.
    EXPECT_EQ(t.Text(266), GetParam().upgraded ? "" : "t266");
    EXPECT_EQ(t.Text(269), GetParam().upgraded ? "t266" : "t269");
}

const std::string kPrevious = "This file is from a previous revision. It will be updated now.";
const std::string kUnknown = "Unable to determine source revision... aborting upgrade";

INSTANTIATE_TEST_SUITE_P(Revisions, TranslationFileRevision,
                         ::testing::Values(RevisionCase{11.26f, {}, false}, RevisionCase{11.2605f, {}, false},
                                           RevisionCase{11.25f, {kPrevious}, true},
                                           RevisionCase{10.22f, {kPrevious, kUnknown}, false},
                                           RevisionCase{12.0f, {kPrevious, kUnknown}, false}));

TEST_F(TranslationFile, FuzzedFilesNeverCrashTheLoader) {
    CTranslation seed;
    seed.SetName("seed");
    for (size_t i = 0; i < 40; ++i) seed.SetText(i, std::string(i * 7 % 300, static_cast<char>('a' + i % 26)));
    ArchiveWriter out;
    seed.Serialize(out);
    const std::string current = out.Bytes();
    const std::string older = Image(11.23f, 1, Field("old", 33), {"a", "b", "c"});
    FuzzOptions options;
    options.iterations = 3000;
    options.maxLength = 12000;
    RunFuzz({current, older}, [&](const std::string& input) {
        CTranslation t;
        if (Load(t, input)) {
            EXPECT_EQ(t.Texts().size(), 4575u);
        }
        ui.prompt.shown.clear();
    }, options);
}

}  // namespace
}  // namespace qs::test
