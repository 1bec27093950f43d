#pragma once
#include <string_view>

namespace qs {

// What the check of an entry's print format found; the message of each is the user's.
enum ReportFormatCode : int {
    kReportFormatOk = 0,
    kReportFormatBadFrame = 1,
    kReportFormatTooLong = 2,
    kReportFormatBadSpecifier = 3,
    kReportFormatNeedsModifier = 4,
    kReportFormatWrongType = 5,
    kReportFormatBadFlag = 6,
    kReportFormatBadField = 7,
};

// Longest format an entry keeps.
inline constexpr size_t kReportFormatMaxLength = 13;
// Largest width or precision the printer takes.
inline constexpr int kReportFormatMaxField = 80;

// Checks a format before it is stored on an entry whose register has `dataType`: one
// conversion, text around it allowed. Between the "%" and the conversion letter only flags,
// digits, one "." and a length modifier may stand; a modifier needs a conversion after it.
// Data types above 9 take any conversion letter.
ReportFormatCode ValidateReportFormat(int dataType, std::string_view format);

// "OK" and the message of each code; "" outside them.
const char* ReportFormatMessage(int code);

}  // namespace qs
