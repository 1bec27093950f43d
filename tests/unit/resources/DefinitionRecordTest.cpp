#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>

#include "DictTestSupport.h"

namespace qs::test {
namespace {

void PutU16(std::string& s, size_t at, uint16_t v) {
    s[at] = static_cast<char>(v & 0xFF);
    s[at + 1] = static_cast<char>(v >> 8);
}
void PutBytes(std::string& s, size_t at, std::initializer_list<int> bytes) {
    for (int b : bytes) s[at++] = static_cast<char>(b);
}
void PutText(std::string& s, size_t at, const char* text) { std::memcpy(&s[at], text, std::strlen(text)); }

const char* const kOptionSource =
    "code: 111\n"
    "name: 111 Date Format\n"
    "register: 4 1 0\n"
    "instances: 0\n"
    "flags: option\n"
    "min: 0\n"
    "max: 2\n"
    "format: %*d\n"
    "width: 1\n"
    "precision: 0\n"
    "help: Order of month, day and year.\n"
    "option: MM/DD/YY\n"
    "option: DD/MM/YY\n"
    "option: YY/MM/DD\n"
    "default: 0\n"
    "level: 4\n";

// The record layout written byte by byte, independently of the generator's own writer.
TEST(DefinitionRecordLayout, OptionCodeMatchesTheFixedLayoutInBothFiles) {
    DictCompilation c = CompileTexts({{"System", kOptionSource}});
    ASSERT_TRUE(c.errors.empty()) << ErrorList(c);

    std::string expected(220 + 3 * 42, '\0');
    PutU16(expected, 0, 111);
    PutU16(expected, 2, 0x0001);
    PutBytes(expected, 4, {1, 4, 0, 0});
    PutBytes(expected, 8, {0, 0, 0, 0});           // min 0.0f
    PutBytes(expected, 12, {0x00, 0x00, 0x00, 0x40});  // max 2.0f
    PutText(expected, 16, "%*d");
    PutBytes(expected, 26, {1, 0});
    PutText(expected, 28, "111 Date Format");
    PutText(expected, 70, "Order of month, day and year.");
    PutText(expected, 220, "MM/DD/YY");
    PutText(expected, 262, "DD/MM/YY");
    PutText(expected, 304, "YY/MM/DD");

    const DictOutput* sd3 = FindOutput(c, "System.SD3");
    ASSERT_NE(sd3, nullptr);
    EXPECT_EQ(sd3->bytes, expected);

    // In the dictionary the same record carries data type x 100 + position as its number.
    PutU16(expected, 0, 1 * 100 + 0);
    const DictOutput* dat = FindOutput(c, "PARAM.DAT");
    ASSERT_NE(dat, nullptr);
    EXPECT_EQ(dat->bytes, expected);
}

TEST(DefinitionRecordLayout, RealCodeCarriesLittleEndianFloatsFlagsAndPadding) {
    SourceBlock b = SourceBlock::Code(205, "205 Valve Closure", "4 4 0");
    b.Set("flags", "read-only, unloading").Set("min", "-2.5").Set("max", "1000.25").Set("format", "%-*.*f");
    b.Set("width", "7").Set("precision", "3").Set("default", "0.5");
    DictCompilation c = CompileTexts({{"Arm", Join({b})}});
    ASSERT_TRUE(c.errors.empty()) << ErrorList(c);
    const DictOutput* sd3 = FindOutput(c, "Arm.SD3");
    ASSERT_NE(sd3, nullptr);
    const std::string& r = sd3->bytes;
    ASSERT_EQ(r.size(), 220u);  // no option texts without the option flag
    auto byte = [&](size_t i) { return static_cast<uint8_t>(r[i]); };
    EXPECT_EQ(byte(0) | byte(1) << 8, 205);
    EXPECT_EQ(byte(2) | byte(3) << 8, 0x42);
    EXPECT_EQ(byte(4), 4);
    EXPECT_EQ(byte(5), 4);
    // -2.5f = 0xC0200000, 1000.25f = 0x447A1000, low byte first.
    EXPECT_EQ(r.substr(8, 4), std::string("\x00\x00\x20\xC0", 4));
    EXPECT_EQ(r.substr(12, 4), std::string("\x00\x10\x7A\x44", 4));
    EXPECT_EQ(r.substr(16, 10), std::string("%-*.*f\0\0\0\0", 10));
    EXPECT_EQ(byte(26), 7);
    EXPECT_EQ(byte(27), 3);
    EXPECT_EQ(r.substr(28, 18), std::string("205 Valve Closure\0", 18));
    EXPECT_EQ(r.find_first_not_of('\0', 28 + 17), 70u) << "name field must be zero-padded";
    const std::string help = "Help of 205 Valve Closure.";
    EXPECT_EQ(r.substr(70, help.size()), help);
    EXPECT_EQ(r.find_first_not_of('\0', 70 + help.size()), std::string::npos) << "help field must be zero-padded";
}

TEST(DefinitionRecordLayout, ReaderRefusesShortDataAndMissingOptionTexts) {
    DictCompilation c = CompileTexts({{"System", kOptionSource}});
    ASSERT_TRUE(c.errors.empty()) << ErrorList(c);
    const std::string& full = FindOutput(c, "System.SD3")->bytes;
    size_t offset = 0;
    EXPECT_FALSE(DefinitionRecord::Read(std::string_view(full).substr(0, 219), offset));
    EXPECT_EQ(offset, 0u);
    EXPECT_FALSE(DefinitionRecord::Read(std::string_view(full).substr(0, full.size() - 1), offset));
    EXPECT_EQ(offset, 0u);
    auto r = DefinitionRecord::Read(full, offset);
    ASSERT_TRUE(r);
    EXPECT_EQ(offset, full.size());
    EXPECT_EQ(r->options, (std::vector<std::string>{"MM/DD/YY", "DD/MM/YY", "YY/MM/DD"}));
}

TEST(DefinitionRecordLayout, OptionCountIsHeldToTheReadersRange) {
    using dictgen::kFlagOption;
    EXPECT_EQ(DefinitionRecord::OptionCount(0, 5.0f), 0u);
    EXPECT_EQ(DefinitionRecord::OptionCount(kFlagOption, 0.0f), 1u);
    EXPECT_EQ(DefinitionRecord::OptionCount(kFlagOption, 3.9f), 4u);
    EXPECT_EQ(DefinitionRecord::OptionCount(kFlagOption, -1.0f), 0u);
    EXPECT_EQ(DefinitionRecord::OptionCount(kFlagOption, 1e9f), 255u);
    EXPECT_EQ(DefinitionRecord::OptionCount(kFlagOption, std::numeric_limits<float>::quiet_NaN()), 0u);
}

TEST(DefinitionRecordLayout, OverlongTextsAreCutSoEveryFieldKeepsItsNul) {
    DefinitionRecord r;
    r.format = std::string(20, 'f');
    r.name = std::string(60, 'n');
    r.help = std::string(200, 'h');
    r.flags = dictgen::kFlagOption;
    r.max = 0.0f;
    r.options = {std::string(50, 'o')};
    std::string bytes;
    r.AppendTo(bytes);
    ASSERT_EQ(bytes.size(), 220u + 42u);
    EXPECT_EQ(bytes[16 + 9], '\0');
    EXPECT_EQ(bytes[28 + 41], '\0');
    EXPECT_EQ(bytes[70 + 149], '\0');
    EXPECT_EQ(bytes[220 + 41], '\0');
    size_t offset = 0;
    auto back = DefinitionRecord::Read(bytes, offset);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->name, std::string(41, 'n'));
    EXPECT_EQ(back->help, std::string(149, 'h'));
    EXPECT_EQ(back->format, std::string(9, 'f'));
    EXPECT_EQ(back->options.at(0), std::string(41, 'o'));
}

}  // namespace
}  // namespace qs::test
