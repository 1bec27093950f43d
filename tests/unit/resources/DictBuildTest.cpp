#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "DictTestSupport.h"
#include "TempDir.h"

namespace qs::test {
namespace {

namespace fs = std::filesystem;

std::set<std::string> FileNames(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename().string());
    return names;
}

std::set<std::string> ExpectedNames() {
    std::set<std::string> names{"PARAM.DAT"};
    for (const auto& stem : DictCompiler::SourceStems())
        if (stem != "Registers") names.insert(stem + ".SD3");
    return names;
}

// Runs the generator program; returns its exit status and fills `stderrText`.
int RunGenerator(const std::string& source, const std::string& out, const std::string& errFile, std::string& stderrText) {
    std::string command = "'" + std::string(QS_BIN_DIR) + "/dictgen' '" + source + "' '" + out + "' 2>'" + errFile + "'";
    int status = std::system(command.c_str());
    stderrText = ReadWhole(errFile);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(DictBuild, TheBuildsDataFolderHoldsExactlyWhatTheSourceGives) {
    const DictCompilation& c = ProjectDictionary();
    ASSERT_TRUE(c.errors.empty()) << ErrorList(c);
    const std::string folder = QS_DATA_BUILD_DIR;
    std::set<std::string> present;
    for (const auto& name : FileNames(folder))
        if (name.size() > 4 && (name.ends_with(".SD3") || name == "PARAM.DAT" || name.find(".tmp") != std::string::npos))
            present.insert(name);
    EXPECT_EQ(present, ExpectedNames()) << "no temporary files left, no file missing";
    for (const DictOutput& out : c.outputs) EXPECT_TRUE(ReadWhole(folder + "/" + out.name) == out.bytes) << out.name;
}

TEST(DictBuild, GeneratorFailsOnAFaultNamingFileAndLineAndWritesNothing) {
    TempDir dir;
    const std::string src = dir.File("src");
    const std::string out = dir.File("out");
    fs::create_directories(src);
    fs::create_directories(out);
    for (const auto& e : fs::directory_iterator(DictionarySourceFolder()))
        if (e.path().extension() == ".txt") fs::copy_file(e.path(), src + "/" + e.path().filename().string());

    std::string arm = ReadWhole(src + "/Arm.txt");
    const int brokenLine = LineAtOffset(arm, arm.size()) + 3;  // the name line of the appended block
    arm += "\ncode: 150\nregister: 11 2 99\nname: Unnumbered\ninstances: 6\nmin: 0\nmax: 9\nformat: %*d\n"
           "width: 1\nprecision: 0\nhelp: A code whose name lacks its number.\ndefault: 0\nlevel: 3\n";
    { std::ofstream(src + "/Arm.txt", std::ios::binary) << arm; }

    std::string err;
    EXPECT_EQ(RunGenerator(src, out, dir.File("err.txt"), err), 1);
    EXPECT_NE(err.find(src + "/Arm.txt:" + std::to_string(brokenLine) + ": error: Arm 150: the name must begin with \"150 \""),
              std::string::npos)
        << err;
    EXPECT_NE(err.find("has no position"), std::string::npos) << err;
    EXPECT_TRUE(FileNames(out).empty()) << "nothing written after a fault";

    // With the file whole again the same run writes every file, and nothing else.
    fs::copy_file(DictionarySourceFolder() + "/Arm.txt", src + "/Arm.txt", fs::copy_options::overwrite_existing);
    EXPECT_EQ(RunGenerator(src, out, dir.File("err.txt"), err), 0) << err;
    EXPECT_EQ(FileNames(out), ExpectedNames());
    const DictCompilation& c = ProjectDictionary();
    for (const DictOutput& o : c.outputs) EXPECT_TRUE(ReadWhole(out + "/" + o.name) == o.bytes) << o.name;
}

TEST(DictBuild, GeneratorReportsAMissingSourceFile) {
    TempDir dir;
    const std::string src = dir.File("src");
    fs::create_directories(src);
    for (const auto& e : fs::directory_iterator(DictionarySourceFolder()))
        if (e.path().extension() == ".txt" && e.path().filename() != "Meter.txt")
            fs::copy_file(e.path(), src + "/" + e.path().filename().string());
    std::string err;
    EXPECT_EQ(RunGenerator(src, dir.File("out"), dir.File("err.txt"), err), 1);
    EXPECT_NE(err.find(src + "/Meter.txt: error: cannot read the file"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(dir.File("out/PARAM.DAT")));
}

}  // namespace
}  // namespace qs::test
