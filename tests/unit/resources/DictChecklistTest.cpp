// Every program code and register the programs name or rely on exists in the shipped files, with a
// definition that fits the way it is used.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <tuple>

#include "DictTestSupport.h"
#include "dictgen/DictEntry.h"
#include "dictgen/DirectoryTable.h"

namespace qs::test {
namespace {

using dictgen::kFlagOption;
using dictgen::kFlagReadOnly;

class DictChecklist : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const DictCompilation& c = ProjectDictionary();
        ASSERT_TRUE(c.errors.empty()) << ErrorList(c);
        for (const auto& d : dictgen::Directories()) {
            auto records = OutputRecords(c, d.name + ".SD3");
            order_[d.name] = records;
            for (auto& r : records) codes_[d.name].emplace(r.number, r);
        }
        for (auto& r : OutputRecords(c, "PARAM.DAT")) registers_.emplace(std::make_tuple(r.dictionary, r.dataType, r.position), r);
    }

    static const DefinitionRecord* Code(const std::string& dir, int number) {
        auto& m = codes_[dir];
        auto it = m.find(number);
        return it == m.end() ? nullptr : &it->second;
    }
    static const DefinitionRecord* Register(int dictionary, int type, int position) {
        auto it = registers_.find(std::make_tuple(dictionary, type, position));
        return it == registers_.end() ? nullptr : &it->second;
    }
    static bool IsOption(const DefinitionRecord& r) { return (r.flags & kFlagOption) != 0; }
    static bool IsInteger(const DefinitionRecord& r) { return r.dataType != 0 && r.dataType != 4 && r.dataType != 5; }
    // A bit field of `bits` bits, edited as check boxes and stored as "%d".
    static bool IsBitField(const DefinitionRecord& r, int bits) {
        return IsInteger(r) && !IsOption(r) && r.min == 0.0f && r.max == static_cast<float>((1ull << bits) - 1);
    }

    // Asserts the code exists and returns it (a dummy when missing, so a test can go on).
    static const DefinitionRecord& Must(const std::string& dir, int number) {
        static const DefinitionRecord none;
        const DefinitionRecord* r = Code(dir, number);
        EXPECT_NE(r, nullptr) << dir << " " << number << " is missing";
        return r ? *r : none;
    }

    static inline std::map<std::string, std::map<int, DefinitionRecord>> codes_;
    static inline std::map<std::string, std::vector<DefinitionRecord>> order_;
    static inline std::map<std::tuple<int, int, int>, DefinitionRecord> registers_;
};

// The connection probe and write test: "PV SY 111", its reply cut to 11 characters and sent back.
TEST_F(DictChecklist, ProbeCodeIsAOneDigitOption) {
    const auto& r = Must("System", 111);
    EXPECT_TRUE(IsOption(r));
    EXPECT_EQ(r.width, 1);
    EXPECT_LE(r.max, 9.0f);
    EXPECT_FALSE(r.flags & kFlagReadOnly);
}

// The interactive display needs "System Status Display" selected in System 139.
TEST_F(DictChecklist, OperatorPanelModeOffersSystemStatusDisplay) {
    const auto& r = Must("System", 139);
    ASSERT_TRUE(IsOption(r));
    EXPECT_NE(std::find(r.options.begin(), r.options.end(), "System Status Display"), r.options.end());
}

// System 156-158: the level locks, whose own level is never written or offered.
TEST_F(DictChecklist, LevelLocksExist) {
    for (int n : {156, 157, 158}) {
        const auto& r = Must("System", n);
        EXPECT_EQ(r.dictionary, 5) << n << " belongs to the security configuration";
    }
}

// ApplyConfiguration, the totals and the arm-product count.
TEST_F(DictChecklist, LoadArmLayoutCodes) {
    const auto& arms = Must("Config", 1);
    EXPECT_TRUE(IsInteger(arms));
    EXPECT_EQ(arms.max, 6.0f);
    for (int n = 0; n < 6; ++n) {
        const auto& kind = Must("Config", 2 * n + 2);
        EXPECT_TRUE(IsOption(kind));
        EXPECT_GE(kind.max, 6.0f) << "arm kinds 0-6";
        const auto& products = Must("Config", 2 * n + 3);
        EXPECT_TRUE(IsInteger(products) && !IsOption(products));
        EXPECT_EQ(products.max, 6.0f);
        EXPECT_EQ(products.width, 1) << "read by its first digit";
        const auto& hybrid = Must("Config", n + 14);
        EXPECT_TRUE(IsInteger(hybrid));
        EXPECT_LE(hybrid.max, 5.0f) << "meters = value + 1 stays within 6";
    }
    const auto& injectors = Must("Config", 20);
    EXPECT_TRUE(IsInteger(injectors));
    EXPECT_EQ(injectors.max, 24.0f);
}

