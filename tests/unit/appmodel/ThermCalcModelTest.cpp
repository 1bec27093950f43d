#include "appmodel/thermcalc/ThermCalcModel.h"

#include <gtest/gtest.h>

#include <cmath>

#include "Fuzz.h"
#include "RecordingUi.h"

namespace qs::test {

namespace {

using M = ThermCalcModel;

struct Entry {
    double temperature;
    double density;
    int temperatureUnit = M::kFahrenheit;
    int densityUnit = ThermFit::kKgPerM3;
};

// Independent data: the petroleum model with alpha60 = 4.72104775e-4 /degF at 850 kg/m3.
const Entry kWorkedExample[] = {
    {40, 858.0046}, {50, 854.0082}, {70, 845.9804}, {80, 841.9498}, {100, 833.8568},
};

bool Add(M& model, const Entry& e) {
    model.temperatureInput = e.temperature;
    model.densityInput = e.density;
    model.temperatureUnit = e.temperatureUnit;
    model.densityUnit = e.densityUnit;
    model.blankInputs = false;
    const int before = model.SampleCount();
    model.OnAdd();
    return model.SampleCount() == before + 1;
}

template <typename Rows>
void AddAll(M& model, const Rows& rows) {
    for (const Entry& e : rows) ASSERT_TRUE(Add(model, e)) << e.temperature;
}

bool Has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

}  // namespace

TEST(ThermCalcModel, WorkedExampleGivesAlpha60AndD60) {
    RecordingUi ui;
    M model(ui.services);
    AddAll(model, kWorkedExample);
    ASSERT_TRUE(model.OnCalculate());
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();

    const auto& fit = model.LastFit();
    ASSERT_TRUE(fit.solved);
    // Leaving out the single-precision temperature step moves it by 1.7e-11.
    EXPECT_NEAR(fit.alpha60, 4.72104793e-4, 2e-12);
    EXPECT_NEAR(fit.d60, 850.0, 1e-4);
    EXPECT_EQ(model.Result(), fit.alpha60 * 100.0);
    EXPECT_EQ(model.ResultUnit(), "%/\u00B0F");
    EXPECT_TRUE(Has(model.InputData(), "     Shifted Temp. in Deg. F = 80.012039"));

    const std::vector<std::string>& d = model.Details();
    // Six headings, 5 DeltaT, 5 ln, 8 sums and N, 4 coefficients, 5 x 2 iteration lines, D60 and Alpha60.
    ASSERT_EQ(d.size(), 41u);
    EXPECT_EQ(d[0], "***DeltaT***");
    EXPECT_EQ(d[1], "   DeltaT0 = -20.0050");
    EXPECT_EQ(d[6], "***ln(Density)***");
    EXPECT_EQ(d[7], "   ln(Density)0 =  6.75461");
    EXPECT_EQ(d[12], "***Summations***");
    EXPECT_EQ(d[21], "   NumSamples = 5");
    EXPECT_EQ(d[22], "***Cubic Equation Coefficients***");
    EXPECT_EQ(d[27], "***Iterative Process***");
    EXPECT_EQ(d[28].rfind("   alpha1 = 0.000475", 0), 0u) << d[28];
    EXPECT_EQ(d[29].rfind("   DeltaAlpha1 = -0.0000033", 0), 0u) << d[29];
    EXPECT_EQ(d[38], "***Misc. Data***");
    EXPECT_EQ(d[39], "   D60 = 850.0000 (Kg/m3)");
    EXPECT_EQ(d[40], "   Alpha60 = 0.00047210 (1/deg F)");
}

TEST(ThermCalcModel, ResultUnitSwitchesBetweenDegreesAndBack) {
    RecordingUi ui;
    M model(ui.services);
    ASSERT_TRUE(model.OnToggleResultUnit());
    EXPECT_EQ(model.Result(), 0.0) << "a result of 0 stays 0";
    EXPECT_EQ(model.ResultUnit(), "%/\u00B0C");
    model.OnToggleResultUnit();

    AddAll(model, kWorkedExample);
    model.OnCalculate();
    const double perF = model.Result();
    model.OnToggleResultUnit();
    EXPECT_TRUE(model.ResultPerCelsius());
    EXPECT_EQ(model.ResultUnit(), "%/\u00B0C");
    EXPECT_NEAR(model.Result(), 0.0849788627, 1e-10);
    model.OnToggleResultUnit();
    EXPECT_EQ(model.ResultUnit(), "%/\u00B0F");
    EXPECT_EQ(model.Result(), perF) << "back to the same value";

    // Calculated while per degC: shown per degC.
    model.OnToggleResultUnit();
    model.OnCalculate();
    EXPECT_NEAR(model.Result(), 0.0849788627, 1e-10);
    EXPECT_TRUE(model.blankInputs);
}

TEST(ThermCalcModel, InputsOutOfRangeAreRefusedAndZeroed) {
    struct Row {
        double t, d;
        int unit;
        const char* message;  // nullptr: accepted
    };
    const Row rows[] = {
        {999.9, 10000.0, ThermFit::kKgPerM3, nullptr},
        {-999.9, 0.001, ThermFit::kKgPerM3, nullptr},
        {1000.0, 800.0, ThermFit::kKgPerM3, M::kTemperatureOutOfRangeMessage},
        {-1000.0, 800.0, ThermFit::kKgPerM3, M::kTemperatureOutOfRangeMessage},
        {60.0, 0.0, ThermFit::kKgPerM3, M::kDensityOutOfRangeMessage},
        {60.0, 10000.5, ThermFit::kKgPerM3, M::kDensityOutOfRangeMessage},
        {60.0, 10000.0, ThermFit::kLbPerFt3, nullptr},
        {60.0, -1.0, ThermFit::kLbPerFt3, M::kDensityOutOfRangeMessage},
        {60.0, 999.0, ThermFit::kApi, nullptr},
        {60.0, 1000.0, ThermFit::kApi, M::kDensityOutOfRangeMessage},
        {60.0, -131.4, ThermFit::kApi, nullptr},
        {60.0, -131.5, ThermFit::kApi, M::kDensityOutOfRangeMessage},  // no density there
        {60.0, -131.4999999, ThermFit::kApi, M::kDensityOutOfRangeMessage},  // infinite at single precision
        {60.0, -500.0, ThermFit::kApi, M::kDensityOutOfRangeMessage},  // a negative density
        {60.0, 9.99, ThermFit::kRelativeDensity, nullptr},
        {60.0, 10.0, ThermFit::kRelativeDensity, M::kDensityOutOfRangeMessage},
        {60.0, 0.0, ThermFit::kRelativeDensity, M::kDensityOutOfRangeMessage},
        {2000.0, 0.0, ThermFit::kKgPerM3, M::kBothOutOfRangeMessage},
    };
    for (const Row& r : rows) {
        RecordingUi ui;
        M model(ui.services);
        const bool added = Add(model, {r.t, r.d, M::kFahrenheit, r.unit});
        const std::string label = std::to_string(r.t) + " " + std::to_string(r.d) + " unit " + std::to_string(r.unit);
        EXPECT_TRUE(model.blankInputs) << label;
        if (!r.message) {
            EXPECT_TRUE(added) << label;
            EXPECT_TRUE(ui.prompt.shown.empty()) << label << ": " << ui.LastMessage();
            EXPECT_EQ(model.temperatureInput, 0.0);
            EXPECT_EQ(model.densityInput, 0.0);
            EXPECT_TRUE(std::isfinite(model.Sample(0).density) && model.Sample(0).density > 0.0) << label;
            continue;
        }
        EXPECT_FALSE(added) << label;
        EXPECT_EQ(ui.Messages(), std::vector<std::string>{r.message}) << label;
        EXPECT_TRUE(model.DataEntered().empty() && model.InputData().empty()) << label;
        const std::string m = r.message;
        const bool temperatureWrong = m != M::kDensityOutOfRangeMessage;
        const bool densityWrong = m != M::kTemperatureOutOfRangeMessage;
        EXPECT_EQ(model.temperatureInput, temperatureWrong ? 0.0 : r.t) << label;
        EXPECT_EQ(model.densityInput, densityWrong ? 0.0 : r.d) << label;
    }
}

TEST(ThermCalcModel, DataEnteredLinesAlignTheirDecimalPoints) {
    const std::string F = " \u00B0F" + std::string(9, ' '), C = " \u00B0C" + std::string(9, ' ');
    struct Row {
        Entry e;
        std::string line;
    };
    const Row rows[] = {
        {{40, 858.0046}, "  " " 40.000000" + F + " " "858.004600" " Kg/m3"},
        {{5, 0.85, M::kCelsius, ThermFit::kRelativeDensity}, "   " "  5.000000" + C + "   " "  0.850000" " Rel D"},
        {{-9.5, 62.4, M::kFahrenheit, ThermFit::kLbPerFt3}, "   " " -9.500000" + F + "  " " 62.400000" " lb/ft3"},
        {{-99, 99.5, M::kFahrenheit, ThermFit::kApi}, "  " "-99.000000" + F + "  " " 99.500000" " API"},
        {{100, 1000, M::kFahrenheit, ThermFit::kKgPerM3}, " " "100.000000" + F + " " "1000.000000" " Kg/m3"},
        {{-100, 10000, M::kCelsius, ThermFit::kKgPerM3}, "" "-100.000000" + C + " " "10000.000000" " Kg/m3"},
        {{-500, -120, M::kFahrenheit, ThermFit::kApi}, "" "-500.000000" + F + "" "-120.000000" " API"},
    };
    RecordingUi ui;
    M model(ui.services);
    for (const Row& r : rows) ASSERT_TRUE(Add(model, r.e)) << r.line;
    ASSERT_EQ(model.DataEntered().size(), std::size(rows));
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(model.DataEntered()[i], rows[i].line);
        const ThermSample& s = model.Sample(static_cast<int>(i));
        EXPECT_EQ(s.temperatureText + s.densityText, rows[i].line);
        EXPECT_FALSE(s.fahrenheit) << "corrected";
    }
}

