#include "app/tools/CThermCalc.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/listbox.h>
#include <wx/radiobox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/common/WxText.h"
#include "app/shell/CommandIds.h"
#include "app/shell/ContextHelp.h"
#include "appmodel/programdata/DeviceCommandTable.h"

namespace qs {

namespace {

// Rewrites a list only when its lines differ, so a selection survives a refresh that
// changed nothing in it.
void ShowLines(wxListBox* list, const std::vector<std::string>& lines) {
    bool same = list->GetCount() == lines.size();
    for (unsigned i = 0; same && i < lines.size(); ++i) same = list->GetString(i) == ToWx(lines[i]);
    if (same) return;
    wxArrayString items;
    for (const auto& line : lines) items.Add(ToWx(line));
    list->Set(items);
}

wxListBox* MakeList(wxWindow* parent, int columns, int rows) {
    auto* list = new wxListBox(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, 0, nullptr,
                               wxLB_SINGLE | wxLB_HSCROLL);
    // The lines line up their columns with blanks.
    list->SetFont(wxFont(wxFontInfo(parent->GetFont().GetPointSize()).Family(wxFONTFAMILY_TELETYPE)));
    const wxSize cell = list->GetTextExtent("0");
    list->SetMinSize(wxSize(cell.x * columns, cell.y * rows));
    return list;
}

wxSizer* Titled(wxWindow* parent, const char* title, wxWindow* body) {
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(new wxStaticText(parent, wxID_ANY, ToWx(title)), 0, wxBOTTOM, parent->FromDIP(4));
    column->Add(body, 1, wxEXPAND);
    return column;
}

}  // namespace

CThermCalc::CThermCalc(wxWindow* parent, const UiServices& ui)
    : wxDialog(parent, wxID_ANY, "Coefficient of Thermal Expansion Calculator", wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      ui_(ui),
      model_(ui) {
    const int gap = FromDIP(8);

    // The sample being entered.
    auto* entry = new wxFlexGridSizer(2, wxSize(gap, gap));
    temperature_ = new wxTextCtrl(this, wxID_ANY);
    density_ = new wxTextCtrl(this, wxID_ANY);
    entry->Add(new wxStaticText(this, wxID_ANY, "Temperature:"), 0, wxALIGN_CENTER_VERTICAL);
    entry->Add(temperature_, 1, wxEXPAND);
    entry->Add(new wxStaticText(this, wxID_ANY, "Density:"), 0, wxALIGN_CENTER_VERTICAL);
    entry->Add(density_, 1, wxEXPAND);
    entry->AddGrowableCol(1);
    const wxString temperatureUnits[] = {ToWx("\u00B0&F "), ToWx("\u00B0&C")};
    temperatureUnit_ = new wxRadioBox(this, wxID_ANY, "Temperature unit", wxDefaultPosition, wxDefaultSize, 2,
                                      temperatureUnits, 2, wxRA_SPECIFY_COLS);
    const wxString densityUnits[] = {"&Kg/m3", "&lb/ft3", "&API", "&Rel D"};
    densityUnit_ = new wxRadioBox(this, wxID_ANY, "Density unit", wxDefaultPosition, wxDefaultSize, 4, densityUnits,
                                  2, wxRA_SPECIFY_COLS);
    add_ = new wxButton(this, wxID_ANY, "Add >>");
    add_->SetDefault();  // Enter in an input box adds the sample
    auto* left = new wxBoxSizer(wxVERTICAL);
    left->Add(entry, 0, wxEXPAND | wxBOTTOM, gap);
    left->Add(temperatureUnit_, 0, wxEXPAND | wxBOTTOM, gap);
    left->Add(densityUnit_, 0, wxEXPAND | wxBOTTOM, gap);
    left->Add(add_, 0, wxALIGN_RIGHT);

    // The samples entered.
    dataEntered_ = MakeList(this, 46, 8);
    removeSelected_ = new wxButton(this, wxID_ANY, "Remove Selected");
    removeAll_ = new wxButton(this, wxID_ANY, "Remove All");
    auto* removeRow = new wxBoxSizer(wxHORIZONTAL);
    removeRow->Add(removeSelected_, 0, wxRIGHT, gap);
    removeRow->Add(removeAll_);
    auto* middle = new wxBoxSizer(wxVERTICAL);
    middle->Add(Titled(this, "Data Entered", dataEntered_), 1, wxEXPAND | wxBOTTOM, gap);
    middle->Add(removeRow);

    // The result.
    calculate_ = new wxButton(this, wxID_ANY, "Calculate >>");
    result_ = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxTE_READONLY);
    // Wide enough for every digit of the result.
    result_->SetMinSize(wxSize(result_->GetTextExtent("-0.0000000000000000").x + 4 * gap, -1));
    resultUnit_ = new wxStaticText(this, wxID_ANY, ToWx(ThermCalcModel::kPerFahrenheit));
    perCelsius_ = new wxCheckBox(this, wxID_ANY, ToWx("Resul&t in %/\u00B0C "));
    auto* resultRow = new wxBoxSizer(wxHORIZONTAL);
    resultRow->Add(result_, 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, gap / 2);
    resultRow->Add(resultUnit_, 0, wxALIGN_CENTER_VERTICAL);
    auto* right = new wxBoxSizer(wxVERTICAL);
    right->Add(calculate_, 0, wxBOTTOM, gap);
    right->Add(new wxStaticText(this, wxID_ANY, "Result:"), 0, wxBOTTOM, gap / 2);
    right->Add(resultRow, 0, wxEXPAND | wxBOTTOM, gap);
    right->Add(perCelsius_);

    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(left, 0, wxEXPAND | wxRIGHT, 2 * gap);
    top->Add(middle, 1, wxEXPAND | wxRIGHT, 2 * gap);
    top->Add(right, 0, wxEXPAND);

    // What each sample became, and each step of the fit.
    inputData_ = MakeList(this, 44, 12);
    details_ = MakeList(this, 44, 12);
    auto* logs = new wxBoxSizer(wxHORIZONTAL);
    logs->Add(Titled(this, "Input Data", inputData_), 1, wxEXPAND | wxRIGHT, 2 * gap);
    logs->Add(Titled(this, "Calculation Details", details_), 1, wxEXPAND);

    auto* rules = new wxBoxSizer(wxVERTICAL);
    rules->Add(new wxStaticText(this, wxID_ANY,
                                "SAMPLE DATA GUIDLINES: (1.)There must be a minimum of 2 samples and a maximum of "
                                "20 samples."));
    rules->Add(new wxStaticText(this, wxID_ANY,
                                "(2.) There must be at least one temperature above 60 degrees F and at least one "
                                "temperature below 60 degrees F."));
    auto* bottom = new wxBoxSizer(wxHORIZONTAL);
    bottom->Add(rules, 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, gap);
    bottom->Add(new wxButton(this, wxID_CANCEL, "Close"), 0, wxALIGN_BOTTOM);

    auto* all = new wxBoxSizer(wxVERTICAL);
    all->Add(top, 0, wxEXPAND | wxALL, gap * 3 / 2);
    all->Add(logs, 1, wxEXPAND | wxLEFT | wxRIGHT, gap * 3 / 2);
    all->Add(bottom, 0, wxEXPAND | wxALL, gap * 3 / 2);
    SetSizerAndFit(all);
    CentreOnParent();

    add_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnAdd(); });
    removeSelected_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnRemoveSelected(); });
    removeAll_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnRemoveAll(); });
    calculate_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnCalculate(); });
    perCelsius_->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { OnToggleResultUnit(); });
    temperature_->SetFocus();
}

