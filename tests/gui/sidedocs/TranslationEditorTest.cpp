// The translation editor as a translator uses it: open a file, see the texts in the font and
// characters of the translation's set, edit a row, find text both ways, change the options,
// and have an upgraded file backed up and saved under its name.
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/listctrl.h>
#include <wx/radiobut.h>

#include <wx/generic/printps.h>

#include "SideDocumentShell.h"

#include "app/common/CFindDialog.h"
#include "app/common/CSheetPrintout.h"
#include "app/common/CSearchBox.h"
#include "app/common/CodePageFont.h"
#include "app/shell/CommandIds.h"
#include "app/sidedocs/translations/CTextEditDlg.h"
#include "app/sidedocs/translations/CTransOptions.h"
#include "platform/ArchiveWriter.h"
#include "programdata/CFileHeader.h"

namespace qs::test {
namespace {

// "Привет" ("Hello") in the two Cyrillic sets.
const std::string k866Privet = "\x8F\xE0\xA8\xA2\xA5\xE2";
const std::string k1251Privet = "\xCF\xF0\xE8\xE2\xE5\xF2";
const wxString kPrivet = wxString::FromUTF8("\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82");

using TranslationEditor = SideDocumentShell;

TEST_F(TranslationEditor, ShowsEveryLiteralBesideItsTranslationInTheSetsFont) {
    CTranslation t;
    t.SetCharacterSet(2);
    t.SetText(0, k1251Privet);
    CTransView* view = OpenTranslation(Write("ru.LGX", t));
    ASSERT_NE(view, nullptr);
    wxListCtrl* list = view->List();
    EXPECT_EQ(list->GetItemCount(), 4574);
    EXPECT_EQ(list->GetColumnCount(), 2);
    wxListItem column;
    column.SetMask(wxLIST_MASK_TEXT | wxLIST_MASK_WIDTH);
    ASSERT_TRUE(list->GetColumn(1, column));
    EXPECT_EQ(column.GetText(), "Translation");
    EXPECT_EQ(column.GetWidth(), 280);
    EXPECT_EQ(view->CellText(0, 0), "Duravane III Ready");
    EXPECT_EQ(view->CellText(0, 1), kPrivet);
    EXPECT_EQ(view->CellText(4573, 0), "ErrOther");
    EXPECT_TRUE(view->InitialUpdateDone());
    EXPECT_EQ(list->GetFont().GetFaceName(), CodePageFaceName(2));
    EXPECT_FALSE(view->Doc()->IsModified());
}

TEST_F(TranslationEditor, EditingARowInCyrillicStoresTheSetsBytes) {
    CTranslation t;
    t.SetCharacterSet(1);
    CTransView* view = OpenTranslation(Write("ru866.LGX", t));
    ASSERT_NE(view, nullptr);
    view->runDialog = Accepting<CTextEditDlg>([](CTextEditDlg& d) {
        EXPECT_EQ(d.OriginalField()->GetValue(), "Press SET key");
        Type(d.NewTextField(), kPrivet);
    });
    EXPECT_TRUE(view->EditRow(1));
    EXPECT_EQ(view->Doc()->Core().Text(1), k866Privet);
    EXPECT_EQ(view->CellText(1, 1), kPrivet);
    EXPECT_TRUE(view->Doc()->IsModified());

    // The same text again changes nothing.
    view->Doc()->Modify(false);
    EXPECT_FALSE(view->EditRow(1));
    EXPECT_FALSE(view->Doc()->IsModified());

    // A character the set has no byte for, or a text longer than a frame holds, is refused.
    view->runDialog = Accepting<CTextEditDlg>([](CTextEditDlg& d) { Type(d.NewTextField(), wxString::FromUTF8("\xE2\x82\xAC 5")); });
    EXPECT_FALSE(view->EditRow(2));
    EXPECT_EQ(ui.LastMessage(), CTextEditDlg::kNotConvertibleMessage);
    view->runDialog = Accepting<CTextEditDlg>([](CTextEditDlg& d) {
        d.NewTextField()->SetMaxLength(0);
        Type(d.NewTextField(), wxString(wxUniChar(0x0416), 502));
    });
    EXPECT_FALSE(view->EditRow(2));
    EXPECT_EQ(ui.LastMessage(), "The text is 502 bytes long; a translation may have at most 501.");
    EXPECT_EQ(view->Doc()->Core().Text(2), "");
    EXPECT_FALSE(view->Doc()->IsModified());
}

TEST_F(TranslationEditor, EnterOnARowOpensItsEditor) {
    CTransView* view = NewTranslation();
    ASSERT_NE(view, nullptr);
    int opened = 0;
    view->runDialog = [&](wxDialog&) {
        ++opened;
        return static_cast<int>(wxID_CANCEL);
    };
    wxListEvent activate(wxEVT_LIST_ITEM_ACTIVATED, view->List()->GetId());
    activate.m_itemIndex = 5;
    activate.SetEventObject(view->List());
    view->List()->GetEventHandler()->ProcessEvent(activate);
    EXPECT_EQ(opened, 1);
    EXPECT_FALSE(view->Doc()->IsModified());
}

class TranslationEditorFind : public SideDocumentShell {
protected:
    void SetUp() override {
        SideDocumentShell::SetUp();
        CTranslation t;
        t.SetText(10, "xyz ten");
        t.SetText(4573, "xyz last");
        view = OpenTranslation(Write("find.LGX", t));
        ASSERT_NE(view, nullptr);
        view->OnFind();
        dialog = view->FindDialog();
        ASSERT_NE(dialog, nullptr);
        PumpFor(30);
    }

