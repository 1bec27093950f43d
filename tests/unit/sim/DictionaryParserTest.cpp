#include "device/DictionaryParser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

#include "SourceDictionary.h"
#include "TempDir.h"

namespace sim::test {

using qs::test::TempDir;

namespace {

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The lines of a file that begin with `key` followed by a colon, values trimmed: counted
// without the parser, so that a block it drops or splits shows.
std::vector<std::string> ValuesOf(const std::string& text, const std::string& key) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(key + ":", 0) != 0) continue;
        std::string value = line.substr(key.size() + 1);
        const size_t first = value.find_first_not_of(" \t");
        const size_t last = value.find_last_not_of(" \t\r");
        value = first == std::string::npos ? "" : value.substr(first, last - first + 1);
        out.push_back(value);
    }
    return out;
}

// A well-formed code block of data type 2, with the fields a test replaces ("<drop>" leaves a
// key out). Lines: code 1, name 2, register 3, instances 4, min 5, max 6, format 7, width 8,
// precision 9, help 10, default 11, level 12, then flags and the extra lines.
std::string Block(const std::string& code = "105", const std::map<std::string, std::string>& change = {},
                  const std::vector<std::string>& extra = {}) {
    std::vector<std::pair<std::string, std::string>> keys{
        {"code", code},         {"name", code + " Site Number"}, {"register", "4 2 0"}, {"instances", "0"},
        {"min", "0"},           {"max", "9999"},                 {"format", "%*d"},     {"width", "4"},
        {"precision", "0"},     {"help", "Number of the site."}, {"default", "1"},      {"level", "4"}};
    std::string out;
    for (auto& [key, value] : keys) {
        auto it = change.find(key);
        if (it != change.end() && it->second == "<drop>") continue;
        out += key + ": " + (it != change.end() ? it->second : value) + "\n";
    }
    // Keys may come in any order: an optional flags line goes after the others (line 13).
    if (auto it = change.find("flags"); it != change.end()) out += "flags: " + it->second + "\n";
    for (const std::string& line : extra) out += line + "\n";
    return out;
}

std::string ParseFault(const std::string& text, int type = 2) {
    Dictionary d;
    return DictionaryParser::Parse(text, "Arm.txt", type, d);
}

}  // namespace

TEST(SimDictionary, ReadsEveryBlockOfTheRealFiles) {
    Dictionary d;
    ASSERT_EQ(DictionaryParser::Load(kDictionaryFolder, d), "");
    std::set<std::string> registers;
    for (const DirectoryKind& kind : Dictionary::Kinds()) {
        const std::string text = ReadText(kDictionaryFolder + "/" + kind.name + ".txt");
        const std::vector<std::string> codes = ValuesOf(text, "code");
        ASSERT_FALSE(codes.empty()) << kind.name;
        EXPECT_EQ(d.Codes(kind.type).size(), codes.size()) << kind.name;
        for (const std::string& number : codes) {
            const Definition* code = d.Code(kind.type, std::stoi(number));
            ASSERT_NE(code, nullptr) << kind.name << " " << number;
            EXPECT_EQ(code->directoryType, kind.type);
        }
        for (const std::string& r : ValuesOf(text, "register")) registers.insert(r);
    }
    const std::vector<std::string> others = ValuesOf(ReadText(kDictionaryFolder + "/Registers.txt"), "register");
    EXPECT_EQ(d.Others().size(), others.size());
    registers.insert(others.begin(), others.end());
    // Shared registers (the bays) count once.
    const std::vector<const Definition*> all = d.Registers();
    EXPECT_EQ(all.size(), registers.size());
    for (size_t i = 1; i < all.size(); ++i) EXPECT_LT(all[i - 1]->Register(), all[i]->Register());
}

