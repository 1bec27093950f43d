#pragma once
#include <string>

namespace qs {

// The words a data set's owner gives its transfer: the progress window's title, the prefixes put
// before the protocol's own text when a step fails, and its two messages. Prefixes are shown as
// the first part of "%1 - %2"; nothing here is ever used as a format.
struct TransferTexts {
    std::string title;                                  // progress window caption
    std::string initiatingRead = "Error initiating read - ";  // block 0 of a read failed
    std::string transfer = "Error in transfer - ";      // a later block of a read failed
    std::string crcMismatch;                            // the read data fail their CRC-32
    std::string allocation;                             // no room for the data read
    std::string initiation = "Unable to initiate transfer - ";  // the initiation of a write failed
    std::string sending;                                // a full frame of a write failed
    std::string final;                                  // the closing frame of a write failed
};

}  // namespace qs
