#include "sidedocs/translations/DeviceLiterals.h"

#include "sidedocs/translations/LiteralData.h"

namespace qs {

static_assert(literal_data::kTextCount == DeviceLiterals::kTableSize);

std::string_view DeviceLiterals::Text(size_t index) {
    if (index >= literal_data::kTextCount) return {};
    return literal_data::kTexts[index];
}

}  // namespace qs
