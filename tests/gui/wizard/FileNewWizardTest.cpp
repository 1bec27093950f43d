// File New runs the wizard modally over the main window, and Finish fills the new document.
#include <gtest/gtest.h>
#include <wx/treectrl.h>

#include "ShellFixture.h"
#include "WizardDriving.h"
#include "app/programdata/CDirectoryView.h"
#include "app/tools/wizard/CDX3ArmCfgDlg.h"
#include "programdata/CDirectory.h"
#include "programdata/CParam.h"

namespace qs::test {
namespace {

using A = WizardAnswers;

CDX3PropertySheet* ShownWizard() {
    for (wxWindow* w : wxTopLevelWindows)
        if (auto* sheet = dynamic_cast<CDX3PropertySheet*>(w); sheet && sheet->IsModal()) return sheet;
    return nullptr;
}

// Acts on the wizard once it runs (inside its modal loop).
void WhenWizardShown(std::function<void(CDX3PropertySheet&)> act) {
    wxTheApp->CallAfter([act] {
        if (CDX3PropertySheet* sheet = ShownWizard()) act(*sheet);
        else WhenWizardShown(act);
    });
}

std::string ConfigValue(CVexa3Doc& doc, int number) {
    const CParam* p = doc.FindDirectory(CDirectory::kConfig)->FindParam(number);
    return p ? p->Value(0) : "(none)";
}

class FileNewWizard : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        Shell().newDeviceWizard = [this] { return CDX3PropertySheet::Run(frame, frame->Services()); };
    }
};

TEST_F(FileNewWizard, FinishFillsTheNewDocument) {
    bool overFrame = false;
    WhenWizardShown([&](CDX3PropertySheet& sheet) {
        overFrame = sheet.GetParent() == frame;
        Next(sheet);
        Pick(ShownPage<CDX3ArmCfgDlg>(sheet)->TypeList(), A::kStraight);
        Type(ShownPage<CDX3ArmCfgDlg>(sheet)->AddressField(), "12");
        while (sheet.GetCurrentPage()) Next(sheet);
    });
    frame->OnFileNew();
    EXPECT_TRUE(overFrame);
    EXPECT_EQ(ShownWizard(), nullptr);
    const auto docs = frame->DeviceDocuments();
    ASSERT_EQ(docs.size(), 1u);
    CVexa3Doc& doc = docs[0]->Core();
    EXPECT_EQ(ConfigValue(doc, 1), "1");
    EXPECT_EQ(ConfigValue(doc, 2), "0 Straight Product");
    EXPECT_EQ(doc.BaseAddress(), 12);
    EXPECT_EQ(doc.PortIndex(), 1);
    EXPECT_TRUE(docs[0]->IsModified());
    EXPECT_TRUE(ui.Messages().empty()) << ui.LastMessage();

    auto* view = dynamic_cast<CDirectoryView*>(docs[0]->GetFirstView());
    ASSERT_NE(view, nullptr);
    wxTreeItemIdValue cookie;
    const wxTreeItemId first = view->Tree()->GetFirstChild(view->Tree()->GetRootItem(), cookie);
    ASSERT_TRUE(first.IsOk());
    EXPECT_EQ(view->Tree()->GetItemText(first), "Config");
}

TEST_F(FileNewWizard, CancelOpensAnEmptyDocumentOnCom1) {
    WhenWizardShown([](CDX3PropertySheet& sheet) { Click(sheet.FindWindow(wxID_CANCEL)); });
    frame->OnFileNew();
    const auto docs = frame->DeviceDocuments();
    ASSERT_EQ(docs.size(), 1u);
    EXPECT_EQ(docs[0]->Core().PortIndex(), 1);
    EXPECT_EQ(ConfigValue(docs[0]->Core(), 2), "") << "no arm layout written";
}

TEST(WizardResult, FunctionsLeftWithoutAPointAreTold) {
    RecordingUi ui;
    ComPortTable ports;
    DefinitionSource source;
    source.searchDirs = {QS_DATA_BUILD_DIR};
    CVexa3Doc doc(ports, source);
    WizardModel model(6, 6, 24);
    model.answers.bseBoard = false;
    model.SetArmType(0, 9);
    model.answers.shared.alarm = model.answers.shared.alarm2 = true;
    model.answers.shared.generalOutputs = 1;
    CDX3PropertySheet::ApplyToDocument(model, doc, ui.services);
    EXPECT_EQ(ui.Messages(),
              std::vector<std::string>{std::string(WizardPageRules::kUnassignedMessage) +
                                       "\nDigital output: General Purpose Output"});
    EXPECT_EQ(ConfigValue(doc, 553), "5 2nd Alarm Output");
}

}  // namespace
}  // namespace qs::test
