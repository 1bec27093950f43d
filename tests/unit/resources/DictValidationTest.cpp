#include <gtest/gtest.h>

#include "DictTestSupport.h"
#include "dictgen/DictValidator.h"

namespace qs::test {
namespace {

using dictgen::DictValidator;

// Expects a fault naming `file` and `line` whose message holds `words`, and no outputs.
void ExpectFault(const DictCompilation& c, const std::string& file, int line, const std::string& words) {
    EXPECT_TRUE(c.outputs.empty()) << "a faulty source must not produce files";
    for (const auto& e : c.errors)
        if (e.file == file && e.line == line && e.message.find(words) != std::string::npos) return;
    ADD_FAILURE() << "expected " << file << ":" << line << " \"" << words << "\"; got:\n" << ErrorList(c);
}

DictCompilation CompileOne(const std::string& stem, const std::string& text) { return CompileTexts({{stem, text}}); }

SourceBlock Good(int number, const std::string& reg) {
    char name[32];
    std::snprintf(name, sizeof name, "%03d Good Code", number);
    return SourceBlock::Code(number, name, reg);
}

TEST(DictValidation, AWellFormedSourceCompiles) {
    std::string text = Join({Good(101, "4 2 0"), Good(102, "4 2 1")});
    DictCompilation c = CompileOne("Arm", text);
    EXPECT_TRUE(c.errors.empty()) << ErrorList(c);
    EXPECT_EQ(c.outputs.size(), 2u);
}

TEST(DictValidation, SyntaxFaultsNameTheirLine) {
    {
        std::string text = "# header\nname: 101 Early\n" + Join({Good(101, "4 2 0")});
        ExpectFault(CompileOne("Arm", text), "Arm.txt", 2, "before the first \"code:\" line");
    }
    {
        std::string text = Join({Good(101, "4 2 0").Add("colour", "red")});
        ExpectFault(CompileOne("Arm", text), "Arm.txt", LineWith(text, "colour:"), "unknown key \"colour\"");
    }
    {
        std::string text = Join({Good(101, "4 2 0")});
        text.insert(text.find("help:"), "just some words\n");
        ExpectFault(CompileOne("Arm", text), "Arm.txt", LineWith(text, "just some words"), "expected \"key: value\"");
    }
    {
        std::string text = Join({Good(101, "4 2 0").Add("width", "3")});
        ExpectFault(CompileOne("Arm", text), "Arm.txt", LineWith(text, "width: 3"), "\"width\" given twice");
    }
    {
        std::string text = Join({Good(101, "4 2 0").Drop("help")});
        ExpectFault(CompileOne("Arm", text), "Arm.txt", LineWith(text, "code: 101"), "code 101 has no \"help\"");
    }
    {
        std::string text = Join({Good(101, "4 2 0").Set("max", "1,5")});
        ExpectFault(CompileOne("Arm", text), "Arm.txt", LineWith(text, "max: 1,5"), "finite decimal number");
    }
    {
        std::string text = Join({Good(101, "4 2")});
        ExpectFault(CompileOne("Arm", text), "Arm.txt", LineWith(text, "register: 4 2"), "three whole numbers");
    }
    {
        std::string text = Join({Good(101, "4 2 0").Set("flags", "option, sparkly")});
        ExpectFault(CompileOne("Arm", text), "Arm.txt", LineWith(text, "flags:"), "unknown flag \"sparkly\"");
    }
    {
        std::string text = Join({Good(101, "4 2 0").Set("level", "6")});
        ExpectFault(CompileOne("Arm", text), "Arm.txt", LineWith(text, "level: 6"), "1 to 5 or none");
    }
    {
        // The registers file knows no program-code keys.
        std::string text = Join({SourceBlock::Register("15 2 0", "Run Value").Add("default", "1")});
        ExpectFault(CompileOne("Registers", text), "Registers.txt", LineWith(text, "default:"), "unknown key \"default\"");
    }
}

TEST(DictValidation, FieldSizesAndTextsAreHeldToTheRecord) {
    {
        std::string longName = "101 " + std::string(38, 'N');  // 42 characters: no room for the NUL
        std::string text = Join({Good(101, "4 2 0").Set("name", longName)});
        ExpectFault(CompileOne("Arm", text), "Arm.txt", LineWith(text, "name:"), "42 characters, at most 41 fit");
        std::string fits = Join({Good(101, "4 2 0").Set("name", longName.substr(0, 41))});
        EXPECT_TRUE(CompileOne("Arm", fits).errors.empty());
    }
    {
        std::string text = Join({Good(101, "4 2 0").Set("help", std::string(150, 'h'))});
        ExpectFault(CompileOne("Arm", text), "Arm.txt", LineWith(text, "help:"), "at most 149 fit");
    }
    {
        std::string text = Join({Good(101, "4 2 0").Set("name", "Good Code")});
        ExpectFault(CompileOne("Arm", text), "Arm.txt", LineWith(text, "name:"), "must begin with \"101 \"");
    }
    {
        // Recipe names carry two digits.
        std::string text = Join({SourceBlock::Code(7, "007 Recipe Code", "14 2 0")});
        ExpectFault(CompileOne("Recipe", text), "Recipe.txt", LineWith(text, "name:"), "must begin with \"07 \"");
        std::string good = Join({SourceBlock::Code(7, "07 Recipe Code", "14 2 0")});
        EXPECT_TRUE(CompileOne("Recipe", good).errors.empty()) << ErrorList(CompileOne("Recipe", good));
    }
    {
        std::string text = Join({Good(101, "4 2 0").Set("name", "101 Flow {O")});
        ExpectFault(CompileOne("Arm", text), "Arm.txt", LineWith(text, "name:"), "\"{\" may not appear");
    }
    {
        std::string text = Join({Good(101, "39 2 0")});
        ExpectFault(CompileOne("Arm", text), "Arm.txt", LineWith(text, "register:"), "dictionary directory 39 is not 0-38");
    }
    {
        std::string text = Join({Good(101, "4 10 0")});
        ExpectFault(CompileOne("Arm", text), "Arm.txt", LineWith(text, "register:"), "data type 10 is not 0-9");
    }
    {
        std::string text = Join({Good(101, "4 2 0").Set("instances", "256")});
        ExpectFault(CompileOne("Arm", text), "Arm.txt", LineWith(text, "instances:"), "not 0-255");
    }
    {
        std::string text = Join({Good(101, "4 0 0").Set("format", "%s").Set("max", "40").Set("default", "")});
        ExpectFault(CompileOne("Arm", text), "Arm.txt", LineWith(text, "max: 40"), "whole number 1-39");
    }
    {
        std::string text = Join({Good(101, "4 0 0").Set("format", "%s").Set("max", "4").Set("default", "TOOLONG")});
        ExpectFault(CompileOne("Arm", text), "Arm.txt", LineWith(text, "default:"), "longer than the maximum length");
    }
}

TEST(DictValidation, OptionListsMustMatchTheirFlagAndMaximum) {
    auto list = [](SourceBlock b) {
        return b.Set("flags", "option").Set("max", "1").Set("width", "1").Set("default", "0").Add("option", "No").Add("option", "Yes");
    };
    EXPECT_TRUE(CompileOne("Arm", Join({list(Good(101, "4 6 0"))})).errors.empty());
    {
        std::string text = Join({list(Good(101, "4 6 0")).Set("max", "2")});
        ExpectFault(CompileOne("Arm", text), "Arm.txt", LineWith(text, "max: 2"), "max 1 (the index of its last option)");
    }
    {
        std::string text = Join({Good(101, "4 6 0").Set("flags", "option")});
        ExpectFault(CompileOne("Arm", text), "Arm.txt", LineWith(text, "flags:"), "needs \"option:\" lines");
    }
    {
        std::string text = Join({Good(101, "4 6 0").Add("option", "Stray")});
        ExpectFault(CompileOne("Arm", text), "Arm.txt", LineWith(text, "option: Stray"), "need the option flag");
    }
    {
        std::string text = Join({list(Good(101, "4 6 0")).Set("default", "2")});
        ExpectFault(CompileOne("Arm", text), "Arm.txt", LineWith(text, "default: 2"), "outside 0 to 1");
    }
    {
        std::string text = Join({list(Good(101, "4 6 0")).Set("max", "2").Add("option", "")});
        ExpectFault(CompileOne("Arm", text), "Arm.txt", LineAtOffset(text, text.rfind("option:")), "\"option\" is empty");
        text = Join({list(Good(101, "4 6 0")).Set("max", "2").Add("option", std::string(42, 'x'))});
        ExpectFault(CompileOne("Arm", text), "Arm.txt", LineWith(text, std::string(42, 'x')), "at most 41 fit");
    }
}

TEST(DictValidation, FormatsMustFitTheDataType) {
    EXPECT_EQ(DictValidator::CheckFormat("%*d", 2), "");
    EXPECT_EQ(DictValidator::CheckFormat("%0*d", 1), "");
    EXPECT_EQ(DictValidator::CheckFormat("%*ld", 3), "");
    EXPECT_EQ(DictValidator::CheckFormat("%*lu", 8), "");
    EXPECT_EQ(DictValidator::CheckFormat("%-*.*f", 4), "");
    EXPECT_EQ(DictValidator::CheckFormat("%*.*E", 5), "");
    EXPECT_EQ(DictValidator::CheckFormat("%s", 0), "");
    EXPECT_NE(DictValidator::CheckFormat("%*d", 3), "");       // a long is passed
    EXPECT_NE(DictValidator::CheckFormat("%*d", 8), "");
    EXPECT_NE(DictValidator::CheckFormat("%*d", 4), "");       // a double with no precision
    EXPECT_NE(DictValidator::CheckFormat("%*.*d", 2), "");     // precision on an integer
    EXPECT_NE(DictValidator::CheckFormat("%d", 2), "");        // width must come from the record
    EXPECT_NE(DictValidator::CheckFormat("%*d%s", 2), "");     // a second conversion
    EXPECT_NE(DictValidator::CheckFormat("%*n", 2), "");
    EXPECT_NE(DictValidator::CheckFormat("%*s", 2), "");
    EXPECT_NE(DictValidator::CheckFormat("%--*d", 2), "");
    EXPECT_NE(DictValidator::CheckFormat("%-10s", 0), "");
    EXPECT_NE(DictValidator::CheckFormat("%+-#0 *.*f", 4), "");  // ten characters: does not fit the field

    std::string text = Join({Good(101, "4 4 0").Set("format", "%*d")});
    ExpectFault(CompileOne("Arm", text), "Arm.txt", LineWith(text, "format:"), "format \"%*d\"");
    text = Join({Good(101, "4 2 0").Set("precision", "2")});
    ExpectFault(CompileOne("Arm", text), "Arm.txt", LineWith(text, "precision:"), "only real codes");
}

TEST(DictValidation, RangesAndDefaultsAreChecked) {
    {
        std::string text = Join({Good(101, "4 2 0").Set("min", "10").Set("max", "5").Set("default", "7")});
        ExpectFault(CompileOne("Arm", text), "Arm.txt", LineWith(text, "min: 10"), "min 10 is above max 5");
    }
    {
        std::string text = Join({Good(101, "4 2 0").Set("default", "100")});
        ExpectFault(CompileOne("Arm", text), "Arm.txt", LineWith(text, "default: 100"), "100 lies outside 0 to 99");
    }
    {
        std::string text = Join({Good(101, "4 2 0").Set("default", "5.5")});
        ExpectFault(CompileOne("Arm", text), "Arm.txt", LineWith(text, "default: 5.5"), "not a whole number");
    }
    {
        std::string text = Join({Good(101, "4 4 0").Set("format", "%*.*f").Set("precision", "1").Set("default", "abc")});
        ExpectFault(CompileOne("Arm", text), "Arm.txt", LineWith(text, "default: abc"), "not a decimal number");
    }
    {
        std::string text = Join({Good(101, "4 8 0").Set("format", "%*lu").Set("max", "5000000000")});
        ExpectFault(CompileOne("Arm", text), "Arm.txt", LineWith(text, "max: 5000000000"), "does not fit data type 8");
    }
    {
        // The largest IPv4 address fits an unsigned code.
        std::string text = Join({Good(101, "4 8 0").Set("format", "%*lu").Set("max", "4294967295").Set("default", "3232235521")});
        EXPECT_TRUE(CompileOne("Arm", text).errors.empty()) << ErrorList(CompileOne("Arm", text));
    }
}

TEST(DictValidation, CodeNumbersMustBeUniqueReachableAndFoundWhereListed) {
    {
        std::string text = Join({Good(101, "4 2 0"), Good(101, "4 2 1")});
        int second = LineAtOffset(text, text.find("code: 101", text.find("code: 101") + 1));
        ExpectFault(CompileOne("Arm", text), "Arm.txt", second, "Arm 101 is defined twice");
    }
    {
        // The loader files 200 under "100-General Purpose", the lookup under "200-Flow Control".
        std::string text = Join({Good(101, "4 2 0"), Good(200, "4 2 1")});
        ExpectFault(CompileOne("Arm", text), "Arm.txt", LineWith(text, "code: 200"),
                    "listed under subdirectory 1 \"100-General Purpose\" but looked up in subdirectory 2");
    }
    {
        // Arm starts at subdirectory 1: a 0xx code would be listed there but looked up in 0.
        std::string text = Join({Good(50, "4 2 0")});
        ExpectFault(CompileOne("Arm", text), "Arm.txt", LineWith(text, "code: 50"), "looked up in subdirectory 0");
    }
    {
        // System's 0xx codes come last in its walk and belong to the additives.
        std::string text = Join({Good(23, "4 2 0"), Good(801, "4 2 1"), Good(101, "4 2 2")});
        DictCompilation c = CompileOne("System", text);
        EXPECT_TRUE(c.errors.empty()) << ErrorList(c);
    }
    {
        // Config's unnamed subdirectory 4 belongs to "300-Digital Inputs", even for 400.
        std::string text = Join({Good(301, "4 2 0"), Good(400, "4 2 1"), Good(472, "4 2 2"), Good(600, "4 2 3")});
        DictCompilation c = CompileOne("Config", text);
        EXPECT_TRUE(c.errors.empty()) << ErrorList(c);
    }
    {
        SourceBlock b = SourceBlock::Code(100, "100 Beyond", "14 2 0");
        std::string text = Join({b});
        ExpectFault(CompileOne("Recipe", text), "Recipe.txt", LineWith(text, "code: 100"), "reaches only codes 0-99");
    }
    {
        std::string text = Join({Good(101, "4 2 0"), SourceBlock::Code(1000, "1000 Beyond", "4 2 1")});
        ExpectFault(CompileOne("System", text), "System.txt", LineWith(text, "code: 1000"), "reaches only codes 0-999");
    }
}

TEST(DictValidation, RegistersAreUniqueSharedOnlyWhenEqualAndWithoutGaps) {
    {
        std::string text = Join({Good(101, "4 2 0"), Good(102, "4 2 0")});
        int second = LineAtOffset(text, text.find("register: 4 2 0", text.find("register: 4 2 0") + 1));
        ExpectFault(CompileOne("Arm", text), "Arm.txt", second,
                    "register 4 2 0 is already defined at Arm.txt:" + std::to_string(LineWith(text, "code: 101")));
    }
    {
        std::string text = Join({Good(101, "4 2 0"), Good(102, "4 2 2")});
        ExpectFault(CompileOne("Arm", text), "Arm.txt", LineWith(text, "register: 4 2 2"),
                    "dictionary directory 4 data type 2 has no position 1 before position 2");
    }
    {
        std::string text = Join({Good(101, "4 2 1")});
        ExpectFault(CompileOne("Arm", text), "Arm.txt", LineWith(text, "register: 4 2 1"), "has no position 0");
    }
    {
        // Two bays share their registers when the definitions agree in every field...
        std::string bay = Join({Good(101, "37 2 0").Set("instances", "2")});
        DictCompilation c = CompileTexts({{"Bay A", bay}, {"Bay B", bay}});
        ASSERT_TRUE(c.errors.empty()) << ErrorList(c);
        EXPECT_EQ(OutputRecords(c, "PARAM.DAT").size(), 1u);
        EXPECT_EQ(OutputRecords(c, "Bay A.SD3").size(), 1u);
        EXPECT_EQ(OutputRecords(c, "Bay B.SD3").size(), 1u);
        // ...and not when one field differs.
        std::string other = Join({Good(101, "37 2 0").Set("instances", "2").Set("help", "Other help.")});
        c = CompileTexts({{"Bay A", bay}, {"Bay B", other}});
        ExpectFault(c, "Bay B.txt", LineWith(other, "register:"), "with a different definition");
    }
    {
        // A register of the registers file cannot also be a program code's.
        std::string regs = Join({SourceBlock::Register("15 2 0", "Run Value")});
        std::string arm = Join({Good(101, "15 2 0")});
        DictCompilation c = CompileTexts({{"Arm", arm}, {"Registers", regs}});
        ExpectFault(c, "Registers.txt", LineWith(regs, "register: 15 2 0"), "only codes of different directories");
    }
}

TEST(DictValidation, EveryFaultIsReportedNotOnlyTheFirst) {
    std::string arm = Join({Good(101, "4 2 0").Set("default", "100"), Good(102, "4 2 1").Set("name", "Nameless")});
    std::string sys = Join({Good(101, "4 2 5")});
    DictCompilation c = CompileTexts({{"Arm", arm}, {"System", sys}});
    EXPECT_GE(c.errors.size(), 3u) << ErrorList(c);
    ExpectFault(c, "Arm.txt", LineWith(arm, "default: 100"), "outside");
    ExpectFault(c, "Arm.txt", LineWith(arm, "name: Nameless"), "must begin with");
    ExpectFault(c, "System.txt", LineWith(sys, "register: 4 2 5"), "no position 2");
}

TEST(DictValidation, UnknownSourceStemIsRefused) {
    DictCompilation c = CompileTexts({{"Tanks", Join({Good(101, "4 2 0")})}});
    ExpectFault(c, "Tanks.txt", 0, "neither a directory nor the registers file");
}

}  // namespace
}  // namespace qs::test
