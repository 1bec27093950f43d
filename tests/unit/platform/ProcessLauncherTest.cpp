#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ChildWait.h"
#include "TempDir.h"
#include "TestEnv.h"
#include "platform/ProcessLauncher.h"

namespace qs::test {

namespace {

using Words = std::vector<std::string>;

void WriteProgram(const TempDir& dir, const std::string& name, const std::string& content, mode_t mode = 0755) {
    dir.Write(name, content);
    ASSERT_EQ(::chmod(dir.File(name).c_str(), mode), 0);
}

std::string SelfPath() {
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

// No child of this process is left unreaped.
bool NoChildrenLeft() {
    int status = 0;
    return ::waitpid(-1, &status, WNOHANG) < 0 && errno == ECHILD;
}

}  // namespace

TEST(ProcessLauncherWords, SplitAtBlanksAndJoinedWithSingleBlanks) {
    EXPECT_EQ(ProcessLauncher::SplitWords(" COM0 ADDR7F000001 QUAD"), (Words{"COM0", "ADDR7F000001", "QUAD"}));
    EXPECT_EQ(ProcessLauncher::SplitWords(" COM2 ARMS 01,02"), (Words{"COM2", "ARMS", "01,02"}));
    EXPECT_EQ(ProcessLauncher::SplitWords("\tMASTER  COM2 \t"), (Words{"MASTER", "COM2"}));
    EXPECT_TRUE(ProcessLauncher::SplitWords("").empty());
    EXPECT_TRUE(ProcessLauncher::SplitWords("   ").empty());

    const char* argv[] = {"/opt/bin/farview", "MASTER", "", "COM2", "QUAD", nullptr};
    EXPECT_EQ(ProcessLauncher::JoinArguments(5, argv), "MASTER COM2 QUAD");
    EXPECT_EQ(ProcessLauncher::JoinArguments(1, argv), "");
    EXPECT_EQ(ProcessLauncher::JoinArguments(ProcessLauncher::SplitWords(" COM0 ADDR7F000001  QUAD ")),
              "COM0 ADDR7F000001 QUAD");
}

TEST(ProcessLauncherFind, BesideTheExecutableFirstThenAbsolutePathFolders) {
    // The running test binary is found beside itself.
    std::string self = SelfPath();
    ASSERT_FALSE(self.empty());
    EXPECT_EQ(ProcessLauncher::ExecutableDir(), self.substr(0, self.rfind('/')));
    std::string selfName = self.substr(self.rfind('/') + 1);
    EXPECT_EQ(ProcessLauncher::FindProgram(selfName), self);

    TempDir beside, pathA, pathB;
    WriteProgram(beside, "sh", "#!/bin/sh\n");
    WriteProgram(pathA, "qs-probe", "not runnable\n", 0644);  // same name, not executable: skipped
    WriteProgram(pathB, "qs-probe", "#!/bin/sh\n");
    ::mkdir(pathA.File("qs-dir").c_str(), 0755);  // a folder is no program
    WriteProgram(pathB, "qs-dir", "#!/bin/sh\n");
    ScopedEnv path("PATH", "::relative/bin:" + pathA.Path() + ":" + pathB.Path() + "/:/usr/bin:/bin");

    EXPECT_EQ(ProcessLauncher::FindProgram("sh", beside.Path()), beside.File("sh")) << "beside wins over PATH";
    EXPECT_EQ(ProcessLauncher::FindProgram("qs-probe", beside.Path()), pathB.File("qs-probe"));
    EXPECT_EQ(ProcessLauncher::FindProgram("qs-dir", beside.Path()), pathB.File("qs-dir"));
    EXPECT_EQ(ProcessLauncher::FindProgram("true", beside.Path()).value_or("").substr(0, 1), "/");
    EXPECT_EQ(ProcessLauncher::FindProgram("qs-no-such-program", beside.Path()), std::nullopt);
    EXPECT_EQ(ProcessLauncher::FindProgram("", beside.Path()), std::nullopt);
    EXPECT_EQ(ProcessLauncher::FindProgram(beside.File("sh"), "/nowhere"), beside.File("sh")) << "a path is a path";
    EXPECT_EQ(ProcessLauncher::FindProgram(pathA.File("qs-probe"), {}), std::nullopt);

    // Empty and relative PATH entries never find a program in the current folder.
    TempDir cwd;
    ::mkdir(cwd.File("relative").c_str(), 0755);
    ::mkdir(cwd.File("relative/bin").c_str(), 0755);
    WriteProgram(cwd, "qs-here", "#!/bin/sh\n");
    WriteProgram(cwd, "relative/bin/qs-here2", "#!/bin/sh\n");
    char old[PATH_MAX];
    ASSERT_NE(::getcwd(old, sizeof old), nullptr);
    ASSERT_EQ(::chdir(cwd.Path().c_str()), 0);
    auto here = ProcessLauncher::FindProgram("qs-here", {});
    auto here2 = ProcessLauncher::FindProgram("qs-here2", {});
    ASSERT_EQ(::chdir(old), 0);
    EXPECT_EQ(here, std::nullopt);
    EXPECT_EQ(here2, std::nullopt);
}

TEST(ProcessLauncherStart, WordsArriveExactlyAndNeverAsShellText) {
    TempDir dir;
    // Writes each argument on a line of its own, bracketed, next to itself.
    WriteProgram(dir, "qs-echo-args", "#!/bin/sh\nprintf '[%s]\\n' \"$@\" > \"$(dirname \"$0\")/args.txt\"\n");
    ProcessLauncher launcher;

    auto s = launcher.StartProgram("qs-echo-args", " COM0 ADDR7F000001 QUAD", dir.Path());
    ASSERT_TRUE(s.ok) << s.message;
    ASSERT_TRUE(WaitChildEnded(s.pid));
    EXPECT_EQ(dir.Read("args.txt"), "[COM0]\n[ADDR7F000001]\n[QUAD]\n");

    s = launcher.StartProgram("qs-echo-args", " MASTER COM2 $HOME;touch${IFS}pwned `id` * >x", dir.Path());
    ASSERT_TRUE(s.ok) << s.message;
    ASSERT_TRUE(WaitChildEnded(s.pid));
    EXPECT_EQ(dir.Read("args.txt"), "[MASTER]\n[COM2]\n[$HOME;touch${IFS}pwned]\n[`id`]\n[*]\n[>x]\n");
    EXPECT_NE(::access(dir.File("pwned").c_str(), F_OK), 0);

    // An argument vector given directly goes through as it is, blanks and all.
    s = launcher.Start("/bin/sh", {"-c", "printf '%s|' \"$@\" > \"$0\"", dir.File("direct.txt"), "a b", ""});
    ASSERT_TRUE(s.ok) << s.message;
    ASSERT_TRUE(WaitChildEnded(s.pid));
    EXPECT_EQ(dir.Read("direct.txt"), "a b||");

    EXPECT_EQ(launcher.ReapFinished().size(), 3u);
    EXPECT_TRUE(NoChildrenLeft());
}

TEST(ProcessLauncherStart, MissingProgramsAndFailedExecsAreReported) {
    TempDir dir;
    WriteProgram(dir, "qs-garbage", "no interpreter line, no binary\n");
    WriteProgram(dir, "qs-no-interpreter", "#!/nonexistent/interpreter\n");
    WriteProgram(dir, "qs-not-executable", "#!/bin/sh\n", 0644);
    ProcessLauncher launcher;

    auto s = launcher.StartProgram("qs-no-such-program", " COM1", dir.Path());
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.error, ENOENT);
    EXPECT_EQ(s.message, "qs-no-such-program: not found beside this program or on PATH");

