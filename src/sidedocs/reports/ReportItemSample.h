#pragma once
#include <cstdint>
#include <string>

namespace qs {

class CParam;

// What the item dialog shows for an entry: the register's name, the value as it would be
// printed, and the format (which a register change or a type change may rebuild).
struct ReportItemSample {
    std::string registerName;
    std::string value;
    std::string format;
    int instance = 0;
};

// The sample of an entry of `type` on `entry` (null for none) with register id `registerId`.
// `text` is the entry's own text, kept for user text. With `resetFormat` the format becomes
// the one that suits the register; a numeric register's format is also rebuilt when `format`
// does not suit its data type.
ReportItemSample MakeReportItemSample(int type, const CParam* entry, uint32_t registerId, const std::string& format,
                                      const std::string& text, bool resetFormat);

// A numeric register's own print format with its width and precision written in.
std::string ReportFormatFromRegister(const CParam& entry);

// The register id of a register chosen in the picker, with the offset it was given there:
// registers with instances take the offset (1 for 0), the others none.
uint32_t ReportRegisterIdFor(const CParam& entry, int offset);

}  // namespace qs
