#pragma once
#include <string>

#include "sidedocs/DeviceLinkSource.h"

class wxWindow;

namespace qs {

struct UiServices;

// What a side document's window asks of the main window it lives in: the services through
// which it reaches the user, the program-data documents it reaches the device through, and the
// two document panes of the status bar. The main window implements it; a window finds it with
// Of().
class SideDocumentHost {
public:
    virtual ~SideDocumentHost() = default;

    virtual const UiServices& SideServices() = 0;
    // Whether a program-data document is open (the device commands of side documents are on
    // only then).
    virtual bool HasDeviceDocument() const = 0;
    // The choice of the program-data document and its connection, for a transfer.
    virtual DeviceLinkSource DeviceLink() = 0;
    // The texts of the two document panes of the status bar (the connection-state pane and the
    // link pane of a program-data document).
    virtual void ShowDocumentPanes(const std::string& first, const std::string& second) = 0;

    // The host of `window`: the first of its parents that is one, else the application's top
    // window when that is one; null when there is none.
    static SideDocumentHost* Of(const wxWindow* window);
    // The services of the host of `window`, or silent ones (stderr, no progress) without one.
    static const UiServices& ServicesOf(const wxWindow* window);
};

}  // namespace qs
