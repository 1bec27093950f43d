// A save through a symbolic link lands in the file the link names and leaves the link; a save
// of a file with other hard links replaces only the name saved to.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "TempDir.h"
#include "platform/AtomicFile.h"

namespace qs::test {
namespace {

namespace fs = std::filesystem;

bool IsLink(const std::string& path) { return fs::is_symlink(fs::symlink_status(path)); }

TEST(AtomicFileLinks, ASaveThroughSymbolicLinksWritesTheFileTheyName) {
    struct Row {
        const char* name;
        // Makes the link "doc.D3X" (and whatever it names) in the folder; returns the real file.
        std::function<std::string(const TempDir&)> make;
    };
    const Row rows[] = {
        {"absolute link",
         [](const TempDir& d) {
             fs::create_directories(d.File("real"));
             d.Write("real/doc.D3X", "old");
             fs::create_symlink(d.File("real/doc.D3X"), d.File("doc.D3X"));
             return d.File("real/doc.D3X");
         }},
        {"relative link",
         [](const TempDir& d) {
             fs::create_directories(d.File("real"));
             d.Write("real/doc.D3X", "old");
             fs::create_symlink("real/doc.D3X", d.File("doc.D3X"));
             return d.File("real/doc.D3X");
         }},
        {"chain of links",
         [](const TempDir& d) {
             fs::create_directories(d.File("a/b"));
             d.Write("a/b/doc.D3X", "old");
             fs::create_symlink("b/doc.D3X", d.File("a/middle"));
             fs::create_symlink("a/middle", d.File("doc.D3X"));
             return d.File("a/b/doc.D3X");
         }},
        {"dangling link",
         [](const TempDir& d) {
             fs::create_symlink("made/doc.D3X", d.File("doc.D3X"));
             return d.File("made/doc.D3X");
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        const std::string real = row.make(dir);
        ASSERT_TRUE(WriteFileAtomically(dir.File("doc.D3X"), "new"));
        EXPECT_TRUE(IsLink(dir.File("doc.D3X")));
        EXPECT_EQ(ReadWhole(real), "new");
        EXPECT_EQ(ReadWhole(dir.File("doc.D3X")), "new");
        // Nothing is left beside either name.
        for (const auto& e : fs::recursive_directory_iterator(dir.Path()))
            EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos) << e.path();
    }
}

TEST(AtomicFileLinks, TheModeOfTheLinkedFileIsKept) {
    TempDir dir;
    dir.Write("real", "old");
    ASSERT_EQ(::chmod(dir.File("real").c_str(), 0600), 0);
    fs::create_symlink("real", dir.File("link"));
    ASSERT_TRUE(WriteFileAtomically(dir.File("link"), "new"));
    struct stat st {};
    ASSERT_EQ(::stat(dir.File("real").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
}

TEST(AtomicFileLinks, AHardLinkedFileIsReplacedUnderTheNameSavedToOnly) {
    TempDir dir;
    dir.Write("doc.D3X", "old");
    fs::create_hard_link(dir.File("doc.D3X"), dir.File("other.D3X"));
    ASSERT_TRUE(WriteFileAtomically(dir.File("doc.D3X"), "new"));
    EXPECT_EQ(ReadWhole(dir.File("doc.D3X")), "new");
    EXPECT_EQ(ReadWhole(dir.File("other.D3X")), "old");
}

TEST(AtomicFileLinks, ALoopOfLinksIsReplacedAsGiven) {
    TempDir dir;
    fs::create_symlink("b", dir.File("a"));
    fs::create_symlink("a", dir.File("b"));
    ASSERT_TRUE(WriteFileAtomically(dir.File("a"), "new"));
    EXPECT_FALSE(IsLink(dir.File("a")));
    EXPECT_EQ(ReadWhole(dir.File("a")), "new");
}

}  // namespace
}  // namespace qs::test
