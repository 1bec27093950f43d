#include "sidedocs/reports/ReportSample.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/SafeFormat.h"
#include "programdata/CParam.h"

namespace qs {

namespace {

// The longest run a text field of a report entry holds.
constexpr int kMaxTextRun = 254;

int32_t ClampToInt(float v) {
    if (std::isnan(v)) return 0;
    return static_cast<int32_t>(std::clamp<double>(std::trunc(v), INT32_MIN, INT32_MAX));
}

}  // namespace

std::string ReportSampleText(const CParam& entry, std::string_view format) {
    std::optional<std::string> sample;
    if (entry.dataType == CParam::kTypeText) {
        const int length = entry.max > 0 ? std::min(ClampToInt(entry.max), kMaxTextRun) : entry.width;
        sample = SafeFormat(format, FormatArg::Text(std::string(static_cast<size_t>(length), 'N')));
    } else {
        // The value is printed as the conversion asks: a real for %f, an integer for %d.
        sample = SafeFormat(format, FormatArg::Real(entry.max));
        if (!sample) sample = SafeFormat(format, FormatArg::Signed(ClampToInt(entry.max)));
    }
    return sample ? *sample : std::string(format);
}

}  // namespace qs
