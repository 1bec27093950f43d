// The directory tree of a document's window used as a technician uses it: copy and paste
// through the desktop's clipboard, drops, the Edit commands as each item allows them, printing
// and the document's link options.
#include <gtest/gtest.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/menu.h>

#include <functional>

#include "Processes.h"
#include "ShellFixture.h"
#include "WmDisplay.h"
#include "app/programdata/CDirectoryView.h"
#include "app/common/CSheetPrintout.h"
#include "app/programdata/CSplitterFrame.h"
#include "app/programdata/CVexa3Options.h"
#include "app/shell/CommandIds.h"
#include "platform/Prompt.h"
#include "programdata/CDirectory.h"
#include "programdata/CParam.h"
#include "programdata/CSubdirectory.h"
#include "programdata/CVexa3Doc.h"
#include "appmodel/programdata/DeviceCommands.h"
#include "appmodel/programdata/DirectoryTreeModel.h"
#include "platform/PrintSheet.h"

namespace qs::test {

class TreeCommands : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        doc = Open(WriteDocument("rack.D3X", "127.0.0.1"));
        ASSERT_NE(doc, nullptr);
        view = dynamic_cast<CDirectoryView*>(doc->GetFirstView());
        ASSERT_NE(view, nullptr);
        frame = view->Frame();
        PumpFor(100);
    }

    // Two arms, each with two meters (hybrid) and three products, as the config says.
    void TwoArms() {
        CVexa3Doc& core = doc->Core();
        for (const auto& [number, value] : std::vector<std::pair<int, std::string>>{
                 {1, "2"}, {2, "5"}, {3, "3"}, {14, "1"}, {4, "5"}, {5, "3"}, {15, "1"}})
            ASSERT_TRUE(core.SetParamText(CDirectory::kConfig, number, 0, value)) << number;
        core.UpdateAllViews();
        PumpFor(20);
    }

    // The node of the layout whose item texts from the top are `path` ("Arm 2/Meter 1"); a
    // part ending in '*' matches the start of a text.
    int Find(const std::string& path) const {
        const auto& nodes = view->Layout().nodes;
        int parent = -1, found = -1;
        size_t from = 0;
        while (from <= path.size()) {
            const size_t slash = path.find('/', from);
            std::string part = path.substr(from, slash == std::string::npos ? std::string::npos : slash - from);
            const bool prefix = !part.empty() && part.back() == '*';
            if (prefix) part.pop_back();
            found = -1;
            for (size_t i = 0; i < nodes.size() && found < 0; ++i)
                if (nodes[i].parent == parent &&
                    (prefix ? nodes[i].text.rfind(part, 0) == 0 : nodes[i].text == part))
                    found = static_cast<int>(i);
            if (found < 0 || slash == std::string::npos) break;
            parent = found;
            from = slash + 1;
        }
        return found;
    }

    void Select(int node) {
        ASSERT_GE(node, 0);
        view->Tree()->SelectItem(view->ItemOf(node));
        PumpFor(10);
    }

    // Whether the window's Edit command `id` is enabled now, as its menu item would be.
    bool EditEnabled(int id) {
        wxUpdateUIEvent e(id);
        e.SetEventObject(frame);
        frame->ProcessWindowEvent(e);
        return e.GetSetEnabled() && e.GetEnabled();
    }

    // The window's command `id` chosen, as from its menu.
    void Command(int id) {
        wxCommandEvent e(wxEVT_MENU, id);
        e.SetEventObject(frame);
        frame->ProcessWindowEvent(e);
    }

    // The first code of a subdirectory that takes `value` at index 0 of its values.
    CParam* CodeTaking(CSubdirectory& sub, const std::string& value) {
        CParam* found = nullptr;
        sub.ForEachParam([&](CParam& p) {
            if (!found && p.SetValue(value, 0) && p.Value(0) == value) found = &p;
        });
        return found;
    }

    CVexa3WxDoc* doc = nullptr;
    CDirectoryView* view = nullptr;
    CSplitterFrame* frame = nullptr;
};

