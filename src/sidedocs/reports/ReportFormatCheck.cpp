#include "sidedocs/reports/ReportFormatCheck.h"

#include <algorithm>

namespace qs {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsFlag(char c) { return c == ' ' || c == '#' || c == '+' || c == '-'; }
bool IsModifier(char c) { return c == 'F' || c == 'L' || c == 'N' || c == 'h' || c == 'l'; }
bool IsIntegerSpecifier(char c) { return std::string_view("diouxX").find(c) != std::string_view::npos; }
bool IsRealSpecifier(char c) { return std::string_view("feEgG").find(c) != std::string_view::npos; }

// A run of digits read without overflow: anything past the limit stays just past it.
int ReadField(std::string_view text, size_t& pos) {
    int value = 0;
    while (pos < text.size() && IsDigit(text[pos])) {
        value = std::min(value * 10 + (text[pos] - '0'), kReportFormatMaxField + 1);
        ++pos;
    }
    return value;
}

}  // namespace

ReportFormatCode ValidateReportFormat(int dataType, std::string_view format) {
    const size_t percent = format.find('%');
    if (percent == std::string_view::npos || format.find('%', percent + 1) != std::string_view::npos ||
        format.find('*') != std::string_view::npos)
        return kReportFormatBadFrame;
    if (format.size() > kReportFormatMaxLength) return kReportFormatTooLong;

    size_t letterAt = percent + 1;
    while (letterAt < format.size() && !IsLetter(format[letterAt])) ++letterAt;
    if (letterAt == format.size()) return kReportFormatBadSpecifier;
    char specifier = format[letterAt];
    char modifier = 0;
    if (IsModifier(specifier)) {
        modifier = specifier;
        if (letterAt + 1 == format.size() || !IsLetter(format[letterAt + 1])) return kReportFormatBadSpecifier;
        specifier = format[letterAt + 1];
    }

    // Flags, then the width, then "." and the precision: nothing else before the letter.
    size_t pos = percent + 1;
    if (pos < letterAt && !IsDigit(format[pos]) && !IsFlag(format[pos])) return kReportFormatBadFlag;
    while (pos < letterAt && IsFlag(format[pos])) ++pos;
    if (pos < letterAt && !IsDigit(format[pos]) && pos > percent + 1 && format[pos] != '.')
        return kReportFormatBadFlag;
    const int width = ReadField(format, pos);
    int precision = 0;
    if (pos < letterAt && format[pos] == '.') {
        ++pos;
        precision = ReadField(format, pos);
    }
    if (pos != letterAt) return kReportFormatBadSpecifier;
    if (width > kReportFormatMaxField || precision > kReportFormatMaxField) return kReportFormatBadField;

    if (dataType > 9) return kReportFormatOk;
    if (dataType == 0) return specifier == 's' ? kReportFormatOk : kReportFormatWrongType;
    if (dataType == 4 || dataType == 5) return IsRealSpecifier(specifier) ? kReportFormatOk : kReportFormatWrongType;
    if ((dataType == 1 || dataType == 6 || dataType == 9) && specifier == 'c') return kReportFormatOk;
    if (!IsIntegerSpecifier(specifier)) return kReportFormatWrongType;
    if ((dataType == 3 || dataType == 8) && modifier != 'l') return kReportFormatNeedsModifier;
    return kReportFormatOk;
}

const char* ReportFormatMessage(int code) {
    static constexpr const char* kMessages[] = {
        "OK",
        "Invalid frame (percent char missing or duplicated).",
        "Format string exceeds maximum length.",
        "Missing or invalid type specifier",
        "Missing required modifier.(ld for Long Integer?).",
        "Type specifier does not match item data type",
        "Illegal flag character - must be <SPACE>,+, or -",
        "Entered width/precision value out of range.",
    };
    if (code < 0 || code >= static_cast<int>(std::size(kMessages))) return "";
    return kMessages[code];
}

}  // namespace qs
