#include "app/tools/CThermCalc.h"

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/frame.h>
#include <wx/listbox.h>
#include <wx/radiobox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "../dialogs/DialogDriving.h"
#include "RecordingUi.h"
#include "app/common/WxUiServices.h"
#include "app/shell/CommandIds.h"
#include "app/shell/ContextHelp.h"

namespace qs::test {

namespace {

using M = ThermCalcModel;

void Enter(CThermCalc& dialog, const char* temperature, const char* density) {
    Type(dialog.TemperatureField(), temperature);
    Type(dialog.DensityField(), density);
    Click(dialog.AddButton());
}

void Tick(wxCheckBox* box, bool on) {
    box->SetValue(on);
    wxCommandEvent event(wxEVT_CHECKBOX, box->GetId());
    event.SetEventObject(box);
    event.SetInt(on ? 1 : 0);
    box->GetEventHandler()->ProcessEvent(event);
}

std::vector<std::string> Lines(wxListBox* list) {
    std::vector<std::string> lines;
    for (unsigned i = 0; i < list->GetCount(); ++i) lines.push_back(list->GetString(i).utf8_string());
    return lines;
}

double Shown(wxTextCtrl* field) {
    double value = 0.0;
    EXPECT_TRUE(field->GetValue().ToCDouble(&value)) << field->GetValue();
    return value;
}

const char* const kWorkedExample[][2] = {
    {"40", "858.0046"}, {"50", "854.0082"}, {"70", "845.9804"}, {"80", "841.9498"}, {"100", "833.8568"},
};

}  // namespace

TEST(CThermCalc, TypedSamplesAreFittedAndTheResultSwitchesUnit) {
    RecordingUi ui;
    CThermCalc dialog(nullptr, ui.services);
    EXPECT_EQ(dialog.GetTitle(), "Coefficient of Thermal Expansion Calculator");
    dialog.Show();
    EXPECT_EQ(dialog.TemperatureField()->GetValue(), "") << "0 shows empty";
    EXPECT_EQ(dialog.ResultUnitLabel()->GetLabel().utf8_string(), "%/\u00B0F");
    for (const auto& sample : kWorkedExample) {
        Enter(dialog, sample[0], sample[1]);
        EXPECT_EQ(dialog.TemperatureField()->GetValue(), "");
        EXPECT_EQ(dialog.DensityField()->GetValue(), "");
    }
    EXPECT_EQ(dialog.DataEnteredList()->GetCount(), 5u);
    EXPECT_EQ(dialog.InputDataList()->GetString(11).utf8_string(), "     Shifted Temp. in Deg. F = 80.012039");

    Click(dialog.CalculateButton());
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
    const auto details = Lines(dialog.DetailsList());
    ASSERT_EQ(details, dialog.Model().Details());
    EXPECT_EQ(details.back(), "   Alpha60 = 0.00047210 (1/deg F)");
    EXPECT_NEAR(Shown(dialog.ResultField()), 0.0472104793, 1e-10);
    const wxString perF = dialog.ResultField()->GetValue();

    Tick(dialog.PerCelsiusBox(), true);
    EXPECT_EQ(dialog.ResultUnitLabel()->GetLabel().utf8_string(), "%/\u00B0C");
    EXPECT_NEAR(Shown(dialog.ResultField()), 0.0849788627, 1e-10);
    Tick(dialog.PerCelsiusBox(), false);
    EXPECT_EQ(dialog.ResultField()->GetValue(), perF);
    EXPECT_EQ(dialog.ResultUnitLabel()->GetLabel().utf8_string(), "%/\u00B0F");
}

TEST(CThermCalc, TheChosenUnitsReachTheSample) {
    RecordingUi ui;
    CThermCalc dialog(nullptr, ui.services);
    dialog.Show();
    dialog.TemperatureUnits()->SetSelection(M::kCelsius);
    dialog.DensityUnits()->SetSelection(ThermFit::kApi);
    Enter(dialog, "15", "10");
    ASSERT_EQ(dialog.DataEnteredList()->GetCount(), 1u);
    const std::string line = dialog.DataEnteredList()->GetString(0).utf8_string();
    EXPECT_NE(line.find("15.000000 \u00B0C"), std::string::npos) << line;
    EXPECT_EQ(line.substr(line.size() - 4), " API") << line;
    EXPECT_EQ(dialog.TemperatureUnits()->GetSelection(), M::kCelsius) << "the units stay for the next sample";
}

TEST(CThermCalc, AnUnreadableNumberIsRefusedAndAnEmptyBoxIsZero) {
    RecordingUi ui;
    CThermCalc dialog(nullptr, ui.services);
    dialog.Show();
    Enter(dialog, "4O", "850");
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{M::kNotANumberMessage});
    EXPECT_EQ(dialog.TemperatureField()->GetValue(), "4O") << "left for the user to correct";
    EXPECT_EQ(dialog.DataEnteredList()->GetCount(), 0u);

