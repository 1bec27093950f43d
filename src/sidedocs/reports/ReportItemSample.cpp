#include "sidedocs/reports/ReportItemSample.h"

#include <algorithm>
#include <cstdio>

#include "platform/SafeFormat.h"
#include "programdata/CParam.h"
#include "programdata/ParamDictionary.h"
#include "sidedocs/reports/ReportFormatCheck.h"
#include "sidedocs/reports/ReportItem.h"
#include "sidedocs/reports/ReportSample.h"

namespace qs {

namespace {

constexpr const char* kNone = "<none>";
constexpr const char* kTextFormat = "%s";

std::string ApplyToText(const std::string& format, const std::string& text) {
    const auto out = SafeFormat(format, FormatArg::Text(text));
    return out ? *out : format;
}

// A format for the data type when the register's own gives no place for a width.
std::string PlainFormatFor(const CParam& entry) {
    char buffer[32];
    if (entry.IsRealType())
        std::snprintf(buffer, sizeof buffer, "%%%d.%df", entry.width, entry.precision);
    else if (entry.dataType == CParam::kTypeSigned || entry.dataType == CParam::kTypeUnsigned)
        std::snprintf(buffer, sizeof buffer, "%%%dld", entry.width);
    else
        std::snprintf(buffer, sizeof buffer, "%%%dd", entry.width);
    return buffer;
}

}  // namespace

std::string ReportFormatFromRegister(const CParam& entry) {
    const std::string own = entry.Format();
    const size_t first = own.find('*');
    if (first == std::string::npos) {
        // A register format without a "*" is kept when it suits the register as it stands.
        if (ValidateReportFormat(entry.dataType, own) == kReportFormatOk) return own;
        return PlainFormatFor(entry);
    }
    const size_t last = own.rfind('*');
    char field[16];
    std::snprintf(field, sizeof field, "%d.%d", entry.width, entry.precision);
    std::string rebuilt = own.substr(0, first) + field + own.substr(last + 1);
    if (rebuilt.size() > ReportItem::kFormatSize - 1) return PlainFormatFor(entry);
    return rebuilt;
}

ReportItemSample MakeReportItemSample(int type, const CParam* entry, uint32_t registerId, const std::string& format,
                                      const std::string& text, bool resetFormat) {
    ReportItemSample sample;
    sample.format = format;
    if (type == kReportItemUserText) {
        if (resetFormat) sample.format = kTextFormat;
        sample.value = text;
        return sample;
    }
    if (!entry) {
        sample.registerName = kNone;
        sample.value = kNone;
        return sample;
    }
    const std::string name = entry->Name();
    sample.registerName = name;
    if (entry->instances > 0) sample.instance = static_cast<int>(RegisterIdInstance(registerId));
    if (entry->instances > 0 && type != kReportItemDescription)
        sample.registerName += "(" + std::to_string(sample.instance) + ")";

    if (type == kReportItemDescription) {
        if (resetFormat) sample.format = kTextFormat;
        sample.value = ApplyToText(sample.format, name);
    } else if (entry->dataType == CParam::kTypeText) {
        if (resetFormat) sample.format = kTextFormat;
        sample.value = ReportSampleText(*entry, sample.format);
    } else if (entry->HasOptionList()) {
        sample.format = kTextFormat;
        sample.value = entry->OptionText(0);
    } else {
        if (resetFormat || ValidateReportFormat(entry->dataType, sample.format) != kReportFormatOk)
            sample.format = ReportFormatFromRegister(*entry);
        sample.value = ReportSampleText(*entry, sample.format);
    }
    return sample;
}

uint32_t ReportRegisterIdFor(const CParam& entry, int offset) {
    const unsigned instance = entry.instances > 0 ? static_cast<unsigned>(std::clamp(offset, 1, std::max<int>(1, entry.instances))) : 0u;
    return MakeRegisterId(0, entry.dataType, entry.dictDirectory, entry.position, instance);
}

}  // namespace qs
