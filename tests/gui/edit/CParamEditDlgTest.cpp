// The general program-code editor driven as a user would: typing, choosing and pressing OK,
// with its checks refusing what they must and the dialog staying open then.
#include "app/programdata/CParamEditDlg.h"

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <functional>

#include "EditFixture.h"
#include "WmDisplay.h"
#include "app/common/CodePageFont.h"
#include "app/programdata/CBitmapParamEditDlg.h"
#include "app/programdata/CParamEditIPDlg.h"
#include "app/programdata/ParamEditDialogs.h"
#include "appmodel/programdata/ParamValueCheck.h"

namespace qs::test {
namespace {

class CParamEditDlgTest : public EditFixture {};

// Watches a dialog run modally: once one of its controls has the focus, `act` runs with that
// control (with null when none got it within a few seconds). A dialog still up a few seconds
// after that is cancelled, so a test never hangs on it.
class FocusWatch final : public wxTimer {
public:
    FocusWatch(wxDialog& dialog, std::function<void(wxWindow*)> act) : dialog_(dialog), act_(std::move(act)) {
        Start(kTickMs);
    }
    void Notify() override {
        if (!dialog_.IsModal()) return;
        ++ticks_;
        if (!acted_) {
            wxWindow* focus = wxWindow::FindFocus();
            const bool inside = focus && focus != &dialog_ && dialog_.IsDescendant(focus);
            if (!inside && ticks_ < kTicks) return;
            acted_ = true;
            ticks_ = 0;
            act_(inside ? focus : nullptr);
        } else if (ticks_ >= kTicks) {
            dialog_.EndModal(wxID_CANCEL);
        }
    }

private:
    static constexpr int kTickMs = 20;
    static constexpr int kTicks = 250;
    wxDialog& dialog_;
    std::function<void(wxWindow*)> act_;
    bool acted_ = false;
    int ticks_ = 0;
};

TEST_F(CParamEditDlgTest, ANumberShowsItsCodeAndTakesADecimalComma) {
    ParamEditRequest request = Request(Row(CDirectory::kSystem, 1), "5", 1);
    CParamEditDlg dialog(nullptr, request);
    dialog.Show();
    EXPECT_EQ(dialog.GetTitle(), "Edit Program Code Data");
    EXPECT_EQ(dialog.CaptionText()->GetLabel(), "System 001 - Additive 1 Injection Volume");
    EXPECT_EQ(dialog.CurrentField()->GetValue(), "5");
    EXPECT_FALSE(dialog.CurrentField()->IsEditable());
    EXPECT_EQ(dialog.NewField()->GetValue(), "005.00");
    EXPECT_EQ(dialog.PromptText()->GetLabel(), "(0.00 - 999.99)");
    EXPECT_EQ(dialog.HelpText()->GetLabel(), "Volume of additive 1 per injection, in cc.");
    EXPECT_EQ(dialog.OptionList(), nullptr);
    ASSERT_EQ(dialog.LevelList()->GetCount(), 5u);
    EXPECT_EQ(dialog.LevelList()->GetString(0), "Level 1");
    EXPECT_EQ(dialog.LevelList()->GetString(4), "Level 5");
    EXPECT_EQ(dialog.LevelList()->GetStringSelection(), "Level 2");
    EXPECT_TRUE(dialog.LevelList()->IsEnabled());

    Type(dialog.NewField(), "abc");
    ClickOk(dialog);
    EXPECT_TRUE(dialog.IsShown());
    EXPECT_EQ(ui.LastMessage(), "Please enter a number.");

    Type(dialog.NewField(), "1000");
    ClickOk(dialog);
    EXPECT_TRUE(dialog.IsShown());
    EXPECT_EQ(ui.LastMessage(), "Please enter a number between 0 and 999.99.");
    EXPECT_EQ(request.newValue, "005.00") << "nothing taken while the dialog stays open";

    Type(dialog.NewField(), "12,5");
    Choose(dialog.LevelList(), 3);
    ClickOk(dialog);
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_EQ(request.newValue, "12.5");
    EXPECT_EQ(request.newLevel, 3);
    EXPECT_EQ(ui.prompt.shown.size(), 2u);
}

TEST_F(CParamEditDlgTest, AnUntouchedValueComesBackAsItWasShown) {
    ParamEditRequest request = Request(Row(CDirectory::kSystem, 682), "7");
    CParamEditDlg dialog(nullptr, request);
    dialog.Show();
    EXPECT_EQ(dialog.NewField()->GetValue(), "007");
    EXPECT_EQ(dialog.LevelList()->GetSelection(), wxNOT_FOUND) << "a code without a level shows none";
    ClickOk(dialog);
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_EQ(request.newValue, "7");
    EXPECT_EQ(request.newLevel, -1);
    EXPECT_TRUE(ui.prompt.shown.empty());
}

TEST_F(CParamEditDlgTest, ATextIsLimitedToItsLengthAndControlCharactersAreRefused) {
    ParamEditRequest request = Request(Row(CDirectory::kRecipe, 15, 0, 0, 0), "Unleaded");
    CParamEditDlg dialog(nullptr, request);
    dialog.Show();
    EXPECT_EQ(dialog.PromptText()->GetLabel(), "Enter up to 20 characters of text");
    EXPECT_EQ(dialog.NewField()->GetValue(), "Unleaded");

    // The field takes no 21st character as it is typed.
    dialog.NewField()->SetFocus();
    dialog.NewField()->SetInsertionPointEnd();
    dialog.NewField()->ChangeValue("");
    for (int i = 0; i < 21; ++i) dialog.NewField()->WriteText("x");
    dialog.NewField()->MarkDirty();
    EXPECT_EQ(dialog.NewField()->GetValue(), wxString('x', 20));
    Type(dialog.NewField(), "Premium\tblend");
    ClickOk(dialog);
    EXPECT_TRUE(dialog.IsShown());
    EXPECT_EQ(ui.LastMessage(), ParamValueCheck::kControlCharacterMessage);

    Type(dialog.NewField(), "Premium blend");
    ClickOk(dialog);
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_EQ(request.newValue, "Premium blend");

    // The length is in bytes of the code page: eleven GB2312 characters are 22.
    SetCodePage(5);
    ParamEditRequest chinese = Request(Row(CDirectory::kRecipe, 15, 0, 0, 0), "");
    CParamEditDlg wide(nullptr, chinese);
    wide.Show();
    wxString eleven;
    for (int i = 0; i < 11; ++i) eleven += wxString::FromUTF8("中");
    Type(wide.NewField(), eleven);
    ASSERT_EQ(wide.NewField()->GetValue(), eleven);
    ClickOk(wide);
    EXPECT_TRUE(wide.IsShown());
    EXPECT_EQ(ui.LastMessage(), "Enter no more than 20 characters.");
    Type(wide.NewField(), eleven.Left(10));
    ClickOk(wide);
    EXPECT_FALSE(wide.IsShown());
    EXPECT_EQ(chinese.newValue.size(), 20u);

    // A stored text longer than the code allows is shown whole, and refused until shortened.
    SetCodePage(0);
    ParamEditRequest tooLong = Request(Row(CDirectory::kRecipe, 15, 0, 0, 0), std::string(24, 'z'));
    CParamEditDlg longer(nullptr, tooLong);
    longer.Show();
    EXPECT_EQ(longer.NewField()->GetValue(), wxString('z', 24));
    ClickOk(longer);
    EXPECT_TRUE(longer.IsShown());
    EXPECT_EQ(ui.LastMessage(), "Enter no more than 20 characters.");
}

// Which times are valid is the value check's to test; here the time code is checked as one.
TEST_F(CParamEditDlgTest, TheTimeCodeTakesOnlyAValidTime) {
    ParamEditRequest request = Request(Row(CDirectory::kMeter, 732), "06:00A");
    CParamEditDlg dialog(nullptr, request);
    dialog.Show();
    Type(dialog.NewField(), "13:00P");
    ClickOk(dialog);
    EXPECT_TRUE(dialog.IsShown());
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{ParamValueCheck::kTimeMessage});
    Type(dialog.NewField(), "12:30p");
    ClickOk(dialog);
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_EQ(request.newValue, "12:30P");
}

TEST_F(CParamEditDlgTest, AnOptionCodeIsChosenFromItsListAndNeverLeftEmpty) {
    // A level lock switch: its list of four, and no level to choose.
    ParamEditRequest request = Request(Row(CDirectory::kSystem, 156), "2 2nd Security Switch", 4);
    CParamEditDlg dialog(nullptr, request);
    dialog.Show();
    EXPECT_EQ(dialog.NewField(), nullptr);
    ASSERT_NE(dialog.OptionList(), nullptr);
    ASSERT_EQ(dialog.OptionList()->GetCount(), 4u);
    EXPECT_EQ(dialog.OptionList()->GetString(0), "0 No Switch Required");
    EXPECT_EQ(dialog.OptionList()->GetString(3), "3 Both Security Switches");
    EXPECT_EQ(dialog.OptionList()->GetSelection(), 2);
    EXPECT_EQ(dialog.PromptText()->GetLabel(), "Select desired option from list");
    EXPECT_EQ(dialog.CurrentField()->GetValue(), "2 2nd Security Switch");
    EXPECT_FALSE(dialog.LevelList()->IsEnabled());
    EXPECT_EQ(dialog.LevelList()->GetCount(), 0u);

    Choose(dialog.OptionList(), 1);
    ClickOk(dialog);
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_EQ(request.newValue, "1 Security Switch");
    EXPECT_EQ(request.newLevel, -1);

    // A stored value naming no option selects none, and OK does not take an empty value.
    ParamEditRequest stray = Request(Row(CDirectory::kSystem, 157), "9");
    CParamEditDlg other(nullptr, stray);
    other.Show();
    EXPECT_EQ(other.OptionList()->GetSelection(), wxNOT_FOUND);
    ClickOk(other);
    EXPECT_TRUE(other.IsShown());
    EXPECT_EQ(ui.LastMessage(), "Select desired option from list");
    Choose(other.OptionList(), 0);
    ClickOk(other);
    EXPECT_FALSE(other.IsShown());
    EXPECT_EQ(stray.newValue, "0 No Switch Required");
}

TEST_F(CParamEditDlgTest, ALockedLevelOffersNothingAtLaterInstances) {
    ParamEditRequest meter2 = Request(Row(CDirectory::kMeter, 103, 1, 0), "1.000", 2);
    CParamEditDlg dialog(nullptr, meter2);
    dialog.Show();
    EXPECT_EQ(dialog.CaptionText()->GetLabel(), "Meter 2 103 - K-Factor");
    EXPECT_FALSE(dialog.LevelList()->IsEnabled());
    EXPECT_EQ(dialog.LevelList()->GetCount(), 0u);
    Type(dialog.NewField(), "1.25");
    ClickOk(dialog);
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_EQ(meter2.newLevel, -1);
}

TEST_F(CParamEditDlgTest, TextsAreShownAndTakenInTheDocumentsCodePage) {
    SetCodePage(2);  // Cyrillic (1251)
    ParamEditRequest request = Request(Row(CDirectory::kRecipe, 2, 0, 0, 0), "\xcf\xf0\xe8\xe2\xee\xe4");
    CParamEditDlg dialog(nullptr, request);
    dialog.Show();
    EXPECT_EQ(dialog.CurrentField()->GetValue(), wxString::FromUTF8("Привод"));
    EXPECT_EQ(dialog.NewField()->GetValue(), wxString::FromUTF8("Привод"));
    EXPECT_EQ(dialog.NewField()->GetFont().GetFaceName(), CodePageFaceName(2));
    EXPECT_EQ(dialog.CurrentField()->GetFont().GetFaceName(), CodePageFaceName(2));
    Type(dialog.NewField(), wxString::FromUTF8("Насос"));
    ClickOk(dialog);
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_EQ(request.newValue, "\xcd\xe0\xf1\xee\xf1");

    // Text the code page cannot hold is refused, not stored with stand-ins.
    SetCodePage(0);
    ParamEditRequest latin = Request(Row(CDirectory::kRecipe, 2, 0, 0, 0), "Gas");
    CParamEditDlg other(nullptr, latin);
    other.Show();
    Type(other.NewField(), wxString::FromUTF8("Насос"));
    ClickOk(other);
    EXPECT_TRUE(other.IsShown());
    EXPECT_EQ(ui.LastMessage(), CParamEditDlg::kNotConvertibleMessage);

    // Bytes the page leaves undefined survive an edit that does not touch them.
    ParamEditRequest odd = Request(Row(CDirectory::kRecipe, 2, 0, 0, 0), "A\x81Z");
    CParamEditDlg untouched(nullptr, odd);
    untouched.Show();
    ClickOk(untouched);
    EXPECT_FALSE(untouched.IsShown());
    EXPECT_EQ(odd.newValue, "A\x81Z");
}

TEST_F(CParamEditDlgTest, TheEditFlowRunsTheRealDialog) {
    const ParamEditTarget row = Row(CDirectory::kSystem, 1);
    const auto typeAndOk = [](const wxString& text) {
        return [text](ParamEditRequest& request) {
            CParamEditDlg dialog(nullptr, request);
            dialog.Show();
            Type(dialog.NewField(), text);
            ClickOk(dialog);
            return !dialog.IsShown();
        };
    };
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(row, typeAndOk("12,5")), ParamEditFlow::Outcome::Stored);
    EXPECT_EQ(row.param->Value(0), "012.50");
    EXPECT_TRUE(doc->IsModified());

