#pragma once
// A document over the build's dictionary whose codes the edit dialogs are tried on, with the
// requests the edit flow makes for them.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "../dialogs/DialogDriving.h"
#include "RecordingUi.h"
#include "link/ComPortTable.h"
#include "programdata/CDirectory.h"
#include "programdata/CParam.h"
#include "programdata/CSubdirectory.h"
#include "programdata/CVexa3Doc.h"
#include "programdata/DefinitionSource.h"
#include "appmodel/programdata/ParamEditFlow.h"

namespace qs::test {

class EditFixture : public ::testing::Test {
protected:
    void SetUp() override {
        DefinitionSource source;
        source.searchDirs = {QS_DATA_BUILD_DIR};
        doc = std::make_unique<CVexa3Doc>(ports, source);
        ASSERT_NE(doc->FindDirectory(CDirectory::kRecipe), nullptr) << "dictionary files not built";
    }

    void SetCodePage(int codePage) {
        DocumentLinkFields f = doc->GetLinkFields();
        f.codePage = codePage;
        doc->SetLinkFields(f);
    }

    // The list row of a code: nth directory of the type, the subdirectory of its hundreds (or
    // the recipe's subdirectory).
    ParamEditTarget Row(int type, int number, int nth = 0, int arm = 0, int subdirectory = -1) const {
        int seen = 0;
        for (CDirectory* d = doc->FirstDirectory(); d != nullptr; d = d->NextDirectory()) {
            if (d->Type() != type || seen++ != nth) continue;
            CSubdirectory* holder = nullptr;
            CParam* p = d->FindParam(number, &holder);
            if (subdirectory >= 0) holder = d->Subdirectory(subdirectory);
            return {holder, p, arm};
        }
        return {};
    }

    // The request the edit flow makes for a code whose stored value (at its row's index) is
    // `value`.
    ParamEditRequest Request(const ParamEditTarget& row, const std::string& value, int level = CParam::kLevelNone) {
        EXPECT_NE(row.param, nullptr);
        if (row.param == nullptr) return {};
        row.param->SetValue(value, row.subdirectory->ValueIndex(row.arm));
        row.param->SetLevel(static_cast<uint8_t>(level));
        return ParamEditFlow(*doc, ui.services).MakeRequest(row);
    }

    RecordingUi ui;
    ComPortTable ports;
    std::unique_ptr<CVexa3Doc> doc;
};

}  // namespace qs::test
