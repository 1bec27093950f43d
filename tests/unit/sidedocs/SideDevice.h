#pragma once
// The device a side document's transfer reaches in the unit tests: a program-data document on
// a scripted Minicomputer line with a controller of this program's revision behind it, chosen
// and connected as the main window does.
#include <memory>
#include <string>
#include <vector>

#include "RecordingUi.h"
#include "ScriptedDevice.h"
#include "SideDocumentKinds.h"
#include "link/ComPortTable.h"

namespace qs::test {

class SideDevice {
public:
    SideDevice() {
        device.Attach(doc, Framing::Mini);
        device.answer = [this](int address, const std::string& command) {
            return command == "GP" ? firmware : ScriptedDevice::Controller(address, command);
        };
    }

    DeviceAccess Access() { return AccessThrough(doc, ui.services, &choices, &online); }
    // A hand-over of `protocol` (null: none) for the document, without connecting it.
    DeviceAccess HandingOver(DX3Protocol* protocol) {
        return DeviceAccess{.ui = ui.services,
                            .chooseDocument = [this]() -> CVexa3Doc* { return &doc; },
                            .connectedProtocol = [protocol](CVexa3Doc&, bool) { return protocol; }};
    }
    // How often the device was sent "LO".
    long LoCount() const {
        long n = 0;
        for (const ScriptedDevice::Sent& s : device.sent) n += s.command == "LO" ? 1 : 0;
        return n;
    }
    const std::vector<std::string>& Blocks() const { return device.blocks; }

    RecordingUi ui;
    ComPortTable ports;
    CVexa3Doc doc{ports, DefinitionSource{}};
    ScriptedDevice device;
    std::string firmware = "0A463B8B";  // "GP": a controller of revision 11.26
    int choices = 0;
    std::vector<bool> online;  // what each connection asked for
};

}  // namespace qs::test
