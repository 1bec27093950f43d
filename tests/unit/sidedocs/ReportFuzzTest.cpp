// The ".RPX" loader and the parser of uploaded definitions take any bytes without harm.
#include <gtest/gtest.h>

#include "Fuzz.h"
#include "ReportFixtures.h"
#include "platform/BinaryArchive.h"
#include "sidedocs/reports/ReportPayload.h"

namespace qs::test {

TEST(ReportFuzz, FileLoader) {
    ReportDoc doc;
    doc.report.SetTitle("seed");
    doc.AddValue(2, 9, ReportDictionary::kBatchNet3);
    doc.AddText(0, 1, "text");
    doc.AddValue(4, 4, ReportDictionary::PrintMode())->SetType(kReportItemValueText);
    ArchiveWriter out;
    doc.report.Serialize(out);

    int loaded = 0;
    RunFuzz({out.Bytes()}, [&](const std::string& input) {
        ArchiveReader in(input);
        try {
            doc.report.Serialize(in);
            ++loaded;
            for (const auto& item : doc.report.Items()) {
                ASSERT_LE(item->Text().size(), 254u);
                ASSERT_LE(item->Format().size(), 13u);
            }
            ASSERT_GE(doc.report.GridLines(), 1);
        } catch (const ArchiveError&) {
        }
    }, {.iterations = 20000, .maxLength = 2048, .seed = 19});
    EXPECT_GT(loaded, 0);
}

TEST(ReportFuzz, UploadParser) {
    ReportDictionary d;
    std::string seed = Bytes({0, 1, 0, 0, 0, 60, 80}) + Zeros(43);
    for (uint32_t kind : {0xFFF8u, 0xFFF9u, 0xFFFCu, 0xFFF2u, 0xFFF7u, 0xFFF3u}) {
        std::string r = Bytes({0, 2, 0, 3, 0, 3, '%', '6', 'd'}) + Zeros(21);
        r += Bytes({static_cast<int>(kind >> 24), static_cast<int>(kind >> 16 & 0xFF), static_cast<int>(kind >> 8 & 0xFF),
                    static_cast<int>(kind & 0xFF), 0x08, 0x0C, 0, 1, 0x03, 0x17, 0, 2}) +
             Zeros(8);
        seed += r;
    }
    seed += Zeros(50) + "a" + '\0' + "\x0C" + '\0';
    RunFuzz({seed}, [&](const std::string& input) {
        const auto in = ReportPayload::Parse(std::span(reinterpret_cast<const uint8_t*>(input.data()), input.size()),
                                             d.dictionary);
        if (!in) return;
        for (const auto& item : in->items) {
            ASSERT_LE(item->Text().size(), 254u);
            ASSERT_GE(item->Line(), 0);
        }
    }, {.iterations = 20000, .maxLength = 1024, .seed = 1907});
}

}  // namespace qs::test
