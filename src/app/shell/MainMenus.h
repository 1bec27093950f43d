#pragma once
#include <span>
#include <vector>

#include <wx/event.h>

#include "appmodel/shell/MainCommandTable.h"

class wxDocManager;
class wxFrame;
class wxMenu;
class wxMenuBar;

namespace qs {

// The main window's menus made from its command table, and their commands answered through
// it: a row's handler runs its command, its rules enable and check its items and buttons.
class MainMenus {
public:
    MainMenus(wxFrame& frame, wxDocManager& manager, const MainCommandTable& table);
    ~MainMenus();
    MainMenus(const MainMenus&) = delete;
    MainMenus& operator=(const MainMenus&) = delete;

    // File, Edit, View, Options, Window and Help.
    wxMenuBar* MakeBar() const;
    // One menu, its submenus included (Recent Files shows the manager's recent-file list).
    wxMenu* Make(MainMenu which) const;
    // Answers the table's commands from now on, and keeps `delegated` off where no window
    // answers them.
    void BindCommands(std::span<const int> delegated);

private:
    void OnCommand(wxCommandEvent& event);
    void OnUpdate(wxUpdateUIEvent& event);

    wxFrame& frame_;
    wxDocManager& manager_;
    const MainCommandTable& table_;
    std::vector<int> delegated_;
};

}  // namespace qs
