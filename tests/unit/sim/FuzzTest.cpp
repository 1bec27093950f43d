#include <gtest/gtest.h>

#include <memory>

#include "Controller.h"
#include "FrameParser.h"
#include "Fuzz.h"
#include "Session.h"

namespace sim::test {

using namespace std::string_literals;

namespace {

std::vector<std::string> Seeds() {
    return {
        "*01PV SY 111\r\n",
        "*01PC SY 111 5\r\n*02XC SY 111 3\r\n",
        "\x02" "01PV SY 111\x03\x3F\x7F\x00"s,
        "\x02" "01GP\x03"s,
        "\x02" "01SV \x04\x18\x00\x00\x03\x3B\x7F\x00"s,
        "\x02" "01SV \x04\x19\x03" "\x1B\x7F\x00"s,
        "\x02" "01SV \x04\x19\x00\x00\x00\x02" "A\x1BS\x03\x00\x7F\x00"s,
        "\x02" "01SV \x04\x17\x46\xFE\x03\x00\x7F\x00"s,
        "noise\x02\x02\x03\x1B\x1B*\r\n"s,
    };
}

}  // namespace

TEST(SimFuzz, FrameParserAccountsForEveryByteAndBoundsFrames) {
    for (bool serial : {false, true}) {
        FrameParser parser(serial, 2000);
        int64_t now = 0;
        size_t fed = 0, out = 0;
        const int runs = qs::test::RunFuzz(Seeds(), [&](const std::string& input) {
            now += 700;  // now and then a frame outlives the time-out
            fed += input.size();
            for (const Frame& f : parser.Feed(input, now)) {
                ASSERT_LE(f.raw.size(), FrameParser::kMaxFrame);
                ASSERT_LE(f.payload.size(), f.raw.size());
                if (f.Sound()) {
                    ASSERT_GE(f.address, 0);
                    ASSERT_LE(f.address, 99);
                }
                out += f.raw.size();
            }
            ASSERT_LE(out, fed);
        });
        EXPECT_GT(runs, 100);
    }
}

TEST(SimFuzz, SessionsAnswerAnyBytesWithinBounds) {
    ControllerConfig config;
    config.addresses = {0, 1, 2};
    config.block.blockSize = 64;
    config.block.writeLimit = 4096;
    Controller controller(config);
    controller.Values().Put(1, "SY", 111, {"5", 3});
    controller.DataSets().Put(0x0418, std::string(300, '\x02'));
    for (const char* f : {"noise=3,count=50", "bad-lrc,skip=7,count=9", "long-reply=4100,count=3", "status=8001,block=2",
                          "empty-block,count=4", "short-reply,count=4", "close-after=1000"}) {
        ASSERT_EQ(controller.Faults().Add(f), "");
    }
    Session tcp(controller, Transport::Tcp, 1);
    Session pty(controller, Transport::Pty, 2);
    int64_t now = 0;
    const int runs = qs::test::RunFuzz(Seeds(), [&](const std::string& input) {
        now += 300;
        for (Session* s : {&tcp, &pty}) {
            for (const SessionEvent& e : s->OnBytes(input, now)) {
                ASSERT_LE(e.wire.size(), 2u * 8192u);
                ASSERT_GE(e.delayMs, 0);
            }
        }
    });
    EXPECT_GT(runs, 100);
}

}  // namespace sim::test
