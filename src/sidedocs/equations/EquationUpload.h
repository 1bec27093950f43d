#pragma once
#include <cstddef>

#include "link/TransferTexts.h"
#include "sidedocs/equations/CEquationDoc.h"

namespace qs {

class ParamDictionary;
struct UiServices;

// Reads the controller's equation set: block 0 announces its length and CRC-32, the blocks
// after it carry the data, and the lines are handed over only when all of it checks out.
class EquationUpload {
public:
    // The controller's buffer: no set is longer.
    static constexpr size_t kMaxBytes = 65000;
    static constexpr const char* kMissingRegister = "Register referenced by equation line not found";
    static constexpr const char* kInvalidSet = "Equation set returned is not valid - ";
    static TransferTexts Texts();

    EquationUpload(const ParamDictionary& dictionary, const UiServices& ui) : dictionary_(dictionary), ui_(ui) {}

    // The set's lines into `lines` (left alone on any failure).
    bool Run(const ProtocolRequest& link, EquationList& lines);

private:
    const ParamDictionary& dictionary_;
    const UiServices& ui_;
};

}  // namespace qs