    s = launcher.StartProgram("qs-garbage", "", dir.Path());
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.error, ENOEXEC);
    EXPECT_EQ(s.message, dir.File("qs-garbage") + ": Exec format error");

    s = launcher.StartProgram("qs-no-interpreter", "", dir.Path());
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.error, ENOENT);

    // Found by no search, but named by path: the exec itself refuses (root too: no x bit).
    s = launcher.Start(dir.File("qs-not-executable"), {});
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.error, EACCES);

    s = launcher.Start("/bin/true", {std::string("a\0b", 3)});
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.error, EINVAL);
    s = launcher.Start("/bin/true", Words(ProcessLauncher::kMaxArguments + 1, "x"));
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.error, E2BIG);

    // Failed children were collected at once; nothing is left for later.
    EXPECT_TRUE(launcher.Running().empty());
    EXPECT_TRUE(NoChildrenLeft());
}

TEST(ProcessLauncherStart, FinishedChildrenAreReapedRunningOnesKept) {
    ProcessLauncher launcher;
    auto ok = launcher.Start("/bin/true", {});
    auto three = launcher.Start("/bin/sh", {"-c", "exit 3"});
    auto sleeper = launcher.Start("/bin/sleep", {"60"});
    ASSERT_TRUE(ok.ok && three.ok && sleeper.ok) << ok.message << three.message << sleeper.message;
    ASSERT_TRUE(WaitChildEnded(ok.pid));
    ASSERT_TRUE(WaitChildEnded(three.pid));

    auto done = launcher.ReapFinished();
    std::sort(done.begin(), done.end(), [](auto& a, auto& b) { return a.pid < b.pid; });
    ASSERT_EQ(done.size(), 2u);
    for (const auto& f : done) {
        EXPECT_TRUE(f.exited);
        EXPECT_EQ(f.code, f.pid == three.pid ? 3 : 0);
    }
    EXPECT_EQ(launcher.Running(), std::vector<pid_t>{sleeper.pid});
    int status = 0;
    EXPECT_EQ(::waitpid(ok.pid, &status, WNOHANG), -1) << "no zombie left behind";
    EXPECT_TRUE(launcher.ReapFinished().empty()) << "a running child is not waited for";

    ASSERT_EQ(::kill(sleeper.pid, SIGTERM), 0);
    ASSERT_TRUE(WaitChildEnded(sleeper.pid));
    done = launcher.ReapFinished();
    ASSERT_EQ(done.size(), 1u);
    EXPECT_FALSE(done[0].exited);
    EXPECT_EQ(done[0].code, SIGTERM);
    EXPECT_TRUE(launcher.Running().empty());
    EXPECT_TRUE(NoChildrenLeft());
}

