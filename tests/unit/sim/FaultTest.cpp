#include "device/FaultPlan.h"

#include <gtest/gtest.h>

namespace sim::test {

using namespace std::string_literals;

namespace {

Fault Parsed(const std::string& text) {
    std::string error;
    std::optional<Fault> f = Fault::Parse(text, error);
    EXPECT_TRUE(f) << text << ": " << error;
    return f.value_or(Fault{});
}

FrameTraits Text(std::string_view payload, Framing framing = Framing::Mini, int address = 1) {
    FrameTraits t;
    t.address = address;
    t.framing = framing;
    t.payload = payload;
    return t;
}

FrameTraits Block(uint16_t code, int block, bool final = false) {
    FrameTraits t;
    t.address = 1;
    t.framing = Framing::Mini;
    t.binary = true;
    t.code = code;
    t.block = block;
    t.final = final;
    return t;
}

}  // namespace

TEST(SimFaults, TextsParseIntoKindValueAndFilters) {
    Fault f = Parsed("reject=06,skip=1,count=2,on=PC SY 111 a,b");
    EXPECT_EQ(f.kind, FaultKind::Reject);
    EXPECT_EQ(f.value, 6);
    EXPECT_EQ(f.skip, 1);
    EXPECT_EQ(f.count, 2);
    EXPECT_EQ(f.prefix, "PC SY 111 a,b");

    f = Parsed("reject-block=3:8003,code=0418");
    EXPECT_EQ(f.kind, FaultKind::Status);
    EXPECT_EQ(f.value, 0x8003);
    EXPECT_EQ(f.block, 3);
    EXPECT_EQ(f.code, 0x0418);

    f = Parsed("reject-init=801c");
    EXPECT_EQ(f.value, 0x801C);
    EXPECT_EQ(f.block, 0);

    f = Parsed("late-final=4500");
    EXPECT_EQ(f.kind, FaultKind::Delay);
    EXPECT_EQ(f.value, 4500);
    EXPECT_TRUE(f.finalOnly);

    f = Parsed("no-final");
    EXPECT_EQ(f.kind, FaultKind::Drop);
    EXPECT_TRUE(f.finalOnly);

    EXPECT_EQ(Parsed("noise").value, 8);
    EXPECT_EQ(Parsed("long-reply").value, 5000);
    EXPECT_EQ(Parsed("length").value, 0xFFFFFFFFll);
    EXPECT_EQ(Parsed("length=70000").value, 70000);
    EXPECT_EQ(Parsed("drop,address=2,final").address, 2);
    EXPECT_EQ(Parsed("status=8001,on=SV \\x04\\x18\\\\").prefix, "SV \x04\x18\\"s);
}

TEST(SimFaults, BadFaultsSayWhatIsWrong) {
    for (const char* text : {"", "nonsense", "delay", "delay=x", "delay=600001", "drop=3", "reject=100",
                             "status=12345", "status=80G1", "close-after=0", "drop,count", "drop,colour=red",
                             "reject-block=8003", "reject-block=x:8003", "late-final", "no-final=1",
                             "drop,on=\\x4", "drop,on=\\q", "bad-lrc,block=70000"}) {
        std::string error;
        EXPECT_FALSE(Fault::Parse(text, error)) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
}

TEST(SimFaults, KindsActOnlyWhereTheyCan) {
    EXPECT_TRUE(Parsed("no-cr").Matches(Text("GP", Framing::Terminal)));
    EXPECT_FALSE(Parsed("no-cr").Matches(Text("GP", Framing::Mini)));
    EXPECT_TRUE(Parsed("bad-lrc").Matches(Text("GP", Framing::Mini)));
    EXPECT_FALSE(Parsed("bad-lrc").Matches(Text("GP", Framing::Terminal)));
    EXPECT_TRUE(Parsed("reject=6").Matches(Text("PC SY 111 1")));
    EXPECT_FALSE(Parsed("reject=6").Matches(Block(0x0418, 0)));
    for (const char* blockOnly : {"status=8001", "bad-crc", "length", "empty-block", "short-reply"}) {
        EXPECT_TRUE(Parsed(blockOnly).Matches(Block(0x0418, 0))) << blockOnly;
        EXPECT_FALSE(Parsed(blockOnly).Matches(Text("GP"))) << blockOnly;
    }
}

TEST(SimFaults, FiltersChooseTheFrames) {
    const Fault onPc = Parsed("drop,on=PC");
    EXPECT_TRUE(onPc.Matches(Text("PC SY 111 5")));
    EXPECT_FALSE(onPc.Matches(Text("PV SY 111")));
    EXPECT_FALSE(Parsed("drop,address=2").Matches(Text("GP")));
    EXPECT_TRUE(Parsed("drop,address=2").Matches(Text("GP", Framing::Mini, 2)));

    const Fault third = Parsed("status=8003,code=0418,block=3");
    EXPECT_TRUE(third.Matches(Block(0x0418, 3)));
    EXPECT_FALSE(third.Matches(Block(0x0418, 2)));
    EXPECT_FALSE(third.Matches(Block(0x0410, 3)));
    EXPECT_FALSE(third.Matches(Text("GP")));

    EXPECT_TRUE(Parsed("no-final").Matches(Block(0x0419, 3, true)));
    EXPECT_FALSE(Parsed("no-final").Matches(Block(0x0419, 2, false)));

    FrameTraits fifth = Text("GP");
    fifth.connectionFrame = 5;
    EXPECT_TRUE(Parsed("close-after=5").Matches(fifth));
    fifth.connectionFrame = 4;
    EXPECT_FALSE(Parsed("close-after=5").Matches(fifth));
}

TEST(SimFaults, SkipAndCountPickWhichMatchingFramesAreHit) {
    FaultPlan plan;
    ASSERT_EQ(plan.Add("bad-lrc,skip=1,count=2"), "");
    ASSERT_EQ(plan.Add("drop,on=LO"), "");
    std::vector<bool> hit;
    for (int i = 0; i < 5; ++i) {
        hit.push_back(plan.Apply(Text("GP")).badLrc);
        EXPECT_TRUE(plan.Apply(Text("LO")).drop);  // LO frames count towards bad-lrc too
    }
    EXPECT_EQ(hit, (std::vector<bool>{false, true, false, false, false}));
    EXPECT_NE(plan.Add("wobble"), "");
}

TEST(SimFaults, EffectsOfSeveralFaultsCombine) {
    FaultPlan plan;
    plan.Add("delay=100");
    plan.Add("delay=50,on=GP");
    plan.Add("noise=3");
    plan.Add("noise=4");
    plan.Add("reject=14,on=PV");
    const FaultEffects gp = plan.Apply(Text("GP"));
    EXPECT_EQ(gp.delayMs, 150);
    EXPECT_EQ(gp.noise, 7);
    EXPECT_FALSE(gp.reject);
    const FaultEffects pv = plan.Apply(Text("PV SY 111"));
    EXPECT_EQ(pv.delayMs, 100);
    EXPECT_EQ(pv.reject, 14);
}

}  // namespace sim::test
