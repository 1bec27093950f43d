// "PARAM.DAT" built by a starting Quillset from the device on COM1 (a pty of the simulated
// controller, mapped in "QS3X.INI") when the program folder has none.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "QuillsetProcess.h"
#include "SimProcess.h"
#include "TempDir.h"
#include "WmDisplay.h"
#include "XWindows.h"
#include "programdata/ParamDictionary.h"

namespace qs::test {

namespace {

using namespace std::chrono_literals;

bool IsDictionaryRequest(const SimFrame& f) {
    return f.Received() && f.binary && f.text.compare(0, 5, std::string("SV \x04\x14", 5)) == 0;
}

size_t CountRequests(const SimProcess& sim) {
    size_t n = 0;
    for (const auto& f : sim.ReadLog()) n += IsDictionaryRequest(f) ? 1 : 0;
    return n;
}

}  // namespace

TEST(QuillsetParamDat, BuiltFromTheDeviceOnCom1WhenMissingAndUsedFromThenOn) {
    if (!OnOwnWmDisplay()) return;
    SimProcess sim(SimProcess::Options{.tcp = false, .pty = true});
    ASSERT_TRUE(sim.Running()) << sim.Error();
    TempDir emptyDataDir;
    QuillsetHome home(emptyDataDir.Path());
    home.Write("config/QS3X.INI", "[Ports]\nCOM1=" + sim.PtyPath() + "\n");
    const std::string built = home.BuiltDataDir() + "/PARAM.DAT";
    {
        QuillsetProcess quillset(home);
        const auto window = quillset.WaitForMainWindow();
        ASSERT_TRUE(window) << quillset.Output();
        // Start-up ends (and the window answers) once the file is there.
        EXPECT_EQ(quillset.CloseAndWait(*window), 0) << quillset.Output();
    }
    const std::string bytes = ReadWhole(built);
    const std::string generated = ReadWhole(std::string(QS_DATA_BUILD_DIR) + "/PARAM.DAT");
    ASSERT_FALSE(generated.empty());
    EXPECT_TRUE(bytes == generated) << "built " << bytes.size() << " bytes, generated " << generated.size();
    EXPECT_EQ(EntriesOf(home.BuiltDataDir()), std::vector<std::string>{"PARAM.DAT"}) << "no temporary file left";

    // One request per definition, and one refused request ending each of the 39 x 10 groups.
    ParamDictionary dictionary;
    const size_t records = dictionary.Load(bytes);
    ASSERT_GT(records, 0u);
    const size_t requests = CountRequests(sim);
    EXPECT_EQ(requests, records + ParamDictionary::kHeads);

    // With the file there, the next start asks the device nothing.
    QuillsetProcess again(home);
    const auto window = again.WaitForMainWindow();
    ASSERT_TRUE(window);
    EXPECT_EQ(again.CloseAndWait(*window), 0);
    EXPECT_EQ(CountRequests(sim), requests);
}

TEST(QuillsetParamDat, ABuildThatTimesOutPartWayLeavesNoFileAndStartUpGoesOn) {
    if (!OnOwnWmDisplay()) return;
    // The 101st request is never answered.
    SimProcess sim(SimProcess::Options{.args = {"--fault", "drop,code=0414,skip=100"}, .tcp = false, .pty = true});
    ASSERT_TRUE(sim.Running()) << sim.Error();
    TempDir emptyDataDir;
    QuillsetHome home(emptyDataDir.Path());
    home.Write("config/QS3X.INI", "[Ports]\nCOM1=" + sim.PtyPath() + "\n");

    QuillsetProcess quillset(home);
    const auto window = quillset.WaitForMainWindow();
    ASSERT_TRUE(window) << quillset.Output();
    ASSERT_TRUE(sim.WaitForLog([](const std::vector<SimFrame>& frames) {
        size_t n = 0;
        for (const auto& f : frames) n += IsDictionaryRequest(f) ? 1 : 0;
        return n >= 101;
    }, 20s));
    // The window answers only once start-up has given up on the build and gone on.
    EXPECT_EQ(quillset.CloseAndWait(*window), 0) << quillset.Output();
    EXPECT_EQ(CountRequests(sim), 101u) << "the build stops at the first failure";
    EXPECT_TRUE(EntriesOf(home.BuiltDataDir()).empty()) << "nothing of the failed build is left";
}

}  // namespace qs::test
