#pragma once
#include <functional>
#include <string>
#include <vector>

namespace qs {

// The menus of the main window: those of the menu bar in their order, the two submenus of
// File, and the pop-up menu of the toolbars.
enum class MainMenu {
    File,
    Edit,
    View,
    Options,
    Window,
    Help,
    NewSideDocument,  // File > New Side Document
    RecentFiles,      // File > Recent Files (filled by the recent-file list)
    BarPopup,         // right click on a toolbar
};

// One item of a main-window menu: a command, a check item, a separator or a submenu. Its
// handler, when it has one, runs the command; without one the command is answered elsewhere
// (the document manager, the application, the active document's window). `enabled` and
// `checked`, when given, are asked whenever the menus and toolbars are brought up to date.
struct MainCommandRow {
    enum class Kind { Command, Check, Separator, Submenu };

    int id = 0;
    MainMenu menu = MainMenu::File;
    Kind kind = Kind::Command;
    std::string text;  // the key, if any, after a tab: "&New...\tCtrl+N"
    std::string help;  // status-bar help
    MainMenu submenu = MainMenu::File;  // Kind::Submenu: the menu it opens
    std::function<void()> handler;
    std::function<bool()> enabled;
    std::function<bool()> checked;

    static MainCommandRow Command(int id, MainMenu menu, std::string text, std::function<void()> handler = {},
                                  std::function<bool()> enabled = {});
    static MainCommandRow Check(int id, MainMenu menu, std::string text, std::function<void()> handler,
                                std::function<bool()> enabled, std::function<bool()> checked);
    static MainCommandRow Separator(MainMenu menu);
    static MainCommandRow Submenu(MainMenu menu, std::string text, MainMenu submenu);
};

// The commands of the main window, menu by menu in the order they were registered. The frame
// builds its menus from it and answers each command through it; what comes later (a side
// document's New command, its own menus) registers rows of its own.
class MainCommandTable {
public:
    // Appends a row to its menu; a command or check row replaces, in its place, the row of the
    // same id in the same menu.
    void Register(MainCommandRow row);
    // The rows of one menu, in order.
    std::vector<const MainCommandRow*> RowsOf(MainMenu menu) const;
    // The first command or check row with that id (an id may stand in two menus).
    const MainCommandRow* Find(int id) const;
    // Ids of the command and check rows, each once, in order of registration.
    std::vector<int> CommandIds() const;

    // A row with a handler whose `enabled` (if any) holds.
    bool IsEnabled(int id) const;
    // Runs the handler when enabled; false when it did not run.
    bool Run(int id) const;

private:
    std::vector<MainCommandRow> rows_;
};

}  // namespace qs
