#pragma once
#include <memory>
#include <string>

#include <gtest/gtest.h>
#include <wx/app.h>

#include "GuiPump.h"
#include "RecordingUi.h"
#include "TempDir.h"
#include "TestEnv.h"
#include "app/shell/CMainFrame.h"
#include "app/programdata/CVexa3WxDoc.h"
#include "app/shell/QuillsetDocManager.h"
#include "app/shell/SettingsStore.h"
#include "app/shell/ShellContext.h"
#include "link/ComPortTable.h"
#include "programdata/AppOptions.h"
#include "programdata/CVexa3Doc.h"

namespace qs::test {

// Quillset's shell inside the test program: the options, port table and settings store of a
// temporary home, the document manager with the seven templates and the main frame, with
// message boxes recorded instead of shown. The program-code definitions come from the build's
// data folder.
class ShellFixture : public ::testing::Test {
protected:
    ShellFixture()
        : ini_("QUILLSET_INI", home_.File("QS3X.INI")),
          data_("QUILLSET_DATA_DIR", QS_DATA_BUILD_DIR),
          dataHome_("XDG_DATA_HOME", home_.File("data")) {}

    void SetUp() override {
        options.AutoConnect = false;
        settings = std::make_unique<SettingsStore>(SettingsPath());
        Shell().options = &options;
        Shell().ports = &ports;
        Shell().settings = settings.get();
        Shell().iniPath = home_.File("QS3X.INI");
        MakeFrame();
    }

    void TearDown() override {
        DestroyFrame();
        Shell() = ShellContext{};
    }

    std::string SettingsPath() const { return home_.File("settings/Norvane Technologies/Quillset"); }

    void MakeFrame() {
        auto* m = new QuillsetDocManager(5);
        m->Initialize();
        manager = m;
        frame = new CMainFrame(manager);
        templates = DocTemplates::Create(*manager);
        frame->SetTemplates(templates);
        frame->Show();
        PumpFor(50);
    }

    void DestroyFrame() {
        if (!frame) return;
        // What a test left unsaved is thrown away without asking.
        for (wxObject* doc : manager->GetDocuments()) static_cast<wxDocument*>(doc)->Modify(false);
        manager->CloseDocuments(true);
        frame->Destroy();
        frame = nullptr;
        PumpFor(50);
        delete manager;
        manager = nullptr;
    }

    // A program-data document file: on TCP/IP to `host`, or on COM `port` when port > 0.
    std::string WriteDocument(const std::string& name, const std::string& host, int port = 0, int address = 1) {
        DefinitionSource source;
        source.searchDirs = {QS_DATA_BUILD_DIR};
        ComPortTable scratchPorts;
        CVexa3Doc doc(scratchPorts, source);
        doc.SetDescription("Test rack");
        if (port > 0) {
            doc.SetPortIndex(port);
        } else {
            unsigned a = 0, b = 0, c = 0, d = 0;
            std::sscanf(host.c_str(), "%u.%u.%u.%u", &a, &b, &c, &d);
            doc.SetPortIndex(CVexa3Doc::kPortTcp);
            doc.SetIpv4((a << 24) | (b << 16) | (c << 8) | d);
        }
        doc.SetProtocolKind(1);
        doc.SetBaseAddress(address);
        const std::string path = home_.File(name);
        EXPECT_TRUE(doc.Save(path));
        return path;
    }

    CVexa3WxDoc* Open(const std::string& path) {
        return dynamic_cast<CVexa3WxDoc*>(manager->CreateDocument(wxString::FromUTF8(path), wxDOC_SILENT));
    }

    TempDir home_;
    ScopedEnv ini_, data_, dataHome_;
    RecordingUi ui;  // before the frame, which puts its status pane and error log over it
    AppOptions options;
    ComPortTable ports;
    std::unique_ptr<SettingsStore> settings;
    wxDocManager* manager = nullptr;
    CMainFrame* frame = nullptr;
    DocTemplates templates;
};

}  // namespace qs::test
