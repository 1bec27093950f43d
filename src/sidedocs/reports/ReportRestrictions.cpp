#include "sidedocs/reports/ReportRestrictions.h"

#include "programdata/CParam.h"
#include "programdata/ParamDictionary.h"

namespace qs {

namespace {

// The run-data directories whose registers carry a batch, product or recipe offset.
constexpr int kBatchDirectory = 17;
constexpr int kProductRunDirectory = 18;
constexpr int kRecipeRunDirectory = 23;

ReportRestrictionResult Refuse(ReportRestrictionField field, const char* message) {
    return {field, message};
}

}  // namespace

bool ReportReferenceIsIntegral(const CParam& reference) {
    return reference.dataType != CParam::kTypeText && !reference.IsRealType();
}

bool ReportOffsetUsable(const CParam* itemEntry, const CParam* referenceEntry) {
    // An entry without a register (user text) has no instance to offset.
    return itemEntry != nullptr && itemEntry->instances > 1 && referenceEntry != nullptr &&
           ReportReferenceIsIntegral(*referenceEntry);
}

ReportRestrictionResult ValidateReportRestrictions(const ReportRestrictionInput& input,
                                                   const ParamDictionary& dictionary) {
    if (input.useReferenceOffset) {
        if (!input.referenceEntry)
            return Refuse(ReportRestrictionField::Offset,
                          "Must select a valid reference parameter (or clear Use refererence Register's "
                          "value... checkbox)");
        if (!ReportReferenceIsIntegral(*input.referenceEntry))
            return Refuse(ReportRestrictionField::Offset,
                          "reference Parameter must be an integral type to use the value as an offset");
        if (!input.itemEntry || input.itemEntry->instances < 2)
            return Refuse(ReportRestrictionField::Offset, "Cannot use an offset for this report item");
    }

    const int condition = input.condition;
    if (condition <= 0 || condition > 8) return {};
    const bool onItem = condition % 2 == 1;
    const CParam* tested = onItem ? input.itemEntry : input.referenceEntry;
    if (!tested)
        return Refuse(ReportRestrictionField::Condition,
                      onItem ? "Function selected only valid for database data type items"
                             : "Function selected requires a valid reference register ");
    if (condition <= 2) return {};

    int directory = kBatchDirectory;
    const char* message = "Function selected requires a register that has a batch offset";
    if (condition >= 7) {
        directory = kRecipeRunDirectory;
        message = "Function selected requires a register that has a recipe offset";
    } else if (condition >= 5) {
        directory = kProductRunDirectory;
        message = "Function selected requires a register that has a product offset";
    }
    const CParam* first = dictionary.FirstParamOfRow(directory);
    if (!first || first->instances != tested->instances) return Refuse(ReportRestrictionField::Condition, message);
    return {};
}

}  // namespace qs
