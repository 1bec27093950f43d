#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "appmodel/thermcalc/ThermFit.h"
#include "appmodel/thermcalc/ThermSample.h"
#include "platform/UiServices.h"

namespace qs {

// What the thermal-expansion calculator holds and does, without its widgets: the samples in
// entry order, the three lists it shows ("Data Entered", the input data, the calculation
// details), the result and its unit. The dialog exchanges the public input fields with its
// controls, runs the commands, and shows the model again when a command says so. Refusals
// are shown through the services and leave the data as it was.
class ThermCalcModel {
public:
    static constexpr int kMaxSamples = 20;
    enum TemperatureUnit { kFahrenheit = 0, kCelsius = 1 };

    static constexpr const char* kTooManyMessage =
        "There is too much sample data entered. Clear data and then try again.";
    static constexpr const char* kBothOutOfRangeMessage = "The entered temperature and density are both out of range.";
    static constexpr const char* kTemperatureOutOfRangeMessage = "The entered temperature is out of range.";
    static constexpr const char* kDensityOutOfRangeMessage = "No input data was entered or the density is out of range.";
    static constexpr const char* kNoneSelectedMessage = "Data cannot be removed because no data was selected.";
    static constexpr const char* kNoneEnteredMessage = "Data cannot be removed because no data was entered.";
    static constexpr const char* kNotEnoughMessage = "Not enough samples were entered.";
    static constexpr const char* kBothSidesMessage =
        "One of the input sample densities must be taken at a temperature above 60 degrees Fahrenheit and "
        "one of the densities must be taken at a temperature below 60 degrees Fahrenheit.";
    static constexpr const char* kNoSolutionMessage =
        "The coefficient cannot be calculated from these samples. Check the data and try again.";
    static constexpr const char* kNotANumberMessage = "Please enter a number.";

    static constexpr const char* kPerFahrenheit = "%/\u00B0F";
    static constexpr const char* kPerCelsius = "%/\u00B0C";

    explicit ThermCalcModel(const UiServices& ui);

    // Exchanged with the controls.
    double temperatureInput = 0.0;
    double densityInput = 0.0;
    int temperatureUnit = kFahrenheit;
    int densityUnit = ThermFit::kKgPerM3;
    // The inputs show empty while 0; cleared by every exchange.
    bool blankInputs = true;

    // An input box's text as a number: blanks around it allowed, an empty box is 0; anything
    // else (and a number too large to be finite) is nullopt.
    static std::optional<double> ParseInput(std::string_view text);
    // How a number shows in an input or the result box.
    static std::string NumberText(double value);

    // The commands. Each returns true when the controls are to show the model again.
    bool OnAdd();
    bool OnRemoveSelected(int selected);  // selected: row of "Data Entered", -1 for none
    bool OnRemoveAll();
    bool OnCalculate();
    bool OnToggleResultUnit();
    void ClearAll();

    int SampleCount() const { return count_; }
    const ThermSample& Sample(int index) const { return samples_.at(static_cast<size_t>(index)); }
    const std::vector<std::string>& DataEntered() const { return dataEntered_; }
    const std::vector<std::string>& InputData() const { return inputData_; }
    const std::vector<std::string>& Details() const { return details_; }
    // Percent per degree of the unit shown. The per-degF value is kept and the per-degC one
    // derived from it, so switching the unit back and forth gives back the same digits.
    double Result() const { return resultPerCelsius_ ? result_ * 1.8 : result_; }
    bool ResultPerCelsius() const { return resultPerCelsius_; }
    const std::string& ResultUnit() const { return resultUnit_; }
    const ThermFit::Fit& LastFit() const { return fit_; }

private:
    void AddSample();
    // Which of the two inputs are acceptable; shows the refusal and zeroes the wrong ones.
    bool ValidateInput();
    bool ValidateSamples() const;
    void ShowSample(ThermSample& sample);
    static void ShiftTemperature(ThermSample& sample);
    void LogSample(ThermSample& sample, int index);
    void WriteDetails();
    void Refuse(const char* message) const;
    static std::string SampleHeading(int index);

    const UiServices& ui_;
    std::array<ThermSample, kMaxSamples> samples_{};
    int count_ = 0;
    std::vector<std::string> dataEntered_;
    std::vector<std::string> inputData_;
    std::vector<std::string> details_;
    ThermFit::Fit fit_;
    double result_ = 0.0;  // percent per degF
    bool resultPerCelsius_ = false;
    std::string resultUnit_ = kPerFahrenheit;
};

}  // namespace qs
