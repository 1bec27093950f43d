// The equation set editor as a user works it: a new set from the main window, lines added
// through the line dialog (one register taken from the picker), the options, save and reopen,
// and the clipboard between two sets.
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/listctrl.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "SideDocumentShell.h"
#include "XWindows.h"

#include "app/shell/CommandIds.h"
#include "app/sidedocs/equations/CEquationDlg.h"
#include "app/sidedocs/equations/CEquationOptionsDlg.h"
#include "app/sidedocs/equations/CEquationView.h"
#include "app/sidedocs/equations/CEquationWxDoc.h"
#include "app/tools/CRegisterBrowseDlg.h"
#include "programdata/ParamDictionary.h"
#include "sidedocs/equations/EquationDestinations.h"
#include "sidedocs/equations/EquationEditList.h"

namespace qs::test {
namespace {

using Dest = EquationDestinations;

constexpr uint32_t kUserFloat5 = 0x04200005;  // User Data(5) User Float

CEquationView* EquationView(wxDocument* doc) { return doc ? dynamic_cast<CEquationView*>(doc->GetFirstView()) : nullptr; }

std::vector<std::string> Rows(const CEquationView& view) {
    std::vector<std::string> rows;
    for (long i = 0; i < view.List()->GetItemCount(); ++i) rows.push_back(view.List()->GetItemText(i).utf8_string());
    return rows;
}

class EquationEditor : public SideDocumentShell {
protected:
    // The registers the lines name come from the dictionary the program loads at start-up.
    void SetUp() override {
        SideDocumentShell::SetUp();
        if (ParamDictionary::Instance().Size() == 0) {
            ASSERT_TRUE(ParamDictionary::Instance().LoadFile(std::string(QS_DATA_BUILD_DIR) + "/PARAM.DAT"));
        }
    }

// Adds a line through the dialog: the destination chosen, the expression typed, and, when
// given, a register put in at the end by the picker.
static void AddLine(CEquationView& view, int type, const char* expression, std::optional<uint32_t> pick = std::nullopt) {
    view.runDialog = Accepting<CEquationDlg>([=](CEquationDlg& d) {
        d.ChooseDestination(type);
        Type(d.ExpressionField(), expression);
        if (pick) {
            d.pickRegister = [pick] { return std::optional<PickedRegister>(PickedRegister{nullptr, 5, 1, *pick}); };
            d.ExpressionField()->SetInsertionPointEnd();
            wxCommandEvent click(wxEVT_BUTTON, CEquationDlg::kRegisterId);
            d.FindWindow(CEquationDlg::kRegisterId)->GetEventHandler()->ProcessEvent(click);
        }

    });
    EXPECT_TRUE(view.InsertLine());
}
};

TEST_F(EquationEditor, LinesAddedThroughTheDialogAreSavedAndReadBack) {
    CEquationView* view = EquationView(RunNew(ID_NEW_EQUATION_SET));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->List()->GetItemCount(), 0);
    AddLine(*view, Dest::kTempFloat, "2.5*2");
    view->SelectRow(0);
    AddLine(*view, Dest::kUserFloat, "tempfloat1 +", kUserFloat5);
    const std::vector<std::string> expected{"TEMPFLOAT1 = 2.5 * 2", "USERFLOAT1 = TEMPFLOAT1 + User Data(5) User Float"};
    EXPECT_EQ(Rows(*view), expected);
    EXPECT_TRUE(view->Doc()->IsModified());
    PumpFor(100);
    EXPECT_TRUE(Screenshot("root", ScreenshotPath("equation-editor.png")));
    {
        CEquationDlg dialog(frame, view->Lines()->CurrentLine(), view->Doc()->Core().Context(), ui.services);
        dialog.Show();
        PumpFor(200);
        EXPECT_TRUE(Screenshot("root", ScreenshotPath("equation-line-dialog.png")));
        dialog.Hide();
    }

    view->runDialog = Accepting<CEquationOptionsDlg>([](CEquationOptionsDlg& d) {
        Type(d.NameField(), "Blend check");
        d.DisableBox()->SetValue(true);
    });
    view->OnOptions();
    const std::string path = dir.File("blend.EQX");
    ASSERT_TRUE(view->Doc()->OnSaveDocument(wxString::FromUTF8(path)));
    view->Doc()->Close();

    CEquationView* again = EquationView(OpenFile(path));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(Rows(*again), expected);
    EXPECT_EQ(again->Doc()->Core().SetName(), "Blend check");
    EXPECT_EQ(again->Doc()->Core().DisableFlag(), 1);
}

TEST_F(EquationEditor, TheDialogRefusesALineThatDoesNotParseAndShowsWhy) {
    CEquationView* view = EquationView(RunNew(ID_NEW_EQUATION_SET));
    ASSERT_NE(view, nullptr);
    std::string shown;
    view->runDialog = [&](wxDialog& dialog) {
        auto& d = dynamic_cast<CEquationDlg&>(dialog);
        d.ChooseDestination(Dest::kUserFloat);
        Type(d.ExpressionField(), "1+2-3*4/5");
        const bool ok = d.TransferDataFromWindow();
        shown = d.LineTextLabel()->GetLabel().utf8_string();
        return ok ? wxID_OK : wxID_CANCEL;
    };
    EXPECT_FALSE(view->InsertLine());
    EXPECT_EQ(shown, "Error 8 - MAXIMUM ALLOWED OPERATIONS (4) EXCEEDED");
    EXPECT_EQ(view->List()->GetItemCount(), 0);
    EXPECT_FALSE(view->Doc()->IsModified());
}

TEST_F(EquationEditor, ALineCutFromOneSetPastesIntoAnother) {
    CEquationView* first = EquationView(RunNew(ID_NEW_EQUATION_SET));
    ASSERT_NE(first, nullptr);
    AddLine(*first, Dest::kComment, "blend ratio");
    first->SelectRow(0);
    first->CopyLine(true);
    EXPECT_EQ(first->List()->GetItemCount(), 0);
    CEquationView* second = EquationView(RunNew(ID_NEW_EQUATION_SET));
    ASSERT_NE(second, nullptr);
    if (!second->CanPaste()) GTEST_SKIP() << "no clipboard on this display";
    second->PasteLine();
    EXPECT_EQ(Rows(*second), std::vector<std::string>{";  blend ratio"});
}

TEST_F(EquationEditor, TheTwoHundredAndFirstLineIsRefusedWithTheMessage) {
    CEquationView* view = EquationView(RunNew(ID_NEW_EQUATION_SET));
    ASSERT_NE(view, nullptr);
    for (size_t i = 0; i < CEquationDoc::kMaxLines; ++i) {
        auto line = std::make_unique<CEquation>();
        line->type = Dest::kComment;
        line->text = ";  c";
        view->Doc()->Core().Lines().push_back(std::move(line));
    }
    view->Doc()->UpdateAllViews();
    view->runDialog = [](wxDialog&) { return static_cast<int>(wxID_OK); };
    EXPECT_FALSE(view->InsertLine());
    EXPECT_EQ(ui.LastMessage(), EquationEditList::kFullText);
    EXPECT_EQ(view->List()->GetItemCount(), 200);
}

}  // namespace
}  // namespace qs::test
