#include "appmodel/thermcalc/ThermFit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace qs::test {

// The scale correction as the technician reads it off the log: the corrected Fahrenheit value.
static double LoggedFahrenheit(double value, bool fahrenheit) {
    return std::atof(ThermFit::FahrenheitText(ThermFit::ShiftTemperature(value, fahrenheit)).c_str());
}

TEST(ThermCalcFit, TemperaturesAreCorrectedToTheOldScaleWhicheverUnitTheyCameIn) {
    struct Row {
        double value;
        bool fahrenheit;
        double loggedNear;
    };
    const Row rows[] = {
        {15.0, false, 59.0066},  // 15 degC
        {60.0, true, 60.0069},   // so it counts as above 60
        {59.0, true, 59.0066},   // the same temperature entered in degF
        {32.0, true, 32.0},      // the correction vanishes at 0 degC
    };
    for (const Row& r : rows) EXPECT_NEAR(LoggedFahrenheit(r.value, r.fahrenheit), r.loggedNear, 1e-4) << r.value;
    EXPECT_EQ(ThermFit::ShiftTemperature(0.0, false), 0.0);
}

TEST(ThermCalcFit, DensitiesAreBroughtToKgPerCubicMetreAtSinglePrecision) {
    struct Row {
        double value;
        int unit;
        double expected;
    };
    const Row rows[] = {
        {858.0046, ThermFit::kKgPerM3, 858.0046},
        {62.4, ThermFit::kLbPerFt3, 62.4 * 0.4536 / (0.3048 * 0.3048 * 0.3048)},
        {10.0, ThermFit::kApi, 999.06},
        {35.0, ThermFit::kApi, 141.5 / (35.0 + 131.5) * 999.06},
        {0.85, ThermFit::kRelativeDensity, 0.85 * 999.06},
    };
    for (const Row& r : rows) {
        const double got = ThermFit::ToKgPerM3(r.value, r.unit);
        EXPECT_NEAR(got, r.expected, r.expected * 1e-6) << r.value << " unit " << r.unit;
        if (r.unit != ThermFit::kKgPerM3) {
            EXPECT_EQ(got, static_cast<double>(static_cast<float>(got))) << "a float result";
        }
    }
    EXPECT_EQ(ThermFit::ToKgPerM3(858.0046, ThermFit::kKgPerM3), 858.0046) << "kept at full precision";
    // At the pole of the API formula there is no density.
    const double pole = ThermFit::ToKgPerM3(-131.5, ThermFit::kApi);
    EXPECT_FALSE(std::isfinite(pole) && pole > 0.0);
}

TEST(ThermCalcFit, NewtonStepsFindTheRootOfTheCubic) {
    ThermFit::Fit fit;
    // (a - 0.001)(a^2 + 1) = a^3 - 0.001 a^2 + a - 0.001
    fit.coefficients = {-0.001, 1.0, -0.001, 1.0};
    fit.alpha[0] = 0.0;
    ThermFit::Solve(fit);
    ASSERT_TRUE(fit.solved);
    EXPECT_EQ(fit.steps, ThermFit::kNewtonSteps);
    EXPECT_NEAR(fit.alpha60, 0.001, 1e-15);
    EXPECT_EQ(fit.alpha60, fit.alpha[ThermFit::kNewtonSteps]);
    for (size_t k = 0; k < ThermFit::kNewtonSteps; ++k)
        EXPECT_EQ(fit.alpha[k + 1], fit.alpha[k] + fit.deltaAlpha[k]) << k;
}

TEST(ThermCalcFit, AVanishingOrEndlessStepEndsTheIterationUnsolved) {
    struct Row {
        std::array<double, 4> q;
        double start;
        int steps;
    };
    const Row rows[] = {
        {{1.0, 0.0, 0.0, 0.0}, 0.0, 0},        // flat: no step at all
        {{-1.0, 0.0, 1.0, 0.0}, 0.0, 0},       // a^2 - 1 from its vertex
        {{1.0, 1e-310, 0.0, 0.0}, 0.0, 0},     // a step beyond the doubles
        {{1.0, 0.0, 0.0, 0.0}, NAN, 0},        // no start value
        {{0.0, -3.0, 0.0, 1.0}, 1.0, 0},       // a^3 - 3a at its turning point
    };
    for (const Row& r : rows) {
        ThermFit::Fit fit;
        fit.coefficients = r.q;
        fit.alpha[0] = r.start;
        ThermFit::Solve(fit);
        EXPECT_FALSE(fit.solved) << r.q[0] << " " << r.q[1];
        EXPECT_EQ(fit.steps, r.steps);
    }
}

}  // namespace qs::test