TEST(SimDictionary, KnownCodesOfTheRealFiles) {
    Dictionary d;
    ASSERT_EQ(DictionaryParser::Load(kDictionaryFolder, d), "");
    // The connection probe: System 111 is a one-digit option code.
    const Definition* dateFormat = d.Code(1, 111);
    ASSERT_NE(dateFormat, nullptr);
    EXPECT_TRUE(dateFormat->Has(Definition::kOption));
    EXPECT_EQ(dateFormat->width, 1);
    EXPECT_EQ(dateFormat->format, "%*d");
    EXPECT_EQ(static_cast<size_t>(dateFormat->max) + 1, dateFormat->options.size());
    EXPECT_LE(dateFormat->options.size(), 10u);
    EXPECT_EQ(dateFormat->name.rfind("111 ", 0), 0u);
    // The time-of-day text code the edit dialog checks.
    const Definition* totalsTime = d.Code(3, 732);
    ASSERT_NE(totalsTime, nullptr);
    EXPECT_EQ(totalsTime->dataType, 0);
    EXPECT_EQ(totalsTime->directory, 12);
    EXPECT_EQ(totalsTime->defaultValue, "06:00A");
    EXPECT_EQ(totalsTime->format, "%s");
    EXPECT_GE(totalsTime->max, 6.0f);
    // Recipe codes carry two-digit names; System's additive codes live below 100.
    ASSERT_FALSE(d.Codes(5).empty());
    EXPECT_LT(d.Codes(5).rbegin()->first, 100);
    EXPECT_EQ(d.Codes(5).begin()->second.name.substr(2, 1), " ");
    EXPECT_LT(d.Codes(1).begin()->first, 100);
    // The registers later parts address by fixed fields.
    EXPECT_NE(d.Register(30, 6, 0), nullptr);
    for (int p = 0; p < 16; ++p) EXPECT_NE(d.Register(30, 7, p), nullptr) << p;
    ASSERT_NE(d.Register(32, 4, 0), nullptr);
    EXPECT_EQ(d.Register(32, 4, 0)->instances, 100);
    ASSERT_NE(d.Register(35, 4, 0), nullptr);
    EXPECT_EQ(d.Register(35, 4, 0)->instances, 6);
}

TEST(SimDictionary, ReadsTheSyntaxAsWritten) {
    Dictionary d;
    // CR LF endings, blanks and tabs around keys and values, comments, '#' inside a value, an
    // empty text default, and the keys in another order.
    const std::string text =
        "# header\r\n"
        "\r\n"
        "code: 104\r\n"
        "\tname :  104 Terminal # Name \t\r\n"
        "default:\r\n"
        "register: 4 0 2\r\n"
        "instances: 0\r\n"
        "  # indented comment\r\n"
        "min: 0\r\n"
        "max: 20\r\n"
        "format: %s\r\n"
        "width: 20\r\n"
        "precision: 0\r\n"
        "help: Name: printed on tickets.\r\n"
        "level: none\r\n"
        "code: 106\n"
        "name: 106 Volume Units\n"
        "register: 4 1 6\n"
        "instances: 2\n"
        "flags: option,read-only  unloading\n"
        "min: 0\n"
        "max: 1\n"
        "format: %-*d\n"
        "width: 1\n"
        "precision: 0\n"
        "help: Units.\n"
        "option: Gallons\n"
        "option: Liters {L}\n"
        "default: 1\n"
        "level: 5";
    ASSERT_EQ(DictionaryParser::Parse(text, "System.txt", 1, d), "");
    const Definition* name = d.Code(1, 104);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->name, "104 Terminal # Name");
    EXPECT_EQ(name->help, "Name: printed on tickets.");
    EXPECT_EQ(name->defaultValue, "");
    EXPECT_EQ(name->level, Definition::kLevelNone);
    EXPECT_EQ(name->line, 3);
    const Definition* units = d.Code(1, 106);
    ASSERT_NE(units, nullptr);
    EXPECT_EQ(units->flags, Definition::kOption | Definition::kReadOnly | Definition::kUnloading);
    EXPECT_EQ(units->options, (std::vector<std::string>{"Gallons", "Liters {L}"}));
    EXPECT_EQ(units->instances, 2);
    EXPECT_EQ(units->level, 5);

    // Numbers become the nearest float; the exact value is kept beside it.
    d = Dictionary();
    ASSERT_EQ(ParseFault(Block("205", {{"register", "11 4 0"}, {"min", "-9999.9"}, {"max", "1e38"},
                                       {"format", "%*.*E"}, {"precision", "3"}, {"default", "0.1"}})),
              "");
    ASSERT_EQ(DictionaryParser::Parse(Block("205", {{"register", "11 4 0"}, {"min", "0.1"}, {"max", "2.5e-1"},
                                                    {"format", "%+*.*f"}, {"precision", "2"}, {"default", "0.1"}}),
                                      "Arm.txt", 2, d),
              "");
    EXPECT_EQ(d.Code(2, 205)->min, 0.1f);
    EXPECT_EQ(d.Code(2, 205)->max, 0.25f);
    EXPECT_EQ(d.Code(2, 205)->exactMin, 0.1);
}

