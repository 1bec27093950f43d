#pragma once
#include <array>
#include <span>
#include <string>

#include "appmodel/thermcalc/ThermSample.h"

namespace qs {

// The arithmetic of the thermal-expansion fit: the temperature scale correction, the density
// units, and the least-squares coefficient of the exponential density model
// rho(T) = rho60 * exp(-a*dT * (1 + 0.8*a*(dT + delta60))), found as the root of a cubic by a
// fixed number of Newton steps. Single-precision steps are kept where the logged values show
// them, so a fit repeated from the logged samples gives the same digits.
class ThermFit {
public:
    static constexpr double kBaseTemperature = 60.0068749;  // 60 degF on IPTS-68
    static constexpr double kDelta60 = 0.01374979547;
    static constexpr double kModelFactor = 0.8;
    static constexpr int kNewtonSteps = 5;
    static constexpr int kSumCount = 8;
    static constexpr int kCoefficientCount = 4;

    enum DensityUnit { kKgPerM3 = 0, kLbPerFt3 = 1, kApi = 2, kRelativeDensity = 3 };

    // ITS-90 to IPTS-68, in degC; a Fahrenheit temperature is brought to Celsius first.
    static double ShiftTemperature(double temperature, bool fahrenheit);
    // The density in kg/m3 at single precision; kg/m3 is returned unchanged. An API gravity
    // at or below -131.5 has no density and gives a value that is not finite or not positive.
    static double ToKgPerM3(double value, int densityUnit);
    // The Fahrenheit text a corrected Celsius temperature is logged with ("%8.6f" of a
    // single-precision conversion); the sample keeps the value of this text.
    static std::string FahrenheitText(double celsius);

    struct Fit {
        std::array<double, kSumCount> sums{};
        std::array<double, kCoefficientCount> coefficients{};
        std::array<double, kNewtonSteps + 1> alpha{};
        std::array<double, kNewtonSteps> deltaAlpha{};
        int steps = 0;  // Newton steps taken; fewer than kNewtonSteps when one could not be
        double alpha60 = 0.0;
        double d60 = 0.0;
        bool solved = false;  // every step and D60 finite
    };

    // Fills deltaT of each sample and fits them; the samples are two or more with
    // temperatures on both sides of 60 degF (the caller checks).
    static Fit Calculate(std::span<ThermSample> samples);
    // The Newton steps on the cubic of `q` from the start value; stops at a step whose
    // derivative vanishes or that leaves the finite numbers.
    static void Solve(Fit& fit);
};

}  // namespace qs
