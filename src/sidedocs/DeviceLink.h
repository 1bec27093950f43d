#pragma once
#include <functional>

namespace qs {

class CVexa3Doc;
class ComProtocol;

// The link a side document's transfer runs over, as the main window hands it over: the
// program-data document the user chose, connected, and its protocol at the document's base
// address. Both null when there is none (the main window has said why, or the user cancelled).
struct DeviceLink {
    CVexa3Doc* document = nullptr;
    ComProtocol* protocol = nullptr;

    explicit operator bool() const { return document != nullptr && protocol != nullptr; }
};

// Asked once a transfer has found its data worth sending: chooses and connects the program-data
// document, requiring the device to take writes when `requireOnline`.
using DeviceLinkSource = std::function<DeviceLink(bool requireOnline)>;

}  // namespace qs
