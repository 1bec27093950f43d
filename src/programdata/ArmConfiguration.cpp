#include "programdata/ArmConfiguration.h"

#include <algorithm>
#include <climits>
#include <string>

#include "programdata/CDirectory.h"
#include "programdata/CParam.h"

namespace qs {

namespace {

// Config 301 and every second code after it are the digital inputs' functions; 45-48 are
// the bay functions, which put the device in two-bay mode.
constexpr int kFirstInputFunction = 301;
constexpr int kMaxInputSteps = 43;
constexpr int kFirstBayFunction = 45;
constexpr int kLastBayFunction = 48;

// Arm types whose products each have a meter of their own, and the hybrid type.
bool MeterPerProduct(int kind) { return kind == 2 || kind == 3 || kind == 6; }
constexpr int kHybridKind = 5;

const CParam* Code(const CDirectory* d, int number) { return d ? d->FindParam(number) : nullptr; }

int ValueOf(const CParam& p, int instance) { return ArmConfiguration::LeadingInteger(p.Value(instance)); }

int PerArmCount(int n) { return std::clamp(n, 1, ArmConfiguration::kMaxPerArm); }

}  // namespace

int ArmConfiguration::LeadingInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX) value = INT_MAX;
    }
    return static_cast<int>(negative ? -value : value);
}

ArmConfiguration ArmConfiguration::Derive(const ArmConfiguration& start, int configuredArms, const CDirectory& config,
                                          const CDirectory* arm, const std::array<int, kMaxArms>& armAddresses,
                                          std::vector<std::string>& warnings) {
    ArmConfiguration c = start;
    c.activeArms = std::max(configuredArms, 1);

    c.flaggedArms = 0;
    if (const CParam* flag = Code(arm, 110)) {
        for (int n = 0; n < std::min(c.activeArms, kMaxArms); ++n)
            if (ValueOf(*flag, n) != 0) ++c.flaggedArms;
    }
    if (c.activeArms + c.flaggedArms > kMaxArms) {
        warnings.push_back("The maximum number of arms supported by this firmware is " + std::to_string(kMaxArms));
        c.activeArms = std::min(c.activeArms, kMaxArms);
    }

    c.armMode = 0;
    const CParam* mode = Code(arm, 109);
    for (int n = 0; n < c.activeArms; ++n) {
        if (armAddresses[static_cast<size_t>(n)] == 0)
            warnings.push_back("You have configured Arm " + std::to_string(n + 1) +
                               " for use, but the arm address is 0. \nSelect 'Options|Options for this Duravane "
                               "III...' and enter a valid address (1-99)");
        if (const CParam* type = config.FindParam(2 * n + 2)) {
            int meters = 1, products = 1;
            const int kind = ValueOf(*type, 0);
            const CParam* count = config.FindParam(2 * n + 3);
            if (kind != 0 && count != nullptr) {
                const int n2 = ValueOf(*count, 0);
                products = n2;
                if (MeterPerProduct(kind)) meters = n2;
                if (kind == kHybridKind) {
                    const CParam* ratioMeters = config.FindParam(n + 14);
                    meters = (ratioMeters ? ValueOf(*ratioMeters, 0) : 0) + 1;
                }
            }
            c.metersPerArm[static_cast<size_t>(n)] = PerArmCount(meters);
            c.productsPerArm[static_cast<size_t>(n)] = PerArmCount(products);
        }
        if (mode != nullptr) {
            const int v = ValueOf(*mode, n);
            if (v > c.armMode) c.armMode = std::min(v, kMaxArmMode);
        }
    }

    const CParam* input = config.FindParam(kFirstInputFunction);
    for (int step = 0; input != nullptr && step < kMaxInputSteps; ++step) {
        const int function = ValueOf(*input, 0);
        if (function >= kFirstBayFunction && function <= kLastBayFunction) {
            c.armMode = kMaxArmMode;
            break;
        }
        input = input->Next() ? input->Next()->Next() : nullptr;
    }
    return c;
}

}  // namespace qs