    doc->SetModified(false);
    // A dialog that will not close on a bad value ends as a cancel would.
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(row, typeAndOk("lots")), ParamEditFlow::Outcome::Cancelled);
    EXPECT_EQ(row.param->Value(0), "012.50");
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(CParamEditDlgTest, EachEditorOpensOnItsFirstFieldAndWhatIsTypedReplacesTheValue) {
    if (!OnOwnWmDisplay()) return;
    // A number: its text selected, so the digits typed replace it and Enter takes them.
    ParamEditRequest number = Request(Row(CDirectory::kSystem, 1), "5");
    {
        CParamEditDlg dialog(nullptr, number);
        wxWindow* focus = nullptr;
        long from = -1, to = -1;
        FocusWatch watch(dialog, [&](wxWindow* f) {
            focus = f;
            dialog.NewField()->GetSelection(&from, &to);
            wxUIActionSimulator keys;
            keys.Text("42");
            keys.Char(WXK_RETURN);
        });
        EXPECT_EQ(dialog.ShowModal(), wxID_OK);
        EXPECT_EQ(focus, dialog.NewField());
        EXPECT_EQ(from, 0);
        EXPECT_EQ(to, 6) << "\"005.00\" selected whole";
        EXPECT_EQ(number.newValue, "42");
    }

    // The other editors open on their first field too.
    struct Case {
        const char* what;
        ParamEditTarget row;
        std::function<wxWindow*(CParamEditDlg&)> first;
    };
    const std::vector<Case> cases = {
        {"option list", Row(CDirectory::kSystem, 601), [](CParamEditDlg& d) -> wxWindow* { return d.OptionList(); }},
        {"address", Row(CDirectory::kSystem, 735),
         [](CParamEditDlg& d) -> wxWindow* { return dynamic_cast<CParamEditIPDlg&>(d).NewAddressField(); }},
        {"bits", Row(CDirectory::kRecipe, 19, 0, 0, 0),
         [](CParamEditDlg& d) -> wxWindow* { return dynamic_cast<CBitmapParamEditDlg&>(d).BitBox(0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ParamEditRequest request = Request(c.row, "1");
        auto dialog = MakeParamEditDialog(nullptr, request);
        wxWindow* focus = nullptr;
        FocusWatch watch(*dialog, [&](wxWindow* f) {
            focus = f;
            dialog->EndModal(wxID_CANCEL);
        });
        dialog->ShowModal();
        ASSERT_NE(c.first(*dialog), nullptr);
        EXPECT_EQ(focus, c.first(*dialog));
    }
}

}  // namespace
}  // namespace qs::test
