#include "appmodel/thermcalc/ThermFit.h"

#include <cmath>

#include "platform/SafeFormat.h"

namespace qs {

namespace {

// The published correction is applied with its coefficients at single precision.
constexpr float kScaleCorrection[] = {-0.148759f, -0.267408f, 1.08076f,   1.269056f,
                                      -4.089591f, -1.871251f, 7.438081f, -3.536296f};
constexpr float kWaterDensity = 999.06f;
constexpr float kKgPerLb = 0.4536f;
constexpr float kMPerFt = 0.3048f;

}  // namespace

double ThermFit::ShiftTemperature(double temperature, bool fahrenheit) {
    double t = fahrenheit ? (temperature - 32.0) / 1.8 : temperature;
    const double tau = t / 630.0;
    double poly = 0.0;
    for (int i = 7; i >= 0; --i) poly = static_cast<double>(kScaleCorrection[i]) + tau * poly;
    return t - tau * poly;
}

double ThermFit::ToKgPerM3(double value, int densityUnit) {
    const float v = static_cast<float>(value);
    switch (densityUnit) {
    case kLbPerFt3: return static_cast<double>(v * kKgPerLb / (kMPerFt * kMPerFt * kMPerFt));
    case kApi: return static_cast<double>(141.5f / (v + 131.5f) * kWaterDensity);
    case kRelativeDensity: return static_cast<double>(v * kWaterDensity);
    default: return value;
    }
}

std::string ThermFit::FahrenheitText(double celsius) {
    const float fahrenheit = static_cast<float>(celsius) * 1.8f + 32.0f;
    return SafeFormat("%8.6f", FormatArg::Real(static_cast<double>(fahrenheit))).value_or("");
}

ThermFit::Fit ThermFit::Calculate(std::span<ThermSample> samples) {
    Fit fit;
    auto& s = fit.sums;
    for (ThermSample& sample : samples) {
        sample.deltaT = sample.temperature - kBaseTemperature;
        const double dt = sample.deltaT;
        const double y = std::log(sample.density);
        s[0] += y;
        s[1] += y * y;
        s[2] += dt;
        s[3] += y * dt;
        s[4] += dt * dt;
        s[5] += y * dt * dt;
        s[6] += dt * dt * dt;
        s[7] += dt * dt * dt * dt;
    }
    const double n = static_cast<double>(samples.size());
    const double d = kDelta60;
    const double m = kModelFactor;
    // 2m, 3m and 2m^2 as written constants (3 * 0.8 and 2 * 0.8 * 0.8 round differently).
    constexpr double k2m = 1.6, k3m = 2.4, k2mm = 1.28;
    const double v = d * s[2] + s[4];
    auto& q = fit.coefficients;
    q[0] = s[3] - s[2] * s[0] / n;
    q[1] = k2m * (d * s[3] + s[5]) + s[4] - (k2m * v * s[0] + s[2] * s[2]) / n;
    q[2] = k3m * (s[6] + d * s[4] - s[2] * v / n);
    q[3] = k2mm * ((2 * s[6] + d * s[4]) * d + s[7] - v * v / n);

    // The linear fit (the model without its second-order term) starts the iteration.
    fit.alpha[0] = q[0] / (s[2] * s[2] / n - s[4]);
    Solve(fit);
    if (!fit.solved) return fit;
    const double a = fit.alpha60;
    fit.d60 = std::exp((s[0] + a * s[2] + m * a * a * (s[4] + d * s[2])) / n);
    fit.solved = std::isfinite(fit.d60);
    return fit;
}

void ThermFit::Solve(Fit& fit) {
    const auto& q = fit.coefficients;
    fit.steps = 0;
    fit.solved = false;
    if (!std::isfinite(fit.alpha[0])) return;
    for (int k = 0; k < kNewtonSteps; ++k) {
        const double a = fit.alpha[static_cast<size_t>(k)];
        const double f = ((q[3] * a + q[2]) * a + q[1]) * a + q[0];
        const double slope = (2 * q[2] + 3 * q[3] * a) * a + q[1];
        if (slope == 0.0 || !std::isfinite(slope)) return;
        const double step = -f / slope;
        const double next = a + step;
        if (!std::isfinite(step) || !std::isfinite(next)) return;
        fit.deltaAlpha[static_cast<size_t>(k)] = step;
        fit.alpha[static_cast<size_t>(k) + 1] = next;
        fit.steps = k + 1;
    }
    fit.alpha60 = fit.alpha[kNewtonSteps];
    fit.solved = true;
}

}  // namespace qs