TEST(ProcessLauncherStart, ChildGetsNoDescriptorOfOursAndNoInput) {
    TempDir dir;
    // A descriptor someone opened without close-on-exec, at a number no shell uses itself.
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    int leaky = ::fcntl(fds[1], F_DUPFD, 200);
    ASSERT_GE(leaky, 200);
    ::close(fds[1]);
    ASSERT_EQ(::fcntl(leaky, F_GETFD) & FD_CLOEXEC, 0);
    std::string script = "{ echo leaked > /proc/self/fd/" + std::to_string(leaky) +
                         "; } 2>/dev/null; readlink /proc/self/fd/0 > \"$0\"";

    ProcessLauncher launcher;
    auto s = launcher.Start("/bin/sh", {"-c", script, dir.File("stdin.txt")});
    ASSERT_TRUE(s.ok) << s.message;
    ASSERT_TRUE(WaitChildEnded(s.pid));
    launcher.ReapFinished();
    ::close(leaky);

    ::fcntl(fds[0], F_SETFL, O_NONBLOCK);
    char buf[16];
    EXPECT_EQ(::read(fds[0], buf, sizeof buf), 0) << "the child wrote into our pipe";
    ::close(fds[0]);
    EXPECT_EQ(dir.Read("stdin.txt"), "/dev/null\n");
    // The descriptor stays as it was in this process.
}

}  // namespace qs::test
