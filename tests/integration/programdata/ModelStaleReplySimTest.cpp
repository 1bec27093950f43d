// A value read that comes after its time-out, with Ignore chosen: the walk goes on, and the
// late reply is never taken for the answer to the commands after it. Every value and level of
// the Config directory is set against the simulator's store afterwards.
#include <gtest/gtest.h>

#include "DeviceStore.h"
#include "ModelChain.h"
#include "platform/Prompt.h"

namespace qs::test {
namespace {

class ModelStaleReplySim : public ::testing::TestWithParam<LinkKind> {};

TEST_P(ModelStaleReplySim, ALateReplyIsNeverTakenForTheNextCommand) {
    const LinkKind link = GetParam();
    // Beyond both the serial byte time-out and the network receive time-out.
    SimRig device({.transport = link.transport,
                   .args = {"--fault", "delay=4500,count=1,on=PV CF 753"},
                   .state = "CF 753 4 12\nCF 754 - 0\nCF 755 2 3\n"});
    ASSERT_TRUE(device.Ready()) << device.Error();
    RecordingUi ui;
    ui.prompt.byType = [](unsigned type) -> int { return (type & MB_TYPEMASK) == MB_ABORTRETRYIGNORE ? IDIGNORE : DefaultAnswer(type); };
    DeviceContext context(device.Open(link));
    CDirectory config(CDirectory::kConfig, "Config", 10, 0, true, false, &context, FilesIn(QS_DATA_BUILD_DIR));
    ASSERT_TRUE(config.Loaded());

    auto progress = MakeProgress("Reading");
    ASSERT_TRUE(config.ReadFromDevice(progress.get()));
    // The value that timed out, and (on a serial line, whose byte time-out is shorter than the
    // delay) the level asked for while it was still on its way.
    ASSERT_GE(ui.prompt.shown.size(), 1u);
    ASSERT_LE(ui.prompt.shown.size(), 2u);
    for (const ShownMessage& m : ui.prompt.shown) EXPECT_NE(m.text.find("Timeout waiting for response"), std::string::npos) << m.text;
    EXPECT_TRUE(ui.errorLog.lines.empty());

    std::vector<Key> codes;
    for (int i = 0; i < config.SubdirectoryCount(); ++i)
        config.Subdirectory(i)->ForEachParam([&](const CParam& p) { codes.emplace_back(1, "CF", p.number); });
    const std::set<Key> levels(codes.begin(), codes.end());
    auto raw = device.Open(Framing::Terminal);
    const auto store = ReadStore(*raw, codes, levels);
    const ReadCheck check = CheckRead(
        store, levels, [&](const Key& k) -> const CParam* { return config.FindParam(std::get<2>(k)); },
        [](const Key&) { return 0; });
    EXPECT_EQ(check.wrong, std::vector<std::string>{});
    EXPECT_EQ(check.emptied, 1);
    EXPECT_EQ(check.emptied + check.levelsMissed, static_cast<int>(ui.prompt.shown.size()));
    EXPECT_EQ(config.FindParam(753)->Value(0), "");
    EXPECT_EQ(config.FindParam(754)->Value(0), "0");
    EXPECT_EQ(config.FindParam(755)->Level(), 1);
}

INSTANTIATE_TEST_SUITE_P(Links, ModelStaleReplySim, ::testing::ValuesIn(kAllLinks), LinkName());

}  // namespace
}  // namespace qs::test
