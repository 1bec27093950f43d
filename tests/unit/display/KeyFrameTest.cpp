#include <gtest/gtest.h>

#include <ctime>

#include "DisplayLinkRig.h"
#include "TestEnv.h"
#include "emulators/display/KeyFrame.h"

namespace qs::display::test {
namespace {

// Local time for the life of a test.
class ScopedZone {
public:
    explicit ScopedZone(const char* zone) : env_("TZ", zone) { tzset(); }
    ~ScopedZone() { tzset(); }

private:
    qs::test::ScopedEnv env_;
};

std::vector<uint8_t> Hex(const std::string& text) {
    std::vector<uint8_t> out;
    for (size_t i = 0; i + 1 < text.size(); i += 3) out.push_back(static_cast<uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
    return out;
}

TEST(KeyFrameGolden, FramesAtStamp86400) {
    struct Row {
        uint8_t address, code, flags;
        const char* bytes;
    };
    const Row rows[] = {
        {0, 'A', 0x00, "02 01 00 41 00 06 00 01 51 80 00 00 53 BD FF B9"},
        {0, 0x06, 0x00, "02 01 00 06 00 06 00 01 51 80 00 00 E9 4E 91 77"},
        {2, 'A', 0x81, "02 01 02 41 00 06 00 01 51 80 00 81 CD F7 9C 32"},
    };
    for (const Row& row : rows) {
        const KeyFrame::Bytes frame = KeyFrame::Build(row.address, row.code, 86400, row.flags);
        EXPECT_EQ(std::vector<uint8_t>(frame.begin(), frame.end()), Hex(row.bytes)) << row.bytes;
    }
}

TEST(KeyFrameStamp, LocalSecondsPlusOneDay) {
    struct Row {
        const char* zone;
        int64_t when;
        int64_t stamp;
    };
    const Row rows[] = {
        {"UTC0", 0, 86400},
        {"EST5EDT,M3.2.0,M11.1.0", 0, 86400 - 5 * 3600},             // January: standard time
        {"EST5EDT,M3.2.0,M11.1.0", 15638400, 15638400 + 86400 - 4 * 3600},  // July 1970: summer time
        {"CET-1", 1000000000, 1000000000 + 86400 + 3600},
    };
    for (const Row& row : rows) {
        ScopedZone zone(row.zone);
        EXPECT_EQ(KeyFrame::StampOf(row.when), static_cast<uint32_t>(row.stamp)) << row.zone << " " << row.when;
    }
}

TEST(KeyFrameLink, SendsTheFrameOfTheMomentWhole) {
    ScopedZone zone("UTC0");
    LinkRig rig;
    rig.link.SendKeyFrame('A');
    rig.link.SendKeyFrame('A', 2, 0x81);
    ASSERT_EQ(rig.sink.frames.size(), 2u);
    EXPECT_EQ(rig.sink.frames[0], Hex("02 01 00 41 00 06 00 01 51 80 00 00 53 BD FF B9"));
    EXPECT_EQ(rig.sink.frames[1], Hex("02 01 02 41 00 06 00 01 51 80 00 81 CD F7 9C 32"));
    EXPECT_EQ(rig.link.RunningCrc(), 0u);  // sending leaves the receive CRC alone
}

}  // namespace
}  // namespace qs::display::test