TEST_F(TreeCommands, AnArmHundredCopiedThroughTheClipboardLandsAtTheOtherArmsValues) {
    // The clipboard is the display's: another program's copy must not come between.
    if (!OnOwnDisplay()) return;
    TwoArms();
    const int from = Find("Arm 1/100-*");
    const int to = Find("Arm 2/100-*");
    ASSERT_GE(from, 0);
    ASSERT_GE(to, 0);
    Select(to);
    const FrameSelection target = frame->Selection();
    ASSERT_NE(target.subdirectory, nullptr);
    Select(from);
    CSubdirectory* sub = frame->Selection().subdirectory;
    ASSERT_NE(sub, nullptr);
    CParam* code = CodeTaking(*sub, "7");
    ASSERT_NE(code, nullptr);
    const int fromIndex = sub->ValueIndex(frame->Selection().arm);
    ASSERT_TRUE(code->SetValue("7", fromIndex));
    // The same code of arm 2, where it lands.
    CParam* landing = nullptr;
    target.subdirectory->ForEachParam([&](CParam& p) {
        if (p.number == code->number) landing = &p;
    });
    ASSERT_NE(landing, nullptr);
    const int toIndex = target.subdirectory->ValueIndex(target.arm);
    ASSERT_EQ(target.arm, 1);
    ASSERT_NE(landing->Value(toIndex), "7");
    doc->Modify(false);

    Select(from);
    EXPECT_TRUE(EditEnabled(ID_EDIT_COPY));
    Command(ID_EDIT_COPY);
    {
        // What the desktop holds is our format, records of the document file's size.
        wxClipboardLocker lock;
        ASSERT_FALSE(!lock);
        ASSERT_TRUE(wxTheClipboard->IsSupported(wxDataFormat(DirectoryTreeModel::kClipboardFormat)));
        wxCustomDataObject data(wxDataFormat(DirectoryTreeModel::kClipboardFormat));
        ASSERT_TRUE(wxTheClipboard->GetData(data));
        EXPECT_GT(data.GetSize(), 0u);
        EXPECT_EQ(data.GetSize() % DirectoryTreeModel::kRecordSize, 0u);
    }
    Select(to);
    EXPECT_TRUE(EditEnabled(ID_EDIT_PASTE));
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(landing->Value(toIndex), "7");
    EXPECT_EQ(code->Value(fromIndex), "7") << "the copy is left as it was";
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(ui.Messages().empty()) << ui.LastMessage();

    // The other hundreds of arm 2 do not take it, nor does a meter.
    Select(Find("Arm 2/200-*"));
    EXPECT_FALSE(EditEnabled(ID_EDIT_PASTE));
    Select(Find("Arm 2/Meter 1"));
    EXPECT_FALSE(EditEnabled(ID_EDIT_PASTE));
}

