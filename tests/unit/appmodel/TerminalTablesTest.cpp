// The terminal's fixed tables: the canned commands of its menu, the status flags WAITFOR
// knows, and its row among the device frame's commands.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "DocumentFixtures.h"
#include "RecordingUi.h"
#include "TempDir.h"
#include "appmodel/terminal/CannedCommands.h"
#include "appmodel/terminal/StatusFlags.h"
#include "appmodel/terminal/TerminalTool.h"
#include "link/ComPortTable.h"
#include "platform/ProcessLauncher.h"
#include "programdata/AppOptions.h"

namespace qs::test {
namespace {

TEST(TerminalCannedCommands, EveryGroupWithItsCommandsInOrder) {
    const std::vector<std::pair<std::string, std::string>> groups = {
        {"&Status", "EQ EA EE RS RA SR RR GP LO TS TR CF CV HP SW"},
        {"System Data", "GD PV FL RD RQ PF VT AN SD PC XV XC IC IR OA BA MC MR VC VD"},
        {"Transaction Data", "AT AV LT LP LC LD RB RP RT TI TN CP DS LS VB VX PN PX"},
        {"Historical Data", "ER ES PR PS"},
        {"User Data", "BR BW SV"},
        {"Keypad/Display", "WD WA WB WC WP WQ WX RK DA GK DY FS SS"},
        {"Control", "AB AO AP AR AU CT ET OR RE PP PT SB SF EB SA SP ST TA TD TW MS NR"},
        {"Blend Data", "MP RC RF RL RN"},
        {"Card Reader", "CD DI DD DQ DU"},
    };
    ASSERT_EQ(CannedCommands::Groups().size(), groups.size());
    std::set<int> ids;
    for (size_t g = 0; g < groups.size(); ++g) {
        const CannedGroup& group = CannedCommands::Groups()[g];
        SCOPED_TRACE(group.title);
        EXPECT_EQ(group.title, groups[g].first);
        std::string mnemonics;
        for (const CannedCommand& c : group.commands) {
            mnemonics += (mnemonics.empty() ? "" : " ") + std::string(c.mnemonic);
            EXPECT_TRUE(ids.insert(c.id).second) << c.id;
            // A hundred ids a group.
            EXPECT_EQ(c.id / 100, 181 + static_cast<int>(g)) << c.mnemonic;
            EXPECT_EQ(CannedCommands::Find(c.id), &c);
        }
        EXPECT_EQ(mnemonics, groups[g].second);
    }
    EXPECT_EQ(*ids.begin(), 18101);
    EXPECT_EQ(*ids.rbegin(), 18905);
    EXPECT_EQ(CannedCommands::Find(18125)->mnemonic, std::string("HP"));
    EXPECT_EQ(CannedCommands::Find(18320)->mnemonic, std::string("LC"));
}

TEST(TerminalCannedCommands, WhatEachPutsIntoTheEntry) {
    const std::set<std::string> runAtOnce = {"EQ", "RS", "SR", "RR", "GP", "LO", "EE", "CV", "CF", "SW",
                                             "GD", "PF", "IR", "OA", "BA", "RP", "RK", "GK", "DA", "FS",
                                             "SS", "EB", "ET", "CT", "SA", "ST", "SP", "DU"};
    const std::set<std::string> bare = {"FL", "RQ", "RB", "TN", "CP", "AU", "AP", "PP", "PT"};
    const std::set<std::string> none = {"HP", "LC"};
    for (const CannedGroup& group : CannedCommands::Groups()) {
        for (const CannedCommand& c : group.commands) {
            const std::string m = c.mnemonic;
            SCOPED_TRACE(m);
            const std::optional<std::string> text = CannedCommands::TextOf(c.id);
            if (none.count(m)) EXPECT_FALSE(text);
            else if (runAtOnce.count(m)) EXPECT_EQ(text, m + "\r");
            else if (bare.count(m)) EXPECT_EQ(text, m);
            else EXPECT_EQ(text, m + " ");
        }
    }
    EXPECT_FALSE(CannedCommands::TextOf(18000));
}

TEST(TerminalCannedCommands, MenuTextsPickALetterOnceAGroupAndHelpFollowsTheEntry) {
    EXPECT_EQ(CannedCommands::MenuText(*CannedCommands::Find(18101)), "&EQ - Status Bitmap\tF4");
    EXPECT_EQ(CannedCommands::MenuText(*CannedCommands::Find(18102)), "E&A - Alarm Bitmap");
    EXPECT_EQ(CannedCommands::MenuText(*CannedCommands::Find(18901)), "&CD - Card Run Data");
    // Each item one letter of its own text; letters repeat only where a group runs out of them.
    int repeats = 0;
    for (const CannedGroup& group : CannedCommands::Groups()) {
        std::set<char> picked;
        for (const CannedCommand& c : group.commands) {
            const std::string text = CannedCommands::MenuText(c);
            const size_t amp = text.find('&');
            ASSERT_NE(amp, std::string::npos) << text;
            EXPECT_EQ(text.find('&', amp + 1), std::string::npos) << text;
            if (!picked.insert(static_cast<char>(std::toupper(text[amp + 1]))).second) ++repeats;
            EXPECT_EQ(text.substr(0, amp) + text.substr(amp + 1, text.find('\t') - amp - 1),
                      std::string(c.mnemonic) + " - " + c.description);
        }
    }
    EXPECT_EQ(repeats, 4);
    EXPECT_EQ(CannedCommands::HelpIdForEntry("PV SY 111"), 8202);
    EXPECT_EQ(CannedCommands::HelpIdForEntry("EQ"), 8101);
    EXPECT_EQ(CannedCommands::HelpIdForEntry("ZZ"), 130);
    EXPECT_EQ(CannedCommands::HelpIdForEntry("H"), 130);
}

TEST(TerminalStatusFlags, SixtyThreeFlagsFoundInEitherCase) {
    ASSERT_EQ(StatusFlags::Table().size(), StatusFlags::kCount);
    std::set<std::string> names;
    for (const StatusFlag& f : StatusFlags::Table()) {
        EXPECT_TRUE(names.insert(f.name).second) << f.name;
        EXPECT_LT(f.position, 16u);
        EXPECT_TRUE(f.mask == 1 || f.mask == 2 || f.mask == 4 || f.mask == 8) << f.name;
    }
    struct Row {
        const char* text;
        size_t position;
        unsigned mask;
    };
    for (const Row& row : {Row{"AU", 0, 1}, Row{"au", 0, 1}, Row{"Pw extra", 0, 8}, Row{"IF", 7, 1},
                           Row{"JQ", 14, 8}, Row{"CD", 15, 2}, Row{"PP", 15, 8}}) {
        const std::optional<StatusFlag> f = StatusFlags::Find(row.text);
        ASSERT_TRUE(f) << row.text;
        EXPECT_EQ(f->position, row.position) << row.text;
        EXPECT_EQ(f->mask, row.mask) << row.text;
    }
    EXPECT_FALSE(StatusFlags::Find("ZZ"));
    EXPECT_FALSE(StatusFlags::Find("A"));
    // The raw character of the reply is tested: '9' is 0x39, bits 1 and 8.
    const StatusFlag pw = *StatusFlags::Find("PW");
    EXPECT_TRUE(pw.IsSetIn("9"));
    EXPECT_TRUE(StatusFlags::Find("AU")->IsSetIn("9"));
    EXPECT_FALSE(StatusFlags::Find("FL")->IsSetIn("9"));
    EXPECT_FALSE(StatusFlags::Find("JA")->Readable("0123456789"));
}

TEST(TerminalToolRow, TakesTheTerminalRowWithItsKeyAndRule) {
    RecordingUi ui;
    TempDir empty;
    AppOptions options;
    ComPortTable ports;
    ProcessLauncher launcher;
    CVexa3Doc doc(ports, FilesIn(empty.Path()));
    AppServices services{.ui = ui.services, .options = options, .ports = ports, .launcher = launcher};
    DeviceCommands commands(doc, services);
    EXPECT_EQ(commands.Table().Find(kCmdTerminalEmulator), nullptr) << "the window's own layer brings it";
    int opened = 0;
    commands.AddTool<TerminalTool>([&opened] { return ++opened > 0; });
    const DeviceCommandRow* row = commands.Table().Find(kCmdTerminalEmulator);
    ASSERT_NE(row, nullptr);
    EXPECT_STREQ(row->menuText, "&Terminal Emulator\t Alt+F10");
    EXPECT_EQ(row->accelerator.Text(), "Alt+F10");
    EXPECT_EQ(row->section, MenuSection::DeviceTools);
    EXPECT_EQ(&commands.Table().Rows()[4], row) << "first of the tools";
    EXPECT_FALSE(commands.Execute(kCmdTerminalEmulator)) << "offline";
    doc.SetState(CVexa3Doc::kStateReadOnly);
    EXPECT_TRUE(commands.Execute(kCmdTerminalEmulator));
    EXPECT_EQ(opened, 1);
}

}  // namespace
}  // namespace qs::test
