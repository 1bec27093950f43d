// Directories and subdirectories written to the simulated controller at three device
// addresses (arms 1-3, of which two are in use): what goes on the wire follows the skip rules,
// the device ends up holding what was sent, and rejections are logged with their exact lines.
// The commands are taken from the simulator's frame log.
#include <gtest/gtest.h>

#include <set>

#include "ModelChain.h"
#include "platform/Prompt.h"
#include "platform/UiServices.h"

namespace qs::test {
namespace {

constexpr int kArmsUsed = 3;
constexpr int kActiveArms = 2;

using Sent = std::pair<int, std::string>;  // (address, command)

// The value (or level) the device holds for a command's code, asked on the given link.
std::string Ask(TerminalProtocol& link, int address, const std::string& command) {
    link.SetAddress(address);
    std::string reply;
    if (link.Send(command) == nullptr) return "<not sent>";
    if (link.Receive(reply) != kStatusOk) return "<" + reply + ">";
    return reply.starts_with(command + " ") ? reply.substr(command.size() + 1) : "<" + reply + ">";
}

// Commands of the log from `from` on, as (address, command), text commands only.
std::vector<Sent> SentFrom(const SimRig& device, size_t from) {
    std::vector<Sent> out;
    const auto all = device.Exchanges();
    for (size_t i = from; i < all.size(); ++i) out.emplace_back(all[i].address, all[i].command);
    return out;
}

class ModelWriteWalk : public ::testing::TestWithParam<LinkKind> {};

TEST_P(ModelWriteWalk, TheSkipRulesHoldOnTheWire) {
    const LinkKind link = GetParam();
    SimRig device(ThreeArmsOver(link));
    ASSERT_TRUE(device.Ready()) << device.Error();
    RecordingUi ui;
    DeviceContext context(device.Open(link));
    context.activeArms = kActiveArms;
    ModelChain chain(&context);
    ASSERT_TRUE(chain.Loaded());

    // Start from what the device holds, then change some of it.
    for (int arm = 0; arm < kArmsUsed; ++arm) {
        context.arm = arm;
        for (CDirectory* d : chain.PerArm(arm)) ASSERT_TRUE(d->ReadFromDevice(nullptr));
    }
    context.arm = 0;
    ASSERT_TRUE(chain.System().ReadFromDevice(nullptr));
    ASSERT_TRUE(chain.BayA().ReadFromDevice(nullptr));
    const size_t readCommands = device.Exchanges().size();

    CParam* armName = chain.Arm(0).FindParam(101);
    for (int arm = 0; arm < kArmsUsed; ++arm) armName->SetValue("WRITTEN " + std::to_string(arm + 1), arm);
    chain.Arm(0).FindParam(107)->SetValue("LANE 3", 2);
    chain.Arm(0).FindParam(108)->SetValue("7", 2);
    CParam* meterName = chain.Meter(0).FindParam(101);
    meterName->SetValue("M2 ARM 2", 1 + 6);
    meterName->SetValue("SKIPPED", 0 + 12);  // a meter of the arm not in use
    meterName->SetLevel(4);
    chain.Meter(0).FindParam(103)->SetValue("12,5", 2);  // decimal comma, sent formatted
    chain.Product(0).FindParam(101)->SetValue("SKIPPED", 12);
    CDirectory& system = chain.System();
    system.FindParam(104)->SetValue("WRITTEN RACK", 0);
    system.FindParam(104)->SetLevel(1);
    system.FindParam(105)->SetLevel(CParam::kLevelNone);  // a level of none is not written
    system.FindParam(101)->SetLevel(2);                   // read-only: neither level nor value
    system.FindParam(156)->SetLevel(0);                   // the lock switches keep their levels

    auto progress = MakeProgress("Downloading");
    std::multiset<Sent> want;
    auto expect = [&](CDirectory& d, int arm) {
        for (CSubdirectory* s = d.FirstWalked(); s != nullptr; s = s->NextSubdirectory()) {
            const std::string mnemonic = d.GetMnemonic(s->DirectoryInstance());
            const int instance = s->ValueIndex(arm);
            s->ForEachParam([&](const CParam& p) {
                const bool armOff = arm >= kActiveArms;
                const bool skipped = armOff && ((d.Type() == CDirectory::kArm && p.number != 107 && p.number != 108) ||
                                                d.Type() == CDirectory::kMeter || d.Type() == CDirectory::kProduct);
                if (skipped || p.IsReadOnly()) return;
                const bool locked = d.Type() == CDirectory::kSystem && p.number >= 156 && p.number <= 158;
                if (p.Level() != CParam::kLevelNone && instance == 0 && !locked)
                    want.insert({arm + 1, CodeCommand("XC", mnemonic, p.number) + " " + std::to_string(p.Level() + 1)});
                if (!p.FormatValue(instance).empty())
                    want.insert({arm + 1, CodeCommand("PC", mnemonic, p.number) + " " + p.FormatValue(instance)});
            });
        }
    };
    for (int arm = 0; arm < kArmsUsed; ++arm) {
        context.arm = arm;
        for (CDirectory* d : chain.PerArm(arm)) {
            ASSERT_TRUE(d->WriteToDevice(progress.get())) << d->GetInstanceName() << " on arm " << arm + 1;
            expect(*d, arm);
        }
    }
    context.arm = 0;
    ASSERT_TRUE(system.WriteToDevice(progress.get()));
    expect(system, 0);
    ASSERT_TRUE(chain.BayA().WriteToDevice(progress.get()));
    expect(chain.BayA(), 0);
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
    EXPECT_TRUE(ui.errorLog.lines.empty()) << ui.errorLog.Lines().front();

    const std::vector<Sent> sent = SentFrom(device, readCommands);
    EXPECT_EQ(std::multiset<Sent>(sent.begin(), sent.end()), want);
    std::set<Sent> sentSet(sent.begin(), sent.end());
    auto wasSent = [&](int address, const std::string& command) { return sentSet.count({address, command}) > 0; };
    auto anyStartingWith = [&](const std::string& prefix) {
        for (const auto& [address, command] : sent)
            if (command.starts_with(prefix)) return true;
        return false;
    };

    // The arm not in use gets its position codes and nothing else.
    std::vector<std::string> third;
    for (const auto& [address, command] : sent)
        if (address == 3) third.push_back(command);
    EXPECT_EQ(third, (std::vector<std::string>{"PC AR 107 LANE 3", "PC AR 108 07"}));
    // Levels: the first instance only, never none, never read-only codes or the lock switches.
    EXPECT_TRUE(wasSent(1, "XC M1 101 5"));
    EXPECT_TRUE(wasSent(1, "XC AR 101 3"));
    EXPECT_FALSE(anyStartingWith("XC M2"));
    EXPECT_FALSE(anyStartingWith("XC P6"));
    for (const auto& [address, command] : sent)
        EXPECT_FALSE(address == 2 && command.starts_with("XC")) << command;
    EXPECT_TRUE(wasSent(1, "XC SY 104 2"));
    EXPECT_FALSE(anyStartingWith("XC SY 105"));
    EXPECT_TRUE(wasSent(1, "PC SY 105 0001"));
    EXPECT_FALSE(anyStartingWith("XC SY 101"));
    EXPECT_FALSE(anyStartingWith("PC SY 101"));
    EXPECT_FALSE(anyStartingWith("PC SY 102"));
    EXPECT_FALSE(anyStartingWith("XC SY 156"));
    EXPECT_FALSE(anyStartingWith("XC SY 157"));
    EXPECT_FALSE(anyStartingWith("XC SY 158"));
    EXPECT_TRUE(wasSent(1, "PC SY 156 0"));
    EXPECT_TRUE(wasSent(1, "PC M3 103 12.500"));
    EXPECT_TRUE(wasSent(2, "PC M2 101 M2 ARM 2"));

    // The device holds what was written, and only that.
    TerminalProtocol& raw = *context.protocol;
    EXPECT_EQ(Ask(raw, 1, "PV AR 101"), "WRITTEN 1");
    EXPECT_EQ(Ask(raw, 2, "PV AR 101"), "WRITTEN 2");
    EXPECT_EQ(Ask(raw, 3, "PV AR 101"), "LOAD ARM");
    EXPECT_EQ(Ask(raw, 3, "PV AR 107"), "LANE 3");
    EXPECT_EQ(Ask(raw, 3, "PV AR 108"), "07");
    EXPECT_EQ(Ask(raw, 3, "PV M1 101"), "METER");
    EXPECT_EQ(Ask(raw, 3, "PV P1 101"), Ask(raw, 1, "PV P1 101"));
    EXPECT_EQ(Ask(raw, 2, "PV M2 101"), "M2 ARM 2");
    EXPECT_EQ(Ask(raw, 1, "PV M3 103"), "12.500");
    EXPECT_EQ(Ask(raw, 1, "XV M1 101"), "5");
    EXPECT_EQ(Ask(raw, 2, "XV M1 101"), "3");
    EXPECT_EQ(Ask(raw, 1, "PV SY 104"), "WRITTEN RACK");
    EXPECT_EQ(Ask(raw, 1, "XV SY 104"), "2");
    EXPECT_EQ(Ask(raw, 1, "XV SY 105"), "4");
    EXPECT_EQ(Ask(raw, 1, "XV SY 156"), "5");

    // One progress step per code walked, skipped or not.
    int walked = 0;
    for (int arm = 0; arm < kArmsUsed; ++arm)
        for (CDirectory* d : chain.PerArm(arm)) walked += static_cast<int>(CodesOf(*d).size());
    walked += static_cast<int>(CodesOf(system).size() + CodesOf(chain.BayA()).size());
    EXPECT_EQ(ui.progress.at(0)->steps, walked);
    auto told = [&](const std::string& text) { return ProgressTold(ui, text); };
    EXPECT_TRUE(told("Downloading Arm 2 Meter 2 100-General Purpose Directory...\n    PC M2 101 M2 ARM 2\n"
                     "    PC M2 101 M2 ARM 2"));
    EXPECT_TRUE(told("Downloading System 100-General Purpose Directory...\n    PC SY 104 WRITTEN RACK\n"
                     "    PC SY 104 WRITTEN RACK"));
}

INSTANTIATE_TEST_SUITE_P(Links, ModelWriteWalk,
                         ::testing::Values(LinkKind{Transport::Tcp, Framing::Terminal},
                                           LinkKind{Transport::Pty, Framing::Mini}),
                         LinkName());

// ---- the device's rejections on a Minicomputer link over TCP/IP

class ModelWriteFaults : public ModelFaultRig {
protected:
    // Values and levels of every code of Bay A, as a walk would have read them.
    void FillBayA() {
        for (CParam* p : CodesOf(chain->BayA())) {
            p->SetValue(p->HasOptionList() ? "1" : "2", 0);
            p->SetLevel(2);
        }
        chain->BayA().FindParam(101)->SetValue("NORTH", 0);
    }
};

TEST_F(ModelWriteFaults, RejectionsAreLoggedWithTheirExactLinesAndTheWalkGoesOn) {
    Start({"reject=03,address=2,on=PC M2 101", "reject=06,on=XC SY 111", "reject=14,on=PC BA 101"});
    context->arm = 1;
    chain->Meter(0).FindParam(101)->SetValue("TWO TWO", 1 + 6);
    chain->Meter(0).FindParam(102)->SetValue("SN 22", 1 + 6);
    ASSERT_TRUE(chain->Meter(1).WriteToDevice(nullptr));
    context->arm = 0;
    CDirectory& system = chain->System();
    system.FindParam(111)->SetLevel(3);
    system.FindParam(111)->SetValue("2", 0);
    // Longer than the code's 20 characters: the device itself refuses it.
    system.FindParam(104)->SetValue("A TERMINAL NAME TOO LONG", 0);
    system.FindParam(105)->SetValue("6", 0);
    ASSERT_TRUE(system.WriteToDevice(nullptr));
    FillBayA();
    ASSERT_TRUE(chain->BayA().WriteToDevice(nullptr));

    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
    EXPECT_EQ(ui.errorLog.Lines(),
              (std::vector<std::string>{
                  "Unable to Program Arm 2 Meter 2 101 Meter Name to TWO TWO : Value out of Range",
                  "Unable to Program System 104 Terminal Name to A TERMINAL NAME TOO LONG : Value out of Range",
                  "Could Not Set Security Level for System 111 Date Format : Operation Not Allowed",
                  "Unable to Program Bay A 101 Bay Name to NORTH : Program Code Not Used",
              }));
    for (const auto& [owner, line] : ui.errorLog.lines) EXPECT_EQ(owner, context.get()) << line;
    // The codes after each rejection were written.
    TerminalProtocol& raw = *context->protocol;
    EXPECT_EQ(Ask(raw, 2, "PV M2 102"), "SN 22");
    EXPECT_EQ(Ask(raw, 1, "PV SY 105"), "0006");
    EXPECT_EQ(Ask(raw, 1, "PV SY 111"), "2");
    EXPECT_EQ(Ask(raw, 1, "PV BA 102"), "2");
    EXPECT_EQ(Ask(raw, 1, "PV BA 101"), "BAY");
}

}  // namespace
}  // namespace qs::test
