#include "device/DictionaryCatalog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "device/CommandProcessor.h"
#include "device/DictionaryParser.h"
#include "SourceDictionary.h"
#include "device/StateFile.h"

namespace sim::test {

namespace {

// A device at addresses 1-3 over a dictionary.
struct Device {
    explicit Device(std::shared_ptr<const Dictionary> dictionary)
        : catalog(std::move(dictionary)), values(&catalog), commands(*Persona::FromName("controller"), values, "CF 14") {}
    DictionaryCatalog catalog;
    ValueStore values;
    CommandProcessor commands;
};

// Arm codes with the ranges the write checks are about.
const char* const kArmText = R"(
code: 104
name: 104 Arm Name
register: 11 0 0
instances: 0
min: 0
max: 6
format: %s
width: 6
precision: 0
help: Name.
default: ARM
level: 2

code: 105
name: 105 Offset
register: 11 3 0
instances: 0
min: -5
max: 9999
format: %*ld
width: 4
precision: 0
help: Offset.
default: 0
level: 2

code: 106
name: 106 Mode
register: 11 1 0
instances: 0
flags: option
min: 0
max: 2
format: %*d
width: 1
precision: 0
help: Mode.
option: A
option: B
option: C
default: 1
level: 2

code: 107
name: 107 Mask
register: 11 8 0
instances: 0
min: 0
max: 65535
format: %*lX
width: 4
precision: 0
help: Mask.
default: 255
level: 2

code: 108
name: 108 Big Count
register: 11 8 1
instances: 0
min: 0
max: 4294967295
format: %*lu
width: 1
precision: 0
help: Count.
default: 0
level: 2

code: 205
name: 205 Factor
register: 11 4 0
instances: 0
min: 0.1
max: 999.9
format: %*.*f
width: 1
precision: 2
help: Factor.
default: 1.00
level: 3

code: 210
name: 210 Flow Now
register: 11 4 1
instances: 0
flags: read-only
min: 0
max: 9999
format: %*.*f
width: 1
precision: 1
help: Flow.
default: 0.0
level: none
)";

std::shared_ptr<Dictionary> Arm() {
    auto d = std::make_shared<Dictionary>();
    EXPECT_EQ(DictionaryParser::Parse(kArmText, "Arm.txt", 2, *d), "");
    return d;
}

}  // namespace

TEST(SimCatalog, MnemonicsNameTheirDirectoryAndInstance) {
    using P = std::optional<std::pair<int, int>>;
    EXPECT_EQ(Dictionary::FromMnemonic("CF"), P({0, 0}));
    EXPECT_EQ(Dictionary::FromMnemonic("SY"), P({1, 0}));
    EXPECT_EQ(Dictionary::FromMnemonic("AR"), P({2, 0}));
    EXPECT_EQ(Dictionary::FromMnemonic("M1"), P({3, 0}));
    EXPECT_EQ(Dictionary::FromMnemonic("M6"), P({3, 5}));
    EXPECT_EQ(Dictionary::FromMnemonic("P1"), P({4, 0}));
    EXPECT_EQ(Dictionary::FromMnemonic("P6"), P({4, 5}));
    EXPECT_EQ(Dictionary::FromMnemonic("01"), P({5, 0}));
    EXPECT_EQ(Dictionary::FromMnemonic("50"), P({5, 49}));
    EXPECT_EQ(Dictionary::FromMnemonic("BA"), P({6, 0}));
    EXPECT_EQ(Dictionary::FromMnemonic("BB"), P({7, 0}));
    for (const char* none : {"M0", "M7", "P0", "P7", "00", "51", "99", "BC", "sy", "S", "SYS", "", "M", "A1"}) {
        EXPECT_FALSE(Dictionary::FromMnemonic(none)) << none;
    }
}

TEST(SimCatalog, EveryCodeStartsWithItsDefaultAtEveryAddressAndInstance) {
    const auto dictionary = SourceDictionary();
    Device device(dictionary);
    const Definition* totals = dictionary->Code(3, 732);
    ASSERT_NE(totals, nullptr);
    for (int address : {1, 2, 99}) {
        for (const char* meter : {"M1", "M4", "M6"}) {
            EXPECT_EQ(device.commands.Handle(address, std::string("PV ") + meter + " 732"),
                      std::string("PV ") + meter + " 732 " + totals->defaultValue);
            EXPECT_EQ(device.commands.Handle(address, std::string("XV ") + meter + " 732"),
                      std::string("XV ") + meter + " 732 " + std::to_string(totals->level));
        }
    }
    // Every code of every directory, under each of its mnemonics.
    for (const DirectoryKind& kind : Dictionary::Kinds()) {
        for (const auto& [number, code] : dictionary->Codes(kind.type)) {
            const std::string mnemonic = kind.type == Dictionary::kRecipe ? "50"
                                         : std::string(kind.mnemonic).size() == 1 ? std::string(kind.mnemonic) + "6"
                                                                                   : kind.mnemonic;
            const CodeValue* value = device.values.Find(2, mnemonic, number);
            ASSERT_NE(value, nullptr) << mnemonic << " " << number;
            EXPECT_EQ(value->value, code.defaultValue);
            EXPECT_EQ(value->level, code.level);
        }
    }
    // A code without security level reads as 0, which the program takes for none.
    const Definition* none = nullptr;
    for (const auto& [number, code] : dictionary->Codes(1)) {
        if (code.level == Definition::kLevelNone) none = &code;
    }
    ASSERT_NE(none, nullptr);
    char command[32];
    std::snprintf(command, sizeof command, "XV SY %03d", none->number);
    EXPECT_EQ(device.commands.Handle(1, command), std::string(command) + " 0");
    // Codes the dictionary lacks do not exist.
    int missing = 0;
    while (dictionary->Code(1, missing)) ++missing;
    std::snprintf(command, sizeof command, "PV SY %03d", missing);
    EXPECT_EQ(device.commands.Handle(1, command), "NO14");
    EXPECT_EQ(device.commands.Handle(1, "PV 51 001"), "NO14");
    EXPECT_EQ(device.commands.Handle(1, "PV M7 732"), "NO14");
}

