#pragma once
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace qs {

class CDirectory;

// The model counts of a document as its configuration codes give them: the arms in use, the
// arms flagged for a second identity, the arm mode (also the number of bays), and the meters
// and products of each arm.
struct ArmConfiguration {
    static constexpr int kMaxArms = 6;
    static constexpr int kMaxArmMode = 2;
    static constexpr int kMaxPerArm = 6;

    int activeArms = kMaxArms;
    int flaggedArms = 0;
    int armMode = 0;
    std::array<int, kMaxArms> metersPerArm = {6, 6, 6, 6, 6, 6};
    std::array<int, kMaxArms> productsPerArm = {6, 6, 6, 6, 6, 6};

    // The whole number a value text starts with ("3 Ratio Blending" is 3); 0 when it starts
    // with none; kept within the int range.
    static int LeadingInteger(std::string_view text);

    // Derives the counts from the Config directory (instance 0) and the first Arm directory
    // (instance = arm; null when the document has none), starting from `start` for the arms not
    // in use. `configuredArms` is Config 001 (at least 1). Adds a warning to `warnings` when
    // the arms in use and the flagged arms are more than the firmware supports, and for every
    // arm in use whose address is 0. Arms in use and their flagged companions never count past
    // 6; an arm has 1-6 meters and products.
    static ArmConfiguration Derive(const ArmConfiguration& start, int configuredArms, const CDirectory& config,
                                   const CDirectory* arm, const std::array<int, kMaxArms>& armAddresses,
                                   std::vector<std::string>& warnings);
};

}  // namespace qs
