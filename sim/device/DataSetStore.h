#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "wire/Bytes.h"

namespace sim {

// A data set the controller keeps when a write of it completes: written with one transfer code
// and read back with its partner. `take`, when given, takes the written bytes (those the CRC
// covers, the closing 0x00 included) apart: it answers 0 and puts the set reads serve from then
// on in `set`, or answers the status word that refuses the write; without it the set is kept
// as it was written.
struct KeptSet {
    uint16_t readCode = 0;
    uint16_t writeCode = 0;
    // Each device address keeps its own (two addresses on one line are two controllers); a
    // read from an address never written serves the store's set, as any other data set.
    bool perAddress = false;
    std::function<uint16_t(const Bytes& written, Bytes& set)> take;
};

// The block data sets, by transfer code. With a folder, the set a read of code 0x0418 serves is
// the file "0418.bin" there (four upper-case hex digits), and a completed write of code 0x0419 is
// saved to "0419.bin" (written to a temporary name, then renamed). Sets put in memory take
// precedence over files; without a folder everything stays in memory. The kinds of data set
// the controller keeps are registered with Keep, each the same way.
class DataSetStore {
public:
    static constexpr size_t kMaxFile = 64u << 20;

    explicit DataSetStore(std::string folder = {}) : folder_(std::move(folder)) {}

    static std::string FileName(uint16_t code);
    const std::string& Folder() const { return folder_; }

    // From now on a completed write of `kind.writeCode` is what reads of `kind.readCode` serve.
    void Keep(KeptSet kind);

    // The set a read of `code` serves; nullopt when there is none (or its file is unreadable or
    // larger than 64 MiB).
    std::optional<Bytes> Read(uint16_t code) const;
    // The same for a read from `address`: its own set first when its kind is kept per address.
    std::optional<Bytes> Read(int address, uint16_t code) const;
    void Put(uint16_t code, Bytes data) { memory_[code] = std::move(data); }

    // Keeps a written set (in memory and, with a folder, in its file). Returns "" or the fault.
    std::string Save(uint16_t code, const Bytes& data);
    // The last set written with `code` in this run.
    std::optional<Bytes> Written(uint16_t code) const;

    // What became of a completed write: the refusal of its kind (0 when none), or the fault met
    // while saving it ("" when none).
    struct WriteResult {
        uint16_t refusal = 0;
        std::string fault;
    };
    // A completed write of `code` to `address`: saved as any written set and, when a kept kind is
    // written with `code`, taken apart and kept for the reads of its read code (the address's
    // own, or with a folder also its file).
    WriteResult TakeWrite(int address, uint16_t code, const Bytes& data);

private:
    std::string folder_;
    std::map<uint16_t, Bytes> memory_;
    std::map<uint16_t, Bytes> written_;
    std::map<uint16_t, KeptSet> kinds_;                   // by write code
    std::map<std::pair<uint16_t, int>, Bytes> perAddress_;  // (read code, address) -> set
};

}  // namespace sim
