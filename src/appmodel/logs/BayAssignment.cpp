#include "appmodel/logs/BayAssignment.h"

#include <algorithm>

namespace qs {

std::array<int, 2> BayAssignment::FromReply(const std::string& reply, int armsInUse, int bays,
                                            const std::array<int, kMaxArms>& armAddresses) {
    std::array<int, 2> found = {0, 0};
    const int arms = std::clamp(armsInUse, 0, kMaxArms);
    for (int i = 0; i < arms; ++i) {
        const size_t at = kFirstLetter + static_cast<size_t>(i);
        if (at >= reply.size()) break;
        const int address = armAddresses[static_cast<size_t>(i)];
        if (address < 0) continue;
        if (reply[at] == 'A' && found[0] == 0) found[0] = address;
        if (reply[at] == 'B' && bays > 1 && found[1] == 0) found[1] = address;
    }
    return found;
}

}  // namespace qs
