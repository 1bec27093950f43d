#include <gtest/gtest.h>
#include <wx/listbox.h>
#include <wx/listctrl.h>

#include <wx/filehistory.h>

#include <filesystem>
#include <functional>

#include "ShellFixture.h"
#include "SimRig.h"
#include "app/programdata/CDirectoryView.h"
#include "app/shell/CErrorLogView.h"
#include "app/shell/CMainStatusBar.h"
#include "app/common/CStringArrayDialog.h"
#include "app/shell/CommandIds.h"
#include "link/DX3Protocol.h"
#include "programdata/CDirectory.h"
#include "platform/ControlSocket.h"

namespace qs::test {

namespace {

CStringArrayDialog* ShownList() {
    for (wxWindow* w : wxTopLevelWindows) {
        if (auto* d = dynamic_cast<CStringArrayDialog*>(w); d && d->IsModal()) return d;
    }
    return nullptr;
}

// Acts on the document list once it is up (inside its modal loop).
void WhenListShown(std::function<void(CStringArrayDialog&)> act) {
    wxTheApp->CallAfter([act] {
        if (CStringArrayDialog* d = ShownList()) act(*d);
        else WhenListShown(act);
    });
}

std::vector<std::string> Items(wxListBox* list) {
    std::vector<std::string> items;
    for (unsigned i = 0; i < list->GetCount(); ++i) items.push_back(list->GetString(i).utf8_string());
    return items;
}

void ClickOk(wxDialog& d) {
    wxWindow* ok = d.FindWindow(wxID_OK);
    ASSERT_NE(ok, nullptr);
    wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
    click.SetEventObject(ok);
    ok->GetEventHandler()->ProcessEvent(click);
}

std::string StatePane(CMainFrame* frame) {
    return frame->StatusPanes()->GetStatusText(CMainStatusBar::kStatePane).utf8_string();
}

}  // namespace

using MainFrameDocuments = ShellFixture;

TEST_F(MainFrameDocuments, TheDemoDocumentGoesOnlineWithTheSimulatorAndSaysSoInGreen) {
    SimRig sim;
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    options.AutoConnect = true;
    CVexa3WxDoc* doc = Open(WriteDocument("demo.D3X", sim.Host()));
    ASSERT_NE(doc, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return StatePane(frame) == " *ONLINE* "; }, 15000))
        << "state pane: \"" << StatePane(frame) << "\"; messages: " << ui.LastMessage();
    EXPECT_EQ(frame->StatusPanes()->StatePaneColour(), wxColour(0, 0xFF, 0));
    EXPECT_EQ(frame->StatusPanes()->GetStatusText(CMainStatusBar::kLinkPane).utf8_string(),
              "TCP/IP: " + sim.Host() + ":7734");
    EXPECT_TRUE(sim.WaitForCommand("PV SY 111")) << "the probe";

    // Its window shows the document's directories as a tree, Config first.
    auto* view = dynamic_cast<CDirectoryView*>(doc->GetFirstView());
    ASSERT_NE(view, nullptr);
    ASSERT_FALSE(view->Layout().nodes.empty());
    EXPECT_EQ(view->Tree()->GetItemText(view->ItemOf(0)).utf8_string(), "Config");

    // Offline and other states show their own labels in the pane's own colour; closing the
    // last document clears the panes.
    doc->Core().SetState(CVexa3Doc::kStateOffline);
    frame->UpdateConnectionPane();
    EXPECT_EQ(StatePane(frame), " Offline  ");
    EXPECT_FALSE(frame->StatusPanes()->StatePaneColour().IsOk());
    doc->Core().SetState(CVexa3Doc::kStateReadOnly);
    EXPECT_EQ(StatePane(frame), " *READ ONLY* ") << "a state change shows at once";
    EXPECT_EQ(frame->StatusPanes()->StatePaneColour(), wxColour(0, 0x88, 0xFF));
    manager->CloseDocuments(true);
    PumpFor(100);
    EXPECT_EQ(StatePane(frame), "   ");
}