TEST(SimDictionary, RefusesMalformedBlocksNamingFileAndLine) {
    struct Case {
        std::string text;
        int line;
        std::string says;
        int type = 2;
    };
    const std::vector<Case> cases{
        {"code: 105\nname 105 Site\n", 2, "expected \"key: value\""},
        {"code: 105\ncolour: red\n", 2, "unknown key \"colour\""},
        {"name: 105 Site\ncode: 105\n", 1, "before the first \"code:\""},
        {Block("105", {}, {"width: 5"}), 13, "given twice"},
        {Block("105", {{"help", "<drop>"}}), 1, "no \"help:\" line"},
        {"\n\n" + Block("105", {{"level", "<drop>"}}), 3, "no \"level:\" line"},
        {Block("105", {{"name", "Site Number"}}), 2, "must begin with the code number as listed, \"105 \""},
        {Block("105", {{"name", "105 Site {H}"}}), 2, "may not hold {"},
        {Block("105", {{"name", "105 " + std::string(38, 'x')}}), 2, "1-41 printable"},
        {Block("105", {{"help", std::string(150, 'h')}}), 10, "1-149 printable"},
        {Block("105", {{"register", "39 2 0"}}), 3, "three numbers"},
        {Block("105", {{"register", "4 2"}}), 3, "three numbers"},
        {Block("105", {{"instances", "256"}}), 4, "0-255"},
        {Block("105", {{"min", "+1"}}), 5, "min is not a number"},
        {Block("105", {{"min", "1."}}), 5, "min is not a number"},
        {Block("105", {{"max", ".5"}}), 6, "max is not a number"},
        {Block("105", {{"max", "1e39"}}), 6, "max is not a number"},
        {Block("105", {{"min", "10"}, {"max", "9"}, {"default", "9"}}), 6, "below min"},
        {Block("105", {{"max", "4294967295"}}), 6, "above what data type 2 holds"},
        {Block("105", {{"format", "%d"}}), 7, "width from the width field"},
        {Block("105", {{"format", "%*ld"}}), 7, "one conversion"},
        {Block("105", {{"format", "%--*d"}}), 7, "repeated"},
        {Block("105", {{"format", "%*f"}}), 7, "does not fit data type 2"},
        {Block("105", {{"format", "%-+ #0*.*f"}}), 7, "longer than 9"},
        {Block("105", {{"width", "41"}}), 8, "0-40"},
        {Block("105", {{"precision", "2"}}), 9, "0 unless the data type is 4 or 5"},
        {Block("105", {{"register", "4 4 0"}, {"format", "%*f"}}), 7, "precision from the precision field"},
        {Block("105", {{"register", "4 8 0"}, {"format", "%*u"}}), 7, "l length modifier"},
        {Block("105", {{"register", "4 0 0"}, {"format", "%*s"}, {"max", "20"}}), 7, "must be %s"},
        {Block("105", {{"register", "4 0 0"}, {"format", "%s"}, {"max", "40"}}), 6, "whole number 1-39"},
        {Block("105", {{"register", "4 0 0"}, {"format", "%s"}, {"max", "3"}, {"default", "ABCD"}}), 11, "longer than max"},
        {Block("105", {{"flags", "option"}, {"max", "1"}}, {"option: A", "option: B", "option: C"}), 6, "minus 1 (2)"},
        {Block("105", {{"flags", "option"}, {"max", "1"}}), 13, "needs option lines"},
        {Block("105", {}, {"option: A"}), 13, "need the option flag"},
        {Block("105", {{"flags", "option"}, {"register", "4 4 0"}, {"format", "%*.*f"}, {"max", "0"}, {"default", "0"}},
               {"option: A"}),
         13, "integer data type"},
        {Block("105", {{"flags", "option"}, {"max", "1"}}, {"option: A", "option: " + std::string(42, 'o')}), 15, "an option must be"},
        {Block("105", {{"flags", "shiny"}}), 13, "flags are words"},
        {Block("105", {{"default", "10000"}}), 11, "outside min..max"},
        {Block("105", {{"default", "1.5"}}), 11, "whole decimal"},
        {Block("105", {{"register", "4 4 0"}, {"format", "%*.*f"}, {"max", "9.5"}, {"default", "9.6"}}), 11,
         "outside min..max"},
        {Block("105", {{"level", "6"}}), 12, "1-5 or none"},
        {Block("105", {{"code", "1000"}}), 1, "0-999"},
        {Block("100", {{"code", "100"}}), 1, "0-99", 5},
        {Block("300", {{"code", "300"}}), 1, "listed under subdirectory 200 but looked up in subdirectory 300", 0},
        {Block("050", {{"code", "50"}, {"name", "050 Site"}}), 1, "listed under subdirectory 100 but looked up in subdirectory 000"},
        {Block("105") + Block("105", {{"register", "4 2 1"}}), 13, "code 105 is already defined at line 1"},
        {"code: 105\nname: 105 Caf\xE9\n", 2, "character 0xE9 is not printable ASCII"},
        {Block("105", {}, {"register: 4 2 1"}), 13, "given twice"},
    };
    for (const Case& c : cases) {
        const std::string fault = ParseFault(c.text, c.type);
        const std::string where = "Arm.txt:" + std::to_string(c.line) + ": ";
        EXPECT_EQ(fault.rfind(where, 0), 0u) << c.says << "\n  got: " << fault;
        EXPECT_NE(fault.find(c.says), std::string::npos) << c.says << "\n  got: " << fault;
    }

    // System's additive codes (0xx) are listed where the walk ends, which must be 800.
    EXPECT_NE(ParseFault(Block("023", {{"code", "23"}, {"name", "023 Additive"}}) +
                             Block("705", {{"register", "4 2 1"}}),
                         1)
                  .find("looked up in subdirectory 800"),
              std::string::npos);
    EXPECT_EQ(ParseFault(Block("023", {{"code", "23"}, {"name", "023 Additive"}}) + Block("805", {{"register", "4 2 1"}}), 1),
              "");

    // The registers file has no codes, defaults or levels.
    Dictionary d;
    const std::string fault = DictionaryParser::Parse("register: 15 2 0\nname: Alarms\ndefault: 0\n", "Registers.txt",
                                                      DictionaryParser::kRegistersFile, d);
    EXPECT_EQ(fault, "Registers.txt:3: \"default\" does not belong in the registers file");
}

