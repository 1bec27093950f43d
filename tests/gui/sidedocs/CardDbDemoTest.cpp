// Not a test: the card database editor in a window of its own, for a person (or xdotool) to try
// by hand until the window is closed. Run with
//   gui_sidedocs --gtest_also_run_disabled_tests --gtest_filter=CardDbDemo.*
// It starts a simulated controller of its own and hands it over through a program-data
// document on TCP/IP, as the main frame does.
#include <gtest/gtest.h>

#include <wx/menu.h>

#include "CardDbRig.h"
#include "ModelFixtures.h"
#include "app/common/WxUiServices.h"
#include "app/shell/CommandIds.h"
#include "link/ComPortTable.h"

namespace qs::test {

TEST(CardDbDemo, DISABLED_RunsUntilClosed) {
    SimProcess sim;
    ASSERT_TRUE(sim.Running()) << sim.Error();
    auto* manager = new wxDocManager;
    new CPowerDocTemplate(121, manager, "Quillset.NET Database File", "*.3DB;*.3db", "3DB",
                          "Quillset.NET  Database File", "DDB_", wxCLASSINFO(CDatabaseWxDoc),
                          wxCLASSINFO(CDatabaseView));
    auto* frame = new CardDbHostFrame(manager, Ui());
    InstallWxUiServices(frame);
    ComPortTable ports;
    CVexa3Doc device(ports, FilesIn(QS_DATA_BUILD_DIR));
    AttachToSim(device, sim);
    frame->device = &device;

    auto* file = new wxMenu;
    file->Append(wxID_NEW, "&Driver Database\tCtrl+N");
    file->Append(wxID_OPEN, "&Open...\tCtrl+O");
    file->Append(wxID_SAVE, "&Save\tCtrl+S");
    file->Append(wxID_SAVEAS, "Save &As...");
    file->Append(wxID_CLOSE, "&Close");
    file->Append(wxID_PRINT, "&Print...\tCtrl+P");
    file->Append(wxID_PREVIEW, "Print Pre&view");
    file->Append(wxID_EXIT, "E&xit");
    auto* edit = new wxMenu;
    edit->Append(wxID_CLEAR, "&Delete\tDel");
    edit->Append(wxID_FIND, "&Find...\tCtrl+F");
    auto* device_ = new wxMenu;
    device_->Append(ID_READ_ALL, "Read &All\tF3");
    device_->Append(ID_DUMP_ALL, "&Dump All\tAlt+F3");
    auto* bar = new wxMenuBar;
    bar->Append(file, "&File");
    bar->Append(edit, "&Edit");
    bar->Append(device_, "&Device");
    frame->SetMenuBar(bar);
    frame->Bind(wxEVT_MENU, [frame](wxCommandEvent&) { frame->Close(); }, wxID_EXIT);
    wxTheApp->SetTopWindow(frame);
    frame->Show();
    std::printf("demo window up; controller at %s\n", sim.Host().c_str());
    std::fflush(stdout);
    wxTheApp->MainLoop();
    frame->device = nullptr;
    delete manager;
}

}  // namespace qs::test
