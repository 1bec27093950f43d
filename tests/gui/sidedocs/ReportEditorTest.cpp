// The report editor as a user works it: a new report from the main window, entries placed
// through the properties dialog (a register value, a text, a description), a click and the
// keys on the grid, the clipboard, drops, the options, save and reopen, and the two device
// commands against the simulated controller.
#include <wx/choice.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/menu.h>
#include <wx/textctrl.h>

#include "SideDocumentShell.h"
#include "SimRig.h"

#include "app/sidedocs/reports/CReportGrid.h"
#include "app/sidedocs/reports/CReportItemDlg.h"
#include "app/sidedocs/reports/CReportOptionsDlg.h"
#include "app/sidedocs/reports/CReportView.h"
#include "app/sidedocs/reports/CReportWxDoc.h"
#include "programdata/CParam.h"
#include "programdata/ParamDictionary.h"
#include "sidedocs/reports/ReportItem.h"
#include "sidedocs/reports/ReportItemSample.h"

namespace qs::test {
namespace {

std::vector<std::string> Entries(const CReport& report) {
    std::vector<std::string> out;
    for (const auto& i : report.Items())
        out.push_back(std::to_string(i->Line() + 1) + "," + std::to_string(i->Column() + 1) + ":" + i->Text());
    return out;
}
using Texts = std::vector<std::string>;

class ReportEditorShell : public SideDocumentShell {
protected:
    void SetUp() override {
        SideDocumentShell::SetUp();
        if (ParamDictionary::Instance().Size() == 0) {
            ASSERT_TRUE(ParamDictionary::Instance().LoadFile(std::string(QS_DATA_BUILD_DIR) + "/PARAM.DAT"));
        }
    }
    static CReportView* View(wxDocument* doc) { return doc ? dynamic_cast<CReportView*>(doc->GetFirstView()) : nullptr; }
    CReportView* NewReport() { return View(RunNew(ID_NEW_REPORT)); }

