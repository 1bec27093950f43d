#pragma once
#include <string>

#include "sidedocs/DeviceAccess.h"

class wxDocument;
class wxWindow;

namespace qs {

class CVexa3Doc;
class DX3Protocol;
struct UiServices;

// What a side document's window asks of the main window it lives in: whether a program-data
// document is open, the choice of one and its connection for a transfer, and the two document
// panes of the status bar. The main window implements it; a window finds it with Of().
class SideDocumentHost {
public:
    virtual ~SideDocumentHost() = default;

    // Whether a program-data document is open (the device commands of side documents are on
    // only then).
    virtual bool HasDeviceDocument() const = 0;
    // The only open program-data document, or the one the user picks; null when there is none
    // or the user cancels.
    virtual CVexa3Doc* ChooseDeviceDocument() = 0;
    // Connects the document (chosen as above when null) and returns its protocol at the
    // document's base address; null, after saying why, when there is no usable link or
    // `requireOnline` and the device refused the write test.
    virtual DX3Protocol* GetConnectedProtocol(CVexa3Doc* doc, bool requireOnline) = 0;
    // While `owner` is the active document, the status bar's connection-state and link panes
    // show these texts rather than blanks.
    virtual void ShowDocumentPanes(wxDocument& owner, const std::string& state, const std::string& link) = 0;

    // The hand-over a side document's transfer runs on, speaking through `ui`.
    DeviceAccess Access(const UiServices& ui);

    // The host of `window`: the first of it and its parents that is one, else the application's
    // top window when that is one; null when there is none.
    static SideDocumentHost* Of(const wxWindow* window);
};

}  // namespace qs
