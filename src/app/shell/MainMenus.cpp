#include "app/shell/MainMenus.h"

#include <utility>

#include <wx/docview.h>
#include <wx/filehistory.h>
#include <wx/frame.h>
#include <wx/menu.h>

#include "app/common/WxText.h"

namespace qs {

namespace {

// Commands the document manager answers itself. It sees a command before the frame's own
// handlers (and before the active document's window), so a row of the table that takes one of
// these over is bound on the manager.
bool ManagerAnswers(int id) {
    switch (id) {
    case wxID_NEW: case wxID_OPEN: case wxID_CLOSE: case wxID_CLOSE_ALL: case wxID_SAVE: case wxID_SAVEAS:
    case wxID_REVERT: case wxID_UNDO: case wxID_REDO: case wxID_PRINT: case wxID_PREVIEW: case wxID_PRINT_SETUP:
        return true;
    default:
        return false;
    }
}

}  // namespace

MainMenus::MainMenus(wxFrame& frame, wxDocManager& manager, const MainCommandTable& table)
    : frame_(frame), manager_(manager), table_(table) {}

MainMenus::~MainMenus() {
    // Gone before the frame and the manager are.
    for (int id : table_.CommandIds()) {
        if (ManagerAnswers(id)) manager_.Unbind(wxEVT_MENU, &MainMenus::OnCommand, this, id);
        else frame_.Unbind(wxEVT_MENU, &MainMenus::OnCommand, this, id);
        frame_.Unbind(wxEVT_UPDATE_UI, &MainMenus::OnUpdate, this, id);
    }
    for (int id : delegated_) frame_.Unbind(wxEVT_UPDATE_UI, &MainMenus::OnUpdate, this, id);
}

wxMenuBar* MainMenus::MakeBar() const {
    auto* bar = new wxMenuBar;
    const std::pair<MainMenu, const char*> menus[] = {
        {MainMenu::File, "&File"},       {MainMenu::Edit, "&Edit"},     {MainMenu::View, "&View"},
        {MainMenu::Options, "&Options"}, {MainMenu::Window, "&Window"}, {MainMenu::Help, "&Help"},
    };
    for (const auto& [which, title] : menus) bar->Append(Make(which), title);
    return bar;
}

wxMenu* MainMenus::Make(MainMenu which) const {
    auto* menu = new wxMenu;
    for (const MainCommandRow* row : table_.RowsOf(which)) {
        switch (row->kind) {
        case MainCommandRow::Kind::Command: menu->Append(row->id, ToWx(row->text), ToWx(row->help)); break;
        case MainCommandRow::Kind::Check: menu->AppendCheckItem(row->id, ToWx(row->text), ToWx(row->help)); break;
        case MainCommandRow::Kind::Separator: menu->AppendSeparator(); break;
        case MainCommandRow::Kind::Submenu: {
            wxMenu* sub = Make(row->submenu);
            menu->AppendSubMenu(sub, ToWx(row->text));
            if (row->submenu == MainMenu::RecentFiles) {
                if (wxFileHistory* history = manager_.GetFileHistory()) {
                    history->UseMenu(sub);
                    history->AddFilesToMenu(sub);
                }
            }
            break;
        }
        }
        if (row->kind == MainCommandRow::Kind::Check && row->checked) menu->Check(row->id, row->checked());
    }
    return menu;
}

void MainMenus::BindCommands(std::span<const int> delegated) {
    for (int id : table_.CommandIds()) {
        const MainCommandRow* row = table_.Find(id);
        if (row->handler) {
            if (ManagerAnswers(id)) manager_.Bind(wxEVT_MENU, &MainMenus::OnCommand, this, id);
            else frame_.Bind(wxEVT_MENU, &MainMenus::OnCommand, this, id);
        }
        // Without a rule the command keeps the state its owner gives it.
        if (row->enabled || row->checked) frame_.Bind(wxEVT_UPDATE_UI, &MainMenus::OnUpdate, this, id);
    }
    delegated_.assign(delegated.begin(), delegated.end());
    for (int id : delegated_) frame_.Bind(wxEVT_UPDATE_UI, &MainMenus::OnUpdate, this, id);
}

void MainMenus::OnCommand(wxCommandEvent& event) {
    if (!table_.Run(event.GetId())) event.Skip();
}

void MainMenus::OnUpdate(wxUpdateUIEvent& event) {
    const MainCommandRow* row = table_.Find(event.GetId());
    if (!row) {
        event.Enable(false);
        return;
    }
    event.Enable(row->enabled ? row->enabled() : static_cast<bool>(row->handler));
    if (row->checked) event.Check(row->checked());
}

}  // namespace qs