TEST_F(MainFrameDocuments, SeveralDocumentsAreListedByTitleAndLinkForTheUserToChoose) {
    EXPECT_EQ(frame->ChooseDeviceDocument(), nullptr) << "none open";
    CVexa3WxDoc* serial = Open(WriteDocument("Bay A.D3X", "", 2, 5));
    ASSERT_NE(serial, nullptr);
    EXPECT_EQ(frame->ChooseDeviceDocument(), &serial->Core()) << "the only one, without asking";
    CVexa3WxDoc* tcp = Open(WriteDocument("Rack B.D3X", "192.168.10.20"));
    ASSERT_NE(tcp, nullptr);

    std::vector<std::string> shown;
    WhenListShown([&](CStringArrayDialog& d) {
        shown = Items(d.List());
        d.List()->SetSelection(1);
        ClickOk(d);
    });
    EXPECT_EQ(frame->ChooseDeviceDocument(), &tcp->Core());
    EXPECT_EQ(shown, (std::vector<std::string>{"Bay A.D3X (Com2,  Addr 5)", "Rack B.D3X (192.168.10.20)"}));

    WhenListShown([](CStringArrayDialog& d) { d.EndModal(wxID_CANCEL); });
    EXPECT_EQ(frame->ChooseDeviceDocument(), nullptr) << "cancelled";
    WhenListShown([](CStringArrayDialog& d) { d.EndModal(wxID_CANCEL); });
    EXPECT_EQ(frame->GetConnectedProtocol(nullptr, false), nullptr) << "cancelled before connecting";
    EXPECT_EQ(serial->Core().State(), CVexa3Doc::kStateNoComm);
    EXPECT_EQ(tcp->Core().State(), CVexa3Doc::kStateNoComm);
    EXPECT_TRUE(ui.Messages().empty()) << ui.LastMessage();
}

TEST_F(MainFrameDocuments, AConnectedProtocolOnlyWhenTheDeviceAnswersAsAsked) {
    SimRig sim;
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    CVexa3WxDoc* online = Open(WriteDocument("online.D3X", sim.Host(), 0, 1));
    ASSERT_NE(online, nullptr);
    DX3Protocol* protocol = frame->GetConnectedProtocol(&online->Core(), true);
    ASSERT_NE(protocol, nullptr) << ui.LastMessage();
    EXPECT_EQ(protocol->Address(), 1);
    EXPECT_EQ(online->Core().State(), CVexa3Doc::kStateOnline);

    SimRig readOnly({.args = {"--persona", "readonly"}});
    ASSERT_TRUE(readOnly.Ready()) << readOnly.Error();
    CVexa3WxDoc* reader = Open(WriteDocument("reader.D3X", readOnly.Host()));
    EXPECT_NE(frame->GetConnectedProtocol(&reader->Core(), false), nullptr) << "reading is allowed";
    EXPECT_EQ(reader->Core().State(), CVexa3Doc::kStateReadOnly);
    const size_t before = ui.Messages().size();
    EXPECT_EQ(frame->GetConnectedProtocol(&reader->Core(), true), nullptr) << "writing is not";
    EXPECT_EQ(ui.Messages().size(), before + 1) << "and the refusal is said";

    // No link at all: a document without a port, and one whose device is not there.
    const std::string nowhere = WriteDocument("nowhere.D3X", "127.0.0.1");
    CVexa3WxDoc* unlinked = Open(nowhere);
    unlinked->Core().SetPortIndex(CVexa3Doc::kPortNone);
    EXPECT_EQ(frame->GetConnectedProtocol(&unlinked->Core(), false), nullptr);
    EXPECT_EQ(ui.LastMessage(), "nowhere.D3X - Cannot open Communications Port");

    home_.Write("QS3X.INI", "[Ports]\nCOM9=" + home_.File("no-such-port") + "\n");
    CVexa3WxDoc* serial = Open(WriteDocument("serial.D3X", "", 9));
    EXPECT_EQ(frame->GetConnectedProtocol(&serial->Core(), false), nullptr);
    EXPECT_EQ(ui.LastMessage(), "serial.D3X - Cannot open Communications Port");
    EXPECT_EQ(ports.RefCount(9), 0);

    const std::string host = SimProcess::UniqueLoopbackAddress();  // nothing listens there
    CVexa3WxDoc* absent = Open(WriteDocument("absent.D3X", host));
    EXPECT_EQ(frame->GetConnectedProtocol(&absent->Core(), false), nullptr);
    EXPECT_FALSE(ui.Messages().empty());
}

