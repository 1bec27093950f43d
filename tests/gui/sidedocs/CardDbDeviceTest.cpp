// Read All and Dump All of the card database editor from the main window's toolbar, through the
// program-data document the main window chooses and connects, against the simulated controller.
#include <gtest/gtest.h>

#include "SideDocumentShell.h"
#include "SimRig.h"

namespace qs::test {

namespace {

using CardDbDevice = SideDocumentShell;

}  // namespace

TEST_F(CardDbDevice, DumpAllThenReadAllOpensTheControllersCardsInANewDocument) {
    SimRig rig;
    ASSERT_TRUE(rig.Ready()) << rig.Error();
    ASSERT_NE(OpenDeviceDocument(rig.Host()), nullptr);
    CDatabaseWxDoc* doc = NewDatabase({"B1,Smith,,,0042", "A0,Jones,,,0007", "C2,Brown,,,1234"});
    ASSERT_NE(doc, nullptr);
    EXPECT_TRUE(Enabled(ID_READ_ALL));
    EXPECT_TRUE(Enabled(ID_DUMP_ALL));
    Choose(ID_DUMP_ALL);
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Database downloaded successfully"});
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(rig.WaitForCommand("LO"));

    ui.prompt.shown.clear();
    Choose(ID_READ_ALL);
    EXPECT_TRUE(ui.Messages().empty()) << ui.LastMessage();
    auto* fresh = dynamic_cast<CDatabaseWxDoc*>(manager->GetDocuments().GetLast()->GetData());
    ASSERT_NE(fresh, nullptr);
    ASSERT_NE(fresh, doc);
    EXPECT_EQ(fresh->Core().Records(), doc->Core().Records());
    EXPECT_TRUE(fresh->IsModified());
    EXPECT_EQ(fresh->GetUserReadableName(), "DDB_2");
    EXPECT_EQ(CardView(fresh)->List()->GetItemCount(), 4);
    EXPECT_EQ(frame->GetActiveChild(), CardView(fresh)->GetFrame());
}

TEST_F(CardDbDevice, AFailedReadAllLeavesNoNewWindow) {
    // The controller has never been given a database: it has none to send.
    SimRig rig;
    ASSERT_TRUE(rig.Ready()) << rig.Error();
    ASSERT_NE(OpenDeviceDocument(rig.Host()), nullptr);
    CDatabaseView* view = CardView(NewDatabase());
    ASSERT_NE(view, nullptr);
    const size_t before = manager->GetDocuments().GetCount();
    view->OnReadAll();
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Error initiating read -  - No Configuration Available"});
    EXPECT_EQ(manager->GetDocuments().GetCount(), before);
}

}  // namespace qs::test
