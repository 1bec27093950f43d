#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "wire/Bytes.h"
#include "wire/Crc32.h"
#include "device/DataSetStore.h"

namespace sim {

struct BlockOptions {
    size_t blockSize = 500;                // data bytes in each reply block of a read
    uint32_t writeLimit = 4u << 20;        // largest total a write may announce
    uint16_t panelHandoverStatus = 0x0000; // status word answered to the hand-over 0x0417
};

enum class BlockKind {
    Read,        // "SV " code block: block 0 answers length and CRC-32, block k the k-th chunk
    WriteInit,   // "SV " code: opens a write
    WriteData,   // a frame of the open write (the first carries the total after the head)
    Handover,    // 0x0416 (never answered) or 0x0417
    Special,     // a code with a handler of its own
    Malformed,   // anything else: refused with 0x8002
};

// What a block request is, worked out without acting on it (faults are chosen by it).
struct BlockInfo {
    BlockKind kind = BlockKind::Malformed;
    uint16_t code = 0;
    std::optional<int> block;  // read: the block asked for; write: 0 initiation, k the k-th data frame
    bool final = false;        // the frame that completes (or wrongly ends) the open write
};

struct BlockFaults {
    bool badCrc = false;                   // block 0 announces a wrong CRC-32
    std::optional<uint32_t> lengthOverride;  // block 0 announces this length
    bool emptyBlock = false;               // a data block answers its head and status only
};

// A write in progress. `data` holds the payload after the total; the CRC-32 state covers all
// of it but the last four bytes, which is where the closing CRC sits once it came. (At
// namespace scope: a nested struct with member initialisers is not default-constructible
// until its enclosing class is complete, which std::optional needs earlier.)
struct BlockWrite {
    uint16_t code = 0;
    int frames = 0;
    uint32_t total = 0;
    Bytes data;
    Crc32 crc;
};

// The "SV " envelope of one link. A request is "SV " + a big-endian transfer code + arguments;
// a reply echoes those five bytes, adds a status word (bit 15 set = refusal) and the data. Any
// transfer code can be read from or written to the data-set store.
class BlockTransfer {
public:
    static constexpr uint16_t kOk = 0x0000;
    static constexpr uint16_t kBlockNotFound = 0x8001;
    static constexpr uint16_t kBadMessageFormat = 0x8002;
    static constexpr uint16_t kDataTooLarge = 0x8005;
    static constexpr uint16_t kBadCrc = 0x8006;
    static constexpr uint16_t kNoConfiguration = 0x8007;
    static constexpr uint16_t kStorageFull = 0x8013;
    static constexpr uint16_t kRemoteDisplayHandover = 0x0416;
    static constexpr uint16_t kPanelHandover = 0x0417;

    // A handler of its own for one transfer code (requests of other shapes, such as the
    // definition and log requests); nullopt sends no reply.
    using SpecialHandler = std::function<std::optional<Bytes>(int address, const Bytes& request)>;
    using SpecialHandlers = std::map<uint16_t, SpecialHandler>;

    BlockTransfer(DataSetStore& store, BlockOptions options, const SpecialHandlers* specials = nullptr)
        : store_(store), options_(options), specials_(specials) {}

    BlockInfo Classify(const Bytes& request) const;
    // The reply block (unescaped, without address), or nullopt for no reply.
    std::optional<Bytes> Handle(int address, const Bytes& request, const BlockFaults& faults = {});
    // Refuses the request with `status`, without acting on it; an open write is dropped.
    Bytes Refuse(const Bytes& request, uint16_t status);

    bool WriteOpen() const { return write_.has_value(); }
    // The last fault met while saving a written set ("" when none).
    const std::string& SaveFault() const { return saveFault_; }

    static Bytes Head(uint16_t code, uint16_t status);
    static uint16_t CodeOf(const Bytes& request);

private:
    static Crc32 Advance(const Crc32& crc, std::string_view data, std::string_view more);
    static bool ClosedEarly(const Crc32& crc, std::string_view data, std::string_view more);
    // The payload a data frame adds, or nullopt when the first frame is too short for its total.
    std::optional<std::string_view> FrameBody(const Bytes& request) const;
    Bytes ReadBlock(int address, uint16_t code, int block, const BlockFaults& faults);
    Bytes WriteFrame(int address, const Bytes& request);

    DataSetStore& store_;
    BlockOptions options_;
    const SpecialHandlers* specials_;
    std::optional<BlockWrite> write_;
    std::optional<uint16_t> readCode_;  // the set the last block 0 loaded, kept for its blocks
    int readAddress_ = -1;              // and the address it was read from
    Bytes readData_;
    std::string saveFault_;
};

}  // namespace sim