TEST(ThermCalcModel, EachSampleIsLoggedWithItsConversions) {
    RecordingUi ui;
    M model(ui.services);
    ASSERT_TRUE(Add(model, {40, 858.0046}));
    ASSERT_TRUE(Add(model, {15, 10, M::kCelsius, ThermFit::kApi}));
    const std::vector<std::string> expected = {
        "---Sample Number 1---",
        "     Density is in Kg/m3, no conversion",
        "     Shifted Temp. in Deg. F = 40.001911",
        "---Sample Number 2---",
        "     Density in Kg/m3 = 999.059998",
        "     Shifted Temp. in Deg. F = 59.006622",
    };
    EXPECT_EQ(model.InputData(), expected);
    EXPECT_EQ(model.Sample(0).density, 858.0046);
    EXPECT_EQ(model.Sample(0).temperature, 40.001911) << "the value of the logged text";
    EXPECT_EQ(model.Sample(1).density, static_cast<double>(999.06f));
}

TEST(ThermCalcModel, TheTwentyFirstSampleIsRefused) {
    RecordingUi ui;
    M model(ui.services);
    for (int i = 0; i < M::kMaxSamples; ++i) ASSERT_TRUE(Add(model, {i < 10 ? 40.0 + i : 70.0 + i, 850.0 - i}));
    model.OnCalculate();
    const double result = model.Result();
    ASSERT_NE(result, 0.0);
    EXPECT_FALSE(Add(model, {50, 850}));
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{M::kTooManyMessage});
    EXPECT_EQ(model.SampleCount(), M::kMaxSamples);
    EXPECT_EQ(model.temperatureInput, 50.0) << "nothing more happens";
    EXPECT_EQ(model.Result(), result);
}

