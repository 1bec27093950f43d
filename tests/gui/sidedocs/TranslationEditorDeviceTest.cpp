// The editor's two transfers through the main window's device services, against the simulated
// controller: Dump All says so when done, Read All makes a new document only when the read
// succeeded and leaves the open one as it was.
#include "SimProcess.h"
#include "TranslationEditorFixture.h"
#include "link/ComPortTable.h"

namespace qs::test {
namespace {

uint32_t Ipv4Of(const std::string& host) {
    unsigned a = 0, b = 0, c = 0, d = 0;
    std::sscanf(host.c_str(), "%u.%u.%u.%u", &a, &b, &c, &d);
    return (a << 24) | (b << 16) | (c << 8) | d;
}

class TranslationEditorDevice : public TranslationEditorFixture {
protected:
    void SetUp() override {
        TranslationEditorFixture::SetUp();
        SimProcess::Options o;
        o.args = {"--addresses", "1,2"};
        sim = std::make_unique<SimProcess>(o);
        ASSERT_TRUE(sim->Running()) << sim->Error();
        device = std::make_unique<CVexa3Doc>(ports, DefinitionSource{});
        DocumentLinkFields f = device->GetLinkFields();
        f.port = CVexa3Doc::kPortTcp;
        f.protocol = kProtocolMini;
        f.ipv4 = Ipv4Of(sim->Host());
        device->SetLinkFields(f);
        frame->device = device.get();
    }

    void TearDown() override {
        frame->device = nullptr;
        TranslationEditorFixture::TearDown();
        device.reset();
        sim.reset();
    }

    ComPortTable ports;
    std::unique_ptr<SimProcess> sim;
    std::unique_ptr<CVexa3Doc> device;
};

TEST_F(TranslationEditorDevice, DumpAllThenReadAllIntoANewDocument) {
    CTranslation t;
    t.SetName("Deutsch");
    t.SetText(0, "Duravane III bereit");
    t.SetText(4573, "FehlerAndere");
    CTransView* view = Open(Write("de.LGX", t));
    ASSERT_NE(view, nullptr);
    view->OnDumpAll();
    EXPECT_EQ(ui.LastMessage(), CTransView::kDownloaded);

    view->OnReadAll();
    PumpFor(30);
    ASSERT_EQ(manager->GetDocuments().GetCount(), 2u);
    auto* read = dynamic_cast<CTranslationWxDoc*>(manager->GetDocuments()[1]);
    ASSERT_NE(read, nullptr);
    EXPECT_NE(read, view->Doc());
    EXPECT_TRUE(read->IsModified());
    EXPECT_EQ(read->Core().Name(), "Deutsch");
    EXPECT_EQ(read->Core().Texts(), view->Doc()->Core().Texts());
    CTransView* readView = ViewOf(read);
    ASSERT_NE(readView, nullptr);
    EXPECT_EQ(readView->CellText(4573, 1), "FehlerAndere");
    EXPECT_FALSE(view->Doc()->IsModified());
}

TEST_F(TranslationEditorDevice, AFailedReadAllLeavesNoNewDocument) {
    device->SetBaseAddress(2);  // nothing was ever written there
    CTransView* view = New();
    ASSERT_NE(view, nullptr);
    view->OnReadAll();
    PumpFor(30);
    EXPECT_EQ(manager->GetDocuments().GetCount(), 1u);
    EXPECT_EQ(ui.LastMessage(), "Error initiating read -  - No Configuration Available");
}

}  // namespace
}  // namespace qs::test