TEST(SimDictionary, RegistersAreToldOnceAndWithoutGaps) {
    auto indexFault = [](const std::string& arm, const std::string& bayA, const std::string& others) {
        Dictionary d;
        for (auto [text, type, where] : {std::tuple{arm, 2, "Arm.txt"}, std::tuple{bayA, 6, "Bay A.txt"},
                                         std::tuple{others, DictionaryParser::kRegistersFile, "Registers.txt"}}) {
            if (std::string fault = DictionaryParser::Parse(text, where, type, d); !fault.empty()) return fault;
        }
        return d.Index();
    };
    // Codes of different directories may share a register when told alike.
    EXPECT_EQ(indexFault(Block("105"), Block("105"), ""), "");
    EXPECT_EQ(indexFault(Block("105"), Block("105", {{"help", "Another help."}}), ""),
              "Bay A.txt:1: register 4 2 0 is already defined at Arm.txt:1 with different fields");
    EXPECT_EQ(indexFault(Block("105") + Block("106", {{"name", "106 Other"}}), "", ""),
              "Arm.txt:13: register 4 2 0 is already defined at Arm.txt:1 by a code of the same directory");
    EXPECT_EQ(indexFault(Block("105"), "", "register: 4 2 0\nname: X\ninstances: 0\nmin: 0\nmax: 9999\nformat: %*d\n"
                                           "width: 4\nprecision: 0\nhelp: Number of the site.\n"),
              "Registers.txt:1: register 4 2 0 is already defined at Arm.txt:1");
    EXPECT_EQ(indexFault(Block("105") + Block("106", {{"name", "106 Next"}, {"register", "4 2 2"}}), "", ""),
              "Arm.txt:13: register 4 2 2 leaves a gap: position 1 of dictionary directory 4 data type 2 is not defined");
    EXPECT_EQ(indexFault(Block("105", {{"register", "4 2 1"}}), "", ""),
              "Arm.txt:1: register 4 2 1 leaves a gap: position 0 of dictionary directory 4 data type 2 is not defined");
}

TEST(SimDictionary, LoadNeedsEveryFileAndNamesTheFaultyOne) {
    TempDir dir;
    for (const char* name : {"Config", "System", "Arm", "Meter", "Product", "Recipe", "Bay A", "Bay B", "Registers"}) {
        dir.Write(std::string(name) + ".txt", ReadText(kDictionaryFolder + "/" + name + ".txt"));
    }
    Dictionary d;
    ASSERT_EQ(DictionaryParser::Load(dir.Path(), d), "");

    // Break the default of Meter 732, the time text of six characters.
    std::string meter = ReadText(kDictionaryFolder + "/Meter.txt");
    const size_t at = meter.find("default: 06:00A");
    ASSERT_NE(at, std::string::npos);
    meter.replace(at, 15, "default: 06:00AM");
    const int line = 1 + static_cast<int>(std::count(meter.begin(), meter.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
    dir.Write("Meter.txt", meter);
    Dictionary broken;
    EXPECT_EQ(DictionaryParser::Load(dir.Path(), broken),
              dir.Path() + "/Meter.txt:" + std::to_string(line) + ": the default text is longer than max or not printable");

    ASSERT_EQ(std::remove(dir.File("Bay B.txt").c_str()), 0);
    Dictionary missing;
    const std::string fault = DictionaryParser::Load(dir.Path(), missing);
    EXPECT_EQ(fault.rfind(dir.Path() + "/", 0), 0u) << fault;
    EXPECT_NE(fault.find("Meter.txt"), std::string::npos) << "the first faulty file is reported first: " << fault;
    dir.Write("Meter.txt", ReadText(kDictionaryFolder + "/Meter.txt"));
    Dictionary again;
    EXPECT_EQ(DictionaryParser::Load(dir.Path(), again), dir.Path() + "/Bay B.txt: cannot be read (the dictionary needs all nine files)");
}

}  // namespace sim::test
