#include "Options.h"

#include <gtest/gtest.h>

#include "wire/FrameLog.h"
#include "device/Persona.h"

namespace sim::test {

using namespace std::string_literals;

namespace {

std::optional<Options> Parse(std::vector<std::string> args, std::string* error = nullptr) {
    std::string e;
    auto o = Options::Parse(args, e);
    if (error) *error = e;
    return o;
}

}  // namespace

TEST(SimOptions, DefaultsAndEveryFlag) {
    auto o = Parse({});
    ASSERT_TRUE(o);
    ASSERT_EQ(o->tcp.size(), 1u);
    EXPECT_EQ(o->tcp[0].host, "127.0.0.1");
    EXPECT_EQ(o->tcp[0].port, 7734);
    EXPECT_EQ(o->addresses, std::vector<int>{1});
    EXPECT_EQ(o->persona, "controller");
    EXPECT_EQ(o->dictionary, Options::DefaultDictionary());
    EXPECT_EQ(Parse({"--dictionary", "/some/folder"})->dictionary, "/some/folder");
    EXPECT_EQ(Parse({"--dictionary", "/some/folder", "--no-dictionary"})->dictionary, "");

    o = Parse({"--tcp", "7744", "--tcp", "127.1.2.3:7734", "--pty", "/tmp/x", "--addresses", "1-3,7", "--persona",
               "mmi", "--log", "l.json", "--state", "s.txt", "--fault", "delay=5", "--fault", "drop,on=GP",
               "--data-dir", "d", "--cf", "CF 10", "--block-size", "100", "--write-limit", "65000",
               "--panel-handover", "800F", "--pad", "7f", "--frame-timeout", "500"});
    ASSERT_TRUE(o);
    ASSERT_EQ(o->tcp.size(), 2u);
    EXPECT_EQ(o->tcp[0].host, "127.0.0.1");
    EXPECT_EQ(o->tcp[0].port, 7744);
    EXPECT_EQ(o->tcp[1].host, "127.1.2.3");
    EXPECT_EQ(o->pty, std::vector<std::string>{"/tmp/x"});
    EXPECT_EQ(o->addresses, (std::vector<int>{1, 2, 3, 7}));
    EXPECT_EQ(o->persona, "mmi");
    EXPECT_EQ(o->log, "l.json");
    EXPECT_EQ(o->state, "s.txt");
    EXPECT_EQ(o->faults, (std::vector<std::string>{"delay=5", "drop,on=GP"}));
    EXPECT_EQ(o->dataDir, "d");
    EXPECT_EQ(o->cf, "CF 10");
    EXPECT_EQ(o->blockSize, 100u);
    EXPECT_EQ(o->writeLimit, 65000u);
    EXPECT_EQ(o->panelHandoverStatus, 0x800F);
    EXPECT_EQ(o->pad, 0x7F);
    EXPECT_EQ(o->frameTimeoutMs, 500);

    // A pty alone does not also listen on the default TCP port.
    o = Parse({"--pty", "/tmp/y"});
    ASSERT_TRUE(o);
    EXPECT_TRUE(o->tcp.empty());
    EXPECT_TRUE(Parse({"--help"})->help);
}

TEST(SimOptions, FaultsInTheCommandLineAreReported) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--tcp"}, {"--tcp", "70000"}, {"--tcp", "host:"}, {"--addresses", "100"}, {"--addresses", "3-1"},
             {"--addresses", ""}, {"--persona", "robot"}, {"--fault", "sneeze"}, {"--block-size", "0"},
             {"--pad", "100"}, {"--panel-handover", "xyz"}, {"--frame-timeout", "0"}, {"--dictionary", ""}, {"--dictionary"},
             {"--bogus", "1"}, {"stray"}}) {
        std::string error;
        EXPECT_FALSE(Parse(args, &error)) << args[0];
        EXPECT_FALSE(error.empty()) << args[0];
    }
}

TEST(SimOptions, HelpDocumentsEveryFlagPersonaAndFault) {
    const std::string help = Options::Help();
    for (const char* word : {"--tcp", "--pty", "--addresses", "--persona", "--log", "--state", "--fault", "--data-dir",
                             "--cf", "--block-size", "--write-limit", "--panel-handover", "--pad", "--frame-timeout",
                             "--dictionary", "--no-dictionary", "--help"}) {
        EXPECT_NE(help.find(word), std::string::npos) << word;
    }
    for (const auto& [name, text] : Persona::Described()) EXPECT_NE(help.find(name), std::string::npos) << name;
    for (const char* fault : {"delay=MS", "drop", "noise", "bad-lrc", "no-cr", "long-reply", "reject=NN", "status=HHHH",
                              "close-after=N", "bad-crc", "length", "empty-block", "short-reply", "late-final",
                              "no-final", "reject-init", "reject-block", "skip=N", "count=N", "on=PREFIX"}) {
        EXPECT_NE(help.find(fault), std::string::npos) << fault;
    }
}

TEST(SimFrameLog, OneJsonObjectPerLineWithEveryByteReadable) {
    LogRecord r;
    r.sent = true;
    r.transport = Transport::Pty;
    r.link = 3;
    r.framing = Framing::Mini;
    r.binary = true;
    r.address = 7;
    r.raw = "\x02" "07\x03"s;
    r.text = "SV \x04\x18\"\\\x7F\xFF"s;
    EXPECT_EQ(FrameLog::Line(r, 42),
              "{\"ms\":42,\"direction\":\"tx\",\"transport\":\"pty\",\"link\":3,\"kind\":\"frame\",\"framing\":\"mini\","
              "\"binary\":true,\"address\":7,\"hex\":\"02303703\",\"text\":\"SV \\u0004\\u0018\\\"\\\\\\u007f\\u00ff\","
              "\"error\":\"\"}\n");
    LogRecord noise;
    noise.kind = "noise";
    noise.raw = "ab";
    EXPECT_EQ(FrameLog::Line(noise, 0),
              "{\"ms\":0,\"direction\":\"rx\",\"transport\":\"tcp\",\"link\":0,\"kind\":\"noise\",\"framing\":\"\","
              "\"binary\":false,\"address\":null,\"hex\":\"6162\",\"text\":\"\",\"error\":\"\"}\n");
}

}  // namespace sim::test
