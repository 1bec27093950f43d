#include "appmodel/programdata/LinkCommands.h"

#include "link/ComPortTable.h"
#include "programdata/CVexa3Doc.h"

namespace qs {

LinkCommands::LinkCommands(DeviceCommands& commands) : commands_(commands) {
    DeviceCommandTable& table = commands.Table();
    table.Register({kCmdGoOnline, MenuSection::Link, "Go &Online", {}, EnableRule::Always, [this] { return GoOnline(); }});
    table.Register(
        {kCmdGoOffline, MenuSection::Link, "&Go Offline", {}, EnableRule::Connected, [this] { return GoOffline(); }});
    table.Register({kCmdDocumentOptions, MenuSection::Document, "&Options for this document...", {},
                    EnableRule::Always, [this] { return EditOptions(); }});
}

bool LinkCommands::GoOnline() {
    DeviceCommands::CommandScope scope;
    if (!scope.Entered()) return false;
    DeviceCommands::WaitCursor wait(commands_);
    return commands_.Connect(false, DeviceCommands::kNotResponding, &wait);
}

bool LinkCommands::GoOffline() {
    commands_.Document().SetState(CVexa3Doc::kStateOffline);
    return true;
}

bool LinkCommands::EditOptions() {
    const DeviceCommandHooks& hooks = commands_.Hooks();
    if (!hooks.editOptions) return false;
    const std::optional<DocumentOptionsChoice> choice = hooks.editOptions(commands_.OptionsFields());
    if (!choice) return false;
    ApplyOptions(choice->fields, choice->serialSettingsEdited);
    commands_.Document().UpdateAllViews();
    return true;
}

void LinkCommands::ApplyOptions(const DocumentLinkFields& fields, bool serialSettingsEdited) {
    DeviceCommands::CommandScope scope;
    if (!scope.Entered()) return;
    DeviceCommands::WaitCursor wait(commands_);
    CVexa3Doc& doc = commands_.Document();
    ComPortTable& ports = commands_.Ports();
    const DocumentLinkFields before = doc.GetLinkFields();
    // The document keeps what it had for a field left unset.
    const int port = fields.port == CVexa3Doc::kPortNone ? before.port : fields.port;
    const int protocol = fields.protocol < 0 ? before.protocol : fields.protocol;
    const int base = fields.baseAddress < 0 ? before.baseAddress : fields.baseAddress;
    const bool changed =
        port != before.port || base != before.baseAddress || protocol != before.protocol || serialSettingsEdited;

    // A changed port, protocol or IP address lets the link go (the COM slot's reference only
    // when the document holds one); an unchanged link keeps its reference.
    doc.SetLinkFields(fields);
    const bool autoConnect = doc.Options().AutoConnect;
    bool reconnected = false;
    if (doc.PortIndex() == CVexa3Doc::kPortTcp) {
        if (autoConnect) {
            doc.Connect(false);
            reconnected = true;
        }
    } else if (ComPortTable::IsValidPort(doc.PortIndex()) && changed) {
        if (autoConnect) {
            doc.Connect(false);
            reconnected = true;
        } else if (doc.HoldsPortReference() && ports.Protocol(doc.PortIndex()) != nullptr) {
            // New serial settings for the port in use: the slot is reopened under its count. A
            // port that does not open has said so and stays empty until the next connection.
            static_cast<void>(ports.OpenComPort(doc.PortIndex(), doc.ProtocolKind() != kProtocolTerminal));
        }
    }
    // A link that was changed and not connected again has nothing to be online with.
    if (changed && !reconnected && doc.State() > CVexa3Doc::kStateOffline) doc.SetState(CVexa3Doc::kStateOffline);
}

}  // namespace qs
