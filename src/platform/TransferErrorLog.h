#pragma once
#include <string>

namespace qs {

// The main frame's log of device rejections during bulk reads and writes. `owner` identifies
// the document a line belongs to, so its lines go when it closes.
class TransferErrorLog {
public:
    virtual ~TransferErrorLog() = default;
    virtual void AddTransferError(const void* owner, const std::string& line) = 0;
    virtual void ClearOwner(const void* owner) = 0;
};

}  // namespace qs
