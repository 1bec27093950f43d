#include <gtest/gtest.h>

#include "Fuzz.h"
#include "TempDir.h"
#include "link/CommSettingsText.h"
#include "platform/IniProfile.h"

namespace qs::test {

// The profile file is the user's to edit by hand: whatever it holds, reading it (and the
// serial settings texts in it) must neither crash nor hang, and a write must keep the file
// readable with the value it wrote.
TEST(IniProfileFuzz, AnyFileContentReadsAndWritesSafely) {
    TempDir dir;
    const std::string path = dir.File("QS3X.INI");
    const std::vector<std::string> seeds = {
        "[Comm]\nCOM1=9600,E,7,1\n[Ports]\nCOM1=/dev/ttyS0\n",
        "; comment\n[General]\r\nMRUFileCount=5\r\nAutoConnect = 1\n\n[Instance]\nhWnd=0000ABCD\n",
        "[[]]\n=\n[Comm\nCOM1\n===\n",
    };
    FuzzOptions options;
    // Each profile read takes a buffer of 1 MiB: a count that the sanitizer build runs in
    // seconds, not minutes.
    options.iterations = 3000;
    options.maxLength = 2048;
    int run = 0;
    RunFuzz(seeds, [&](const std::string& content) {
        dir.Write("QS3X.INI", content);
        IniProfile ini(path);
        (void)ini.GetInt("General", "MRUFileCount", 5);
        const std::string comm = ini.GetString("Comm", "COM1", kDefaultCommText);
        (void)ParseCommSettings(comm);
        (void)ReadCommSettings(ini, 1);
        // A write syncs the file to disk: one input in ten is enough to show it keeps the
        // file readable, and keeps the sanitizer run short.
        if (++run % 10 != 0) return;
        ASSERT_TRUE(ini.WriteString("Comm", "COM2", std::string("19200,N,8,2")));
        ASSERT_EQ(ini.GetString("Comm", "COM2"), "19200,N,8,2");
    }, options);
}

}  // namespace qs::test
