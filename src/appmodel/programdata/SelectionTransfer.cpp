#include "appmodel/programdata/SelectionTransfer.h"

#include "platform/UiServices.h"
#include "programdata/CDirectory.h"
#include "programdata/CSubdirectory.h"
#include "programdata/CVexa3Doc.h"

namespace qs {

SelectionTransfer::SelectionTransfer(DeviceCommands& commands) : commands_(commands) {
    DeviceCommandTable& table = commands.Table();
    table.Register({kCmdReadSelection, MenuSection::Transfers, "&Read Selection \t F5", {5, false},
                    EnableRule::Always, [this] { return ReadSelection(); }});
    table.Register({kCmdDumpSelection, MenuSection::Transfers, "&Dump Selection\t Alt+F5", {5, true},
                    EnableRule::Always, [this] { return DumpSelection(); }});
}

std::vector<std::vector<CDirectory*>> SelectionTransfer::ArmCompanions(const CDirectory& arm) {
    std::vector<std::vector<CDirectory*>> groups;
    const CDirectory* from = &arm;
    for (int type : {CDirectory::kMeter, CDirectory::kProduct}) {
        std::vector<CDirectory*> group;
        CDirectory* d = from->NextDirectory();
        while (d != nullptr && d->Type() != type) d = d->NextDirectory();
        for (; d != nullptr && d->Type() == type; d = d->NextDirectory()) group.push_back(d);
        if (!group.empty()) from = group.back();
        groups.push_back(std::move(group));
    }
    return groups;
}

std::string SelectionTransfer::StatusText() const {
    const FrameSelection& s = commands_.Selection();
    const CDirectory& d = *s.directory;
    const std::string& sub = s.subdirectory->Name();
    if (d.Type() == CDirectory::kRecipe) return "Reading " + sub + " directory";
    if (d.PerArm() && d.Type() != CDirectory::kArm)
        return "Reading Arm " + std::to_string(commands_.SelectedArm() + 1) + " " + d.GetInstanceName() + " " + sub +
               " directory";
    return "Reading " + d.GetInstanceName() + " " + sub + " directory";
}

bool SelectionTransfer::WalkSelectedDirectory(ProgressSink& progress, bool (CDirectory::*walk)(ProgressSink*)) {
    CDirectory& d = *commands_.Selection().directory;
    progress.SetRange(0, d.TotalParams(), 1);
    if (!(d.*walk)(&progress)) return false;
    if (d.Type() != CDirectory::kArm) return true;
    // An arm's selection takes its meters and products along.
    for (const std::vector<CDirectory*>& group : ArmCompanions(d)) {
        if (group.empty()) continue;
        progress.SetRange(0, static_cast<int>(group.size()) * group.front()->TotalParams(), 1);
        progress.SetPos(0);
        for (CDirectory* companion : group)
            if (!(companion->*walk)(&progress)) return false;
    }
    return true;
}

bool SelectionTransfer::ReadSelected(ProgressSink& progress) {
    if (CSubdirectory* sub = commands_.Selection().subdirectory) {
        DeviceCommands::WaitCursor wait(commands_);
        progress.SetRange(0, sub->ParamCount(), 1);
        progress.SetText(StatusText());
        return sub->ReadFromDevice(&progress);
    }
    return WalkSelectedDirectory(progress, &CDirectory::ReadFromDevice);
}

bool SelectionTransfer::WriteSelected(ProgressSink& progress) {
    if (CSubdirectory* sub = commands_.Selection().subdirectory) {
        progress.SetRange(0, sub->ParamCount(), 1);
        return sub->WriteToDevice(&progress);
    }
    return WalkSelectedDirectory(progress, &CDirectory::WriteToDevice);
}

bool SelectionTransfer::ReadSelection() {
    if (commands_.Selection().Empty()) return false;
    DeviceCommands::CommandScope scope;
    if (!scope.Entered()) return false;
    if (!commands_.CheckArmAddress()) return false;
    CVexa3Doc& doc = commands_.Document();
    auto progress = commands_.Ui().Progress(kReadSelectionTitle, false);
    progress->SetText(kReadSelectionStart);
    if (!commands_.Connect(true, DeviceCommands::kSelectionNotResponding)) return false;
    doc.SetCurrentArm(commands_.SelectedArm());
    const bool done = ReadSelected(*progress);
    commands_.AddressBaseDevice();
    doc.UpdateAllViews();
    // What was read is in the document now, as after Read All.
    doc.SetModified();
    if (done) progress->WaitForClose();
    return done;
}

bool SelectionTransfer::DumpSelection() {
    if (commands_.Selection().Empty()) return false;
    DeviceCommands::CommandScope scope;
    if (!scope.Entered()) return false;
    if (!commands_.CheckArmAddress()) return false;
    // Asked before anything is sent, the connection's write test included.
    if (!commands_.ConfirmWrite()) return false;
    CVexa3Doc& doc = commands_.Document();
    auto progress = commands_.Ui().Progress(kDumpSelectionTitle, false);
    progress->SetText(kDumpSelectionStart);
    DeviceCommands::WaitCursor wait(commands_);
    doc.SetCurrentArm(commands_.SelectedArm());
    if (!commands_.Connect(false)) return false;
    // On an arm's own directories the device takes writes in the arm's online state too.
    const int state = doc.State();
    const bool allowed = state >= CVexa3Doc::kStateOnline ||
                         (state == CVexa3Doc::kStateOnlineArm && commands_.Selection().directory->PerArm());
    if (!allowed) {
        commands_.SayWriteRefused();
        return false;
    }
    const bool done = WriteSelected(*progress);
    commands_.AddressBaseDevice();
    doc.UpdateAllViews();
    if (!done) return false;
    doc.SendLoCommand();
    wait.End();
    progress->WaitForClose();
    return true;
}

}  // namespace qs