TEST(SimCatalog, StateFileValuesStandOverTheDefaults) {
    const auto dictionary = SourceDictionary();
    ASSERT_EQ(dictionary->Code(1, 999), nullptr);
    Device device(dictionary);
    ASSERT_EQ(StateFile::Parse("[2]\nM3 732 5 11:30P\nSY 999 - out of the dictionary\n", {1, 2}, device.values), "");
    EXPECT_EQ(device.commands.Handle(2, "PV M3 732"), "PV M3 732 11:30P");
    EXPECT_EQ(device.commands.Handle(2, "XV M3 732"), "XV M3 732 5");
    EXPECT_EQ(device.commands.Handle(1, "PV M3 732"), "PV M3 732 06:00A");
    EXPECT_EQ(device.commands.Handle(2, "PV SY 999"), "PV SY 999 out of the dictionary");
    // A code only the state file knows takes any value.
    EXPECT_EQ(device.commands.Handle(2, "PC SY 999 anything at all"), "PC SY 999 anything at all");
}

TEST(SimCatalog, WritesAreCheckedAgainstTheDefinition) {
    Device device(Arm());
    struct Case {
        const char* command;
        const char* reply;  // nullptr: taken and echoed
    };
    const std::vector<Case> cases{
        // Text: up to its length, blanks included.
        {"PC AR 104 ABCDEF", nullptr}, {"PC AR 104 ", nullptr}, {"PC AR 104 AB DEF", nullptr},
        {"PC AR 104 ABCDEFG", "NO03"},
        // Signed integer within min..max, zero-padded or with blanks as the formats give it.
        {"PC AR 105 -5", nullptr}, {"PC AR 105 9999", nullptr}, {"PC AR 105 0042", nullptr},
        {"PC AR 105  12", nullptr}, {"PC AR 105 -6", "NO03"}, {"PC AR 105 10000", "NO03"},
        {"PC AR 105 1.5", "NO03"}, {"PC AR 105 12a", "NO03"}, {"PC AR 105 ", "NO03"}, {"PC AR 105 -", "NO03"},
        {"PC AR 105 00000000000000000007", nullptr}, {"PC AR 105 99999999999999999999", "NO03"},
        // Option index.
        {"PC AR 106 0", nullptr}, {"PC AR 106 2", nullptr}, {"PC AR 106 3", "NO03"}, {"PC AR 106 B", "NO03"},
        // Hexadecimal by its format.
        {"PC AR 107 FFFF", nullptr}, {"PC AR 107 00ff", nullptr}, {"PC AR 107 10000", "NO03"}, {"PC AR 107 G", "NO03"},
        // Unsigned 32 bits: the float max (4294967296) does not stretch the range.
        {"PC AR 108 4294967295", nullptr}, {"PC AR 108 4294967296", "NO03"}, {"PC AR 108 -1", "NO03"},
        // Reals compared as the nearest float, so the bounds themselves pass.
        {"PC AR 205 0.1", nullptr}, {"PC AR 205 999.9", nullptr}, {"PC AR 205 012.50", nullptr},
        {"PC AR 205 1.5E+01", nullptr}, {"PC AR 205 0.09", "NO03"}, {"PC AR 205 999.91", "NO03"},
        {"PC AR 205 1,5", "NO03"}, {"PC AR 205 nan", "NO03"}, {"PC AR 205 1e", "NO03"}, {"PC AR 205 .", "NO03"},
        {"PC AR 205 .5", nullptr}, {"PC AR 205 1e999", "NO03"},
        // Read-only codes take no writes at all.
        {"PC AR 210 1.0", "NO06"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(device.commands.Handle(3, c.command), c.reply ? c.reply : c.command) << c.command;
    }
    // A refused write leaves the value; a taken one is kept as sent.
    EXPECT_EQ(device.commands.Handle(3, "PV AR 105"), "PV AR 105 00000000000000000007");
    EXPECT_EQ(device.commands.Handle(3, "PV AR 210"), "PV AR 210 0.0");
    EXPECT_EQ(device.commands.Handle(3, "PV AR 104"), "PV AR 104 AB DEF");
    // Security levels are not values.
    EXPECT_EQ(device.commands.Handle(3, "XC AR 106 3"), "XC AR 106 3");
}

}  // namespace sim::test
