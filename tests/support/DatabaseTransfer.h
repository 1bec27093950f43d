#pragma once
// The texts and options of a card database transfer, as the database pages pass them to the
// block reader and writer; shared by the unit tests of each and the tests over the simulator.
#include "link/BlockWriter.h"
#include "link/TransferTexts.h"

namespace qs::test {

inline TransferTexts DatabaseReadTexts() {
    TransferTexts t;
    t.title = "Reading Database...";
    t.crcMismatch = "CRC of returned card database does not match expected value.";
    t.allocation = "Unable to allocate buffer for database data";
    return t;
}

inline TransferTexts DatabaseWriteTexts() {
    TransferTexts t;
    t.title = "Downloading Database...";
    t.sending = "Error sending database - ";
    t.final = "Error downloading database - ";
    return t;
}

// Writer options with the second wait for the final reply on or off.
inline BlockWriter::Options SecondWait(bool on) {
    BlockWriter::Options o;
    o.secondFinalWait = on;
    return o;
}

}  // namespace qs::test
