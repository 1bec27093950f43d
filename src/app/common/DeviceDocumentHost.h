#pragma once
#include "sidedocs/DeviceLink.h"

class wxWindow;

namespace qs {

class CVexa3Doc;
class DX3Protocol;
struct UiServices;

// What a side document's window needs of the main window to reach the device: whether any
// program-data document is open, the choice of one and its connection, and the services the
// program's transfers report through. The main window is one; a side document's view finds it
// among its parents.
class DeviceDocumentHost {
public:
    virtual ~DeviceDocumentHost() = default;

    virtual bool HasDeviceDocument() const = 0;
    // The only program-data document, or the one the user picks; null when none or cancelled.
    virtual CVexa3Doc* ChooseDeviceDocument() = 0;
    // Connects the document and returns its protocol at its base address; null after saying why.
    virtual DX3Protocol* GetConnectedProtocol(CVexa3Doc* doc, bool requireOnline) = 0;
    virtual const UiServices& Services() const = 0;

    // Chooses and connects a program-data document when a transfer asks for one.
    DeviceLinkSource LinkSource();

    // The host of `window`: the first of it and its parents that is one, else the application's
    // top window when that is one; null when there is none.
    static DeviceDocumentHost* Of(wxWindow* window);
};

}  // namespace qs
