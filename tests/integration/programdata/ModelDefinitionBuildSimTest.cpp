// Definition files built from the simulated controller by the model's own build path, compared
// byte for byte with the files the generator wrote from the same dictionary source: two
// independent readings of that source (the generator's and the simulator's, through the
// device's definition replies and the model's record writer) must agree.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <set>

#include "ModelFixtures.h"
#include "SimRig.h"
#include "RecordingUi.h"
#include "link/ComPortTable.h"
#include "link/MiniProtocol.h"
#include "platform/BinaryArchive.h"
#include "programdata/CDirectory.h"
#include "programdata/CParam.h"
#include "programdata/DefinitionProtocol.h"
#include "programdata/DefinitionSource.h"
#include "programdata/ParamDictionary.h"

namespace qs::test {
namespace {

struct DirectoryKind {
    int type;
    const char* name;
    int subdirectories;
    int instances;
    bool startsAtFirst;
    bool perArm;
};

// As a program-data document builds its chain.
constexpr DirectoryKind kDirectories[] = {
    {CDirectory::kConfig, "Config", 10, 0, true, false},   {CDirectory::kSystem, "System", 11, 0, false, false},
    {CDirectory::kArm, "Arm", 9, 1, false, true},          {CDirectory::kMeter, "Meter", 9, 6, false, true},
    {CDirectory::kProduct, "Product", 9, 6, false, true},  {CDirectory::kRecipe, "Recipe", 0, 50, true, false},
    {CDirectory::kBayA, "Bay A", 9, 1, false, false},      {CDirectory::kBayB, "Bay B", 9, 1, false, false},
};

std::string TestName(const ::testing::TestParamInfo<DirectoryKind>& info) {
    std::string n = info.param.name;
    for (char& c : n)
        if (c == ' ') c = '_';
    return n;
}

// A simulator that definition builds go to, with its pty (when it has one) as COM1.
SimRig::Setup Builds(SimRig::Setup setup) {
    setup.comPort = 1;
    setup.builds = true;
    return setup;
}

DefinitionSource GeneratedFiles() { return FilesIn(QS_DATA_BUILD_DIR); }

// Where two images first differ, for a failure message ("" when equal).
std::string FirstDifference(const std::string& got, const std::string& want) {
    if (got == want) return "";
    size_t i = 0;
    while (i < got.size() && i < want.size() && got[i] == want[i]) ++i;
    return "built " + std::to_string(got.size()) + " bytes, generated " + std::to_string(want.size()) +
           ", first difference at byte " + std::to_string(i);
}

// Lends COM1 of a port table to definition builds, as the application does: the slot opened
// as a Minicomputer port when empty, a reference taken for each build and given back after it.
class Com1Lender {
public:
    explicit Com1Lender(ComPortTable& ports) {
        auto acquired = acquired_;
        hook_.acquire = [&ports, acquired]() -> ComProtocol* {
            if (!ports.Protocol(1) && !ports.OpenComPort(1, true)) return nullptr;
            if (!ports.AddRefPort(1)) return nullptr;
            ++*acquired;
            return ports.Protocol(1);
        };
        hook_.release = [&ports] { ports.ReleasePort(1); };
    }
    const Com1Hook& Hook() const { return hook_; }
    int Acquired() const { return *acquired_; }

private:
    std::shared_ptr<int> acquired_ = std::make_shared<int>(0);
    Com1Hook hook_;
};

// Builds the .SD3 of `kind` from the device into the data home over the link named `over`,
// and compares it byte for byte with the generated file; `fileName` gets the file's name.
void ExpectBuiltAsGenerated(const DirectoryKind& kind, const SimRig& device, const Com1Lender& hook,
                            const RecordingUi& ui, std::string& fileName) {
    const DefinitionSource source = DefinitionSource::FromEnvironment(hook.Hook());
    ASSERT_EQ(source.buildDir, device.BuildDir());
    DeviceContext context(nullptr);
    // The directory itself comes from the generated files; only its build is under test.
    CDirectory dir(kind.type, kind.name, kind.subdirectories, kind.instances, kind.startsAtFirst, kind.perArm,
                   &context, GeneratedFiles());
    ASSERT_TRUE(dir.Loaded());
    fileName = dir.FileName();

    ASSERT_TRUE(dir.BuildDefinitionFile(source)) << ui.LastMessage();

    const std::string want = ReadWhole(std::string(QS_DATA_BUILD_DIR) + "/" + fileName);
    ASSERT_FALSE(want.empty());
    const std::string got = device.Built(fileName);
    EXPECT_TRUE(got == want) << FirstDifference(got, want);
}

// ---- .SD3 over TCP/IP: COM1 has no port, so the build goes to the fallback host of QS3X.INI.

class ModelDefinitionBuildTcp : public ::testing::TestWithParam<DirectoryKind> {};

TEST_P(ModelDefinitionBuildTcp, MatchesTheGeneratedFile) {
    const DirectoryKind& kind = GetParam();
    SimRig device(Builds({}));
    ASSERT_TRUE(device.Ready()) << device.Error();
    RecordingUi ui;
    ComPortTable ports;
    Com1Lender hook(ports);
    std::string fileName;
    ExpectBuiltAsGenerated(kind, device, hook, ui, fileName);
    if (HasFatalFailure()) return;
    EXPECT_EQ(EntriesOf(device.BuildDir()), std::vector<std::string>{fileName});

    // One request per digit and index, every one of them over TCP/IP, at device address 1;
    // COM1 was asked for and had nothing to lend.
    const auto blocks = device.Blocks();
    EXPECT_EQ(blocks.size(), kind.type == CDirectory::kRecipe ? 100u : 1000u);
    EXPECT_EQ(device.FramesReceivedOver("tcp"), blocks.size());
    EXPECT_EQ(device.AddressesReceived(), std::set<int>{1});
    EXPECT_EQ(hook.Acquired(), 0);
    EXPECT_EQ(ports.Protocol(1), nullptr);
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
}

INSTANTIATE_TEST_SUITE_P(Directories, ModelDefinitionBuildTcp, ::testing::ValuesIn(kDirectories), TestName);

// ---- .SD3 over the pty lent as COM1 by the port table.

class ModelDefinitionBuildCom1 : public ::testing::TestWithParam<DirectoryKind> {};

TEST_P(ModelDefinitionBuildCom1, MatchesTheGeneratedFile) {
    const DirectoryKind& kind = GetParam();
    // No TCP/IP link at all: the fallback host is empty, so only COM1 can serve the build.
    SimRig device(Builds({.transport = Transport::Pty}));
    ASSERT_TRUE(device.Ready()) << device.Error();
    RecordingUi ui;
    ComPortTable ports;
    Com1Lender hook(ports);
    std::string fileName;
    ExpectBuiltAsGenerated(kind, device, hook, ui, fileName);
    if (HasFatalFailure()) return;
    EXPECT_EQ(device.FramesReceivedOver("pty"), kind.type == CDirectory::kRecipe ? 100u : 1000u);
    // The slot was opened for the build and its reference given back: the port is closed.
    EXPECT_EQ(hook.Acquired(), 1);
    EXPECT_EQ(ports.RefCount(1), 0);
    EXPECT_EQ(ports.Protocol(1), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Directories, ModelDefinitionBuildCom1, ::testing::ValuesIn(kDirectories), TestName);

// A document's Minicomputer link on COM1 serves the build and stays open for the document;
// a Terminal one cannot carry blocks, so the build goes by TCP/IP and leaves COM1 alone.
TEST(ModelDefinitionBuildSim, Com1IsBorrowedWhenMinicomputerAndPassedOverWhenTerminal) {
    SimRig device(Builds({.pty = true}));
    ASSERT_TRUE(device.Ready()) << device.Error();
    RecordingUi ui;
    ComPortTable ports;
    Com1Lender hook(ports);
    const DefinitionSource source = DefinitionSource::FromEnvironment(hook.Hook());
    DeviceContext context(nullptr);
    CDirectory bay(CDirectory::kBayB, "Bay B", 9, 1, false, false, &context, GeneratedFiles());
    const std::string want = ReadWhole(std::string(QS_DATA_BUILD_DIR) + "/Bay B.SD3");

    // A document holds COM1 as a Minicomputer port.
    ASSERT_TRUE(ports.OpenComPort(1, true));
    ASSERT_TRUE(ports.AddRefPort(1));
    ComProtocol* documents = ports.Protocol(1);
    ASSERT_TRUE(bay.BuildDefinitionFile(source));
    EXPECT_TRUE(device.Built("Bay B.SD3") == want);
    EXPECT_EQ(device.FramesReceivedOver("pty"), 1000u);
    EXPECT_EQ(device.FramesReceivedOver("tcp"), 0u);
    EXPECT_EQ(ports.Protocol(1), documents);
    EXPECT_EQ(ports.RefCount(1), 1);
    ports.ReleasePort(1);

    // Now as a Terminal port.
    std::filesystem::remove(device.BuildDir() + "/Bay B.SD3");
    ASSERT_TRUE(ports.OpenComPort(1, false));
    ASSERT_TRUE(ports.AddRefPort(1));
    documents = ports.Protocol(1);
    ASSERT_TRUE(bay.BuildDefinitionFile(source));
    EXPECT_TRUE(device.Built("Bay B.SD3") == want);
    EXPECT_EQ(device.FramesReceivedOver("pty"), 1000u);
    EXPECT_EQ(device.FramesReceivedOver("tcp"), 1000u);
    EXPECT_EQ(ports.Protocol(1), documents);
    EXPECT_EQ(ports.RefCount(1), 1);
    EXPECT_EQ(hook.Acquired(), 2);
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
}

// A directory whose file is missing builds it from the device and loads what it built: the
// codes are the generator's.
TEST(ModelDefinitionBuildSim, AMissingFileIsBuiltAndLoaded) {
    SimRig device(Builds({}));
    ASSERT_TRUE(device.Ready()) << device.Error();
    RecordingUi ui;
    ComPortTable ports;
    Com1Lender hook(ports);
    DeviceContext context(nullptr);
    CDirectory built(CDirectory::kArm, "Arm", 9, 1, false, true, &context, DefinitionSource::FromEnvironment(hook.Hook()));
    ASSERT_TRUE(built.Loaded());
    ASSERT_TRUE(std::filesystem::exists(device.BuildDir() + "/Arm.SD3"));
    CDirectory generated(CDirectory::kArm, "Arm", 9, 1, false, true, &context, GeneratedFiles());
    ASSERT_EQ(built.TotalParams(), generated.TotalParams());
    for (int i = 0; i < generated.SubdirectoryCount(); ++i) {
        std::vector<int> want, got;
        generated.Subdirectory(i)->ForEachParam([&](const CParam& p) { want.push_back(p.number); });
        built.Subdirectory(i)->ForEachParam([&](const CParam& p) { got.push_back(p.number); });
        EXPECT_EQ(got, want) << "subdirectory " << i;
    }
    // A second directory finds the built file: no further request.
    const size_t requests = device.Blocks().size();
    CDirectory again(CDirectory::kArm, "Arm", 9, 1, false, true, &context, DefinitionSource::FromEnvironment(hook.Hook()));
    EXPECT_TRUE(again.Loaded());
    EXPECT_EQ(device.Blocks().size(), requests);
}

// ---- PARAM.DAT

// Over TCP/IP to the fallback host, or over the pty lent as COM1.
class ModelParamDatBuild : public ::testing::TestWithParam<bool> {};

TEST_P(ModelParamDatBuild, MatchesTheGeneratedFileAndLoads) {
    const bool overCom1 = GetParam();
    SimRig device(Builds({.transport = overCom1 ? Transport::Pty : Transport::Tcp}));
    ASSERT_TRUE(device.Ready()) << device.Error();
    RecordingUi ui;
    ComPortTable ports;
    Com1Lender hook(ports);
    const DefinitionSource source = DefinitionSource::FromEnvironment(hook.Hook());

    ParamDictionary dictionary;
    ASSERT_TRUE(dictionary.LoadOrBuild(source));
    EXPECT_EQ(device.FramesReceivedOver(overCom1 ? "pty" : "tcp"), device.Blocks().size());

    const std::string want = ReadWhole(std::string(QS_DATA_BUILD_DIR) + "/PARAM.DAT");
    const std::string got = device.Built(ParamDictionary::kFileName);
    EXPECT_TRUE(got == want) << FirstDifference(got, want);
    EXPECT_EQ(EntriesOf(device.BuildDir()), std::vector<std::string>{ParamDictionary::kFileName});

    // Each group was asked up to its first missing position: one request per register and
    // one rejected request per (directory, data type) pair.
    ParamDictionary generated;
    ASSERT_TRUE(generated.LoadFile(std::string(QS_DATA_BUILD_DIR) + "/PARAM.DAT"));
    EXPECT_EQ(dictionary.Size(), generated.Size());
    EXPECT_EQ(device.Blocks().size(), generated.Size() + 390u);
    // The request of directory 30, data type 7, position 0 is "SV " 0414 00 07 00 1E 00 00.
    const std::string request = std::string("SV \x04\x14\x00\x07\x00\x1E\x00\x00", 11);
    bool asked = false;
    for (const auto& b : device.Blocks()) asked = asked || b == request;
    EXPECT_TRUE(asked);
    // Register ids resolve in the built dictionary as in the generated one.
    for (unsigned position = 0; position < 16; ++position) {
        const uint32_t id = MakeRegisterId(0, 7, 30, position, 0);
        ASSERT_NE(dictionary.FindParamByRegisterId(id), nullptr) << position;
        EXPECT_EQ(dictionary.FindParamByRegisterId(id)->Name(), generated.FindParamByRegisterId(id)->Name());
    }
}

INSTANTIATE_TEST_SUITE_P(Links, ModelParamDatBuild, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Com1" : "Tcp"; });

// A build that breaks off part-way leaves no file (and no temporary one) and an empty
// dictionary; the next start builds it again from the beginning.
TEST(ModelParamDatBuildSim, AnInterruptedBuildLeavesNoFile) {
    // The connection closes when its 500th request arrives.
    SimRig device(Builds({.args = {"--fault", "close-after=500"}}));
    ASSERT_TRUE(device.Ready()) << device.Error();
    RecordingUi ui;
    ComPortTable ports;
    Com1Lender hook(ports);
    const DefinitionSource source = DefinitionSource::FromEnvironment(hook.Hook());
    ParamDictionary dictionary;
    EXPECT_FALSE(dictionary.LoadOrBuild(source));
    EXPECT_TRUE(dictionary.Empty());
    EXPECT_EQ(device.Blocks().size(), 500u);
    EXPECT_TRUE(EntriesOf(device.BuildDir()).empty());
    EXPECT_FALSE(ParamDictionary::BuildFile(source));
    EXPECT_TRUE(EntriesOf(device.BuildDir()).empty());
}

TEST(ModelParamDatBuildSim, AReplyThatFailsItsCheckEndsTheBuildOverCom1) {
    // The 200th reply carries a wrong LRC: the build stops there.
    SimRig device(Builds({.transport = Transport::Pty, .args = {"--fault", "bad-lrc,skip=199,count=1"}}));
    ASSERT_TRUE(device.Ready()) << device.Error();
    RecordingUi ui;
    ComPortTable ports;
    Com1Lender hook(ports);
    const DefinitionSource source = DefinitionSource::FromEnvironment(hook.Hook());
    EXPECT_FALSE(ParamDictionary::BuildFile(source));
    EXPECT_EQ(device.Blocks().size(), 200u);
    EXPECT_TRUE(EntriesOf(device.BuildDir()).empty());
    EXPECT_EQ(ports.Protocol(1), nullptr);
}

TEST(ModelParamDatBuildSim, ADeviceThatStopsAnsweringLeavesNoFile) {
    // The 300th request goes unanswered: the build waits out one read time-out and stops.
    SimRig device(Builds({.transport = Transport::Pty, .args = {"--fault", "drop,skip=299,count=1"}}));
    ASSERT_TRUE(device.Ready()) << device.Error();
    RecordingUi ui;
    ComPortTable ports;
    Com1Lender hook(ports);
    ParamDictionary dictionary;
    EXPECT_FALSE(dictionary.LoadOrBuild(DefinitionSource::FromEnvironment(hook.Hook())));
    EXPECT_EQ(device.Blocks().size(), 300u);
    EXPECT_TRUE(EntriesOf(device.BuildDir()).empty());
    EXPECT_TRUE(dictionary.Empty());
}

// A directory whose build fails has no codes and leaves no file that would hide it later.
TEST(ModelDefinitionBuildSim, AnInterruptedBuildLeavesNoFileAndNoCodes) {
    SimRig device(Builds({.args = {"--fault", "close-after=321"}}));
    ASSERT_TRUE(device.Ready()) << device.Error();
    RecordingUi ui;
    ComPortTable ports;
    Com1Lender hook(ports);
    DeviceContext context(nullptr);
    CDirectory meter(CDirectory::kMeter, "Meter", 9, 6, false, true, &context, DefinitionSource::FromEnvironment(hook.Hook()));
    EXPECT_FALSE(meter.Loaded());
    EXPECT_EQ(meter.TotalParams(), 0);
    EXPECT_EQ(meter.FindParam(101), nullptr);
    EXPECT_EQ(device.Blocks().size(), 321u);
    EXPECT_TRUE(EntriesOf(device.BuildDir()).empty());
}

}  // namespace
}  // namespace qs::test