TEST_F(TreeCommands, AMeterPastedOrDroppedOntoAProductIsRefusedWithItsMessage) {
    TwoArms();
    const int meter = Find("Arm 1/Meter 1");
    const int product = Find("Arm 1/Meter 1/Product 1");
    ASSERT_GE(meter, 0);
    ASSERT_GE(product, 0);
    CDirectory* meters = view->Layout().nodes[static_cast<size_t>(meter)].Directory();
    ASSERT_NE(meters, nullptr);
    ASSERT_NE(meters->FirstWalked(), nullptr);
    ASSERT_NE(CodeTaking(*meters->FirstWalked(), "3"), nullptr);
    CDirectory* products = view->Layout().nodes[static_cast<size_t>(product)].Directory();
    ASSERT_NE(products, nullptr);
    std::vector<std::string> before;
    products->FirstWalked()->ForEachParam([&](CParam& p) { before.push_back(p.Value(0)); });
    doc->Modify(false);

    Select(meter);
    EXPECT_TRUE(EditEnabled(ID_EDIT_COPY));
    Command(ID_EDIT_COPY);
    Select(product);
    EXPECT_FALSE(EditEnabled(ID_EDIT_PASTE)) << "the menu does not offer it";
    // Asked anyway (a key pressed before the menu caught up), it says why and changes nothing.
    view->Paste();
    EXPECT_EQ(ui.LastMessage(), DirectoryTreeModel::kPasteInvalid);

    const std::string dragged = DirectoryTreeModel::CollectRecords(
        doc->Core(), DirectoryTreeModel::TargetOf(view->Layout().nodes, meter), false);
    ASSERT_FALSE(dragged.empty());
    EXPECT_FALSE(view->PasteOnto(view->ItemOf(product), dragged, true));
    EXPECT_EQ(ui.LastMessage(), DirectoryTreeModel::kDropInvalid);

    std::vector<std::string> after;
    products->FirstWalked()->ForEachParam([&](CParam& p) { after.push_back(p.Value(0)); });
    EXPECT_EQ(after, before);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(TreeCommands, AMeterDroppedOnAnotherMeterLandsItsRecordsAtThatArmsValues) {
    TwoArms();
    const int meter1 = Find("Arm 1/Meter 1");
    const int meter2 = Find("Arm 2/Meter 2");
    ASSERT_GE(meter1, 0);
    ASSERT_GE(meter2, 0);
    CDirectory* meters = view->Layout().nodes[static_cast<size_t>(meter1)].Directory();
    CSubdirectory* first = meters->FirstWalked();
    ASSERT_NE(first, nullptr);
    CParam* code = CodeTaking(*first, "4");
    ASSERT_NE(code, nullptr);
    CDirectory* target = view->Layout().nodes[static_cast<size_t>(meter2)].Directory();
    ASSERT_NE(target, nullptr);
    // Meter 2 of arm 2: its own instance, arm 2's row of values.
    const int index = 1 + target->InstanceCount();
    ASSERT_NE(code->Value(index), "4");

    const std::string dragged = DirectoryTreeModel::CollectRecords(
        doc->Core(), DirectoryTreeModel::TargetOf(view->Layout().nodes, meter1), false);
    ASSERT_FALSE(dragged.empty());
    EXPECT_TRUE(view->PasteOnto(view->ItemOf(meter2), dragged, true));
    EXPECT_EQ(code->Value(index), "4");
    EXPECT_TRUE(doc->IsModified());

    // A drop of something that is no record block at all stores nothing.
    const std::string junk(DirectoryTreeModel::kRecordSize - 1, '\x07');
    doc->Modify(false);
    view->PasteOnto(view->ItemOf(meter2), junk, true);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(TreeCommands, ThePopupMenuOffersCopyAndPasteAsTheItemUnderItAllows) {
    if (!OnOwnDisplay()) return;
    TwoArms();
    // A hundred with no values copies nothing, and so offers nothing to paste.
    Select(Find("Arm 1/100-*"));
    Command(ID_EDIT_COPY);
    Select(Find("Arm 2/100-*"));
    EXPECT_FALSE(EditEnabled(ID_EDIT_PASTE));
    Select(Find("Arm 1/100-*"));
    ASSERT_NE(frame->Selection().subdirectory, nullptr);
    ASSERT_NE(CodeTaking(*frame->Selection().subdirectory, "7"), nullptr);
    Command(ID_EDIT_COPY);

    // The menu as it opened, then closed with Esc as the user does.
    struct Offered {
        bool shown = false, copy = false, paste = false;
    } offered;
    pid_t escape = -1;
    view->Tree()->Bind(wxEVT_MENU_OPEN, [&](wxMenuEvent& e) {
        e.Skip();
        wxMenu* menu = e.GetMenu();
        if (!menu || offered.shown) return;
        offered.shown = true;
        offered.copy = menu->IsEnabled(ID_EDIT_COPY);
        offered.paste = menu->IsEnabled(ID_EDIT_PASTE);
        escape = SpawnProgram({"xdotool", "key", "Escape"}, EnvironmentWith({}));
    });
    const auto popupOn = [&](const std::string& path) {
        offered = Offered{};
        const int node = Find(path);
        EXPECT_GE(node, 0) << path;
        wxTreeEvent e(wxEVT_TREE_ITEM_MENU, view->Tree(), view->ItemOf(node));
        view->Tree()->ProcessWindowEvent(e);
        if (escape > 0) WaitForChild(escape, std::chrono::seconds(5));
        escape = -1;
        EXPECT_TRUE(offered.shown) << path;
        // The item under the menu becomes the selection.
        EXPECT_EQ(view->NodeOf(view->Tree()->GetSelection()), node) << path;
        return offered;
    };

    Offered o = popupOn("Arm 2/100-*");
    EXPECT_TRUE(o.copy);
    EXPECT_TRUE(o.paste) << "the same hundred of another arm takes the copy";
    o = popupOn("Arm 2/200-*");
    EXPECT_TRUE(o.copy);
    EXPECT_FALSE(o.paste) << "another hundred does not";
    o = popupOn("Recipe");
    EXPECT_FALSE(o.copy) << "the recipes' own item holds no codes";
    EXPECT_FALSE(o.paste);
}

TEST_F(TreeCommands, PrintingAsksSelectionOrWholeDocumentAndLaysOutItsPages) {
    TwoArms();
    const int node = Find("Arm 2/1*");
    ASSERT_GE(node, 0);
    Select(node);
    CSubdirectory* sub = frame->Selection().subdirectory;
    ASSERT_NE(sub, nullptr);
    CParam* code = CodeTaking(*sub, "9");
    ASSERT_NE(code, nullptr);
    ASSERT_TRUE(code->SetValue("6", sub->ValueIndex(1)));

    // Yes: the selection only, arm 2's values.
    ui.prompt.Answer(IDYES);
    PrintSheet selection;
    ASSERT_TRUE(frame->PrepareSheet(selection));
    ASSERT_FALSE(ui.prompt.shown.empty());
    EXPECT_EQ(ui.prompt.shown.back().text, "Print only the selection?\n(No prints the whole document.)");
    EXPECT_EQ(ui.prompt.shown.back().type & 0xF, static_cast<unsigned>(MB_YESNOCANCEL));
    const std::vector<std::string> lines = selection.Lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "Arm 2 " + sub->Owner()->GetInstanceName(sub->DirectoryInstance()) + " " + sub->Name() +
                            " Directory");
    bool shown = false;
    for (const std::string& line : lines)
        if (line.rfind(code->Name(), 0) == 0) shown = line.find(" 6 ") != std::string::npos || line.back() == '6';
    EXPECT_TRUE(shown) << "arm 2's value of " << code->Name();
    CSheetPrintout one("rack.D3X", selection, doc->Core().CodePage());
    int minPage = 0, maxPage = 0, fromPage = 0, toPage = 0;
    one.GetPageInfo(&minPage, &maxPage, &fromPage, &toPage);
    EXPECT_EQ(minPage, 1);
    EXPECT_EQ(maxPage, 1);
    EXPECT_TRUE(one.HasPage(1));
    EXPECT_FALSE(one.HasPage(2));

    // No: the whole document, over several pages, starting with the config.
    ui.prompt.Answer(IDNO);
    PrintSheet whole;
    ASSERT_TRUE(frame->PrepareSheet(whole));
    const std::vector<std::string> all = whole.Lines();
    ASSERT_FALSE(all.empty());
    EXPECT_NE(all[0].find("Config"), std::string::npos) << all[0];
    EXPECT_GT(all.size(), lines.size());
    CSheetPrintout many("rack.D3X", whole, doc->Core().CodePage());
    many.GetPageInfo(&minPage, &maxPage, &fromPage, &toPage);
    EXPECT_EQ(maxPage, whole.Pages());
    EXPECT_GT(maxPage, 1);
    EXPECT_TRUE(many.HasPage(maxPage));
    EXPECT_FALSE(many.HasPage(maxPage + 1));

    // Cancel prints nothing.
    ui.prompt.Answer(IDCANCEL);
    PrintSheet none;
    EXPECT_FALSE(frame->PrepareSheet(none));
    EXPECT_TRUE(none.Lines().empty());
}

TEST_F(TreeCommands, DocumentOptionsShowTheDocumentsLinkAndCancelLeavesItAlone) {
    doc->Modify(false);
    const int port = doc->Core().PortIndex();
    const uint32_t ipv4 = doc->Core().Ipv4();
    const int state = doc->Core().State();
    bool found = false;
    DocumentLinkFields shown;
    wxTheApp->CallAfter([&] {
        for (wxWindow* w : wxTopLevelWindows) {
            auto* dialog = dynamic_cast<CVexa3Options*>(w);
            if (!dialog || !dialog->IsModal()) continue;
            found = true;
            shown = dialog->Fields();
            dialog->EndModal(wxID_CANCEL);
        }
    });
    frame->RunCommand(kCmdDocumentOptions);
    ASSERT_TRUE(found) << "the dialog was not shown";
    EXPECT_EQ(shown.description, "Test rack");
    EXPECT_EQ(shown.port, 0) << "TCP/IP";
    EXPECT_EQ(shown.ipv4, 0x7F000001u);
    EXPECT_EQ(shown.baseAddress, 1);
    EXPECT_EQ(shown.protocol, 1);
    EXPECT_EQ(doc->Core().PortIndex(), port);
    EXPECT_EQ(doc->Core().Ipv4(), ipv4);
    EXPECT_EQ(doc->Core().State(), state);
    EXPECT_FALSE(doc->IsModified());
}

}  // namespace qs::test
