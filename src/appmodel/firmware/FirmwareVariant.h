#pragma once
#include <span>

#include "programdata/DeviceIdentification.h"

namespace qs {

// What tells the controller's firmware upgrade from the operator panel's: the image file it
// loads, the table that recognises it, and the titles and texts of its own boxes. On the
// device the image is always "D3XNET.BIN".
struct FirmwareVariant {
    const char* wizardTitle;     // the progress window and the erase warning
    const char* imageFile;       // read from the current folder
    const char* missingTitle;    // "No new application image found... aborting"
    const char* installedTitle;  // the image is the device's own revision
    const char* newerText;       // the device runs a later revision than the image
    const char* newerTitle;
    std::span<const FirmwareIdentity> (*table)();

    static const FirmwareVariant& Controller();
    static const FirmwareVariant& OperatorPanel();
};

}  // namespace qs