TEST(ThermCalcModel, CalculateNeedsTwoSamplesOnBothSidesOf60F) {
    struct Row {
        std::vector<Entry> samples;
        const char* message;
    };
    const Row rows[] = {
        {{}, M::kNotEnoughMessage},
        {{{40, 850}}, M::kNotEnoughMessage},
        {{{61, 850}, {70, 845}, {100, 830}}, M::kBothSidesMessage},
        {{{59, 850}, {50, 855}}, M::kBothSidesMessage},
        {{{15, 850, M::kCelsius}, {59, 850}}, M::kBothSidesMessage},  // both about 59.0066 degF
        {{{60, 850}, {50, 855}}, nullptr},  // 60 degF is corrected to above 60
    };
    for (const Row& r : rows) {
        RecordingUi ui;
        M model(ui.services);
        AddAll(model, r.samples);
        const bool calculated = model.OnCalculate();
        if (!r.message) {
            EXPECT_TRUE(calculated);
            EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
            EXPECT_NE(model.Result(), 0.0);
            continue;
        }
        EXPECT_FALSE(calculated);
        EXPECT_EQ(ui.Messages(), std::vector<std::string>{r.message});
        EXPECT_TRUE(model.Details().empty());
        EXPECT_EQ(model.Result(), 0.0);
    }
}

