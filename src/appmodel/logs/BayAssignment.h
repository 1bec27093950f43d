#pragma once
#include <array>
#include <string>

namespace qs {

// Which arm's device answers for each bay, from the reply to "BA": the echo "BA " and then one
// letter per arm in use, from the fourth character on ('A' bay A, 'B' bay B, anything else
// none). The first arm of a bay gives the bay its address; bay B counts only when the document
// reads two bays. A reply that ends before an arm's letter gives that arm no bay.
class BayAssignment {
public:
    static constexpr size_t kFirstLetter = 3;
    static constexpr int kMaxArms = 6;

    // `armsInUse` (clamped to 0-6) letters are looked at; `bays` is the document's arm mode
    // (1 bay A only, 2 both). Returns the addresses of bay A and bay B, 0 for none.
    static std::array<int, 2> FromReply(const std::string& reply, int armsInUse, int bays,
                                        const std::array<int, kMaxArms>& armAddresses);
};

}  // namespace qs