TEST_F(MainFrameDocuments, TheErrorLogShowsOneDocumentsLinesAndNeverOutlivesIt) {
    CVexa3WxDoc* a = Open(WriteDocument("first.D3X", "10.0.0.1"));
    CVexa3WxDoc* b = Open(WriteDocument("second.D3X", "10.0.0.2"));
    ASSERT_TRUE(a && b);

    // The core reaches the log through the platform interface.
    AddTransferError(&a->Core(), "Read PV CF 005 - Command Rejected");
    AddTransferError(&a->Core(), "Read PV CF 006 - Command Rejected");
    CErrorLogView* log = frame->ErrorLog();
    ASSERT_NE(log, nullptr);
    EXPECT_EQ(log->Lines(), (std::vector<std::string>{"Read PV CF 005 - Command Rejected",
                                                      "Read PV CF 006 - Command Rejected"}));
    EXPECT_EQ(log->GetFrame()->GetLabel(), "Download Error Log - first.D3X");

    // Another document's error empties the list, which then shows that document's lines.
    AddTransferError(&b->Core(), "Write PC SY 111 - Value out of range");
    EXPECT_EQ(frame->ErrorLog(), log) << "one log window";
    EXPECT_EQ(log->Lines(), (std::vector<std::string>{"Write PC SY 111 - Value out of range"}));
    EXPECT_EQ(log->GetFrame()->GetLabel(), "Download Error Log - second.D3X");
    frame->ClearOwner(&a->Core());
    EXPECT_EQ(log->Lines().size(), 1u) << "not the first document's lines any more";
    frame->ClearOwner(&b->Core());
    EXPECT_TRUE(log->Lines().empty());

    // Closing the log leaves its document open.
    log->GetFrame()->Close(true);
    PumpFor(50);
    EXPECT_EQ(frame->ErrorLog(), nullptr);
    EXPECT_EQ(frame->DeviceDocuments().size(), 2u);

    // Closing the document closes its log.
    AddTransferError(&b->Core(), "Write PC SY 112 - Value out of range");
    ASSERT_NE(frame->ErrorLog(), nullptr);
    ASSERT_TRUE(manager->CloseDocument(b, true));
    PumpFor(50);
    EXPECT_EQ(frame->ErrorLog(), nullptr);
    EXPECT_EQ(frame->DeviceDocuments(), (std::vector<CVexa3WxDoc*>{a}));
    AddTransferError(&a->Core(), "Read PV CF 007 - Command Rejected");
    ASSERT_NE(frame->ErrorLog(), nullptr);
    EXPECT_EQ(frame->ErrorLog()->Lines().size(), 1u);
}

TEST_F(MainFrameDocuments, AnEmulatorsEndReconnectsTheActiveDocumentOnceNoTransferRuns) {
    SimRig sim;
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    CVexa3WxDoc* doc = Open(WriteDocument("rack.D3X", sim.Host()));
    ASSERT_NE(doc, nullptr);
    TempDir runtime;
    ControlSocket socket;
    std::string error;
    ASSERT_TRUE(socket.Listen(runtime.Path(), &error)) << error;
    frame->SetControlSocket(&socket);
    EXPECT_EQ(doc->Core().State(), CVexa3Doc::kStateNoComm);

    {
        // A transfer is running: the message is read but waits.
        ModalPump::BusyScope transfer;
        ASSERT_TRUE(SendControlMessage(runtime.Path(), ControlMessage::kRemoteDisplayDone, 2000, &error)) << error;
        PumpFor(3 * CMainFrame::kTickMs + 200);
        EXPECT_EQ(socket.ClientCount(), 0u) << "the client was read and let go";
        EXPECT_EQ(doc->Core().State(), CVexa3Doc::kStateNoComm) << "no second device command during a transfer";
    }
    EXPECT_TRUE(PumpUntil([&] { return doc->Core().State() == CVexa3Doc::kStateOnline; }, 10000))
        << "reconnected once the transfer ended; " << ui.LastMessage();
    EXPECT_EQ(StatePane(frame), " *ONLINE* ");

    // MMIDone does the same.
    doc->Core().SetState(CVexa3Doc::kStateOffline);
    ASSERT_TRUE(SendControlMessage(runtime.Path(), ControlMessage::kMmiDone, 2000, &error)) << error;
    EXPECT_TRUE(PumpUntil([&] { return doc->Core().State() == CVexa3Doc::kStateOnline; }, 10000));
    frame->SetControlSocket(nullptr);
}

