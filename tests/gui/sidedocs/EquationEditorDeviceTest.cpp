// The equation set editor's two transfers against the simulated controller: Dump All says so
// when done, Read All makes a new document that holds what was dumped, and a failed read makes
// none.
#include "SideDocumentShell.h"
#include "SimRig.h"

#include "app/sidedocs/equations/CEquationView.h"
#include "app/sidedocs/equations/CEquationWxDoc.h"
#include "programdata/ParamDictionary.h"
#include "sidedocs/equations/EquationDestinations.h"

namespace qs::test {
namespace {

class EquationEditorDevice : public SideDocumentShell {
protected:
    void SetUp() override {
        SideDocumentShell::SetUp();
        if (ParamDictionary::Instance().Size() == 0) {
            ASSERT_TRUE(ParamDictionary::Instance().LoadFile(std::string(QS_DATA_BUILD_DIR) + "/PARAM.DAT"));
        }
    }
    CEquationView* NewSet() {
        wxDocument* doc = RunNew(ID_NEW_EQUATION_SET);
        return doc ? dynamic_cast<CEquationView*>(doc->GetFirstView()) : nullptr;
    }
};

TEST_F(EquationEditorDevice, DumpAllThenReadAllIntoANewDocument) {
    SimRig rig;
    ASSERT_TRUE(rig.Ready()) << rig.Error();
    ASSERT_NE(OpenDeviceDocument(rig.Host()), nullptr);
    CEquationView* view = NewSet();
    ASSERT_NE(view, nullptr);
    CEquationDoc& set = view->Doc()->Core();
    set.SetSetName("Blend");
    for (const auto& [type, expression] : {std::pair{EquationDestinations::kTempFloat, "2.5 * 2"},
                                           std::pair{EquationDestinations::kUserFloat, "TEMPFLOAT1 + @69206021"}}) {
        auto line = std::make_unique<CEquation>();
        line->type = type;
        line->index = 1;
        ASSERT_TRUE(line->ParseExpression(expression, set.Context()).Ok()) << expression;
        set.Lines().push_back(std::move(line));
    }
    view->Doc()->UpdateAllViews();
    view->Doc()->Modify(false);
    view->OnDumpAll();
    EXPECT_EQ(ui.LastMessage(), CEquationView::kDownloaded);

    view->OnReadAll();
    PumpFor(30);
    auto* read = dynamic_cast<CEquationWxDoc*>(static_cast<wxDocument*>(manager->GetDocuments().GetLast()->GetData()));
    ASSERT_NE(read, nullptr);
    ASSERT_NE(read, view->Doc());
    EXPECT_TRUE(read->IsModified());
    EXPECT_FALSE(view->Doc()->IsModified());
    auto* readView = dynamic_cast<CEquationView*>(read->GetFirstView());
    ASSERT_NE(readView, nullptr);
    ASSERT_EQ(readView->List()->GetItemCount(), 2);
    EXPECT_EQ(readView->List()->GetItemText(0).utf8_string(), "TEMPFLOAT1 = 2.5 * 2");
    // A user register comes back under the name the language gives it.
    EXPECT_EQ(readView->List()->GetItemText(1).utf8_string(), "USERFLOAT1 = TEMPFLOAT1 + USERFLOAT5");
}

TEST_F(EquationEditorDevice, AFailedReadAllLeavesNoNewDocument) {
    SimRig rig;  // nothing was ever written to it
    ASSERT_TRUE(rig.Ready()) << rig.Error();
    ASSERT_NE(OpenDeviceDocument(rig.Host()), nullptr);
    CEquationView* view = NewSet();
    ASSERT_NE(view, nullptr);
    const size_t before = manager->GetDocuments().GetCount();
    view->OnReadAll();
    PumpFor(30);
    EXPECT_EQ(manager->GetDocuments().GetCount(), before);
}

}  // namespace
}  // namespace qs::test
