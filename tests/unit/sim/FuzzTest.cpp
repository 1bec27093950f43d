#include <gtest/gtest.h>

#include <memory>

#include "device/Controller.h"
#include "device/DefinitionRequests.h"
#include "device/DictionaryParser.h"
#include "wire/FrameParser.h"
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
        qs::test::RunFuzz(Seeds(), [&](const std::string& input) {
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
    qs::test::RunFuzz(Seeds(), [&](const std::string& input) {
        now += 300;
        for (Session* s : {&tcp, &pty}) {
            for (const SessionEvent& e : s->OnBytes(input, now)) {
                ASSERT_LE(e.wire.size(), 2u * 8192u);
                ASSERT_GE(e.delayMs, 0);
            }
        }
    });
}

TEST(SimFuzz, DictionaryTextIsReadOrRefusedWithItsLine) {
    const std::vector<std::string> seeds{
        "code: 111\nname: 111 Date Format\nregister: 4 1 11\ninstances: 0\nflags: option\nmin: 0\nmax: 1\n"
        "format: %*d\nwidth: 1\nprecision: 0\nhelp: Dates.\noption: A\noption: B\ndefault: 0\nlevel: 4\n",
        "code: 205\r\nname: 205 Factor\r\nregister: 11 4 0\r\ninstances: 6\r\nflags: blending, read-only\r\n"
        "min: -1e38\r\nmax: 999.9\r\nformat: %-*.*E\r\nwidth: 1\r\nprecision: 2\r\nhelp: F.\r\ndefault: 1.5\r\n"
        "level: none\r\n",
        "# c\n\ncode: 732\nname: 732 T\nregister: 12 0 2\ninstances: 6\nmin: 0\nmax: 6\nformat: %s\nwidth: 6\n"
        "precision: 0\nhelp: T.\ndefault:\nlevel: 3\n",
    };
    qs::test::RunFuzz(seeds, [&](const std::string& input) {
        for (int type : {1, 5, DictionaryParser::kRegistersFile}) {
            Dictionary d;
            const std::string fault = DictionaryParser::Parse(input, "f.txt", type, d);
            if (fault.empty()) {
                // Whatever was taken fits the fields of a definition reply.
                for (const auto& [number, code] : d.Codes(type < 0 ? 0 : type)) {
                    ASSERT_LE(code.name.size(), 41u);
                    ASSERT_LE(code.format.size(), 9u);
                    ASSERT_LE(code.help.size(), 149u);
                    ASSERT_LE(code.options.size(), 255u);
                    ASSERT_EQ(code.options.empty(), !code.Has(Definition::kOption));
                }
                d.Index();
            } else {
                ASSERT_EQ(fault.rfind("f.txt:", 0), 0u) << fault;
            }
        }
    }, {.iterations = 5000, .maxLength = 1024, .seed = 777});
}

TEST(SimFuzz, DefinitionRequestsAnswerAnyBytes) {
    auto dictionary = std::make_shared<Dictionary>();
    ASSERT_EQ(DictionaryParser::Load(QS_SOURCE_DIR "/src/resources/dictionary", *dictionary), "");
    DefinitionRequests requests(dictionary);
    const std::vector<std::string> seeds{"SV \x04\x15\x00\x01\x00\x00\x00\x01\x00\x0B"s,
                                         "SV \x04\x14\x00\x04\x00\x1E\x00\x00"s};
    qs::test::RunFuzz(seeds, [&](const std::string& input) {
        for (const Bytes& reply : {requests.AnswerCode(input), requests.AnswerRegister(input)}) {
            ASSERT_GE(reply.size(), 7u);
            ASSERT_EQ(reply.substr(0, 3), "SV ");
            // A definition with every text at its longest and 255 options of 41 characters.
            ASSERT_LE(reply.size(), 7u + 16u + 10u + 50u + 150u + 255u * 42u);
        }
    }, {.iterations = 20000, .maxLength = 32, .seed = 99});
}

}  // namespace sim::test