TEST(ThermCalcModel, RemovingASampleRenumbersTheRestAndClearsTheResult) {
    RecordingUi ui;
    M model(ui.services);
    AddAll(model, kWorkedExample);
    model.OnCalculate();
    const ThermSample third = model.Sample(2);
    const std::string secondLine = model.DataEntered()[1];

    ASSERT_TRUE(model.OnRemoveSelected(0));
    EXPECT_EQ(model.SampleCount(), 4);
    EXPECT_EQ(model.Result(), 0.0);
    EXPECT_TRUE(model.Details().empty());
    EXPECT_TRUE(model.blankInputs);
    ASSERT_EQ(model.DataEntered().size(), 4u);
    EXPECT_EQ(model.DataEntered()[0], secondLine);
    ASSERT_EQ(model.InputData().size(), 12u);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(model.InputData()[static_cast<size_t>(i) * 3], "---Sample Number " + std::to_string(i + 1) + "---");
    EXPECT_EQ(model.InputData()[2], "     Shifted Temp. in Deg. F = 50.004364");
    EXPECT_EQ(model.Sample(1).temperature, third.temperature);
    EXPECT_EQ(model.Sample(1).densityText, third.densityText);
    EXPECT_TRUE(model.Sample(4).fahrenheit && model.Sample(4).temperatureText.empty()) << "the freed slot is empty";

    EXPECT_TRUE(ui.prompt.shown.empty());
}

TEST(ThermCalcModel, NothingToRemoveIsSaid) {
    RecordingUi ui;
    M model(ui.services);
    EXPECT_FALSE(model.OnRemoveSelected(0));
    EXPECT_FALSE(model.OnRemoveAll());
    ASSERT_TRUE(Add(model, {40, 850}));
    EXPECT_FALSE(model.OnRemoveSelected(-1));
    EXPECT_FALSE(model.OnRemoveSelected(1));
    ASSERT_TRUE(model.OnRemoveSelected(0));
    EXPECT_TRUE(model.DataEntered().empty() && model.InputData().empty());
    EXPECT_FALSE(model.OnRemoveSelected(0));
    EXPECT_EQ(ui.Messages(), (std::vector<std::string>{M::kNoneSelectedMessage, M::kNoneEnteredMessage,
                                                       M::kNoneSelectedMessage, M::kNoneSelectedMessage,
                                                       M::kNoneSelectedMessage}));
}

