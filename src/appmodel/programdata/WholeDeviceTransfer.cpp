#include "appmodel/programdata/WholeDeviceTransfer.h"

#include "platform/UiServices.h"
#include "programdata/CVexa3Doc.h"

namespace qs {

WholeDeviceTransfer::WholeDeviceTransfer(DeviceCommands& commands) : commands_(commands) {
    DeviceCommandTable& table = commands.Table();
    table.Register({kCmdReadAll, MenuSection::Transfers, "Read &All \t F3", {3, false}, EnableRule::Always,
                    [this] { return ReadAll(); }});
    table.Register({kCmdDumpAll, MenuSection::Transfers, "Dump &All\t Alt+F3", {3, true}, EnableRule::Always,
                    [this] { return DumpAll(); }});
}

bool WholeDeviceTransfer::ReadAll() {
    DeviceCommands::CommandScope scope;
    if (!scope.Entered()) return false;
    CVexa3Doc& doc = commands_.Document();
    auto progress = commands_.Ui().Progress(kReadAllTitle, true);
    progress->SetText("Reading data to " + doc.Title());
    progress->SetRange(0, doc.TotalCodes(), 1);
    if (!commands_.Connect(true)) return false;
    const bool done = doc.ReadAllFromDevice(progress.get());
    doc.UpdateAllViews();
    doc.SetModified();
    if (done) progress->WaitForClose();
    return done;
}

bool WholeDeviceTransfer::DumpAll() {
    DeviceCommands::CommandScope scope;
    if (!scope.Entered()) return false;
    CVexa3Doc& doc = commands_.Document();
    if (!commands_.Connect(false)) return false;
    if (doc.State() < CVexa3Doc::kStateOnline) {
        commands_.SayWriteRefused();
        return false;
    }
    if (!commands_.ConfirmWrite()) return false;
    auto progress = commands_.Ui().Progress("Writing data in " + doc.Title() + " to Duravane.NET", true);
    progress->SetRange(0, doc.TotalCodes(), 1);
    const bool done = doc.WriteAllToDevice(progress.get());
    doc.UpdateAllViews();
    if (!done) {
        doc.SetModified();
        return false;
    }
    doc.SendLoCommand();
    progress->WaitForClose();
    return true;
}

}  // namespace qs