// The new-device wizard's writes into Config.
TEST_F(DictChecklist, WizardConfigCodes) {
    EXPECT_TRUE(IsOption(Must("Config", 101)));
    EXPECT_TRUE(IsOption(Must("Config", 102)));
    for (int j = 2; j <= 11; ++j) {
        const auto& function = Must("Config", 4 * j + 95);
        EXPECT_TRUE(IsOption(function));
        EXPECT_GE(function.max, 5.0f) << "density 1, metered injectors 2-5";
        EXPECT_TRUE(IsInteger(Must("Config", 4 * j + 96)));
        EXPECT_TRUE(IsInteger(Must("Config", 4 * j + 97)));
    }
    for (int base : {201, 206}) {
        EXPECT_TRUE(IsOption(Must("Config", base)));
        EXPECT_GE(Must("Config", base).max, 6.0f) << "not used + six arms";
        EXPECT_TRUE(IsOption(Must("Config", base + 1)));
        const auto& perUnit = Must("Config", base + 2);
        EXPECT_EQ(perUnit.dataType, 4);
        EXPECT_EQ(perUnit.width, 7);
        EXPECT_EQ(perUnit.precision, 3);
        const auto& source = Must("Config", base + 3);
        EXPECT_EQ(source.options, (std::vector<std::string>{"IV", "GV", "GST", "GSV", "Mass"}));
        EXPECT_GE(Must("Config", base + 4).max, 3500.0f);
    }
    // Digital inputs 0-42 (four codes each): the configuration scan reads 301 and every second
    // code after it for 43 steps; functions 45-48 mark a second bay.
    for (int p = 0; p <= 42; ++p) {
        const auto& function = Must("Config", 4 * p + 301);
        EXPECT_TRUE(IsOption(function));
        EXPECT_GE(function.max, 48.0f);
        for (int k = 2; k <= 4; ++k) EXPECT_TRUE(IsInteger(Must("Config", 4 * p + 300 + k)));
    }
    const auto& firstInput = Must("Config", 301);
    ASSERT_GE(firstInput.options.size(), 49u);
    EXPECT_NE(firstInput.options[45].find("Bay B"), std::string::npos);
    EXPECT_NE(firstInput.options[48].find("Bay B"), std::string::npos);
    // Digital outputs 0-77: functions up to 57 + 3 (metered injectors).
    for (int p = 0; p <= 77; ++p) {
        const auto& function = Must("Config", 4 * p + 501);
        EXPECT_TRUE(IsOption(function));
        EXPECT_GE(function.max, 60.0f);
        for (int k = 2; k <= 4; ++k) EXPECT_TRUE(IsInteger(Must("Config", 4 * p + 500 + k)));
    }
    // Analog channels 0-5: kind (1-4, 6), arm, meter, signal (1-4).
    for (int c = 0; c < 6; ++c) {
        EXPECT_GE(Must("Config", 901 + 10 * c).max, 6.0f);
        EXPECT_TRUE(IsInteger(Must("Config", 902 + 10 * c)));
        EXPECT_TRUE(IsInteger(Must("Config", 903 + 10 * c)));
        EXPECT_GE(Must("Config", 905 + 10 * c).max, 4.0f);
    }
}

// Arm 107 and 108 are what an arm beyond the active ones shows (rows 6 and 7 of subdirectory 1)
// and writes; Arm 109 sets the bays, Arm 110 marks extra arms.
TEST_F(DictChecklist, ArmCodesOfExtraArmsAndBays) {
    const auto& list = order_["Arm"];
    ASSERT_GE(list.size(), 8u);
    EXPECT_EQ(list[0].number, 101) << "subdirectory 1 is the first listed";
    EXPECT_EQ(list[6].number, 107);
    EXPECT_EQ(list[7].number, 108);
    for (int n = 101; n <= 110; ++n) Must("Arm", n);
    const auto& bay = Must("Arm", 109);
    EXPECT_TRUE(IsOption(bay));
    EXPECT_EQ(bay.max, 2.0f);
    EXPECT_TRUE(IsInteger(Must("Arm", 110)));
}

