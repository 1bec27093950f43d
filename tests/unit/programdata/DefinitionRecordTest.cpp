#include <gtest/gtest.h>

#include "ModelFixtures.h"
#include "platform/BinaryArchive.h"
#include "programdata/CParam.h"

namespace qs::test {
namespace {

std::string Store(const CParam& p) {
    ArchiveWriter out;
    p.SerializeDefinition(out);
    return out.Bytes();
}

TEST(DefinitionRecord, RoundTripIsByteExactWithAndWithoutOptions) {
    Def plain = Code(107, "Arm Enable");
    plain.type = 4;
    plain.dir = 11;
    plain.position = 7;
    plain.instances = 6;
    plain.min = -2.5f;
    plain.max = 1e6f;
    plain.format = "%*.*f";
    plain.width = 8;
    plain.precision = 3;
    plain.help = "Help text of the code";
    Def listed = Code(111, "Protocol Mode", 0x01 | 0x02);
    listed.max = 2;
    listed.options = {"0 Terminal", "1 Minicomputer", std::string(41, 'z')};
    const std::string bytes = Record(plain) + Record(listed);
    ASSERT_EQ(Record(plain).size(), 220u);
    ASSERT_EQ(Record(listed).size(), 220u + 3 * 42u);

    ArchiveReader in(bytes);
    CParam a, b, c;
    ASSERT_TRUE(a.SerializeDefinition(in));
    ASSERT_TRUE(b.SerializeDefinition(in));
    EXPECT_FALSE(c.SerializeDefinition(in));  // end of data
    EXPECT_EQ(a.number, 107);
    EXPECT_EQ(a.dataType, 4);
    EXPECT_EQ(a.dictDirectory, 11);
    EXPECT_EQ(a.position, 7);
    EXPECT_EQ(a.instances, 6);
    EXPECT_FLOAT_EQ(a.min, -2.5f);
    EXPECT_FLOAT_EQ(a.max, 1e6f);
    EXPECT_EQ(a.Format(), "%*.*f");
    EXPECT_EQ(a.width, 8);
    EXPECT_EQ(a.precision, 3);
    EXPECT_EQ(a.Name(), "107 Arm Enable");
    EXPECT_EQ(a.Help(), "Help text of the code");
    EXPECT_TRUE(a.OptionTexts().empty());
    EXPECT_EQ(b.OptionTexts(), listed.options);
    EXPECT_EQ(Store(a) + Store(b), bytes);
}

TEST(DefinitionRecord, FieldsWithoutNulAreReadWithinTheirSize) {
    Def d = Code(1, "");
    d.name = std::string(42, 'N');
    d.help = std::string(150, 'H');
    d.format = std::string(10, '%');
    ArchiveReader in(Record(d));
    CParam p;
    ASSERT_TRUE(p.SerializeDefinition(in));
    EXPECT_EQ(p.Name(), std::string(41, 'N'));
    EXPECT_EQ(p.Help(), std::string(149, 'H'));
    EXPECT_EQ(p.Format().size(), 9u);
    // The bytes are kept as they were: storing gives the same record back.
    EXPECT_EQ(Store(p), Record(d));
}

TEST(DefinitionRecord, RecordsCutShortAreRefused) {
    Def listed = Code(5, "List", 0x01);
    listed.max = 3;
    listed.options = {"a", "b", "c", "d"};
    const std::string full = Record(listed);
    for (size_t cut : {size_t{1}, size_t{219}, size_t{220}, full.size() - 1}) {
        ArchiveReader in(full.substr(0, cut));
        CParam p;
        EXPECT_FALSE(p.SerializeDefinition(in)) << cut;
    }
}

TEST(DefinitionRecord, HugeOptionMaxReadsAtMost255Texts) {
    Def listed = Code(5, "List", 0x01);
    listed.max = 1e9f;
    for (int i = 0; i < 255; ++i) listed.options.push_back("o" + std::to_string(i));
    ArchiveReader in(Record(listed) + Record(Code(6, "Next")));
    CParam p, q;
    ASSERT_TRUE(p.SerializeDefinition(in));
    EXPECT_EQ(p.OptionTexts().size(), 255u);
    EXPECT_EQ(p.OptionText(254), "o254");
    ASSERT_TRUE(q.SerializeDefinition(in));
    EXPECT_EQ(q.number, 6);
}

TEST(DefinitionReply, MarkersSetFlagsAndLeaveTheName) {
    const auto data = ReplyData(8, 11, 3, 6, 0, 9, 1, 0, "%*d", "110 Arm Flag{O{U", "Marks an arm");
    CParam p;
    ArchiveWriter out;
    ASSERT_TRUE(p.FromDirectoryRecord(110, data, &out));
    EXPECT_EQ(p.flags, 0x42);
    EXPECT_EQ(p.Name(), "110 Arm Flag");
    EXPECT_EQ(p.Help(), "Marks an arm");
    EXPECT_EQ(p.dataType, 8);
    EXPECT_EQ(p.dictDirectory, 11);
    EXPECT_EQ(p.position, 3);
    EXPECT_EQ(p.instances, 6);
    EXPECT_FLOAT_EQ(p.max, 9);
    EXPECT_EQ(p.width, 1);

    Def expected = Code(110, "Arm Flag", 0x42);
    expected.dir = 11;
    expected.position = 3;
    expected.instances = 6;
    expected.max = 9;
    expected.width = 1;
    expected.help = "Marks an arm";
    EXPECT_EQ(out.Bytes(), Record(expected));

    const struct {
        const char* name;
        uint16_t flags;
    } cases[] = {{"x{B", 0xB0}, {"x{H", 0x80}, {"x{R", 0x20}, {"x{S", 0x10}, {"x{S{R{H", 0xB0},
                 {"x{Z{b", 0}, {"x{", 0}, {"{O", 0x02}};
    for (const auto& c : cases) {
        CParam q;
        ASSERT_TRUE(q.FromDirectoryRecord(1, ReplyData(8, 0, 0, 0, 0, 1, 0, 0, "%d", c.name, ""), nullptr));
        EXPECT_EQ(q.flags, c.flags) << c.name;
        EXPECT_EQ(q.Name(), std::string(c.name).substr(0, std::string(c.name).find('{'))) << c.name;
    }
    CParam blend;
    blend.FromDirectoryRecord(1, ReplyData(8, 0, 0, 0, 0, 1, 0, 0, "%d", "x{S{R{H", ""), nullptr);
    EXPECT_EQ(blend.GetApplicabilityText(), "Blending");
}

TEST(DefinitionReply, OptionTextsNeedTwoBytesAfterTheHelp) {
    CParam p;
    ASSERT_TRUE(p.FromDirectoryRecord(111, ReplyData(8, 9, 0, 0, 0, 2, 1, 0, "%*d", "111 Mode", "h", {"0 Off", "1 On", "2 Auto"}), nullptr));
    EXPECT_TRUE(p.HasOptionList());
    EXPECT_EQ(p.OptionTexts(), (std::vector<std::string>{"0 Off", "1 On", "2 Auto"}));

    // Fewer texts than max asks for: the missing ones stay empty.
    CParam q;
    ASSERT_TRUE(q.FromDirectoryRecord(111, ReplyData(8, 9, 0, 0, 0, 3, 1, 0, "%*d", "111 Mode", "h", {"0 Off"}), nullptr));
    EXPECT_EQ(q.OptionTexts(), (std::vector<std::string>{"0 Off", "", "", ""}));

    // One byte after the help is no list.
    auto data = ReplyData(8, 9, 0, 0, 0, 3, 1, 0, "%*d", "111 Mode", "h");
    data.push_back('x');
    CParam r;
    ASSERT_TRUE(r.FromDirectoryRecord(111, data, nullptr));
    EXPECT_FALSE(r.HasOptionList());

    // A max that asks for a million options gets 255 at most.
    std::vector<std::string> many(300, "o");
    CParam s;
    ASSERT_TRUE(s.FromDirectoryRecord(1, ReplyData(8, 9, 0, 0, 0, 1e6f, 1, 0, "%*d", "n", "h", many), nullptr));
    EXPECT_EQ(s.OptionTexts().size(), 255u);
    ArchiveWriter out;
    s.SerializeDefinition(out);
    EXPECT_EQ(out.Size(), 220u + 255u * 42u);
}

TEST(DefinitionReply, TextsAreCutToTheirFieldsAndMissingNulsTolerated) {
    CParam p;
    ASSERT_TRUE(p.FromDirectoryRecord(
        1, ReplyData(8, 0, 0, 0, 0, 1, 0, 0, "%0123456789d", std::string(60, 'n') + "{O", std::string(200, 'h'), {std::string(50, 'o'), "b"}),
        nullptr));
    EXPECT_EQ(p.Format(), "%01234567");
    EXPECT_EQ(p.Name(), std::string(41, 'n'));
    EXPECT_EQ(p.flags & 0x02, 0x02);
    EXPECT_EQ(p.Help(), std::string(149, 'h'));
    EXPECT_EQ(p.OptionText(0), std::string(41, 'o'));

    // The data ends inside the name: no NUL anywhere after the format.
    std::vector<uint8_t> cut = ReplyData(8, 0, 0, 0, 0, 1, 0, 0, "%d", "", "");
    cut.resize(cut.size() - 2);
    const std::string tail = "12 Cut name";
    cut.insert(cut.end(), tail.begin(), tail.end());
    CParam q;
    ASSERT_TRUE(q.FromDirectoryRecord(12, cut, nullptr));
    EXPECT_EQ(q.Name(), "12 Cut name");
    EXPECT_EQ(q.Help(), "");
    EXPECT_FALSE(q.HasOptionList());

    // Only the 16 fixed bytes, no format at all.
    std::vector<uint8_t> bare(17, 0);
    CParam r;
    EXPECT_TRUE(r.FromDirectoryRecord(2, bare, nullptr));
    bare.resize(16);
    ArchiveWriter out;
    EXPECT_FALSE(r.FromDirectoryRecord(2, bare, &out));
    EXPECT_EQ(out.Size(), 0u);
    EXPECT_FALSE(r.FromDirectoryRecord(2, {}, &out));
}

TEST(ValueRecord, FiftyFourBytesWithSignExtendedLevel) {
    CParam p(4);
    p.number = 107;
    p.SetValue("1 Enabled", 2);
    p.SetLevel(CParam::kLevelNone);
    ArchiveWriter out;
    EXPECT_FALSE(p.SerializeValue(out, 2, 0));  // empty value: nothing
    EXPECT_FALSE(p.SerializeValue(out, 2, 9));  // no such instance: nothing
    ASSERT_TRUE(p.SerializeValue(out, 2, 2));
    std::string expected = Bytes({2, 0, 0, 0, 2, 0, 0, 0, 107, 0, 0, 0});
    std::string text = "1 Enabled";
    text.resize(40, '\0');
    expected += text + Bytes({0xFF, 0xFF});
    EXPECT_EQ(out.Bytes(), expected);

    p.SetValue(std::string(45, 'v') + "%s", 3);
    p.SetLevel(4);
    ASSERT_TRUE(p.SerializeValue(out, 3, 3));
    ASSERT_EQ(out.Size(), 108u);

    ArchiveReader in(out.Bytes() + "short");
    auto a = CParam::ReadValueRecord(in);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->directoryType, 2);
    EXPECT_EQ(a->instance, 2);
    EXPECT_EQ(a->number, 107);
    EXPECT_EQ(a->value, "1 Enabled");
    EXPECT_EQ(a->level, 255);
    auto b = CParam::ReadValueRecord(in);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->value, std::string(39, 'v'));
    EXPECT_EQ(b->level, 4);
    EXPECT_FALSE(CParam::ReadValueRecord(in));  // five bytes left

    // A reader takes the level's low byte, whatever the high one says.
    std::string odd = expected.substr(0, 52) + Bytes({0x07, 0x12});
    ArchiveReader oddIn(odd);
    EXPECT_EQ(CParam::ReadValueRecord(oddIn)->level, 7);
}

TEST(ValueRecord, PercentSignsAreStoredUnchanged) {
    CParam p;
    p.number = 1;
    p.SetValue("50% %s %n", 0);
    ArchiveWriter out;
    ASSERT_TRUE(p.SerializeValue(out, 0, 0));
    ArchiveReader in(out.Bytes());
    EXPECT_EQ(CParam::ReadValueRecord(in)->value, "50% %s %n");
}

}  // namespace
}  // namespace qs::test