    // Types the text, sets the direction and presses a button; waits for the request to be done.
    void Press(wxButton* button, const wxString& text, bool backward) {
        dialog->SearchBox()->SetValue(text);
        (backward ? dialog->BackwardButton() : dialog->ForwardButton())->SetValue(true);
        wxCommandEvent click(wxEVT_BUTTON, button->GetId());
        click.SetEventObject(button);
        button->GetEventHandler()->ProcessEvent(click);
        // The request is queued to the editor's window; it has been handled once nothing waits.
        EXPECT_TRUE(PumpUntil([] { return !wxTheApp->HasPendingEvents(); }));
    }

    long Selected() const { return view->List()->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); }

    CTransView* view = nullptr;
    CFindDialog* dialog = nullptr;
};

TEST_F(TranslationEditorFind, BackwardFromTheStartBeginsAtTheLastRow) {
    Press(dialog->FindButton(), "xyz", true);
    EXPECT_EQ(Selected(), 4573);
    Press(dialog->FindNextButton(), "xyz", true);
    EXPECT_EQ(Selected(), 10);
    Press(dialog->FindNextButton(), "xyz", true);
    EXPECT_EQ(ui.LastMessage(), "Text Not Found");
    Press(dialog->FindButton(), "xyz", false);
    EXPECT_EQ(Selected(), 10);
    EXPECT_EQ(view->SearchPosition(), 10);
}

TEST_F(TranslationEditorFind, LiteralsAreSearchedAsWellAsTranslations) {
    Press(dialog->FindButton(), "ErrOther", false);
    EXPECT_EQ(Selected(), 4573);
    dialog->IgnoreCaseBox()->SetValue(true);
    Press(dialog->FindButton(), "XYZ TEN", false);
    EXPECT_EQ(Selected(), 10);
}

TEST_F(TranslationEditorFind, FromTheCursorWithoutAFocusedRowFindsNothing) {
    dialog->FromCursorBox()->SetValue(true);
    Press(dialog->FindButton(), "xyz", false);
    EXPECT_EQ(ui.LastMessage(), "Text Not Found");
    EXPECT_EQ(Selected(), -1);
}

TEST_F(TranslationEditor, OptionsChangeTheNameAndSwitchTheFontAtOnce) {
    CTransView* view = NewTranslation();
    ASSERT_NE(view, nullptr);
    view->runDialog = Accepting<CTransOptions>([](CTransOptions& d) {
        EXPECT_EQ(d.NameField()->GetValue(), "New Translation");
        EXPECT_EQ(d.CharacterSetList()->GetCount(), 6u);
        EXPECT_EQ(d.CharacterSetList()->GetString(5), "Chinese (936 - GB2312 subset)");
        Type(d.NameField(), wxString::FromUTF8("\xE4\xB8\xAD\xE6\x96\x87"));  // 中文
        d.CharacterSetList()->SetSelection(5);
    });
    view->OnOptions();
    const CTranslation& core = view->Doc()->Core();
    EXPECT_EQ(core.CharacterSet(), 5);
    EXPECT_EQ(core.Name(), "\xD6\xD0\xCE\xC4");
    EXPECT_EQ(view->List()->GetFont().GetFaceName(), CodePageFaceName(5));
    EXPECT_TRUE(view->Doc()->IsModified());

    // Cancel changes nothing.
    view->Doc()->Modify(false);
    view->runDialog = [](wxDialog&) { return static_cast<int>(wxID_CANCEL); };
    view->OnOptions();
    EXPECT_FALSE(view->Doc()->IsModified());
}

TEST_F(TranslationEditor, CommandsNeedAProgramDataDocumentAndThereIsNoSecondWindow) {
    CVexa3WxDoc* device = OpenDeviceDocument("127.0.0.1");
    ASSERT_NE(device, nullptr);
    CTransView* view = NewTranslation();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(Enabled(ID_READ_ALL));
    EXPECT_TRUE(Enabled(ID_DUMP_ALL));
    EXPECT_TRUE(Enabled(ID_DOCUMENT_OPTIONS));
    EXPECT_TRUE(Enabled(ID_EDIT_FIND));
    EXPECT_FALSE(Enabled(ID_WINDOW_NEW));
    // Edit > Find reaches the editor.
    Choose(ID_EDIT_FIND);
    EXPECT_NE(view->FindDialog(), nullptr);
    // The window's menu stands in the main window's bar while a translation is open.
    EXPECT_NE(frame->GetMenuBar()->FindMenu("Translation"), wxNOT_FOUND);
    // Without a program-data document there is nothing to go through.
    device->Modify(false);
    device->Close();
    device->DeleteAllViews();
    PumpFor(30);
    EXPECT_FALSE(Enabled(ID_READ_ALL));
    EXPECT_FALSE(Enabled(ID_DUMP_ALL));
    view->GetDocument()->Close();
    view->GetDocument()->DeleteAllViews();
    PumpFor(30);
    EXPECT_EQ(frame->GetMenuBar()->FindMenu("Translation"), wxNOT_FOUND);
}

TEST_F(TranslationEditor, PrintsEveryLiteralFiftyTwoToAPage) {
    CTransView* view = NewTranslation();
    ASSERT_NE(view, nullptr);
    const std::unique_ptr<wxPrintout> printout = view->MakePrintout();
    EXPECT_TRUE(printout->HasPage(88));
    EXPECT_FALSE(printout->HasPage(89));
    // Every page reaches the printer: here wx's PostScript printer, writing to a file.
    wxPrintDialogData data = CSheetPrintout::AllPages(*printout);
    data.GetPrintData().SetFilename(wxString::FromUTF8(dir.File("out.ps")));
    data.GetPrintData().SetPrintMode(wxPRINT_MODE_FILE);
    wxPostScriptPrinter printer(&data);
    ASSERT_TRUE(printer.Print(view->GetFrame(), printout.get(), false));
    const std::string ps = dir.Read("out.ps");
    size_t pages = 0;
    for (size_t at = ps.find("%%Page:"); at != std::string::npos; at = ps.find("%%Page:", at + 1)) ++pages;
    EXPECT_EQ(pages, 88u);
}

// A file of 11.25: it lacks the four texts 11.26 added and holds one it dropped.
std::string File1125(const std::string& path) {
    ArchiveWriter out;
    CFileHeader(CFileHeader::kMagicTranslations, 11.25f, CFileHeader::kTranslationsDescription, "notice").Serialize(out);
    out.WriteI32(0);
    out.WriteFixedText("Deutsch", 33);
    std::vector<std::string> texts(4572);
    texts[266] = "Kommunikation";
    out.WriteStringArray(texts);
    EXPECT_TRUE(out.SaveTo(path));
    return out.Bytes();
}

TEST_F(TranslationEditor, AnUpgradedFileIsBackedUpAndSavedUnderItsName) {
    const std::string path = dir.File("de.LGX");
    const std::string old = File1125(path);
    CTransView* view = OpenTranslation(path);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(ui.Messages(), (std::vector<std::string>{"This file is from a previous revision. It will be updated now.",
                                                       "Original file backed up with extension .LXB"}));
    EXPECT_EQ(dir.Read("de.LXB"), old);
    EXPECT_EQ(view->CellText(269, 1), "Kommunikation");
    ASSERT_TRUE(PumpUntil([&] { return !view->Doc()->IsModified(); }));
    CTranslation saved;
    ASSERT_TRUE(saved.Load(path, ui.services));
    EXPECT_FALSE(saved.Upgraded());
    EXPECT_EQ(saved.Text(269), "Kommunikation");
    EXPECT_EQ(saved.Name(), "Deutsch");
}

TEST_F(TranslationEditor, AnExistingBackupIsNeverOverwritten) {
    const std::string path = dir.File("de.LGX");
    const std::string old = File1125(path);
    dir.Write("de.LXB", "an earlier backup");
    CTransView* view = OpenTranslation(path);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(ui.LastMessage(), CTransView::kBackupFailed);
    PumpFor(50);
    EXPECT_EQ(dir.Read("de.LXB"), "an earlier backup");
    EXPECT_EQ(dir.Read("de.LGX"), old);
    EXPECT_TRUE(view->Doc()->IsModified());
}

}  // namespace
}  // namespace qs::test
