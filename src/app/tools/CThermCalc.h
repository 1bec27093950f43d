#pragma once
#include <wx/dialog.h>

#include "appmodel/thermcalc/ThermCalcModel.h"
#include "platform/UiServices.h"

class wxButton;
class wxCheckBox;
class wxListBox;
class wxRadioBox;
class wxStaticText;
class wxTextCtrl;

namespace qs {

class DeviceCommandTable;

// The thermal-expansion calculator: samples of temperature and density go in, the coefficient
// of thermal expansion at 60 degF and the density at 60 degF come out, with the converted
// samples and every step of the fit listed. It needs no device and no document; everything
// entered is gone when it closes. The work is ThermCalcModel's; the dialog exchanges the
// inputs with it and shows it again after each command.
class CThermCalc : public wxDialog {
public:
    // `ui` shows the refusals and must outlive the dialog.
    CThermCalc(wxWindow* parent, const UiServices& ui);

    // Runs the calculator modally over `parent` (a program-data document's frame), which
    // carries the calculator's context-help id meanwhile. Returns ShowModal's result.
    static int RunModal(wxWindow* parent, const UiServices& ui);
    // Puts the calculator's row into the device commands of a program-data document's frame:
    // always enabled, it runs the calculator over `frame`. Both outlive the table.
    static void AddCommand(DeviceCommandTable& table, wxWindow* frame, const UiServices& ui);

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

    const ThermCalcModel& Model() const { return model_; }
    wxTextCtrl* TemperatureField() const { return temperature_; }
    wxTextCtrl* DensityField() const { return density_; }
    wxRadioBox* TemperatureUnits() const { return temperatureUnit_; }
    wxRadioBox* DensityUnits() const { return densityUnit_; }
    wxListBox* DataEnteredList() const { return dataEntered_; }
    wxListBox* DetailsList() const { return details_; }
    wxListBox* InputDataList() const { return inputData_; }
    wxTextCtrl* ResultField() const { return result_; }
    wxStaticText* ResultUnitLabel() const { return resultUnit_; }
    wxCheckBox* PerCelsiusBox() const { return perCelsius_; }
    wxButton* AddButton() const { return add_; }
    wxButton* RemoveSelectedButton() const { return removeSelected_; }
    wxButton* RemoveAllButton() const { return removeAll_; }
    wxButton* CalculateButton() const { return calculate_; }

private:
    void OnAdd();
    void OnRemoveSelected();
    void OnRemoveAll();
    void OnCalculate();
    void OnToggleResultUnit();
    // Reads one input box; an unreadable number is refused and the box takes the focus.
    bool ReadNumber(wxTextCtrl* field, double& value);

    const UiServices& ui_;
    ThermCalcModel model_;
    wxTextCtrl* temperature_ = nullptr;
    wxTextCtrl* density_ = nullptr;
    wxRadioBox* temperatureUnit_ = nullptr;
    wxRadioBox* densityUnit_ = nullptr;
    wxListBox* dataEntered_ = nullptr;
    wxListBox* details_ = nullptr;
    wxListBox* inputData_ = nullptr;
    wxTextCtrl* result_ = nullptr;
    wxStaticText* resultUnit_ = nullptr;
    wxCheckBox* perCelsius_ = nullptr;
    wxButton* add_ = nullptr;
    wxButton* removeSelected_ = nullptr;
    wxButton* removeAll_ = nullptr;
    wxButton* calculate_ = nullptr;
};

}  // namespace qs
