#include <gtest/gtest.h>
#include <wx/aui/auibar.h>
#include <wx/checkbox.h>
#include <wx/radiobox.h>
#include <wx/image.h>
#include <wx/menu.h>

#include <set>
#include <vector>

#include "ShellFixture.h"
#include "app/shell/CConnectBar.h"
#include "app/shell/CEditBar.h"
#include "app/shell/CIconToolBar.h"
#include "app/shell/CMainStatusBar.h"
#include "app/shell/CToolDlg.h"
#include "app/shell/CommandIds.h"
#include "app/shell/ToolbarArt.h"
#include "platform/UiServices.h"

namespace qs::test {

namespace {

std::vector<int> ToolIds(wxAuiToolBar* bar) {
    std::vector<int> ids;
    for (size_t i = 0; i < bar->GetToolCount(); ++i) {
        wxAuiToolBarItem* item = bar->FindToolByIndex(static_cast<int>(i));
        ids.push_back(item->GetKind() == wxITEM_SEPARATOR ? 0 : item->GetId());
    }
    return ids;
}

bool Enabled(wxFrame* frame, int id) {
    frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    wxMenuItem* item = frame->GetMenuBar()->FindItem(id);
    return item && item->IsEnabled();
}

const std::vector<ToolIcon> kAllIcons = {
    ToolIcon::kNew,           ToolIcon::kOpen,          ToolIcon::kSave,          ToolIcon::kCut,
    ToolIcon::kCopy,          ToolIcon::kPaste,         ToolIcon::kReadSelection, ToolIcon::kReadAll,
    ToolIcon::kDumpSelection, ToolIcon::kDumpAll,       ToolIcon::kNewWindow,     ToolIcon::kCascade,
    ToolIcon::kTileHorizontally, ToolIcon::kTileVertically, ToolIcon::kGoOnline,  ToolIcon::kGoOffline,
};

}  // namespace

using MainFrame = ShellFixture;

TEST_F(MainFrame, HasTheMenusTheThreeToolbarsAndTheFivePanes) {
    wxMenuBar* bar = frame->GetMenuBar();
    ASSERT_NE(bar, nullptr);
    std::vector<std::string> menus;
    for (size_t i = 0; i < bar->GetMenuCount(); ++i) menus.push_back(bar->GetMenuLabel(i).utf8_string());
    EXPECT_EQ(menus, (std::vector<std::string>{"&File", "&Edit", "&View", "&Options", "&Window", "&Help"}));
    for (auto [id, label] : std::vector<std::pair<int, const char*>>{{ID_NEW_REPORT, "&Report Configuration"},
                                                                     {ID_NEW_TRANSLATION, "&Translation"},
                                                                     {ID_NEW_EQUATION_SET, "&Equation Set"},
                                                                     {ID_NEW_DRIVER_DATABASE, "&Driver Database"},
                                                                     {ID_VIEW_TOOLBARS, "&Toolbars..."},
                                                                     {ID_APP_OPTIONS, "&General..."},
                                                                     {ID_HELP_CONTENTS, "&Contents"},
                                                                     {ID_APP_ABOUT, "&About Quillset..."}}) {
        wxMenuItem* item = bar->FindItem(id);
        ASSERT_NE(item, nullptr) << label;
        EXPECT_EQ(item->GetItemLabel().utf8_string(), label);
    }

    EXPECT_EQ(ToolIds(frame->StandardBar()),
              (std::vector<int>{ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE}));
    EXPECT_EQ(ToolIds(frame->EditBar()),
              (std::vector<int>{ID_READ_SELECTION, ID_READ_ALL, 0, ID_DUMP_SELECTION, ID_DUMP_ALL, 0, ID_WINDOW_NEW, 0,
                                ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WINDOW_TILE_VERT}));
    EXPECT_EQ(ToolIds(frame->ConnectBar()), (std::vector<int>{ID_GO_ONLINE, ID_GO_OFFLINE}));
    int position = -1;
    for (const char* name : {"Standard", "Edit", "Connect"}) {
        const wxAuiPaneInfo& pane = frame->Aui().GetPane(name);
        ASSERT_TRUE(pane.IsOk()) << name;
        EXPECT_TRUE(pane.IsShown()) << name;
        EXPECT_TRUE(pane.IsToolbar()) << name;
        EXPECT_EQ(pane.dock_direction, wxAUI_DOCK_TOP) << name;
        EXPECT_EQ(pane.dock_row, 0) << name;
        EXPECT_GT(pane.dock_pos, position) << name << ": Standard, then Edit, then Connect";
        position = pane.dock_pos;
        EXPECT_TRUE(pane.window->IsShown()) << name;
    }
    EXPECT_EQ(frame->EditBar()->FindTool(ID_READ_ALL)->GetShortHelp(), "Read All") << "tool-tips are on";

    CMainStatusBar* panes = frame->StatusPanes();
    ASSERT_EQ(panes->GetFieldsCount(), 5);
    EXPECT_EQ(panes->GetStatusText(CMainStatusBar::kStatePane), "   ") << "no document";
    EXPECT_EQ(panes->GetStatusText(CMainStatusBar::kLinkPane), "   ");
    wxRect state, link;
    panes->GetFieldRect(CMainStatusBar::kStatePane, state);
    panes->GetFieldRect(CMainStatusBar::kLinkPane, link);
    EXPECT_GE(state.width, panes->GetTextExtent(CMainStatusBar::kStateSizeText).x);
    EXPECT_GE(link.width, panes->GetTextExtent(CMainStatusBar::kLinkSizeText).x);

    // The core's status texts land in the message pane.
    SetStatusText("Attempting to connect to Duravane III.net...");
    EXPECT_EQ(panes->GetStatusText(CMainStatusBar::kMessagePane), "Attempting to connect to Duravane III.net...");
}

TEST_F(MainFrame, CommandsWithNothingToActOnAreOff) {
    // Every side-document kind has its editor, so its New command is on.
    for (int id : {ID_NEW_REPORT, ID_NEW_TRANSLATION, ID_NEW_DRIVER_DATABASE, ID_NEW_EQUATION_SET}) EXPECT_TRUE(Enabled(frame, id)) << id;
    EXPECT_FALSE(Enabled(frame, ID_WINDOW_NEW)) << "no document to show again";
    EXPECT_FALSE(Enabled(frame, ID_EDIT_COPY));
    EXPECT_TRUE(Enabled(frame, ID_FILE_NEW));
    EXPECT_TRUE(Enabled(frame, ID_FILE_OPEN));
    frame->EditBar()->UpdateWindowUI();
    EXPECT_FALSE(frame->EditBar()->GetToolEnabled(ID_READ_ALL)) << "no program-data window answers it";
}

TEST_F(MainFrame, TheBlackAndWhiteSetIsOnlyBlackAndWhiteAndEveryPictureDiffers) {
    std::set<std::vector<unsigned char>> seen;
    for (bool colour : {true, false}) {
        for (ToolIcon icon : kAllIcons) {
            const wxImage image = DrawToolIcon(icon, colour).ConvertToImage();
            ASSERT_EQ(image.GetWidth(), 16);
            ASSERT_TRUE(image.HasAlpha());
            int drawn = 0, coloured = 0;
            for (int y = 0; y < 16; ++y) {
                for (int x = 0; x < 16; ++x) {
                    if (image.GetAlpha(x, y) == 0) continue;
                    ++drawn;
                    const int r = image.GetRed(x, y), g = image.GetGreen(x, y), b = image.GetBlue(x, y);
                    if (!colour) {
                        EXPECT_EQ(image.GetAlpha(x, y), 255) << static_cast<int>(icon);
                        EXPECT_TRUE((r == 0 && g == 0 && b == 0) || (r == 255 && g == 255 && b == 255))
                            << "icon " << static_cast<int>(icon) << " at " << x << "," << y;
                    }
                    if (std::abs(r - g) > 40 || std::abs(g - b) > 40) ++coloured;
                }
            }
            EXPECT_GT(drawn, 20) << "icon " << static_cast<int>(icon) << " is nearly empty";
            std::vector<unsigned char> pixels(image.GetData(), image.GetData() + 16 * 16 * 3);
            pixels.insert(pixels.end(), image.GetAlpha(), image.GetAlpha() + 16 * 16);
            EXPECT_TRUE(seen.insert(pixels).second) << "icon " << static_cast<int>(icon) << " looks like another";
            const bool plain = icon == ToolIcon::kNew;  // a white sheet
            if (colour && !plain) {
                EXPECT_GT(coloured, 0) << "icon " << static_cast<int>(icon) << " has no colour";
            }
        }
    }
}

TEST_F(MainFrame, ToolbarChoicesApplyAsTheDialogSaysAndPersist) {
    {
        CToolDlg dlg(frame);
        dlg.showMain = true;
        dlg.showEdit = true;
        dlg.toolTips = 0;
        dlg.colour = 0;
        ASSERT_TRUE(dlg.TransferDataToWindow());
        EXPECT_EQ(dlg.ToolTipsGroup()->GetSelection(), 0);
        dlg.ToolTipsGroup()->SetSelection(1);
        dlg.ColourGroup()->SetSelection(1);
        dlg.EditBox()->SetValue(false);
        ASSERT_TRUE(dlg.TransferDataFromWindow());
        EXPECT_EQ(dlg.toolTips, 1);
        EXPECT_EQ(dlg.colour, 1);
        EXPECT_FALSE(dlg.showEdit);
        EXPECT_TRUE(dlg.showMain);

        frame->ApplyToolbarChoices(dlg.showMain, dlg.showEdit, dlg.toolTips == 0, dlg.colour == 0);
        EXPECT_FALSE(frame->Aui().GetPane("Edit").IsShown());
        EXPECT_TRUE(frame->Aui().GetPane("Standard").IsShown());
        EXPECT_FALSE(frame->StandardBar()->IsColour());
        EXPECT_FALSE(frame->EditBar()->IsColour());
        EXPECT_TRUE(frame->ConnectBar()->IsColour()) << "the Connect bar changes at the next start";
        EXPECT_EQ(frame->StandardBar()->FindTool(ID_FILE_SAVE)->GetShortHelp(), "Save")
            << "tool-tips go only at the next start";
    }  // the dialog goes before its parent frame
    frame->SaveSettings();
    DestroyFrame();
    settings = std::make_unique<SettingsStore>(SettingsPath());
    Shell().settings = settings.get();
    EXPECT_EQ(settings->GetInt("General", "Color", 1), 0);
    EXPECT_EQ(settings->GetInt("General", "ToolTips", 1), 0);
    MakeFrame();
    EXPECT_FALSE(frame->ColourButtons());
    EXPECT_FALSE(frame->ToolTips());
    EXPECT_FALSE(frame->ConnectBar()->IsColour());
    EXPECT_EQ(frame->StandardBar()->FindTool(ID_FILE_SAVE)->GetShortHelp(), "");
}

TEST_F(MainFrame, TheToolbarMenuSwitchesTheEditBarAndTheStatusBar) {
    wxCommandEvent toggle(wxEVT_MENU, ID_VIEW_EDIT_BAR);
    frame->GetEventHandler()->ProcessEvent(toggle);
    EXPECT_FALSE(frame->IsBarShown(frame->EditBar()));
    frame->GetEventHandler()->ProcessEvent(toggle);
    EXPECT_TRUE(frame->IsBarShown(frame->EditBar()));

    wxCommandEvent status(wxEVT_MENU, ID_VIEW_STATUS_BAR);
    frame->GetEventHandler()->ProcessEvent(status);
    EXPECT_FALSE(frame->StatusPanes()->IsShown());
    frame->GetEventHandler()->ProcessEvent(status);
    EXPECT_TRUE(frame->StatusPanes()->IsShown());

    // The Standard and Connect bars are listed but not switched from there.
    wxUpdateUIEvent main(ID_VIEW_MAIN_BAR);
    frame->GetEventHandler()->ProcessEvent(main);
    EXPECT_FALSE(main.GetEnabled());
}

}  // namespace qs::test
