// Directories and subdirectories read from the simulated controller at three device addresses
// (arms 1-3): every value lands at its arm's and instance's place, the levels of the first
// instance are read, rejections are logged with their exact lines, and a reply that never
// comes is asked for again. What the device answered is taken from the simulator's frame log.
#include <gtest/gtest.h>

#include <set>

#include "ModelChain.h"
#include "platform/Prompt.h"
#include "platform/UiServices.h"

namespace qs::test {
namespace {

constexpr int kArmsUsed = 3;
const char* const kUntouched = "untouched";

// Values and levels of the device at each address, over the dictionary's defaults.
const char* const kState =
    "[1]\n"
    "SY 104 2 NORTH RACK\n"
    "BA 101 - SOUTH BAY\n"
    "AR 101 - ARM ONE\n"
    "M1 101 5 METER 1.1\n"
    "M3 103 - 11.125\n"
    "P2 101 - GASOLINE 1\n"
    "05 002 - RECIPE FIVE\n"
    "[2]\n"
    "AR 101 - ARM TWO\n"
    "M1 101 2 METER 2.1\n"
    "M3 103 - 22.250\n"
    "P2 101 - DIESEL 2\n"
    "05 002 - NOT THIS ONE\n"
    "[3]\n"
    "AR 101 - ARM THREE\n"
    "M6 101 - METER 3.6\n"
    "P6 101 - KEROSENE 3\n";

// (address, command)
using Sent = std::pair<int, std::string>;

class ModelReadWalk : public ::testing::TestWithParam<LinkKind> {};

TEST_P(ModelReadWalk, ValuesAndLevelsLandWhereTheyBelong) {
    const LinkKind link = GetParam();
    SimRig device(ThreeArmsOver(link, kState));
    ASSERT_TRUE(device.Ready()) << device.Error();
    RecordingUi ui;
    DeviceContext context(device.Open(link));
    ModelChain chain(&context);
    ASSERT_TRUE(chain.Loaded());
    chain.FillValues(kUntouched);

    std::multiset<Sent> wantValues, wantLevels;
    auto expect = [&](CDirectory& d, int arm) {
        const int address = arm + 1;
        for (int s = 0; s < d.SubdirectoryCount(); ++s) {
            CSubdirectory* sub = d.Subdirectory(s);
            if (sub->Name().empty() || (s == 0 && !d.StartsAtFirst())) continue;
            const std::string mnemonic = d.GetMnemonic(sub->DirectoryInstance());
            sub->ForEachParam([&](const CParam& p) {
                wantValues.insert({address, CodeCommand("PV", mnemonic, p.number)});
                if (sub->ValueIndex(arm) == 0) wantLevels.insert({address, CodeCommand("XV", mnemonic, p.number)});
            });
        }
    };

    auto progress = MakeProgress("Reading");
    for (int arm = 0; arm < kArmsUsed; ++arm) {
        context.arm = arm;
        for (CDirectory* d : chain.PerArm(arm)) {
            ASSERT_TRUE(d->ReadFromDevice(progress.get())) << d->GetInstanceName() << " on arm " << arm + 1;
            expect(*d, arm);
        }
    }
    context.arm = 0;
    for (CDirectory* d : {&chain.System(), &chain.BayA(), &chain.Recipe()}) {
        ASSERT_TRUE(d->ReadFromDevice(progress.get())) << d->GetInstanceName();
        expect(*d, 0);
    }
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
    EXPECT_TRUE(ui.errorLog.lines.empty());

    // Every code was asked for once at its arm's address, levels only for the first instance,
    // and each answer is where the model keeps that arm's and instance's value.
    std::multiset<Sent> values, levels;
    for (const Exchange& e : device.Exchanges()) {
        ASSERT_TRUE(e.answered) << e.command;
        ASSERT_TRUE(e.reply.starts_with(e.command + " ")) << e.reply;
        const std::string mnemonic = e.command.substr(3, 2);
        const int number = std::stoi(e.command.substr(6, 3));
        const int arm = e.address - 1;
        CDirectory* d = chain.ByMnemonic(mnemonic, arm);
        const CParam* p = d->FindParam(number);
        ASSERT_NE(p, nullptr) << e.command;
        const std::string answer = e.reply.substr(e.command.size() + 1);
        if (e.command.starts_with("PV")) {
            values.insert({e.address, e.command});
            EXPECT_EQ(p->Value(ModelChain::ValueIndexOf(mnemonic, arm)), answer) << e.command << " at " << e.address;
        } else {
            levels.insert({e.address, e.command});
            EXPECT_EQ(p->Level(), answer == "0" ? CParam::kLevelNone : std::stoi(answer) - 1) << e.command;
        }
    }
    EXPECT_EQ(values, wantValues);
    EXPECT_EQ(levels, wantLevels);

    // The seeded values, each at its own arm and instance.
    CParam* meterName = chain.Meter(0).FindParam(101);
    EXPECT_EQ(meterName->Value(0), "METER 1.1");
    EXPECT_EQ(meterName->Value(0 + 6), "METER 2.1");
    EXPECT_EQ(meterName->Value(5 + 12), "METER 3.6");
    EXPECT_EQ(meterName->Value(5 + 6), "METER");  // the default at arm 2
    EXPECT_EQ(meterName->Value(18), kUntouched);    // arm 4 was not read
    // The level comes from the first instance at the first arm only.
    EXPECT_EQ(meterName->Level(), 4);
    EXPECT_EQ(chain.Meter(0).FindParam(103)->Value(2), "11.125");
    EXPECT_EQ(chain.Meter(0).FindParam(103)->Value(2 + 6), "22.250");
    const char* const armNames[] = {"ARM ONE", "ARM TWO", "ARM THREE"};
    for (int arm = 0; arm < kArmsUsed; ++arm) EXPECT_EQ(chain.Arm(arm).FindParam(101)->Value(arm), armNames[arm]);
    EXPECT_EQ(chain.Arm(0).FindParam(101)->Value(3), kUntouched);
    EXPECT_EQ(chain.Product(0).FindParam(101)->Value(1), "GASOLINE 1");
    EXPECT_EQ(chain.Product(0).FindParam(101)->Value(1 + 6), "DIESEL 2");
    EXPECT_EQ(chain.Product(0).FindParam(101)->Value(5 + 12), "KEROSENE 3");
    EXPECT_EQ(chain.System().FindParam(104)->Value(0), "NORTH RACK");
    EXPECT_EQ(chain.System().FindParam(104)->Level(), 1);
    EXPECT_EQ(chain.System().FindParam(101)->Level(), CParam::kLevelNone);
    EXPECT_EQ(chain.BayA().FindParam(101)->Value(0), "SOUTH BAY");
    EXPECT_EQ(chain.Recipe().FindParam(2)->Value(4), "RECIPE FIVE");

    // The progress window was told each exchange in the words of its directory.
    auto told = [&](const std::string& text) { return ProgressTold(ui, text); };
    EXPECT_TRUE(told("Reading Arm 2 Meter 3 100-General Purpose Directory...\n    PV M3 103\n    PV M3 103 22.250"));
    EXPECT_TRUE(told("Reading Arm 3 Arm 3 100-General Purpose Directory...\n    PV AR 101\n    PV AR 101 ARM THREE"));
    EXPECT_TRUE(told("Reading System 100-General Purpose Directory...\n    PV SY 104\n    PV SY 104 NORTH RACK"));
    EXPECT_TRUE(told("Reading Recipe 05 ...\n    PV 05 002\n    PV 05 002 RECIPE FIVE"));
    EXPECT_EQ(ui.progress.at(0)->steps, static_cast<int>(wantValues.size()));
}

INSTANTIATE_TEST_SUITE_P(Links, ModelReadWalk,
                         ::testing::Values(LinkKind{Transport::Tcp, Framing::Terminal},
                                           LinkKind{Transport::Pty, Framing::Mini}),
                         LinkName());

// ---- the device's rejections, on a Minicomputer link (what the user's answers to a failed
// exchange do is the walk's own unit tests')

class ModelReadFaults : public ModelFaultRig {
protected:
    void Start(std::vector<std::string> faults) {
        ModelFaultRig::Start(std::move(faults));
        if (HasFatalFailure()) return;
        chain->FillValues(kUntouched);
    }
};

TEST_F(ModelReadFaults, RejectionsAreLoggedWithTheirExactLines) {
    Start({"reject=14,address=2,on=PV M3 104", "reject=03,on=PV BA 105",
           "reject=06,on=XV BA 104"});
    context->arm = 1;
    ASSERT_TRUE(chain->Meter(2).ReadFromDevice(nullptr));
    context->arm = 0;
    ASSERT_TRUE(chain->BayA().ReadFromDevice(nullptr));
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
    EXPECT_EQ(ui.errorLog.Lines(), (std::vector<std::string>{
                                       "Unable to read Arm 2 Meter 3 104 Pulse Input Mode : Program Code Not Used",
                                       "Unable to read Bay A 105 Bay Transaction Mode  : Value out of Range",
                                   }));
    for (const auto& [owner, line] : ui.errorLog.lines) EXPECT_EQ(owner, context.get()) << line;
    // A rejected code keeps no value; its neighbours were read; a refused level stays.
    EXPECT_EQ(chain->Meter(0).FindParam(104)->Value(2 + 6), "");
    EXPECT_EQ(chain->Meter(0).FindParam(103)->Value(2 + 6), "50.000");
    EXPECT_EQ(chain->Meter(0).FindParam(104)->Value(2), kUntouched);
    EXPECT_EQ(chain->BayA().FindParam(105)->Value(0), "");
    EXPECT_EQ(chain->BayA().FindParam(104)->Level(), CParam::kLevelNone);
    EXPECT_EQ(chain->BayA().FindParam(103)->Level(), 2);
}

// A reply that never comes, on a serial line: the read waits out its time-out once, then
// Retry asks again and gets it.
TEST(ModelReadTimeout, RetryAfterADroppedReply) {
    SimRig device({.transport = Transport::Pty, .args = {"--addresses", "1,2,3", "--fault", "drop,count=1,on=PV AR 102"}});
    ASSERT_TRUE(device.Ready()) << device.Error();
    RecordingUi ui;
    DeviceContext context(device.Open(Framing::Mini));
    ModelChain chain(&context);
    ASSERT_TRUE(chain.Loaded());
    context.arm = 1;
    ui.prompt.Answer(IDRETRY);
    EXPECT_TRUE(chain.Arm(1).ReadFromDevice(nullptr));
    ASSERT_EQ(ui.prompt.shown.size(), 1u);
    EXPECT_EQ(ui.prompt.shown[0].type, static_cast<unsigned>(MB_ABORTRETRYIGNORE));
    EXPECT_TRUE(ui.prompt.shown[0].text.ends_with("Timeout waiting for response")) << ui.prompt.shown[0].text;
    const auto commands = device.Commands();
    ASSERT_GE(commands.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(commands.begin(), commands.begin() + 3),
              (std::vector<std::string>{"PV AR 101", "PV AR 102", "PV AR 102"}));
    EXPECT_EQ(chain.Arm(0).FindParam(102)->Value(1), "9000");
    EXPECT_EQ(commands.size(), CodesOf(chain.Arm(1)).size() + 1);
}

}  // namespace
}  // namespace qs::test