// The edit-dialog table: which codes open which dialog, and its boundaries.
TEST_F(DictChecklist, EditDialogTable) {
    for (int n = 602; n <= 681; ++n) {
        const DefinitionRecord* r = Code("System", n);
        if (r) {
            EXPECT_TRUE(IsBitField(*r, 5)) << "System " << n << " is an alarm bit field";
        }
    }
    Must("System", 602);
    Must("System", 681);
    EXPECT_FALSE(IsBitField(Must("System", 601), 5));
    EXPECT_FALSE(IsBitField(Must("System", 682), 5));

    for (int n = 812; n <= 881; ++n) {
        const DefinitionRecord* r = Code("System", n);
        if (n % 3 == 2) {
            ASSERT_NE(r, nullptr) << "System " << n;
            EXPECT_TRUE(IsBitField(*r, 7)) << "System " << n << " is a meter bit field (meters 1-6, downstream)";
        }
    }
    EXPECT_FALSE(IsBitField(Must("System", 813), 7));
    EXPECT_FALSE(IsBitField(Must("System", 884), 7));

    EXPECT_TRUE(IsBitField(Must("System", 98), 24)) << "one bit per additive";

    for (int n : {735, 736, 737, 780}) {
        const auto& ip = Must("System", n);
        EXPECT_EQ(ip.dataType, 8) << n;
        EXPECT_FALSE(IsOption(ip));
        EXPECT_EQ(ip.min, 0.0f);
        EXPECT_GE(ip.max, 4294967295.0f) << "any IPv4 address as one number";
    }

    for (int n = 19; n <= 88; ++n) {
        const DefinitionRecord* r = Code("Recipe", n);
        if (n % 3 == 1) {
            ASSERT_NE(r, nullptr) << "Recipe " << n;
            EXPECT_TRUE(IsBitField(*r, 6)) << "Recipe " << n << " is a product bit field";
        }
    }
    EXPECT_FALSE(IsBitField(Must("Recipe", 20), 6));
    EXPECT_FALSE(IsBitField(Must("Recipe", 91), 6));
}

// The text code the edit dialog checks as a time of day: dictionary directory 12, number 732.
TEST_F(DictChecklist, TimeOfDayCode) {
    const DefinitionRecord* found = nullptr;
    for (const auto& [dir, codes] : codes_)
        for (const auto& [number, r] : codes)
            if (number == 732 && r.dictionary == 12) found = &r;
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->dataType, 0);
    EXPECT_GE(found->max, 6.0f) << "HH:MMT";
    // Its default must pass the dialog's own check.
    const DictCompilation& c = ProjectDictionary();
    for (const auto& e : c.entries) {
        if (e.isCode && e.number == 732 && e.dictionary == 12) {
            const std::string& t = e.defaultValue;
            ASSERT_GE(t.size(), 6u);
            EXPECT_EQ(t[2], ':');
            EXPECT_NE(std::string("APMapm").find(t[5]), std::string::npos);
            EXPECT_LE(std::atoi(t.c_str()), 12);
            EXPECT_LE(std::atoi(t.c_str() + 3), 59);
        }
    }
}

// The wizard's System and Meter writes.
TEST_F(DictChecklist, WizardSystemAndMeterCodes) {
    for (int a = 0; a < 6; ++a) EXPECT_GE(Must("System", 701 + a).max, 99.0f);
    for (int m = 0; m < 24; ++m) {
        const auto& type = Must("System", 810 + 3 * m);
        EXPECT_TRUE(IsOption(type));
        EXPECT_EQ(type.max, 8.0f) << "injector types 0-8";
        EXPECT_TRUE(IsInteger(Must("System", 811 + 3 * m)));
    }
    const auto& valve = Must("Meter", 201);
    EXPECT_TRUE(IsOption(valve));
    EXPECT_EQ(valve.max, 2.0f) << "digital, two-stage, analog";
    for (int n : {402, 403}) EXPECT_GE(Must("Meter", n).max, 36.0f) << "share = arm x 6 + meter + 1";
    EXPECT_GE(Must("Meter", 501).max, 36.0f);
}

// System's 0xx codes are listed with the additives.
TEST_F(DictChecklist, SystemZeroCodesLandWithTheAdditives) {
    Must("System", 23);
    const auto* system = dictgen::FindDirectory("System");
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(system->LookupPlacement(23), 8);
    int current = 1;
    for (const auto& r : order_["System"]) {
        int placed = system->LoadPlacement(r.number, current);
        if (r.number == 23) {
            EXPECT_EQ(placed, 8);
        }
    }
}

