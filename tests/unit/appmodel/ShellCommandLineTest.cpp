#include <gtest/gtest.h>

#include "appmodel/shell/ShellCommandLine.h"

namespace qs::test {

using Action = ShellCommandLine::Action;

TEST(ShellCommandLine, APlainStartOpensNothingAndOneNameOpensThatDocument) {
    auto cl = ShellCommandLine::Parse({});
    EXPECT_EQ(cl.action, Action::kNothing);
    EXPECT_FALSE(cl.minimized);

    cl = ShellCommandLine::Parse({"/home/tech/Bay A.D3X"});
    EXPECT_EQ(cl.action, Action::kOpen);
    EXPECT_EQ(cl.file, "/home/tech/Bay A.D3X");

    cl = ShellCommandLine::Parse({"--minimized", "site.D3X"});
    EXPECT_EQ(cl.action, Action::kOpen);
    EXPECT_TRUE(cl.minimized);
    EXPECT_EQ(cl.file, "site.D3X");

    cl = ShellCommandLine::Parse({"--", "-odd name.D3X"});
    EXPECT_EQ(cl.action, Action::kOpen);
    EXPECT_EQ(cl.file, "-odd name.D3X");
    EXPECT_EQ(ShellCommandLine::Parse({"-"}).file, "-") << "a lone dash is a name";
}

TEST(ShellCommandLine, RefusesWhatItCannotDoAndSaysWhy) {
    auto cl = ShellCommandLine::Parse({"--print", "a.D3X"});
    EXPECT_EQ(cl.action, Action::kBad);
    EXPECT_EQ(cl.error, "unknown option --print");
    EXPECT_TRUE(cl.file.empty());

    cl = ShellCommandLine::Parse({"a.D3X", "b.D3X"});
    EXPECT_EQ(cl.action, Action::kBad);
    EXPECT_EQ(cl.error, "only one document can be named");

    EXPECT_EQ(ShellCommandLine::Parse({""}).action, Action::kBad);
    EXPECT_EQ(ShellCommandLine::Parse({std::string(ShellCommandLine::kMaxPathLength + 1, 'a')}).action, Action::kBad);
    EXPECT_EQ(ShellCommandLine::Parse({std::string(ShellCommandLine::kMaxPathLength, 'a')}).action, Action::kOpen);

    cl = ShellCommandLine::Parse({"a.D3X", "--help"});
    EXPECT_EQ(cl.action, Action::kUsage);
    EXPECT_TRUE(cl.file.empty());
}

}  // namespace qs::test
