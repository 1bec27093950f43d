#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "device/PerAddressSets.h"
#include "wire/Bytes.h"

namespace sim {

// The block data sets, by transfer code. With a folder, the set a read of code 0x0418 serves is
// the file "0418.bin" there (four upper-case hex digits), and a completed write of code 0x0419 is
// saved to "0419.bin" (written to a temporary name, then renamed). Sets put in memory take
// precedence over files; without a folder everything stays in memory.
class DataSetStore {
public:
    static constexpr size_t kMaxFile = 64u << 20;

    explicit DataSetStore(std::string folder = {}) : folder_(std::move(folder)) {}

    static std::string FileName(uint16_t code);
    const std::string& Folder() const { return folder_; }

    // The set a read of `code` serves; nullopt when there is none (or its file is unreadable or
    // larger than 64 MiB).
    std::optional<Bytes> Read(uint16_t code) const;
    // The same for a read from `address`: its own set first when the code is kept per address.
    std::optional<Bytes> Read(int address, uint16_t code) const;
    void Put(uint16_t code, Bytes data) { memory_[code] = std::move(data); }

    // Keeps a written set (in memory and, with a folder, in its file). Returns "" or the fault.
    std::string Save(uint16_t code, const Bytes& data);
    // The same for a write to `address`, which also keeps the set as that address's own when
    // the code is kept per address.
    std::string Save(int address, uint16_t code, const Bytes& data);
    // The last set written with `code` in this run.
    std::optional<Bytes> Written(uint16_t code) const;
    // The codes whose sets each address keeps on its own.
    PerAddressSets& PerAddress() { return perAddress_; }

private:
    std::string folder_;
    std::map<uint16_t, Bytes> memory_;
    std::map<uint16_t, Bytes> written_;
    PerAddressSets perAddress_;
};

}  // namespace sim
