#pragma once
#include <string>
#include <string_view>

#include "device/CommandProcessor.h"

namespace sim {

// The totals command "VT", answered per device address with the echo, a blank and the total:
//   "VT L Pk"  (L one of R G N P M, k 1-9)  product k      -> address x 10000 + k x 10 + q
//   "VT L rr"  (rr 01-99)                   recipe rr      -> address x 10000 + (100 + rr) x 10 + q
//   "VT Aaa"   (aa 01-99)                   additive aa    -> address x 10000 + (200 + aa) x 10
// q being 1-5 for R G N P M. Any other form is refused with NO00.
class TotalsCommands {
public:
    static std::string Answer(int address, std::string_view command);
    static void Install(CommandProcessor& commands);
};

}  // namespace sim
