#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "emulators/farview/core/FarviewCommandLine.h"

namespace qs::farview {
namespace {

struct LineRow {
    const char* text;
    bool master;
    bool quad;
    std::optional<int> port;
    std::optional<std::string> address;
    std::vector<std::string> refused;
};

const LineRow kRows[] = {
    LineRow{"MASTER COM2 QUAD", true, true, 2, std::nullopt, {}},
    LineRow{"COM0 ADDR0A000102", false, false, 0, "10.0.1.2", {}},
        // What Quillset sends, words split and joined again with single blanks.
    LineRow{"COM0 ADDR7F000001 QUAD", false, true, 0, "127.0.0.1", {}},
    LineRow{"MASTER COM12", true, false, 12, std::nullopt, {}},
    LineRow{"", false, false, std::nullopt, std::nullopt, {}},
    LineRow{"QUAD", false, true, std::nullopt, std::nullopt, {}},
        // The first occurrence of each word counts; words are found anywhere, case and all.
    LineRow{"COM2 COM5 ADDR0A000102 ADDRFFFFFFFF", false, false, 2, "10.0.1.2", {}},
    LineRow{"com2 master quad addr0a000102", false, false, std::nullopt, std::nullopt, {}},
    LineRow{"QUADMASTER", true, true, std::nullopt, std::nullopt, {}},
        // A number as a C program reads one: none is 0, a sign and leading blanks are taken.
    LineRow{"COM", false, false, 0, std::nullopt, {}},
    LineRow{"COMx", false, false, 0, std::nullopt, {}},
    LineRow{"COM-1", false, false, -1, std::nullopt, {}},
    LineRow{"COM 3", false, false, 3, std::nullopt, {}},
    LineRow{"COM2147483647", false, false, 2147483647, std::nullopt, {}},
    LineRow{"ADDRff000001", false, false, std::nullopt, "255.0.0.1", {}},
    LineRow{"ADDR1", false, false, std::nullopt, "0.0.0.1", {}},
        // Numbers that do not fit are refused, and the stored values stay.
    LineRow{"COM2147483648", false, false, std::nullopt, std::nullopt, {"COM"}},
    LineRow{"COM99999999999999999999 ADDR0A000102", false, false, std::nullopt, "10.0.1.2", {"COM"}},
    LineRow{"ADDR0A0001020", false, false, std::nullopt, std::nullopt, {"ADDR"}},
    LineRow{"COM0 ADDR", false, false, 0, std::nullopt, {"ADDR"}},
    LineRow{"ADDR 0A000102", false, false, std::nullopt, std::nullopt, {"ADDR"}}};

TEST(FarviewCommandLineParse, WordsAreReadAsFarviewReadsThem) {
    for (const LineRow& row : kRows) {
        SCOPED_TRACE(row.text);
        const FarviewCommandLine line = FarviewCommandLine::Parse(row.text);
        EXPECT_EQ(line.master, row.master);
        EXPECT_EQ(line.quad, row.quad);
        EXPECT_EQ(line.port, row.port);
        EXPECT_EQ(line.address, row.address);
        EXPECT_EQ(line.refused, row.refused);
    }
}

}  // namespace
}  // namespace qs::farview
