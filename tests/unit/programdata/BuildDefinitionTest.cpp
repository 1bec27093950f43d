#include <gtest/gtest.h>

#include "ModelFixtures.h"
#include "RecordingUi.h"
#include "TempDir.h"
#include "link/MiniProtocol.h"
#include "platform/BinaryArchive.h"
#include "platform/IniProfile.h"
#include "programdata/CDirectory.h"
#include "programdata/DefinitionProtocol.h"
#include "programdata/ParamDictionary.h"

namespace qs::test {
namespace {

constexpr uint16_t kRejected = 0x8017;  // "Program Code Not Used"

// A device answering definition requests from its script, over a Minicomputer link.
struct ScriptedMini : ScriptedDevice {
    void Define(uint16_t code, const std::vector<uint8_t>& data) { Raw(BinaryReply(1, code, 0, data)); }
    void Refuse(uint16_t code) { Raw(BinaryReply(1, code, kRejected)); }
    std::unique_ptr<MiniProtocol> protocol = OpenMini();
};

std::vector<uint8_t> DefinitionOf(const std::string& markedName, float max = 99, std::vector<std::string> options = {}) {
    return ReplyData(8, 11, 0, 0, 0, max, 2, 0, "%*d", markedName, "help of " + markedName, options);
}

// The Arm directory's device: codes 5, 107 and 108 (107 read-only with two options).
void ScriptArmDevice(ScriptedMini& link) {
    for (int d = 0; d <= 9; ++d) {
        for (int i = 0; i < 100; ++i) {
            const int n = d * 100 + i;
            if (n == 5) link.Define(0x0415, DefinitionOf("005 Arm Type"));
            else if (n == 107) link.Define(0x0415, DefinitionOf("107 Arm Enable{O", 1, {"0 No", "1 Yes"}));
            else if (n == 108) link.Define(0x0415, DefinitionOf("108 Arm Address"));
            else link.Refuse(0x0415);
        }
    }
}

std::string ExpectedArmFile() {
    Def a = Code(5, "Arm Type");
    Def b = Code(107, "Arm Enable", 0x03);
    b.max = 1;
    b.options = {"0 No", "1 Yes"};
    Def c = Code(108, "Arm Address");
    for (Def* d : {&a, &b, &c}) {
        if (d != &b) d->max = 99;
        d->dir = 11;
        d->width = 2;
        d->help = "help of " + std::string(d == &a ? "005 Arm Type" : d == &b ? "107 Arm Enable{O" : "108 Arm Address");
    }
    return Records({a, b, c});
}

// Builds over the scripted link lent as COM1, so the link outlives each build.
DefinitionSource BuildFrom(const TempDir& dir, std::shared_ptr<ScriptedMini> link) {
    DefinitionSource source;
    source.searchDirs = {dir.Path()};
    source.buildDir = dir.Path() + "/built";
    source.connect = [link] {
        TempDir iniDir;
        IniProfile ini(iniDir.File("QS3X.INI"));
        Com1Hook com1{[link]() -> ComProtocol* { return link->protocol.get(); }, [] {}};
        return DefinitionProtocol::Acquire(com1, ini, [](const std::string&) { return std::unique_ptr<MiniProtocol>(); });
    };
    return source;
}

TEST(BuildDefinitionFile, RequestsEveryCodeAndWritesTheRecordsTheDeviceDefines) {
    ScriptedMini link;
    ScriptArmDevice(link);
    ArchiveWriter out;
    EXPECT_EQ(CDirectory::FetchDefinitions(*link.protocol, CDirectory::kArm, out), 3);
    EXPECT_EQ(out.Bytes(), ExpectedArmFile());
    const auto requests = link.blocks;
    ASSERT_EQ(requests.size(), 1000u);
    EXPECT_EQ(requests[0], Bytes({'S', 'V', ' ', 0x04, 0x15, 0, 2, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(requests[107], Bytes({'S', 'V', ' ', 0x04, 0x15, 0, 2, 0, 0, 0, 1, 0, 7}));
    EXPECT_EQ(requests[999], Bytes({'S', 'V', ' ', 0x04, 0x15, 0, 2, 0, 0, 0, 9, 0, 99}));
}

TEST(BuildDefinitionFile, SystemAsksForItsZeroCodesLastAndRecipeOnlyForThem) {
    ScriptedMini system;
    for (int n = 0; n < 1000; ++n) system.Refuse(0x0415);
    ArchiveWriter out;
    EXPECT_EQ(CDirectory::FetchDefinitions(*system.protocol, CDirectory::kSystem, out), 0);
    const auto requests = system.blocks;
    ASSERT_EQ(requests.size(), 1000u);
    EXPECT_EQ(requests[0].substr(5), Bytes({0, 1, 0, 0, 0, 1, 0, 0}));
    EXPECT_EQ(requests[899].substr(5), Bytes({0, 1, 0, 0, 0, 9, 0, 99}));
    EXPECT_EQ(requests[900].substr(5), Bytes({0, 1, 0, 0, 0, 0, 0, 0}));

    ScriptedMini recipe;
    for (int n = 0; n < 100; ++n) recipe.Refuse(0x0415);
    EXPECT_EQ(CDirectory::FetchDefinitions(*recipe.protocol, CDirectory::kRecipe, out), 0);
    const auto recipeRequests = recipe.blocks;
    ASSERT_EQ(recipeRequests.size(), 100u);
    EXPECT_EQ(recipeRequests[99].substr(5), Bytes({0, 5, 0, 0, 0, 0, 0, 99}));
}

TEST(BuildDefinitionFile, BuildsTheMissingFileAndLoadsIt) {
    TempDir dir;
    auto link = std::make_shared<ScriptedMini>();
    ScriptArmDevice(*link);
    DeviceContext doc(nullptr);
    CDirectory arm(CDirectory::kArm, "Arm", 9, 1, false, true, &doc, BuildFrom(dir, link));
    ASSERT_TRUE(arm.Loaded());
    EXPECT_EQ(arm.TotalParams(), 3);
    EXPECT_TRUE(arm.FindParam(107)->IsReadOnly());
    EXPECT_EQ(arm.FindParam(107)->OptionText(1), "1 Yes");
    EXPECT_EQ(dir.Read("built/Arm.SD3"), ExpectedArmFile());
}

TEST(BuildDefinitionFile, AFailedBuildLeavesNoFileBehind) {
    TempDir dir;
    auto link = std::make_shared<ScriptedMini>();
    for (int n = 0; n < 400; ++n) link->Refuse(0x0415);
    link->Define(0x0415, DefinitionOf("400 Good"));
    link->Silence();  // the device goes silent halfway
    DeviceContext doc(nullptr);
    CDirectory arm(CDirectory::kArm, "Arm", 9, 1, false, true, &doc, BuildFrom(dir, link));
    EXPECT_FALSE(arm.Loaded());
    EXPECT_EQ(arm.TotalParams(), 0);
    // Neither the file nor a temporary one is left in the build folder.
    EXPECT_TRUE(EntriesOf(dir.Path() + "/built").empty());
}

TEST(BuildDefinitionFile, ADeviceWithoutCodesWritesNoEmptyFile) {
    TempDir dir;
    auto link = std::make_shared<ScriptedMini>();
    for (int n = 0; n < 1000; ++n) link->Refuse(0x0415);
    DeviceContext doc(nullptr);
    CDirectory arm(CDirectory::kArm, "Arm", 9, 1, false, true, &doc, BuildFrom(dir, link));
    EXPECT_FALSE(arm.Loaded());
    std::string contents;
    EXPECT_NE(ArchiveReader::ReadFile(dir.Path() + "/built/Arm.SD3", 1 << 20, contents), ArchiveReader::FileStatus::Ok);
}

TEST(BuildDefinitionFile, AReplyTooShortForADefinitionFailsTheBuild) {
    ScriptedMini link;
    link.Define(0x0415, std::vector<uint8_t>(16, 0));
    ArchiveWriter out;
    EXPECT_EQ(CDirectory::FetchDefinitions(*link.protocol, CDirectory::kRecipe, out), -1);
    EXPECT_EQ(out.Size(), 0u);
}

TEST(BuildParamDat, AsksEachGroupUntilItsFirstMissingPosition) {
    ScriptedMini link;
    // Directory 0: type 0 has none; type 3 has positions 0 and 1. Every other group: none.
    int expectedRequests = 0;
    for (int d = 0; d < 39; ++d) {
        for (int t = 0; t < 10; ++t) {
            if (d == 0 && t == 3) {
                link.Define(0x0414, ReplyData(3, 0, 0, 0, 0, 9, 1, 0, "%*d", "A", ""));
                link.Define(0x0414, ReplyData(3, 0, 1, 0, 0, 9, 1, 0, "%*d", "B", ""));
                expectedRequests += 2;
            }
            link.Refuse(0x0414);
            ++expectedRequests;
        }
    }
    ArchiveWriter out;
    EXPECT_EQ(ParamDictionary::FetchDefinitions(*link.protocol, out), 2);
    const auto requests = link.blocks;
    ASSERT_EQ(static_cast<int>(requests.size()), expectedRequests);
    EXPECT_EQ(requests[0], Bytes({'S', 'V', ' ', 0x04, 0x14, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(requests[4], Bytes({'S', 'V', ' ', 0x04, 0x14, 0, 3, 0, 0, 0, 1}));
    EXPECT_EQ(requests.back(), Bytes({'S', 'V', ' ', 0x04, 0x14, 0, 9, 0, 38, 0, 0}));
    ParamDictionary dict;
    ASSERT_EQ(dict.Load(out.Bytes()), 2u);
    EXPECT_EQ(dict.FindParamByRegisterId(MakeRegisterId(0, 3, 0, 1, 0))->number, 301);
}

TEST(BuildParamDat, AMissingFileIsBuiltOnceAndFoundThereafter) {
    TempDir dir;
    auto link = std::make_shared<ScriptedMini>();
    for (int n = 0; n < 39 * 10; ++n) {
        if (n == 0) link->Define(0x0414, ReplyData(0, 0, 0, 0, 0, 20, 0, 0, "%s", "Site Name", ""));
        link->Refuse(0x0414);
    }
    ParamDictionary dict;
    ASSERT_TRUE(dict.LoadOrBuild(BuildFrom(dir, link)));
    EXPECT_EQ(dict.FirstParamOfRow(0)->Name(), "Site Name");
    const size_t requests = link->blocks.size();
    EXPECT_EQ(requests, 391u);

    // The next start finds the built file: no device traffic.
    DefinitionSource again = BuildFrom(dir, link);
    again.searchDirs.push_back(dir.Path() + "/built");
    ParamDictionary next;
    ASSERT_TRUE(next.LoadOrBuild(again));
    EXPECT_EQ(next.Size(), 1u);
    EXPECT_EQ(link->blocks.size(), requests);
}

TEST(BuildParamDat, AFailedBuildLeavesNoFileAndAnEmptyDictionary) {
    TempDir dir;
    auto link = std::make_shared<ScriptedMini>();
    link->Define(0x0414, ReplyData(0, 0, 0, 0, 0, 20, 0, 0, "%s", "Site Name", ""));
    link->Silence();
    ParamDictionary dict;
    EXPECT_FALSE(dict.LoadOrBuild(BuildFrom(dir, link)));
    EXPECT_TRUE(dict.Empty());
    EXPECT_TRUE(EntriesOf(dir.Path() + "/built").empty());
    DefinitionSource none;
    none.searchDirs = {dir.Path()};
    none.buildDir = dir.Path();
    EXPECT_FALSE(dict.LoadOrBuild(none));
}

struct Com1Probe {
    int acquired = 0;
    int released = 0;
};

TEST(DefinitionProtocolTest, UsesCom1OnlyWhenItIsAMinicomputerProtocol) {
    TempDir dir;
    IniProfile ini(dir.File("QS3X.INI"));
    ScriptedMini com1;
    Com1Probe probe;
    Com1Hook hook{[&]() -> ComProtocol* { ++probe.acquired; return com1.protocol.get(); }, [&] { ++probe.released; }};
    int tcpCalls = 0;
    auto tcp = [&](const std::string&) {
        ++tcpCalls;
        return std::unique_ptr<MiniProtocol>();
    };
    {
        DefinitionProtocol lease = DefinitionProtocol::Acquire(hook, ini, tcp);
        EXPECT_EQ(lease.Get(), com1.protocol.get());
        EXPECT_TRUE(lease.IsCom1());
        EXPECT_EQ(probe.released, 0);
        DefinitionProtocol moved = std::move(lease);
        EXPECT_EQ(moved.Get(), com1.protocol.get());
    }
    EXPECT_EQ(probe.released, 1);  // held for the build, given back once
    EXPECT_EQ(tcpCalls, 0);

    // A Terminal protocol on COM1 is given back at once and the fallback host is used.
    ScriptedDevice terminalDevice;
    DeviceContext terminal(terminalDevice.Open());
    Com1Hook terminalHook{[&]() -> ComProtocol* { return terminal.protocol.get(); }, [&] { ++probe.released; }};
    ASSERT_TRUE(ini.WriteString("Dictionary", "FallbackHost", std::string("127.9.8.7")));
    std::string askedHost;
    auto scripted = std::make_shared<ScriptedMini>();
    MiniProtocol* expected = scripted->protocol.get();
    DefinitionProtocol lease = DefinitionProtocol::Acquire(terminalHook, ini, [&](const std::string& host) {
        askedHost = host;
        return std::move(scripted->protocol);
    });
    EXPECT_EQ(probe.released, 2);
    EXPECT_EQ(askedHost, "127.9.8.7");
    EXPECT_EQ(lease.Get(), expected);
    EXPECT_FALSE(lease.IsCom1());
}

TEST(DefinitionProtocolTest, AMinicomputerCom1OfSevenDataBitsIsRefusedWithTheTransfersMessage) {
    RecordingUi ui;
    TempDir dir;
    IniProfile ini(dir.File("QS3X.INI"));
    ScriptedDevice device;
    auto seven = device.OpenMini(false, 7);
    Com1Probe probe;
    Com1Hook hook{[&]() -> ComProtocol* { ++probe.acquired; return seven.get(); }, [&] { ++probe.released; }};
    int tcpCalls = 0;
    DefinitionProtocol lease = DefinitionProtocol::Acquire(hook, ini, [&](const std::string&) {
        ++tcpCalls;
        return std::unique_ptr<MiniProtocol>();
    });
    EXPECT_FALSE(lease);
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"An 8-Bit Data Protocol Required for this function"});
    EXPECT_EQ(probe.acquired, 1);
    EXPECT_EQ(probe.released, 1);
    EXPECT_EQ(tcpCalls, 0);
    EXPECT_TRUE(device.Commands().empty());
}

TEST(DefinitionProtocolTest, FallbackHostDefaultsToLoopbackAndAnEmptyOneMeansNone) {
    TempDir dir;
    IniProfile ini(dir.File("QS3X.INI"));
    std::vector<std::string> hosts;
    auto tcp = [&](const std::string& host) {
        hosts.push_back(host);
        return std::unique_ptr<MiniProtocol>();
    };
    EXPECT_FALSE(DefinitionProtocol::Acquire(Com1Hook{}, ini, tcp));
    ASSERT_TRUE(ini.WriteString("Dictionary", "FallbackHost", std::string()));
    EXPECT_FALSE(DefinitionProtocol::Acquire(Com1Hook{[]() -> ComProtocol* { return nullptr; }, {}}, ini, tcp));
    EXPECT_EQ(hosts, (std::vector<std::string>{"127.0.0.1"}));
}

}  // namespace
}  // namespace qs::test