TEST_F(MainFrameDocuments, SavedUnderItsNameOrANewOneAndNeverDroppedWithoutAsking) {
    const std::string path = WriteDocument("site.D3X", "10.1.2.3");
    CVexa3WxDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->Core().Title(), "site.D3X");
    ASSERT_NE(manager->GetFileHistory(), nullptr);
    EXPECT_EQ(manager->GetFileHistory()->GetHistoryFile(0).utf8_string(), path) << "in the recent-file list";

    // A value changed in the core document makes the document modified.
    ASSERT_TRUE(doc->Core().SetParamValue(CDirectory::kSystem, 111, 0, 7));
    doc->Core().SetModified(true);
    doc->Core().UpdateAllViews();
    EXPECT_TRUE(doc->IsModified());

    // Closing it asks first; Cancel keeps it open and changed.
    ui.prompt.Answer(IDCANCEL);
    EXPECT_FALSE(doc->Close());
    EXPECT_EQ(ui.LastMessage(), "Save changes to site.D3X?");
    EXPECT_TRUE(doc->IsModified());

    ASSERT_TRUE(doc->Save());
    EXPECT_FALSE(doc->IsModified());
    EXPECT_FALSE(doc->Core().IsModified());
    {
        ComPortTable scratch;
        DefinitionSource source;
        source.searchDirs = {QS_DATA_BUILD_DIR};
        CVexa3Doc reread(scratch, source);
        ASSERT_TRUE(reread.Load(path));
        EXPECT_EQ(reread.Ipv4(), 0x0A010203u);
    }

    // Save As writes the new file and takes its name.
    const std::string copy = home_.File("copy of site.D3X");
    ASSERT_TRUE(doc->OnSaveDocument(wxString::FromUTF8(copy)));
    doc->SetTitle("copy of site.D3X");
    EXPECT_TRUE(std::filesystem::exists(copy));
    EXPECT_EQ(doc->GetFilename().utf8_string(), copy);
    EXPECT_EQ(doc->Core().Title(), "copy of site.D3X");

    // A second window on the document closes alone; the document stays.
    wxCommandEvent newWindow(wxEVT_MENU, ID_WINDOW_NEW);
    frame->GetEventHandler()->ProcessEvent(newWindow);
    ASSERT_EQ(doc->GetViews().size(), 2u);
    auto* second = static_cast<wxView*>(doc->GetViews().GetLast()->GetData());
    doc->Modify(true);
    ui.prompt.Answer(IDCANCEL);
    const size_t asked = ui.Messages().size();
    second->GetFrame()->Close();
    PumpFor(50);
    EXPECT_EQ(doc->GetViews().size(), 1u);
    EXPECT_EQ(ui.Messages().size(), asked) << "nothing to ask while another window shows it";
    ui.prompt.answers.clear();

    // Yes saves before closing.
    doc->Modify(true);
    ui.prompt.Answer(IDYES);
    const auto before = std::filesystem::last_write_time(copy);
    EXPECT_TRUE(manager->CloseDocument(doc));
    EXPECT_GE(std::filesystem::last_write_time(copy), before);
    EXPECT_TRUE(frame->DeviceDocuments().empty());
}

TEST_F(MainFrameDocuments, FileNewWithoutTheWizardOpensADocumentOnCom1) {
    frame->OnFileNew();
    auto docs = frame->DeviceDocuments();
    ASSERT_EQ(docs.size(), 1u);
    EXPECT_EQ(docs[0]->GetUserReadableName(), "NEW_1");
    EXPECT_EQ(docs[0]->Core().PortIndex(), 1);
    EXPECT_EQ(docs[0]->Core().ProtocolKind(), 1);
    EXPECT_TRUE(docs[0]->IsModified());
    EXPECT_EQ(docs[0]->Core().State(), CVexa3Doc::kStateNoComm) << "not connected with AutoConnect off";

    // With the wizard there, its answers go into the new document.
    Shell().newDeviceWizard = [] {
        return std::function<void(CVexa3Doc&)>([](CVexa3Doc& doc) {
            doc.SetPortIndex(CVexa3Doc::kPortTcp);
            doc.SetIpv4(0x0A000005);
        });
    };
    frame->OnFileNew();
    Shell().newDeviceWizard = nullptr;
    docs = frame->DeviceDocuments();
    ASSERT_EQ(docs.size(), 2u);
    EXPECT_EQ(docs[1]->GetUserReadableName(), "NEW_2");
    EXPECT_EQ(docs[1]->Core().PortIndex(), 0);
    EXPECT_EQ(frame->DeviceDocumentLine(*docs[1]), "NEW_2 (10.0.0.5)");
}

}  // namespace qs::test
