#pragma once
#include "programdata/AppOptions.h"

namespace qs {

// Which codes count as shown (listed, printed, stepped through by a transfer's bar).
struct ShownFilter {
    // A Recipe subdirectory whose first code is empty or 0 shows nothing.
    bool hideUnusedRecipes = false;
    // Codes whose level (as a signed byte, so none is -1) is below this are left out; 0
    // shows every code.
    int minLevel = 0;

    static ShownFilter FromOptions(const AppOptions& options) {
        return ShownFilter{options.SuppressUnused, options.SuppressBelowLvl};
    }
};

}  // namespace qs
