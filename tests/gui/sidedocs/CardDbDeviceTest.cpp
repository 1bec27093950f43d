// Read All and Dump All of the card database editor against the simulated controller, through a
// program-data document on TCP/IP that the host window hands over as the main frame does.
#include <gtest/gtest.h>

#include "CardDbRig.h"
#include "ModelFixtures.h"
#include "app/shell/CommandIds.h"
#include "link/ComPortTable.h"

namespace qs::test {

namespace {

bool Enabled(CDatabaseView& view, int id) {
    wxUpdateUIEvent e(id);
    view.ProcessEvent(e);
    return e.GetEnabled();
}

// A simulated controller and a program-data document on TCP/IP to it, not yet handed over.
class CardDbDevice : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim.Running()) << sim.Error();
        AttachToSim(device, sim);
    }

    SimProcess sim;
    CardDbRig rig;
    ComPortTable ports;
    CVexa3Doc device{ports, FilesIn(QS_DATA_BUILD_DIR)};
};

}  // namespace

TEST_F(CardDbDevice, DumpAllThenReadAllOpensTheControllersCardsInANewDocument) {
    CDatabaseWxDoc* doc = rig.NewDocument({"B1,Smith,,,0042", "A0,Jones,,,0007", "C2,Brown,,,1234"});
    CDatabaseView* view = CardDbRig::ViewOf(doc);
    // Nothing to go through yet: the commands are off and do nothing.
    EXPECT_FALSE(Enabled(*view, ID_READ_ALL));
    view->OnReadAll();
    EXPECT_EQ(rig.DocumentCount(), 1u);

    rig.frame->device = &device;
    EXPECT_TRUE(Enabled(*view, ID_READ_ALL));
    EXPECT_TRUE(Enabled(*view, ID_DUMP_ALL));
    wxCommandEvent dump(wxEVT_MENU, ID_DUMP_ALL);
    view->ProcessEvent(dump);
    EXPECT_EQ(rig.ui.Messages(), std::vector<std::string>{"Database downloaded successfully"});
    EXPECT_FALSE(doc->IsModified());

    rig.ui.prompt.shown.clear();
    wxCommandEvent read(wxEVT_MENU, ID_READ_ALL);
    view->ProcessEvent(read);
    EXPECT_TRUE(rig.ui.Messages().empty()) << rig.ui.LastMessage();
    ASSERT_EQ(rig.DocumentCount(), 2u);
    auto* fresh = dynamic_cast<CDatabaseWxDoc*>(rig.Manager().GetDocuments().GetLast()->GetData());
    ASSERT_NE(fresh, nullptr);
    ASSERT_NE(fresh, doc);
    EXPECT_EQ(fresh->Core().Records(), doc->Core().Records());
    EXPECT_TRUE(fresh->IsModified());
    EXPECT_EQ(fresh->GetUserReadableName(), "DDB_2");
    EXPECT_EQ(CardDbRig::ViewOf(fresh)->List()->GetItemCount(), 4);
    PumpFor(30);
    EXPECT_EQ(rig.frame->GetActiveChild(), CardDbRig::ViewOf(fresh)->GetFrame());
}

TEST_F(CardDbDevice, AFailedReadAllLeavesNoNewWindow) {
    // The controller has never been given a database: it has none to send.
    rig.frame->device = &device;
    CDatabaseView* view = CardDbRig::ViewOf(rig.NewDocument());
    view->OnReadAll();
    EXPECT_EQ(rig.ui.Messages(), std::vector<std::string>{"Error initiating read -  - No Configuration Available"});
    EXPECT_EQ(rig.DocumentCount(), 1u);
}

}  // namespace qs::test