TEST(ThermCalcModel, RemoveAllStartsOver) {
    RecordingUi ui;
    M model(ui.services);
    AddAll(model, kWorkedExample);
    model.OnToggleResultUnit();
    model.OnCalculate();
    model.temperatureUnit = M::kCelsius;
    model.densityUnit = ThermFit::kApi;
    ASSERT_TRUE(model.OnRemoveAll());
    EXPECT_EQ(model.SampleCount(), 0);
    EXPECT_FALSE(model.ResultPerCelsius());
    EXPECT_EQ(model.ResultUnit(), "%/\u00B0F");
    EXPECT_EQ(model.Result(), 0.0);
    EXPECT_EQ(model.temperatureUnit, M::kFahrenheit);
    EXPECT_EQ(model.densityUnit, ThermFit::kKgPerM3);
    EXPECT_TRUE(model.DataEntered().empty() && model.InputData().empty() && model.Details().empty());
}

TEST(ThermCalcModel, AddingASampleClearsThePreviousResult) {
    RecordingUi ui;
    M model(ui.services);
    AddAll(model, kWorkedExample);
    model.OnCalculate();
    ASSERT_FALSE(model.Details().empty());
    Add(model, {1000, 850});  // refused, and still clears
    EXPECT_EQ(model.Result(), 0.0);
    EXPECT_TRUE(model.Details().empty());
}

TEST(ThermCalcModel, InputTextsReadAsNumbers) {
    struct Row {
        const char* text;
        std::optional<double> value;
    };
    const Row rows[] = {
        {"", 0.0},      {"   ", 0.0},        {" 12.5\t", 12.5}, {"-3", -3.0},    {"1e2", 100.0},
        {"abc", {}},    {"12.5x", {}},       {"1,5", {}},       {"1e999", {}},   {"nan", {}},
        {"inf", {}},    {"- 3", {}},         {"1 2", {}},
        {"000000000000000000000000000000000000000000000000000000000000000000001", {}},
    };
    for (const Row& r : rows) EXPECT_EQ(M::ParseInput(r.text), r.value) << '"' << r.text << '"';
    EXPECT_EQ(M::NumberText(0.0472104792546683), "0.0472104792546683");
    EXPECT_EQ(M::NumberText(40.0), "40");
}

// Any sequence of commands keeps the lists in step with the samples and never shows a
// result that is not a number.
TEST(ThermCalcModel, FuzzedCommandsKeepTheListsInStep) {
    RecordingUi ui;
    const auto target = [&](const std::string& bytes) {
        M model(ui.services);
        for (size_t i = 0; i + 3 < bytes.size(); i += 4) {
            const auto b = [&](size_t k) { return static_cast<unsigned char>(bytes[i + k]); };
            switch (b(0) % 6) {
            case 0:
            case 1:
                model.temperatureInput = (b(1) - 128) * 8.0 + b(2) / 16.0;
                model.densityInput = b(0) % 12 < 6 ? b(2) * 40.0 + b(3) / 64.0 : (b(3) - 140) + b(1) / 256.0;
                model.temperatureUnit = b(1) % 2;
                model.densityUnit = b(3) % 4;
                model.OnAdd();
                break;
            case 2: model.OnRemoveSelected(static_cast<int>(b(1) % 24) - 2); break;
            case 3: model.OnCalculate(); break;
            case 4: model.OnToggleResultUnit(); break;
            default: if (b(1) < 16) model.OnRemoveAll(); break;
            }
            ASSERT_LE(model.SampleCount(), M::kMaxSamples);
            ASSERT_EQ(model.DataEntered().size(), static_cast<size_t>(model.SampleCount()));
            ASSERT_EQ(model.InputData().size(), static_cast<size_t>(model.SampleCount()) * 3);
            ASSERT_TRUE(std::isfinite(model.Result()));
            for (const auto& line : model.Details()) ASSERT_EQ(line.find("nan"), std::string::npos) << line;
        }
        ui.prompt.shown.clear();
    };
    RunFuzz({std::string(80, '\x01'), std::string(200, '\x7f')}, target, {.iterations = 3000, .maxLength = 400});
}

}  // namespace qs::test
