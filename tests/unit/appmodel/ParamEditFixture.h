#pragma once
// A document over the build's dictionary with a scripted TCP/IP link, and the rows of its
// program-code list as the edit flow takes them.
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DocumentFixtures.h"
#include "RecordingUi.h"
#include "programdata/CDirectory.h"
#include "programdata/CParam.h"
#include "programdata/CSubdirectory.h"
#include "appmodel/programdata/ParamEditFlow.h"

namespace qs::test {

class ParamEditFixture : public ::testing::Test {
protected:
    void SetUp() override {
        doc = std::make_unique<CVexa3Doc>(ports, BuiltDictionary(), &options);
        ASSERT_NE(doc->FindDirectory(CDirectory::kRecipe), nullptr) << "dictionary files not built";
        doc->AddObserver(&views);
        device.Attach(*doc);
    }
    void TearDown() override { doc->RemoveObserver(&views); }

    // The nth directory of a type in the chain (Arm 2 is the Arm directory with nth 1).
    CDirectory* Dir(int type, int nth = 0) const {
        int seen = 0;
        for (CDirectory* d = doc->FirstDirectory(); d != nullptr; d = d->NextDirectory())
            if (d->Type() == type && seen++ == nth) return d;
        return nullptr;
    }

    // The row of a code as the list shows it: in the subdirectory of its hundreds, or (recipes)
    // in the subdirectory of the recipe.
    ParamEditTarget Row(int type, int number, int nth = 0, int arm = 0, int subdirectory = -1) const {
        CDirectory* d = Dir(type, nth);
        if (d == nullptr) return {};
        CSubdirectory* holder = nullptr;
        CParam* p = d->FindParam(number, &holder);
        if (subdirectory >= 0) holder = d->Subdirectory(subdirectory);
        return {holder, p, arm};
    }

    // An online document: a current controller that takes the write test.
    void GoOnline() {
        device.Reply("PV SY 111 0");
        device.Reply("0A463B8B");
        device.Reply("PC SY 111 0");
        ASSERT_EQ(doc->Connect(false), CVexa3Doc::kStateOnline);
        ui.prompt.shown.clear();
        ui.status.texts.clear();
        doc->SetModified(false);
        views.changes = 0;
        views.states.clear();
    }

    // A dialog that is closed with OK after setting the new value (and level), remembering
    // the request it was shown.
    ParamEditFlow::DialogRunner Ok(const std::string& value, int level = -1) {
        return [this, value, level](ParamEditRequest& r) {
            shown.push_back(r);
            r.newValue = value;
            r.newLevel = level;
            return true;
        };
    }
    ParamEditFlow::DialogRunner CancelDialog() {
        return [this](ParamEditRequest& r) {
            shown.push_back(r);
            r.newValue = "999";
            return false;
        };
    }

    // The commands sent since going online.
    std::vector<std::string> Sent() const {
        std::vector<std::string> all = device.Commands();
        return all.size() > 3 ? std::vector<std::string>(all.begin() + 3, all.end()) : std::vector<std::string>{};
    }
    std::vector<int> SentTo() const {
        std::vector<int> all = device.Addresses();
        return all.size() > 3 ? std::vector<int>(all.begin() + 3, all.end()) : std::vector<int>{};
    }

    RecordingUi ui;
    AppOptions options;
    ComPortTable ports;
    std::unique_ptr<CVexa3Doc> doc;
    RecordingObserver views;
    ScriptedDevice device;
    std::vector<ParamEditRequest> shown;
};

}  // namespace qs::test
