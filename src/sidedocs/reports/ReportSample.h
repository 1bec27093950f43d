#pragma once
#include <string>
#include <string_view>

namespace qs {

class CParam;

// What a value entry shows in the report grid: `format` applied to a sample of the register's
// values. A numeric register gives its maximum; a text register a run of "N" as long as its
// maximum length (its width when that is 0). The format comes from a file or the device and
// is applied only through SafeFormat; one that cannot be applied shows as it stands.
std::string ReportSampleText(const CParam& entry, std::string_view format);

}  // namespace qs
