#pragma once
#include <functional>
#include <optional>
#include <string>

#include "appmodel/logs/LogKind.h"

class wxMDIParentFrame;
class wxWindow;

namespace qs {

class CVexa3WxDoc;
class DeviceCommands;

// The device tools of a program-data document's frame that open windows of their own: the
// three log downloads (with their Save As dialog) and the non-resettable totals (with their
// window on the document). The frame adds them before it builds its menu.
class DeviceToolWindows {
public:
    // What shows the Save As dialog; by default LogFileDialog over `parent` in the document's
    // folder.
    using FileChooser = std::function<std::optional<std::string>(const LogFileChoice& choice)>;

    static void Add(DeviceCommands& commands, CVexa3WxDoc& doc, wxWindow* parent, FileChooser chooseFile = {});
};

}  // namespace qs
