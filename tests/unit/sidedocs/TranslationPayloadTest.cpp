// What a translation looks like on the wire: the 32-byte header, the texts, and the parsing of
// what an upload brings.
#include <gtest/gtest.h>

#include "Fuzz.h"
#include "sidedocs/translations/TranslationPayload.h"

namespace qs::test {
namespace {

std::string Str(const std::array<uint8_t, 32>& a) { return std::string(a.begin(), a.end()); }
std::span<const uint8_t> Span(const std::string& s) { return {reinterpret_cast<const uint8_t*>(s.data()), s.size()}; }

TEST(TranslationPayloadHeader, NameInTwentyNineBytesAndCharacterSetBigEndian) {
    EXPECT_EQ(Str(TranslationPayload::Header("Deutsch", 5)), std::string("Deutsch") + std::string(23, '\0') + std::string("\0\x05", 2));
    // Thirty characters or more reach the device cut to twenty-nine; byte 29 stays 0.
    const std::string header = Str(TranslationPayload::Header(std::string(30, 'N') + "tail", 0x0102));
    EXPECT_EQ(header, std::string(29, 'N') + std::string("\0\x01\x02", 3));
}

TEST(TranslationPayloadItems, EveryLiteralButTheSentinelWithItsNul) {
    std::vector<std::string> texts(4575);
    texts[0] = "null";
    texts[4573] = "last";
    texts[4574] = "never sent";
    const auto items = TranslationPayload::Items(texts);
    ASSERT_EQ(items.size(), 4574u);
    EXPECT_EQ(items[0], std::string("null\0", 5));
    EXPECT_EQ(items[1], std::string(1, '\0'));
    EXPECT_EQ(items[4573], std::string("last\0", 5));
    EXPECT_EQ(TranslationPayload::PayloadBytes(texts), 32u + 4574 + 8);
    EXPECT_EQ(TranslationPayload::PayloadBytes(std::vector<std::string>(4575)), TranslationPayload::kEmptyTotal);
    EXPECT_EQ(TranslationPayload::kEmptyTotal, 4606u);
    // A short array is sent as if padded.
    EXPECT_EQ(TranslationPayload::Items({"x"}).size(), 4574u);
}

TEST(TranslationPayloadParse, TakesTheNameFromItsFieldOnlyAndStopsAtTheData) {
    EXPECT_EQ(TranslationPayload::Parse(Span(std::string(31, '\0'))), std::nullopt);

    // No NUL in the name field: bytes 29-31 are the character set's, not the name's.
    std::string data = std::string(29, 'M') + std::string("Z\x00\x02", 3) + std::string("eins\0zwei\0dr", 12);
    const auto parsed = TranslationPayload::Parse(Span(data));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->name, std::string(29, 'M'));
    EXPECT_EQ(parsed->characterSet, 2);
    ASSERT_EQ(parsed->texts.size(), 4574u);
    EXPECT_EQ(parsed->texts[0], "eins");
    EXPECT_EQ(parsed->texts[1], "zwei");
    EXPECT_EQ(parsed->texts[2], "dr");
    EXPECT_EQ(parsed->texts[3], "");
    EXPECT_EQ(parsed->texts[4573], "");

    const auto header = TranslationPayload::Parse(Span(std::string("Nom\0", 4) + std::string(28, '\0')));
    ASSERT_TRUE(header);
    EXPECT_EQ(header->name, "Nom");
    EXPECT_EQ(header->texts, std::vector<std::string>(4574));
}

TEST(TranslationPayloadParse, ExtraBytesAfterTheLastLiteralAreIgnored) {
    std::string data(32, '\0');
    for (int i = 0; i < 4574; ++i) data += std::to_string(i) + '\0';
    data += "surplus";
    data += '\0';
    const auto parsed = TranslationPayload::Parse(Span(data));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->texts.front(), "0");
    EXPECT_EQ(parsed->texts.back(), "4573");
}

TEST(TranslationPayloadParse, FuzzedUploadsNeverReadOutsideTheData) {
    std::string seed = std::string("Name\0", 5) + std::string(25, '\0') + std::string("\0\x01", 2);
    for (int i = 0; i < 200; ++i) seed += "text" + std::to_string(i) + '\0';
    FuzzOptions options;
    options.iterations = 20000;
    RunFuzz({seed}, [](const std::string& input) {
        const auto parsed = TranslationPayload::Parse(Span(input));
        if (!parsed) {
            EXPECT_LT(input.size(), 32u);
            return;
        }
        EXPECT_LE(parsed->name.size(), 29u);
        EXPECT_EQ(parsed->texts.size(), 4574u);
    }, options);
}

}  // namespace
}  // namespace qs::test
