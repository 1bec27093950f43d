#pragma once
#include <cstdint>

#include "device/DataSetStore.h"

namespace sim {

// The controller's translation of its display texts: each device address keeps its own,
// written with transfer code 0x0411 and read back with 0x0410. An address never written serves
// the store's set of 0x0410 (a file of the data folder), as any other data set.
struct Translation {
    static constexpr uint16_t kReadCode = 0x0410;
    static constexpr uint16_t kWriteCode = 0x0411;

    static void Install(DataSetStore& store) { store.Keep({kReadCode, kWriteCode, true, {}}); }
};

}  // namespace sim
