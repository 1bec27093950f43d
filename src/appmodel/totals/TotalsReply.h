#pragma once
#include <cstddef>
#include <string>

namespace qs {

// Reading a value out of a reply the way the totals window does: at a fixed character
// position (9 after the echo of a "PV" command, 7 after a "VT" one). A rejection comes back
// from the document as nine blanks, "NO" and the code, so its text at either position is
// the rejection and its value 0.
class TotalsReply {
public:
    static constexpr size_t kValueOffset = 9;  // "PV P1 101 ..."
    static constexpr size_t kTotalOffset = 7;  // "VT R P1 ..."
    // Digits read of a number at most; the device's values are far shorter.
    static constexpr size_t kMaxNumberText = 64;

    // The text from `offset` on; empty when the reply is shorter.
    static std::string Field(const std::string& reply, size_t offset);
    // The number a field starts with (blanks first, C locale); 0 when it starts with none.
    static double Value(const std::string& field);
    // The whole number a field starts with, as atoi reads it, kept within int.
    static int Integer(const std::string& field);
    static bool IsRejection(const std::string& reply);
};

}  // namespace qs
