// Every kind of edit dialog laid out on a real display: each control inside the window and
// given at least the size its text needs. With QS_EDIT_SHOTS set to a folder, each dialog is
// also saved there as a picture to be looked at.
#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/image.h>
#include <wx/utils.h>

#include <algorithm>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <chrono>
#include <cstdlib>

#include "EditFixture.h"
#include "app/programdata/CParamEditDlg.h"
#include "app/programdata/ParamEditDialogs.h"

namespace qs::test {
namespace {

// Lets the display map and paint the window, dispatching its events the while: until it is
// on the screen, and for a picture a little longer (the server draws it asynchronously, and
// check boxes set as the window opened animate into their state).
void Settle(wxWindow& window, bool forPicture) {
    const auto start = std::chrono::steady_clock::now();
    const auto end = start + std::chrono::seconds(3);
    const auto painted = start + std::chrono::milliseconds(forPicture ? 1000 : 0);
    for (;;) {
        window.Update();
        wxTheApp->SafeYield(nullptr, true);
        const auto now = std::chrono::steady_clock::now();
        if (now >= end || (window.IsShownOnScreen() && now >= painted)) break;
    }
}

bool WantPictures() {
    const char* dir = std::getenv("QS_EDIT_SHOTS");
    return dir != nullptr && *dir != '\0';
}

// What does not fit: a control reaching outside the window, or smaller than its text needs.
std::vector<std::string> Clipped(wxWindow& dialog) {
    std::vector<std::string> out;
    const wxRect client(wxPoint(0, 0), dialog.GetClientSize());
    std::function<void(wxWindow*)> visit = [&](wxWindow* parent) {
        for (wxWindow* w : parent->GetChildren()) {
            if (!w->IsShown()) continue;
            const wxRect r(dialog.ScreenToClient(w->GetScreenPosition()), w->GetSize());
            const std::string what = wxString(w->GetClassInfo()->GetClassName()).utf8_string() + " '" +
                                     w->GetLabel().utf8_string() + "'";
            if (!client.Contains(r)) out.push_back(what + " outside the window");
            if (wxDynamicCast(w, wxStaticText) || wxDynamicCast(w, wxCheckBox) || wxDynamicCast(w, wxButton)) {
                const wxSize best = w->GetBestSize();
                if (r.width < best.x || r.height < best.y) out.push_back(what + " smaller than its text");
            }
            if (auto* text = wxDynamicCast(w, wxTextCtrl)) {
                if (text->GetTextExtent(text->GetValue()).x > r.width) out.push_back(what + " value cut off");
            }
            visit(w);
        }
    };
    visit(&dialog);
    return out;
}

// The display's own picture of the dialog's place on the screen (a window cannot be read back
// through wx on GTK 3). The server may not have drawn it yet: the picture is taken again, the
// window redrawn in between, until it is no longer black (bounded).
void SaveShot(wxWindow& dialog, const std::string& name) {
    if (!WantPictures()) return;
    const wxRect r = dialog.GetScreenRect();
    const std::string crop = wxString::Format("%dx%d+%d+%d", r.width, r.height, r.x, r.y).utf8_string();
    const std::string path = std::string(std::getenv("QS_EDIT_SHOTS")) + "/" + name + ".png";
    const char* argv[] = {"import", "-window", "root", "-crop", crop.c_str(), path.c_str(), nullptr};
    wxInitAllImageHandlers();
    bool drawn = false;
    for (int attempt = 0; attempt < 10 && !drawn; ++attempt) {
        dialog.Refresh();
        Settle(dialog, true);
        ASSERT_EQ(wxExecute(const_cast<char**>(argv), wxEXEC_SYNC), 0) << name;
        wxImage picture;
        if (!picture.LoadFile(wxString::FromUTF8(path), wxBITMAP_TYPE_PNG)) continue;
        const unsigned char* p = picture.GetData();
        const size_t bytes = static_cast<size_t>(picture.GetWidth()) * static_cast<size_t>(picture.GetHeight()) * 3;
        drawn = std::any_of(p, p + bytes, [](unsigned char c) { return c != 0; });
    }
    EXPECT_TRUE(drawn) << name << ": the picture stayed black";
}

class EditDialogLayoutTest : public EditFixture {
protected:
    void Check(ParamEditRequest request, const std::string& name) {
        auto dialog = MakeParamEditDialog(nullptr, request);
        ASSERT_NE(dialog, nullptr);
        dialog->Show();
        Settle(*dialog, WantPictures());
        EXPECT_EQ(Clipped(*dialog), std::vector<std::string>{}) << name;
        SaveShot(*dialog, name);
        dialog->Hide();
    }
};

TEST_F(EditDialogLayoutTest, EveryKindOfEditorShowsEveryControlWhole) {
    Check(Request(Row(CDirectory::kSystem, 1), "12.5", 3), "number");
    Check(Request(Row(CDirectory::kSystem, 156), "1 Security Switch", 4), "option-locked");
    Check(Request(Row(CDirectory::kSystem, 884), "2 Volume Pulses", 3), "option");
    Check(Request(Row(CDirectory::kRecipe, 15, 0, 0, 0), "Premium Unleaded 95", 1), "text");
    Check(Request(Row(CDirectory::kMeter, 732, 1, 2), "06:00A", 2), "time-locked");
    Check(Request(Row(CDirectory::kSystem, 602), "7", 3), "alarm");
    Check(Request(Row(CDirectory::kSystem, 812), "65", 3), "meter");
    Check(Request(Row(CDirectory::kRecipe, 19, 0, 0, 0), "37", 1), "product");
    Check(Request(Row(CDirectory::kSystem, 98), "16777215", 3), "additive");
    Check(Request(Row(CDirectory::kSystem, 736), "4294967040", 3), "ip");
    SetCodePage(2);
    Check(Request(Row(CDirectory::kRecipe, 2, 0, 0, 0), "\xc4\xe8\xe7\xe5\xeb\xfc", 1), "text-cyrillic");
    SetCodePage(5);
    Check(Request(Row(CDirectory::kRecipe, 2, 0, 0, 0), "\xb2\xf1\xd3\xcd", 1), "text-gb2312");
}

}  // namespace
}  // namespace qs::test
