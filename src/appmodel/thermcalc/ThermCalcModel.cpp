#include "appmodel/thermcalc/ThermCalcModel.h"

#include <cmath>
#include <span>

#include "platform/SafeFormat.h"

namespace qs {

namespace {

constexpr double kInputLimit = 1000.0;
constexpr double kMaxMassDensity = 10000.0;
constexpr double kMaxRelativeDensity = 10.0;
constexpr double kLowestApi = -131.5;  // where the API gravity formula has its pole

std::string Fixed(const char* format, double value) {
    return SafeFormat(format, FormatArg::Real(value)).value_or("");
}

// Lines of "Data Entered" line up their decimal points in a fixed-width font.
std::string Padding(double value) {
    if (value > -10.0 && value < 10.0) return "   ";
    if (value > -100.0 && value < 100.0) return "  ";
    if (value > 99.0) return " ";
    return "";
}

const char* DensityUnitText(int unit) {
    switch (unit) {
    case ThermFit::kLbPerFt3: return " lb/ft3";
    case ThermFit::kApi: return " API";
    case ThermFit::kRelativeDensity: return " Rel D";
    default: return " Kg/m3";
    }
}

bool DensityInRange(double value, int unit) {
    switch (unit) {
    case ThermFit::kApi:
        if (!(value > kLowestApi && value < kInputLimit)) return false;
        break;
    case ThermFit::kRelativeDensity:
        if (!(value > 0.0 && value < kMaxRelativeDensity)) return false;
        break;
    default:
        if (!(value > 0.0 && value <= kMaxMassDensity)) return false;
        break;
    }
    // Its logarithm enters the fit: a density that rounds away at single precision is none.
    const double kgPerM3 = ThermFit::ToKgPerM3(value, unit);
    return std::isfinite(kgPerM3) && kgPerM3 > 0.0;
}

}  // namespace

ThermCalcModel::ThermCalcModel(const UiServices& ui) : ui_(ui) { ClearAll(); }

std::optional<double> ThermCalcModel::ParseInput(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    if (text.empty()) return 0.0;
    constexpr size_t kLongestNumber = 64;
    if (text.size() > kLongestNumber) return std::nullopt;
    const std::string copy(text);
    char* end = nullptr;
    const double value = StrToDoubleC(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::string ThermCalcModel::NumberText(double value) { return Fixed("%.15g", value); }

void ThermCalcModel::Refuse(const char* message) const { ui_.Message(message, MB_OK | MB_ICONEXCLAMATION); }

void ThermCalcModel::ClearAll() {
    samples_.fill(ThermSample{});
    count_ = 0;
    fit_ = ThermFit::Fit{};
    result_ = 0.0;
    resultPerCelsius_ = false;
    resultUnit_ = kPerFahrenheit;
    temperatureInput = 0.0;
    densityInput = 0.0;
    blankInputs = true;
    temperatureUnit = kFahrenheit;
    densityUnit = ThermFit::kKgPerM3;
    dataEntered_.clear();
    inputData_.clear();
    details_.clear();
}

bool ThermCalcModel::OnAdd() {
    if (count_ >= kMaxSamples) {
        Refuse(kTooManyMessage);
        return false;
    }
    result_ = 0.0;
    details_.clear();
    AddSample();
    return true;
}

void ThermCalcModel::AddSample() {
    if (!ValidateInput()) {
        blankInputs = true;
        return;
    }
    ThermSample& sample = samples_[static_cast<size_t>(count_)];
    sample.fahrenheit = temperatureUnit == kFahrenheit;
    sample.temperature = temperatureInput;
    sample.density = densityInput;
    ShowSample(sample);
    ShiftTemperature(sample);
    LogSample(sample, count_);
    ++count_;
    temperatureInput = 0.0;
    densityInput = 0.0;
    blankInputs = true;
}

bool ThermCalcModel::ValidateInput() {
    const bool temperatureOk = temperatureInput > -kInputLimit && temperatureInput < kInputLimit;
    const bool densityOk = DensityInRange(densityInput, densityUnit);
    if (!temperatureOk && !densityOk) {
        Refuse(kBothOutOfRangeMessage);
        temperatureInput = 0.0;
        densityInput = 0.0;
    } else if (!temperatureOk) {
        Refuse(kTemperatureOutOfRangeMessage);
        temperatureInput = 0.0;
    } else if (!densityOk) {
        Refuse(kDensityOutOfRangeMessage);
        densityInput = 0.0;
    }
    return temperatureOk && densityOk;
}

void ThermCalcModel::ShowSample(ThermSample& sample) {
    const double t = sample.temperature;
    const double d = sample.density;
    sample.temperatureText = Padding(t) + Fixed("%10.6f", t) +
                             (temperatureUnit == kFahrenheit ? " \u00B0F" : " \u00B0C") + std::string(9, ' ');
    sample.densityText = Padding(d) + Fixed("%10.6f", d) + DensityUnitText(densityUnit);
    dataEntered_.push_back(sample.temperatureText + sample.densityText);
}

void ThermCalcModel::ShiftTemperature(ThermSample& sample) {
    sample.temperature = ThermFit::ShiftTemperature(sample.temperature, sample.fahrenheit);
    sample.fahrenheit = false;
}

std::string ThermCalcModel::SampleHeading(int index) { return "---Sample Number " + std::to_string(index + 1) + "---"; }

void ThermCalcModel::LogSample(ThermSample& sample, int index) {
    inputData_.push_back(SampleHeading(index));
    if (densityUnit == ThermFit::kKgPerM3) {
        inputData_.push_back("     Density is in Kg/m3, no conversion");
    } else {
        sample.density = ThermFit::ToKgPerM3(sample.density, densityUnit);
        inputData_.push_back("     Density in Kg/m3 = " + Fixed("%f", sample.density));
    }
    const std::string fahrenheit = ThermFit::FahrenheitText(sample.temperature);
    inputData_.push_back("     Shifted Temp. in Deg. F = " + fahrenheit);
    sample.temperature = StrToDoubleC(fahrenheit.c_str());
}

bool ThermCalcModel::OnRemoveSelected(int selected) {
    if (count_ == 0 || selected < 0 || selected >= count_) {
        Refuse(kNoneSelectedMessage);
        return false;
    }
    const auto at = static_cast<size_t>(selected);
    for (size_t i = at; i + 1 < static_cast<size_t>(count_); ++i) samples_[i] = samples_[i + 1];
    --count_;
    samples_[static_cast<size_t>(count_)] = ThermSample{};

    const auto firstLine = inputData_.begin() + static_cast<ptrdiff_t>(at * 3);
    inputData_.erase(firstLine, firstLine + std::min<ptrdiff_t>(3, inputData_.end() - firstLine));
    for (int i = 0; i < count_; ++i) {
        const auto line = static_cast<size_t>(i) * 3;
        if (line < inputData_.size()) inputData_[line] = SampleHeading(i);
    }
    dataEntered_.erase(dataEntered_.begin() + selected);
    details_.clear();
    result_ = 0.0;
    blankInputs = true;
    return true;
}

bool ThermCalcModel::OnRemoveAll() {
    if (count_ == 0) {
        Refuse(kNoneEnteredMessage);
        return false;
    }
    ClearAll();
    return true;
}

bool ThermCalcModel::OnToggleResultUnit() {
    resultPerCelsius_ = !resultPerCelsius_;
    resultUnit_ = resultPerCelsius_ ? kPerCelsius : kPerFahrenheit;
    blankInputs = true;
    return true;
}

bool ThermCalcModel::ValidateSamples() const {
    if (count_ < 2) {
        Refuse(kNotEnoughMessage);
        return false;
    }
    bool above = false, below = false;
    for (int i = 0; i < count_; ++i) {
        const double t = samples_[static_cast<size_t>(i)].temperature;
        above = above || t > 60.0;
        below = below || t < 60.0;
    }
    if (!above || !below) {
        Refuse(kBothSidesMessage);
        return false;
    }
    return true;
}

bool ThermCalcModel::OnCalculate() {
    if (!ValidateSamples()) return false;
    details_.clear();
    fit_ = ThermFit::Calculate(std::span(samples_.data(), static_cast<size_t>(count_)));
    WriteDetails();
    if (!fit_.solved) {
        // No number rather than a NaN or an infinity in the result box.
        result_ = 0.0;
        Refuse(kNoSolutionMessage);
    } else {
        result_ = fit_.alpha60 * 100.0;
    }
    resultUnit_ = resultPerCelsius_ ? kPerCelsius : kPerFahrenheit;
    blankInputs = true;
    return true;
}

void ThermCalcModel::WriteDetails() {
    const auto indexed = [this](const char* name, size_t index, const char* format, double value) {
        details_.push_back(std::string("   ") + name + std::to_string(index) + " = " + Fixed(format, value));
    };
    const auto single = [](double v) { return static_cast<double>(static_cast<float>(v)); };
    const auto samples = std::span(samples_.data(), static_cast<size_t>(count_));

    details_.push_back("***DeltaT***");
    for (size_t i = 0; i < samples.size(); ++i) indexed("DeltaT", i, "%8.4f", samples[i].deltaT);
    details_.push_back("***ln(Density)***");
    for (size_t i = 0; i < samples.size(); ++i) indexed("ln(Density)", i, "%8.5f", std::log(samples[i].density));
    details_.push_back("***Summations***");
    for (size_t i = 0; i < fit_.sums.size(); ++i) indexed("S", i, "%f", single(fit_.sums[i]));
    details_.push_back("   NumSamples = " + std::to_string(count_));
    details_.push_back("***Cubic Equation Coefficients***");
    for (size_t i = 0; i < fit_.coefficients.size(); ++i) indexed("a", i, "%f", single(fit_.coefficients[i]));
    details_.push_back("***Iterative Process***");
    for (size_t k = 0; k < static_cast<size_t>(fit_.steps); ++k) {
        indexed("alpha", k + 1, "%18.17f", fit_.alpha[k]);
        indexed("DeltaAlpha", k + 1, "%18.17f", fit_.deltaAlpha[k]);
    }
    if (!fit_.solved) return;
    details_.push_back("***Misc. Data***");
    details_.push_back("   D60 = " + Fixed("%8.4f", fit_.d60) + " (Kg/m3)");
    details_.push_back("   Alpha60 = " + Fixed("%10.8f", fit_.alpha60) + " (1/deg F)");
}

}  // namespace qs