int CThermCalc::RunModal(wxWindow* parent, const UiServices& ui) {
    const int previous = ContextHelp::GetId(parent);
    ContextHelp::SetId(parent, kHelpThermalCalculator);
    int result = wxID_CANCEL;
    {
        CThermCalc dialog(parent, ui);
        result = dialog.ShowModal();
    }
    ContextHelp::SetId(parent, previous);
    return result;
}

void CThermCalc::AddCommand(DeviceCommandTable& table, wxWindow* frame, const UiServices& ui) {
    table.Register({kCmdThermalCalculator, MenuSection::OfflineTools, "Thermal Expansion &Coeff. Calculator", {},
                    EnableRule::Always, [frame, &ui] {
                        RunModal(frame, ui);
                        return true;
                    }});
}

bool CThermCalc::TransferDataToWindow() {
    const auto input = [this](double value) {
        return value == 0.0 && model_.blankInputs ? wxString() : ToWx(ThermCalcModel::NumberText(value));
    };
    temperature_->ChangeValue(input(model_.temperatureInput));
    density_->ChangeValue(input(model_.densityInput));
    temperatureUnit_->SetSelection(model_.temperatureUnit);
    densityUnit_->SetSelection(model_.densityUnit);
    ShowLines(dataEntered_, model_.DataEntered());
    ShowLines(details_, model_.Details());
    ShowLines(inputData_, model_.InputData());
    result_->ChangeValue(ToWx(ThermCalcModel::NumberText(model_.Result())));
    resultUnit_->SetLabel(ToWx(model_.ResultUnit()));
    perCelsius_->SetValue(model_.ResultPerCelsius());
    model_.blankInputs = false;
    return true;
}

bool CThermCalc::ReadNumber(wxTextCtrl* field, double& value) {
    const auto number = ThermCalcModel::ParseInput(field->GetValue().utf8_string());
    if (!number) {
        ui_.Message(ThermCalcModel::kNotANumberMessage, MB_OK | MB_ICONEXCLAMATION);
        field->SetFocus();
        field->SelectAll();
        return false;
    }
    value = *number;
    return true;
}

bool CThermCalc::TransferDataFromWindow() {
    double temperature = 0.0, density = 0.0;
    if (!ReadNumber(temperature_, temperature) || !ReadNumber(density_, density)) return false;
    model_.temperatureInput = temperature;
    model_.densityInput = density;
    model_.temperatureUnit = temperatureUnit_->GetSelection();
    model_.densityUnit = densityUnit_->GetSelection();
    model_.blankInputs = false;
    return true;
}

void CThermCalc::OnAdd() {
    if (TransferDataFromWindow() && model_.OnAdd()) TransferDataToWindow();
}

void CThermCalc::OnRemoveSelected() {
    if (model_.OnRemoveSelected(dataEntered_->GetSelection())) TransferDataToWindow();
}

void CThermCalc::OnRemoveAll() {
    if (model_.OnRemoveAll()) TransferDataToWindow();
}

void CThermCalc::OnCalculate() {
    if (model_.OnCalculate()) TransferDataToWindow();
}

void CThermCalc::OnToggleResultUnit() {
    if (model_.OnToggleResultUnit()) TransferDataToWindow();
}

}  // namespace qs