    Enter(dialog, "40", "");
    EXPECT_EQ(ui.LastMessage(), M::kDensityOutOfRangeMessage);
    EXPECT_EQ(dialog.TemperatureField()->GetValue(), "40") << "the accepted input keeps its value";
    EXPECT_EQ(dialog.DensityField()->GetValue(), "");
    EXPECT_EQ(dialog.DataEnteredList()->GetCount(), 0u);
}

TEST(CThermCalc, RemoveSelectedTakesTheChosenRowAndThenNoneIsChosen) {
    RecordingUi ui;
    CThermCalc dialog(nullptr, ui.services);
    dialog.Show();
    Enter(dialog, "40", "858");
    Enter(dialog, "80", "842");
    const wxString second = dialog.DataEnteredList()->GetString(1);
    dialog.DataEnteredList()->SetSelection(0);
    Click(dialog.RemoveSelectedButton());
    ASSERT_EQ(dialog.DataEnteredList()->GetCount(), 1u);
    EXPECT_EQ(dialog.DataEnteredList()->GetString(0), second);
    EXPECT_EQ(dialog.InputDataList()->GetString(0), "---Sample Number 1---");
    EXPECT_TRUE(ui.prompt.shown.empty());

    // What the user typed meanwhile stays when the command is refused.
    Type(dialog.TemperatureField(), "45");
    Click(dialog.RemoveSelectedButton());
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{M::kNoneSelectedMessage});
    EXPECT_EQ(dialog.TemperatureField()->GetValue(), "45");
    EXPECT_EQ(dialog.DataEnteredList()->GetCount(), 1u);
}

TEST(CThermCalc, RemoveAllStartsOverWithTheUnitBoxCleared) {
    RecordingUi ui;
    CThermCalc dialog(nullptr, ui.services);
    dialog.Show();
    Click(dialog.RemoveAllButton());
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{M::kNoneEnteredMessage});
    for (const auto& sample : kWorkedExample) Enter(dialog, sample[0], sample[1]);
    Click(dialog.CalculateButton());
    Tick(dialog.PerCelsiusBox(), true);
    dialog.TemperatureUnits()->SetSelection(M::kCelsius);
    dialog.DensityUnits()->SetSelection(ThermFit::kRelativeDensity);

    Click(dialog.RemoveAllButton());
    EXPECT_FALSE(dialog.PerCelsiusBox()->GetValue());
    EXPECT_EQ(dialog.ResultUnitLabel()->GetLabel().utf8_string(), "%/\u00B0F");
    EXPECT_EQ(dialog.ResultField()->GetValue(), "0");
    EXPECT_EQ(dialog.TemperatureUnits()->GetSelection(), M::kFahrenheit);
    EXPECT_EQ(dialog.DensityUnits()->GetSelection(), ThermFit::kKgPerM3);
    EXPECT_EQ(dialog.DetailsList()->GetCount(), 0u);
}

TEST(CThermCalc, RunsModallyWithTheCalculatorsHelpIdOnItsParent) {
    RecordingUi ui;
    auto* frame = new wxFrame(nullptr, wxID_ANY, "frame");
    frame->Show();
    ContextHelp::SetId(frame, 1);
    int during = 0;
    bool shownAsDialog = false;
    wxTheApp->CallAfter([&] {
        during = ContextHelp::GetId(frame);
        for (wxWindow* w : wxTopLevelWindows) {
            if (auto* calc = dynamic_cast<CThermCalc*>(w); calc && calc->IsModal()) {
                shownAsDialog = calc->GetParent() == frame;
                calc->EndModal(wxID_CANCEL);
            }
        }
    });
    EXPECT_EQ(CThermCalc::RunModal(frame, ui.services), wxID_CANCEL);
    EXPECT_TRUE(shownAsDialog);
    EXPECT_EQ(during, kHelpThermalCalculator);
    EXPECT_EQ(ContextHelp::GetId(frame), 1) << "the parent's own id afterwards";
    frame->Destroy();
}

// Not run by the suite: opens the calculator over a frame with real message boxes, for
// trying it by hand (--gtest_also_run_disabled_tests --gtest_filter='CThermCalcByHand.*').
TEST(CThermCalcByHand, DISABLED_OpenOverAFrame) {
    auto* frame = new wxFrame(nullptr, wxID_ANY, "Quillset", wxDefaultPosition, wxSize(900, 700));
    frame->Show();
    WxPrompt prompt;
    prompt.SetMainWindow(frame);
    UiServices services;
    services.prompt = &prompt;
    CThermCalc::RunModal(frame, services);
    frame->Destroy();
}

}  // namespace qs::test