    // The properties dialog filled as typed: `type` 0-2, `value` for a text, `pick` for a register.
    static std::function<int(wxDialog&)> Properties(int line, int column, int type, const char* value = "",
                                                    const CParam* pick = nullptr) {
        return Accepting<CReportItemDlg>([=](CReportItemDlg& d) {
            Type(d.LineBox(), std::to_string(line));
            Type(d.ColumnBox(), std::to_string(column));
            d.TypeBox()->SetSelection(type);
            d.OnTypeChanged();
            if (pick) {
                d.entry = pick;
                d.registerId = ReportRegisterIdFor(*pick, 0);
                d.UpdateSample(true);
                d.TransferDataToWindow();
            }
            if (type == kReportItemUserText) Type(d.ValueBox(), wxString::FromUTF8(value));
        });
    }
    // A mouse button event on the grid at the middle of `item`.
    static void Mouse(CReportView& view, const ReportItem& item, wxEventType type) {
        const ReportItemRect r = view.Editor()->RectOf(item);
        wxMouseEvent e(type);
        const wxPoint at = view.Grid()->CalcScrolledPosition(wxPoint(r.x + r.width / 2, r.y + r.height / 2));
        e.SetPosition(at);
        e.SetEventObject(view.Grid());
        view.Grid()->GetEventHandler()->ProcessEvent(e);
    }
    static void Key(CReportView& view, int code) {
        wxKeyEvent e(wxEVT_KEY_DOWN);
        e.m_keyCode = code;
        e.SetEventObject(view.Grid());
        view.Grid()->GetEventHandler()->ProcessEvent(e);
    }
    static void PutText(const wxString& text) {
        wxClipboardLocker lock;
        ASSERT_TRUE(!!lock);
        wxTheClipboard->SetData(new wxTextDataObject(text));
    }
};

TEST_F(ReportEditorShell, ThreeEntriesPlacedThroughTheMainWindowAndTheGrid) {
    ASSERT_TRUE(Enabled(ID_NEW_REPORT));
    CReportView* view = NewReport();
    ASSERT_NE(view, nullptr);
    EXPECT_NE(frame->GetMenuBar()->FindMenu("Report"), wxNOT_FOUND);
    CReport& report = view->Doc()->Core();
    const CParam* transaction = ParamDictionary::Instance().FirstParamOfRow(16);
    ASSERT_NE(transaction, nullptr);

    view->runDialog = Properties(5, 30, kReportItemUserText, "TICKET");
    Choose(CReportView::ID_INSERT_NEW);
    view->runDialog = Properties(12, 13, kReportItemValue, "", transaction);
    view->InsertNew(ReportCell{});
    EXPECT_EQ(frame->StatusPanes()->GetStatusText(CMainStatusBar::kMessagePane).utf8_string(), "Line: 012  Col: 013");
    view->runDialog = Properties(12, 1, kReportItemDescription, "", transaction);
    view->InsertNew(ReportCell{});
    view->runDialog = [](wxDialog&) { return static_cast<int>(wxID_CANCEL); };
    view->InsertNew(ReportCell{3, 3});  // cancelled: never part of the report

    ASSERT_EQ(report.Items().size(), 3u);
    EXPECT_EQ(Entries(report)[0], "5,30:TICKET");
    EXPECT_EQ(report.Items()[1]->Text(), transaction->Name());
    EXPECT_EQ(report.Items()[1]->Type(), kReportItemDescription);
    EXPECT_EQ(report.Items()[2]->RegisterId(), ReportRegisterIdFor(*transaction, 0));
    EXPECT_TRUE(view->Doc()->IsModified());

    // A plain click opens the entry's properties; Delete takes the focused entry away.
    int opened = 0;
    view->runDialog = [&opened](wxDialog&) { ++opened; return static_cast<int>(wxID_CANCEL); };
    const ReportItem* ticket = report.Items()[0].get();
    Mouse(*view, *ticket, wxEVT_LEFT_DOWN);
    Mouse(*view, *ticket, wxEVT_LEFT_UP);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(report.Items().size(), 3u);
    Key(*view, WXK_DELETE);
    EXPECT_EQ(report.FindItemAt(4, 29), nullptr);
    EXPECT_EQ(report.Items().size(), 2u);
}

TEST_F(ReportEditorShell, ClipboardAndDropsFollowTheGridsCells) {
    CReportView* view = NewReport();
    ASSERT_NE(view, nullptr);
    CReport& report = view->Doc()->Core();
    view->runDialog = Properties(1, 1, kReportItemUserText, "Origin");
    view->InsertNew(ReportCell{});

    // Copy, then Paste onto the taken top-left cell: refused with the message.
    view->CopyItem(false);
    EXPECT_TRUE(view->CanPaste());
    view->Paste();
    EXPECT_EQ(ui.LastMessage(), qs::ReportEditor::kPasteOverText);
    EXPECT_EQ(report.Items().size(), 1u);
    // Paste Here from the grid's menu, on that same cell and on another.
    std::unique_ptr<wxMenu> menu(view->Grid()->MakeContextMenu(view->Grid()->CalcScrolledPosition(wxPoint(1, 1))));
    ASSERT_NE(menu, nullptr);
    EXPECT_NE(menu->FindItem(CReportView::ID_EDIT_ITEM), nullptr);  // the entry's own menu
    const wxPoint free = view->Grid()->CalcScrolledPosition(
        wxPoint(4 * view->Editor()->CellWidth() + 1, 6 * view->Editor()->CellHeight() + 1));
    menu.reset(view->Grid()->MakeContextMenu(free));
    ASSERT_NE(menu, nullptr);
    EXPECT_NE(menu->FindItem(CReportView::ID_MENU_POSITION), nullptr);
    EXPECT_EQ(menu->GetLabelText(CReportView::ID_MENU_POSITION), "{Line 7, Col 5}");
    view->Paste(view->Grid()->MenuCell());
    EXPECT_EQ(Entries(report), (Texts{"1,1:Origin", "7,5:Origin"}));

    // Plain text with a line break becomes one entry; text the character set cannot hold is refused.
    PutText("Two\nlines");
    view->Paste(ReportCell{9, 0});
    EXPECT_EQ(report.FindItemAt(9, 0)->Text(), "Two lines");
    PutText(wxString::FromUTF8("\xe4\xb8\xad"));
    view->Paste(ReportCell{10, 0});
    EXPECT_EQ(ui.LastMessage(), CReportView::kCharsetRefused);
    EXPECT_EQ(report.FindItemAt(10, 0), nullptr);

    // A drop lands on a free cell of the grid only.
    EXPECT_FALSE(view->Grid()->DropCell(view->Grid()->CalcScrolledPosition(wxPoint(1, 1))));
    const int right = report.GridColumns() * view->Editor()->CellWidth();
    EXPECT_FALSE(view->Grid()->DropCell(view->Grid()->CalcScrolledPosition(wxPoint(right + 1, 1))));
    EXPECT_TRUE(view->Drop(ReportCell{20, 2}, {}, "Dropped"));
    EXPECT_EQ(report.FindItemAt(20, 2)->Text(), "Dropped");
}

TEST_F(ReportEditorShell, OptionsSaveAndReopen) {
    CReportView* view = NewReport();
    ASSERT_NE(view, nullptr);
    view->runDialog = Properties(2, 3, kReportItemUserText, "Kept");
    view->InsertNew(ReportCell{});
    const int cellWidth = view->Editor()->CellWidth();

    view->runDialog = Accepting<CReportOptionsDlg>([](CReportOptionsDlg& d) {
        Type(d.TitleBox(), "Bill of lading");
        Type(d.PagesBox(), "3");
        d.CharsetBox()->SetSelection(2);
    });
    view->OnOptions();
    const CReport& report = view->Doc()->Core();
    EXPECT_EQ(report.Title(), "Bill of lading");
    EXPECT_EQ(report.GridLines(), 180);
    EXPECT_EQ(report.Charset(), 2);
    EXPECT_EQ(view->Editor()->CellWidth(), cellWidth);  // the cells stay as measured
    EXPECT_EQ(view->Grid()->Charset(), 2);

    const std::string path = dir.File("ticket.RPX");
    ASSERT_TRUE(view->Doc()->OnSaveDocument(wxString::FromUTF8(path)));
    ASSERT_TRUE(manager->CloseDocument(view->Doc(), true));
    PumpFor(30);
    CReportView* reopened = View(OpenFile(path));
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(Entries(reopened->Doc()->Core()), (Texts{"2,3:Kept"}));
    EXPECT_EQ(reopened->Doc()->Core().GridLines(), 180);
    EXPECT_EQ(reopened->Grid()->Charset(), 2);
}

TEST_F(ReportEditorShell, DumpAllThenReadAllIntoANewReport) {
    SimRig rig;
    ASSERT_TRUE(rig.Ready()) << rig.Error();
    ASSERT_NE(OpenDeviceDocument(rig.Host()), nullptr);
    CReportView* view = NewReport();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->CanTransfer());
    const CParam* transaction = ParamDictionary::Instance().FirstParamOfRow(16);
    view->runDialog = Properties(1, 10, kReportItemUserText, "TICKET");
    view->InsertNew(ReportCell{});
    view->runDialog = Properties(3, 1, kReportItemValue, "", transaction);
    view->InsertNew(ReportCell{});
    view->chooseSlot = [] { return std::optional<int>(3); };
    view->OnDumpAll();
    EXPECT_EQ(ui.LastMessage(), CReportView::kDownloaded);

    const size_t before = manager->GetDocuments().GetCount();
    view->OnReadAll();
    PumpFor(30);
    ASSERT_EQ(manager->GetDocuments().GetCount(), before + 1);
    CReportView* read = View(static_cast<wxDocument*>(manager->GetDocuments().GetLast()->GetData()));
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(read->Doc()->IsModified());
    EXPECT_EQ(Entries(read->Doc()->Core()), Entries(view->Doc()->Core()));

    // An empty slot reads as a failure and makes no document.
    view->chooseSlot = [] { return std::optional<int>(0); };
    view->OnReadAll();
    PumpFor(30);
    EXPECT_EQ(manager->GetDocuments().GetCount(), before + 1);
}

}  // namespace
}  // namespace qs::test
