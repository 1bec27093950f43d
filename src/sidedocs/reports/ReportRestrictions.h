#pragma once
#include <string>

namespace qs {

class CParam;
class ParamDictionary;

// The print conditions an entry may have, by number.
inline constexpr const char* kReportConditionNames[] = {
    "Always print this entry",
    "Print if value is nonzero",
    "Print if reference value is nonzero",
    "Print if indicated batch was delivered",
    "Print if reference register's batch was delivered",
    "Print if this product was delivered",
    "Print if reference register's product was delivered",
    "Print if this recipe was delivered",
    "Print if reference register's recipe was delivered",
};

// The print condition and offset of an entry, as its advanced options give them.
struct ReportRestrictionInput {
    const CParam* itemEntry = nullptr;       // the entry's own register; null for none
    const CParam* referenceEntry = nullptr;  // the reference register; null for none
    int condition = 0;                       // 0-8
    bool useReferenceOffset = false;
};

// Which control a refused restriction belongs to.
enum class ReportRestrictionField { None, Offset, Condition };

struct ReportRestrictionResult {
    ReportRestrictionField field = ReportRestrictionField::None;
    std::string message;
    bool Ok() const { return field == ReportRestrictionField::None; }
};

// Whether the offset can be used and the condition tested on the registers it names. An
// offset needs a register of the entry with more than one instance; a condition that asks
// for a batch, product or recipe offset needs a register with as many instances as the
// first register of that run-data directory.
ReportRestrictionResult ValidateReportRestrictions(const ReportRestrictionInput& input,
                                                   const ParamDictionary& dictionary);

// Whether a register of this data type can give an offset (it holds an integer).
bool ReportReferenceIsIntegral(const CParam& reference);

// Whether the "offset from the reference" box may be set for an entry with this register
// and reference.
bool ReportOffsetUsable(const CParam* itemEntry, const CParam* referenceEntry);

}  // namespace qs