// The totals window: product names, the arm kind, the injector count, recipe arm and name.
TEST_F(DictChecklist, TotalsCodes) {
    EXPECT_EQ(Must("Product", 101).dataType, 0);
    const auto& recipeArm = Must("Recipe", 1);
    EXPECT_TRUE(IsInteger(recipeArm));
    EXPECT_EQ(recipeArm.max, 6.0f);
    EXPECT_EQ(order_["Recipe"].front().number, 1) << "unused recipes are told by their first code";
    EXPECT_EQ(Must("Recipe", 2).dataType, 0);
    for (const auto& [number, r] : codes_["Recipe"]) EXPECT_LT(number, 100);
}

// Registers that equations and reports address by fixed fields.
TEST_F(DictChecklist, FixedRegisters) {
    const DefinitionRecord* alarm = Register(30, 6, 0);
    ASSERT_NE(alarm, nullptr) << "Set User Alarm";
    for (int p = 0; p < 16; ++p) EXPECT_NE(Register(30, 7, p), nullptr) << "timer " << p + 1;
    const DefinitionRecord* digout = Register(31, 9, 0);
    ASSERT_NE(digout, nullptr);
    EXPECT_GE(digout->instances, 121) << "outputs travel as instances 43-120";
    const DefinitionRecord* userFloat = Register(32, 4, 0);
    const DefinitionRecord* userBool = Register(32, 6, 0);
    ASSERT_TRUE(userFloat && userBool);
    EXPECT_EQ(userFloat->instances, 100);
    EXPECT_EQ(userBool->instances, 100);
    const DefinitionRecord* analogOut = Register(35, 4, 0);
    ASSERT_NE(analogOut, nullptr);
    EXPECT_EQ(analogOut->instances, 6);

    int batchReals = 0;
    for (const auto& [key, r] : registers_)
        if (std::get<0>(key) == 17 && r.dataType == 4 && r.instances > 0) ++batchReals;
    EXPECT_GE(batchReals, 4);
}

// Report conditions compare a register's instances with the first register of Batch Data,
// Product Run Data and Recipe Run Data.
TEST_F(DictChecklist, OffsetDirectoriesStartWithInstancedRegisters) {
    auto first = [&](int dictionary) -> const DefinitionRecord* {
        for (const auto& [key, r] : registers_)
            if (std::get<0>(key) == dictionary) return &r;
        return nullptr;
    };
    for (auto [dictionary, instances] : {std::pair{17, 10}, std::pair{18, 6}, std::pair{23, 50}}) {
        const DefinitionRecord* r = first(dictionary);
        ASSERT_NE(r, nullptr) << dictionary;
        EXPECT_EQ(r->instances, instances) << dictionary;
        for (const auto& [key, other] : registers_)
            if (std::get<0>(key) == dictionary) {
                EXPECT_EQ(other.instances, instances) << other.name;
            }
    }
}

// Every dictionary directory has something to pick; the picker hides directory 0's registers
// numbered below 602 and shows 602; equations leave out text registers, so numeric ones exist.
TEST_F(DictChecklist, EveryDictionaryDirectoryHasRegisters) {
    std::map<int, int> numeric, text;
    for (const auto& [key, r] : registers_) (r.dataType == 0 ? text : numeric)[std::get<0>(key)]++;
    for (int d = 0; d <= 38; ++d) EXPECT_GT(numeric[d], 0) << "dictionary directory " << d;
    int total = 0;
    for (const auto& [d, n] : text) total += n;
    EXPECT_GT(total, 0);

    bool below = false, at602 = false;
    for (const auto& [key, r] : registers_) {
        if (std::get<0>(key) != 0) continue;
        if (r.number < 602) below = true;
        if (r.number == 602) at602 = true;
    }
    EXPECT_TRUE(below);
    EXPECT_TRUE(at602);
}

// Option registers give reports a first option text; integral registers with several instances
// can be a reference whose value is an offset.
TEST_F(DictChecklist, ReportRegisterKinds) {
    bool optionRegister = false, integralInstanced = false;
    for (const auto& [key, r] : registers_) {
        if (IsOption(r) && !r.options.empty() && !r.options[0].empty()) optionRegister = true;
        if (IsInteger(r) && r.instances > 1) integralInstanced = true;
    }
    EXPECT_TRUE(optionRegister);
    EXPECT_TRUE(integralInstanced);
}

}  // namespace
}  // namespace qs::test
