#pragma once
#include <cstddef>

#include "link/TransferTexts.h"
#include "sidedocs/equations/CEquationDoc.h"

namespace qs {

class ParamDictionary;
struct DeviceAccess;

// Reads the controller's equation set: block 0 announces its length and CRC-32, the blocks
// after it carry the data, and the lines are handed over only when all of it checks out.
class EquationUpload {
public:
    // The controller's buffer: no set is longer.
    static constexpr size_t kMaxBytes = 65000;
    static constexpr const char* kMissingRegister = "Register referenced by equation line not found";
    static constexpr const char* kInvalidSet = "Equation set returned is not valid - ";
    static TransferTexts Texts();

    EquationUpload(const ParamDictionary& dictionary, const DeviceAccess& device)
        : dictionary_(dictionary), device_(device) {}

    // The set's lines into `lines` (left alone on any failure).
    bool Run(EquationList& lines);

private:
    const ParamDictionary& dictionary_;
    const DeviceAccess& device_;
};

}  // namespace qs
