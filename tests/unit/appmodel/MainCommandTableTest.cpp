// The main window's command table: menus in the order their rows came, a later row taking the
// place of the one it replaces, and which commands are enabled and run.
#include <gtest/gtest.h>

#include "appmodel/shell/MainCommandTable.h"

namespace qs::test {
namespace {

MainCommandRow Item(int id, MainMenu menu, std::string text, std::function<void()> handler = {},
                    std::function<bool()> enabled = {}) {
    return MainCommandRow::Command(id, menu, std::move(text), std::move(handler), std::move(enabled));
}

std::vector<std::string> Texts(const MainCommandTable& t, MainMenu menu) {
    std::vector<std::string> out;
    for (const MainCommandRow* r : t.RowsOf(menu)) out.push_back(r->kind == MainCommandRow::Kind::Separator ? "-" : r->text);
    return out;
}

TEST(MainCommandTable, KeepsEachMenusOrderAndALaterRowTakesThePlaceOfItsId) {
    MainCommandTable t;
    t.Register(Item(1, MainMenu::File, "&New"));
    t.Register(MainCommandRow::Submenu(MainMenu::File, "New &Side Document", MainMenu::NewSideDocument));
    t.Register(Item(10, MainMenu::NewSideDocument, "&Report"));
    t.Register(MainCommandRow::Separator(MainMenu::File));
    t.Register(Item(2, MainMenu::File, "E&xit"));
    t.Register(Item(11, MainMenu::NewSideDocument, "&Translation"));
    // The same id in another menu is a row of its own.
    t.Register(Item(2, MainMenu::BarPopup, "E&xit"));
    int made = 0;
    t.Register(Item(10, MainMenu::NewSideDocument, "&Report Configuration", [&made] { ++made; }));
    EXPECT_EQ(Texts(t, MainMenu::File), (std::vector<std::string>{"&New", "New &Side Document", "-", "E&xit"}));
    EXPECT_EQ(Texts(t, MainMenu::NewSideDocument), (std::vector<std::string>{"&Report Configuration", "&Translation"}));
    EXPECT_EQ(t.CommandIds(), (std::vector<int>{1, 10, 2, 11}));
    EXPECT_TRUE(t.Run(10));
    EXPECT_EQ(made, 1);
    EXPECT_EQ(t.Find(99), nullptr);
}

TEST(MainCommandTable, OnlyARowWithAHandlerWhoseRuleHoldsIsEnabledAndRuns) {
    MainCommandTable t;
    bool allowed = false;
    int runs = 0;
    t.Register(Item(1, MainMenu::Edit, "elsewhere"));
    t.Register(Item(2, MainMenu::Edit, "off", {}, [] { return true; }));
    t.Register(Item(3, MainMenu::Edit, "ruled", [&runs] { ++runs; }, [&allowed] { return allowed; }));
    t.Register(Item(4, MainMenu::Edit, "always", [&runs] { ++runs; }));
    for (int id : {1, 2, 3, 99}) {
        EXPECT_FALSE(t.IsEnabled(id)) << id;
        EXPECT_FALSE(t.Run(id)) << id;
    }
    EXPECT_EQ(runs, 0);
    allowed = true;
    EXPECT_TRUE(t.Run(3));
    EXPECT_TRUE(t.Run(4));
    EXPECT_EQ(runs, 2);
}

}  // namespace
}  // namespace qs::test
