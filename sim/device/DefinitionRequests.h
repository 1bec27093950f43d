#pragma once
#include <memory>
#include <string>

#include "device/BlockTransfer.h"
#include "wire/Bytes.h"
#include "device/Dictionary.h"

namespace sim {

// The two definition requests of the block port (all numbers big-endian):
//   0x0415, 13 bytes: "SV " code, directory type (0-7), 0, digit (0-9), index (0-99)
//           -> the definition of code digit x 100 + index of that directory
//   0x0414, 11 bytes: "SV " code, data type (0-9), dictionary directory (0-38), position
//           -> the definition of that register
// The reply is the head ("SV ", code, status 0000) and the definition: data type, dictionary
// directory, position, two unused bytes, instances, min and max (big-endian float32), width,
// precision, then NUL-terminated: the format, the name with the flag markers appended, the help
// and each option text. A code or register the dictionary lacks is refused with 8017 ("Program
// Code Not Used"), which ends the program's walk of a register group; a request of another size
// or with a field out of range with 8002.
class DefinitionRequests {
public:
    static constexpr uint16_t kRegisterDefinition = 0x0414;
    static constexpr uint16_t kCodeDefinition = 0x0415;
    static constexpr uint16_t kNotUsed = 0x8017;
    static constexpr size_t kCodeRequestSize = 13;
    static constexpr size_t kRegisterRequestSize = 11;

    explicit DefinitionRequests(std::shared_ptr<const Dictionary> dictionary) : dictionary_(std::move(dictionary)) {}

    Bytes AnswerCode(const Bytes& request) const;
    Bytes AnswerRegister(const Bytes& request) const;
    // Makes the two transfer codes answered from the dictionary.
    static void Install(std::shared_ptr<const Dictionary> dictionary, BlockTransfer::SpecialHandlers& handlers);

    // The data part of a definition reply.
    static Bytes ReplyData(const Definition& definition);
    // The name and its markers: {O read-only; {B all of the blending bits, otherwise {S, {R, {H
    // for sequential, ratio and hybrid; {U unloading.
    static std::string MarkedName(const Definition& definition);

private:
    std::shared_ptr<const Dictionary> dictionary_;
};

}  // namespace sim
