// The translation editor's two transfers through the main window's choice and connection of
// the program-data document, against the simulated controller: Dump All says so when done,
// Read All makes a new document only when the read succeeded and leaves the open one as it was.
#include "SideDocumentShell.h"
#include "SimRig.h"

namespace qs::test {
namespace {

using TranslationEditorDevice = SideDocumentShell;

TEST_F(TranslationEditorDevice, DumpAllThenReadAllIntoANewDocument) {
    SimRig rig;
    ASSERT_TRUE(rig.Ready()) << rig.Error();
    ASSERT_NE(OpenDeviceDocument(rig.Host()), nullptr);
    CTranslation t;
    t.SetName("Deutsch");
    t.SetText(0, "Duravane III bereit");
    t.SetText(4573, "FehlerAndere");
    CTransView* view = OpenTranslation(Write("de.LGX", t));
    ASSERT_NE(view, nullptr);
    Choose(ID_DUMP_ALL);
    EXPECT_EQ(ui.LastMessage(), CTransView::kDownloaded);

    Choose(ID_READ_ALL);
    auto* read = dynamic_cast<CTranslationWxDoc*>(manager->GetDocuments().GetLast()->GetData());
    ASSERT_NE(read, nullptr);
    EXPECT_NE(read, view->Doc());
    EXPECT_TRUE(read->IsModified());
    EXPECT_EQ(read->Core().Name(), "Deutsch");
    EXPECT_EQ(read->Core().Texts(), view->Doc()->Core().Texts());
    CTransView* readView = TransView(read);
    ASSERT_NE(readView, nullptr);
    EXPECT_EQ(readView->CellText(4573, 1), "FehlerAndere");
    EXPECT_FALSE(view->Doc()->IsModified());
}

TEST_F(TranslationEditorDevice, AFailedReadAllLeavesNoNewDocument) {
    SimRig rig;  // nothing was ever written to it
    ASSERT_TRUE(rig.Ready()) << rig.Error();
    ASSERT_NE(OpenDeviceDocument(rig.Host()), nullptr);
    CTransView* view = NewTranslation();
    ASSERT_NE(view, nullptr);
    const size_t before = manager->GetDocuments().GetCount();
    view->OnReadAll();
    PumpFor(30);
    EXPECT_EQ(manager->GetDocuments().GetCount(), before);
    EXPECT_EQ(ui.LastMessage(), "Error initiating read -  - No Configuration Available");
}

}  // namespace
}  // namespace qs::test
