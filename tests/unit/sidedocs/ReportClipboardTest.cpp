// The "QuillsetReportEntry" block and the tokens that name entries inside this process.
#include <gtest/gtest.h>

#include "DocumentFixtures.h"  // PutLe32
#include "ReportFixtures.h"
#include "sidedocs/reports/ReportClipboardBlock.h"
#include "sidedocs/reports/ReportItemTokens.h"

namespace qs::test {

TEST(ReportClipboard, BlockLayoutAndBounds) {
    ReportItem item(3, 4, std::string(300, 'w'));
    item.SetFormat("%-13.13s");
    item.SetRegister(0x080C0002, nullptr);
    const std::string block = ReportClipboardBlock::Of(item, 0xA1B2C3D4).Encode();
    std::string expected;
    PutLe32(expected, 0xA1B2C3D4);
    PutLe32(expected, 0x080C0002);
    expected += std::string(254, 'w') + '\0' + std::string("%-13.13s") + Zeros(6) + '\0';
    EXPECT_EQ(block.size(), ReportClipboardBlock::kSize);
    EXPECT_EQ(Hex(block), Hex(expected));

    const auto back = ReportClipboardBlock::Decode(block);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->token, 0xA1B2C3D4u);
    EXPECT_EQ(back->registerId, 0x080C0002u);
    EXPECT_EQ(back->text, std::string(254, 'w'));
    EXPECT_EQ(back->format, "%-13.13s");
    EXPECT_FALSE(ReportClipboardBlock::Decode(block.substr(0, 277)));
    // Fields without their zero bytes stay within the fields.
    const auto full = ReportClipboardBlock::Decode(std::string(278, 'z'));
    ASSERT_TRUE(full);
    EXPECT_EQ(full->text.size(), 254u);
    EXPECT_EQ(full->format.size(), 13u);

    const std::string plain = ReportClipboardBlock::PlainText(item);
    EXPECT_EQ(plain, std::string(127, 'w') + '\0');
}

TEST(ReportClipboard, TokenResolvesHereAndAForeignOrStaleOneFallsBackToTheBlock) {
    ReportDictionary d;
    ReportItemTokens tokens(0xFFFFFFFF);
    ReportItem source;
    source.SetType(kReportItemValue);
    source.SetRegister(ReportDictionary::MeterFactor(3), d.dictionary.FindParamByRegisterId(ReportDictionary::MeterFactor(3)));
    source.SetFormat("%7d");
    source.SetCondition(1);
    source.SetText("65000");

    const uint32_t kept = tokens.Keep(std::make_unique<ReportItem>(0, 0, source));
    EXPECT_NE(kept, 0u);
    ReportClipboardBlock block = ReportClipboardBlock::Of(source, kept);
    block.text = "pasted text";
    auto pasted = block.MakeItem(tokens, 5, 6, d.dictionary);
    EXPECT_EQ(pasted->Condition(), 1);  // only the entry itself carries this
    EXPECT_EQ(pasted->Text(), "pasted text");
    EXPECT_EQ(pasted->Line(), 5);

    // The next copy replaces the kept one: its token is stale now.
    const uint32_t next = tokens.Keep(std::make_unique<ReportItem>(0, 0, std::string("other")));
    EXPECT_NE(next, kept);
    EXPECT_EQ(tokens.Resolve(kept), nullptr);
    struct Row {
        uint32_t registerId;
        std::string text;
        int type;
    } rows[] = {
        {ReportDictionary::MeterFactor(3), "65000", kReportItemValue},
        {ReportDictionary::MeterFactor(3), "Meter Factor", kReportItemDescription},
        {ReportDictionary::PrintMode(), "Off", kReportItemValueText},
        {0, "just text", kReportItemUserText},
    };
    for (const Row& row : rows) {
        block.registerId = row.registerId;
        block.text = row.text;
        auto fallback = block.MakeItem(tokens, 1, 2, d.dictionary);
        EXPECT_EQ(fallback->Type(), row.type) << row.text;
        EXPECT_EQ(fallback->Condition(), 0);
        EXPECT_EQ(fallback->RegisterId(), row.registerId);
        EXPECT_EQ(fallback->Text(), row.text);
        EXPECT_EQ(fallback->Format(), row.type == kReportItemUserText ? "%s" : "%7d");
    }

    // A lent entry resolves until it is revoked.
    const uint32_t lent = tokens.Lend(source);
    EXPECT_EQ(tokens.Resolve(lent), &source);
    tokens.Revoke(lent);
    EXPECT_EQ(tokens.Resolve(lent), nullptr);
    EXPECT_EQ(tokens.Resolve(0), nullptr);
}

}  // namespace qs::test
