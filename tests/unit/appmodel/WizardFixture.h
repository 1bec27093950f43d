#pragma once
// The new-device wizard's model over a document built from the build's dictionary, and the
// document's values as lines to compare whole.
#include <cstdio>
#include <map>
#include <set>
#include <string>

#include "DocumentFixtures.h"
#include "appmodel/wizard/WizardModel.h"
#include "appmodel/wizard/WizardPageList.h"
#include "link/ComPortTable.h"
#include "programdata/CDirectory.h"
#include "programdata/CParam.h"
#include "programdata/CSubdirectory.h"
#include "programdata/CVexa3Doc.h"

namespace qs::test {

// A model with the new document's counts (6 arms, 6 meters, 24 additives).
inline WizardModel NewWizard() { return WizardModel(6, 6, 24); }

// Every value the document holds, as "CF 001" / "M 201[6]" (instance when not 0) -> text.
inline std::map<std::string, std::string> ValuesOf(const CVexa3Doc& doc) {
    static const char* const kShort[] = {"CF", "SY", "AR", "M", "P", "R", "BA", "BB"};
    std::map<std::string, std::string> values;
    std::set<const CParam*> seen;
    for (int type = 0; type < 8; ++type) {
        const CDirectory* d = doc.FindDirectory(type);
        if (!d) continue;
        for (int s = 0; s < d->SubdirectoryCount(); ++s) {
            d->Subdirectory(s)->ForEachParam([&](const CParam& p) {
                if (!seen.insert(&p).second) return;
                for (int v = 0; v < p.ValueCount(); ++v) {
                    if (p.Value(v).empty()) continue;
                    char key[32];
                    if (v == 0) std::snprintf(key, sizeof key, "%s %03d", kShort[type], static_cast<int>(p.number));
                    else std::snprintf(key, sizeof key, "%s %03d[%d]", kShort[type], static_cast<int>(p.number), v);
                    values[key] = p.Value(v);
                }
            });
        }
    }
    return values;
}

// A new document as File New makes it, over the build's dictionary.
struct NewDocument {
    ComPortTable ports;
    CVexa3Doc doc{ports, BuiltDictionary()};
};

// The pages a forward walk shows: "H" hardware, "T1" arm-type page of arm 1, "D1" detail,
// "M1.2" meter 2 of arm 1, "A3" additive 3, "P" pulse outputs, "O" other I/O, "C" confirmation.
inline std::string WalkText(const WizardPageList& list) {
    std::string text;
    for (int i : list.Walk()) {
        const WizardPage& p = list.At(i);
        std::string item;
        switch (p.kind) {
        case WizardPage::kHardware: item = "H"; break;
        case WizardPage::kArmType: item = "T" + std::to_string(p.arm + 1); break;
        case WizardPage::kArmDetail: item = "D" + std::to_string(p.arm + 1); break;
        case WizardPage::kMeterRun: item = "M" + std::to_string(p.arm + 1) + "." + std::to_string(p.meter + 1); break;
        case WizardPage::kAdditive: item = "A" + std::to_string(p.additive + 1); break;
        case WizardPage::kPulseOutputs: item = "P"; break;
        case WizardPage::kOtherIo: item = "O"; break;
        case WizardPage::kConfirm: item = "C"; break;
        }
        text += (text.empty() ? "" : " ") + item;
    }
    return text;
}

}  // namespace qs::test
