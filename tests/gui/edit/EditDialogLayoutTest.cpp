// Every kind of edit dialog laid out on a real display: each control inside the window and
// given at least the size its text needs. With QS_EDIT_SHOTS set to a folder, each dialog is
// also saved there as a picture to be looked at.
#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/image.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <chrono>
#include <cstdlib>

#include "EditFixture.h"
#include "app/CParamEditDlg.h"
#include "app/ParamEditDialogs.h"

namespace qs::test {
namespace {

// Lets the display map and paint the window: bounded, no sleeping.
void Settle(wxWindow& window) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    int rounds = 0;
    while (std::chrono::steady_clock::now() < end && (rounds < 20 || !window.IsShownOnScreen())) {
        window.Update();
        wxTheApp->SafeYield(nullptr, true);
        ++rounds;
    }
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

void SaveShot(wxWindow& dialog, const std::string& name) {
    const char* dir = std::getenv("QS_EDIT_SHOTS");
    if (dir == nullptr || *dir == '\0') return;
    const wxRect r = dialog.GetScreenRect();
    wxBitmap bitmap(r.width, r.height);
    {
        wxScreenDC screen;
        wxMemoryDC memory(bitmap);
        memory.Blit(0, 0, r.width, r.height, &screen, r.x, r.y);
    }
    wxInitAllImageHandlers();
    EXPECT_TRUE(bitmap.SaveFile(wxString::FromUTF8(std::string(dir) + "/" + name + ".png"), wxBITMAP_TYPE_PNG));
}

class EditDialogLayoutTest : public EditFixture {
protected:
    void Check(ParamEditRequest request, const std::string& name) {
        auto dialog = MakeParamEditDialog(nullptr, request);
        ASSERT_NE(dialog, nullptr);
        dialog->Show();
        Settle(*dialog);
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
