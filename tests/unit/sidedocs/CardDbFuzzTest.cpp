#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Fuzz.h"
#include "sidedocs/carddb/CDatabase.h"

namespace qs::test {

namespace {

// What every database must be, whatever it was filled from.
void ExpectSound(const CDatabase& db) {
    ASSERT_LE(db.Count(), CDatabase::kMaxRecords);
    int total = 0;
    for (int i = 0; i < db.Count(); ++i) {
        const std::string& r = db.Record(i);
        ASSERT_TRUE(CDatabase::IsStorable(r));
        if (i > 0) {
            ASSERT_LE(db.Record(i - 1), r);
        }
        total += static_cast<int>(r.size()) + 1;
    }
    ASSERT_EQ(db.ByteTotal(), total);
}

}  // namespace

TEST(CardDbFuzz, FileLoaderKeepsOnlySoundRecordsAndSavesWhatItReadsBack) {
    const std::vector<std::string> seeds = {"B1,x,,,0001\r\nA0,y,,,0002\r\n", "A\rB\nC\r\n\r\nD",
                                            std::string(300, 'Z') + "\nE,,,,0000\n", std::string("F\0G\nH", 5)};
    RunFuzz(seeds, [](const std::string& text) {
        CDatabase db;
        const CardLoadReport report = db.LoadText(text);
        ExpectSound(db);
        ASSERT_EQ(report.added, db.Count());
        CDatabase again;
        again.LoadText(db.SaveText());
        ASSERT_EQ(again.Records(), db.Records());
    }, {.iterations = 20000, .maxLength = 4096, .seed = 21});
}

TEST(CardDbFuzz, UploadParserKeepsOnlySoundRecords) {
    const std::vector<std::string> seeds = {std::string("B1,x,,,0001\0A0,y,,,0002\0\0", 25), std::string("\0", 1),
                                            std::string("A\r\0B\0\0C\0", 8)};
    RunFuzz(seeds, [](const std::string& payload) {
        CDatabase db;
        const CardLoadReport report =
            db.AddFromPayload(std::span(reinterpret_cast<const uint8_t*>(payload.data()), payload.size()));
        ExpectSound(db);
        ASSERT_EQ(report.added, db.Count());
        // What was taken goes out again as the same list.
        std::string sent;
        for (const auto& item : db.PayloadItems()) sent += item;
        CDatabase again;
        sent += '\0';
        again.AddFromPayload(std::span(reinterpret_cast<const uint8_t*>(sent.data()), sent.size()));
        ASSERT_EQ(again.Records(), db.Records());
    }, {.iterations = 20000, .maxLength = 4096, .seed = 22});
}

}  // namespace qs::test
