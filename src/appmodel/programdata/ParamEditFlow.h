#pragma once
#include <functional>
#include <string>
#include <vector>

#include "appmodel/programdata/ParamEditRequest.h"

namespace qs {

class CDirectory;
class CParam;
class CSubdirectory;
class CVexa3Doc;
class DX3Protocol;
struct UiServices;

// The program code a list row stands for: the subdirectory shown (its directory and the
// instance it shows), the code, and the arm selected (0-based).
struct ParamEditTarget {
    CSubdirectory* subdirectory = nullptr;
    CParam* param = nullptr;
    int arm = 0;
};

// Changing one program code of a document: the right editor with its request filled in, then
// the new value stored in the document and, while the document is online, written to the
// device ("PC", and "XC" for a changed level) with the device's echo kept. The program-code
// list calls Edit with its selected row and the way it runs dialogs; nothing here knows a
// window.
class ParamEditFlow {
public:
    enum class Outcome {
        NotEditable,    // no code, or a code outside the subdirectory shown
        ReadOnly,       // said so; no dialog
        Cancelled,      // the dialog, or the confirmation of an online write, was cancelled
        Refused,        // the dialog gave a value that cannot be sent; said so
        NotResponding,  // no link and none could be made; said so
        Stored,         // offline: stored in the document
        Written,        // online: the device took the value (and the level when one was sent)
        Rejected,       // online: the device refused the value; the old value is back
        Failed,         // online: the command or its reply failed; the old value is back
    };

    // Runs the editor for a request; true when it was closed with OK, the results set.
    using DialogRunner = std::function<bool(ParamEditRequest&)>;

    static constexpr const char* kReadOnlyMessage =
        "You can only read this program code.\nUse the SD command in Terminal Emulator to set time/date.";
    static constexpr const char* kConfirmMessage = "You are currently online; are you sure you want to modify the device?";
    static constexpr const char* kNotRespondingMessage = "Duravane.NET not responding";

    // What it says goes through `ui`.
    ParamEditFlow(CVexa3Doc& document, const UiServices& ui);

    // The editor of a code by directory type and number: alarm actions System 602-681, additive
    // meters System 812-881 (every third, from 812), additives enabled System 98, addresses
    // System 735-737 and 780, recipe additive products Recipe 19-88 (every third, from 19);
    // the general editor for all others.
    static ParamDialogKind ChooseDialog(int directoryType, int number);
    // The level of a code can be set only at its first instance on the first arm, and never
    // for the level lock switches (System 156-158).
    static bool LevelLocked(const ParamEditTarget& target);

    // The request of a code's editor: caption, values, help, prompt, level, help id and font.
    ParamEditRequest MakeRequest(const ParamEditTarget& target) const;

    // The whole edit of a list row. Marks the document modified only when the code's value or
    // level changed, and then tells its views.
    Outcome Edit(const ParamEditTarget& target, const DialogRunner& runDialog);
    // What follows an editor closed with OK (request results set).
    Outcome Apply(const ParamEditTarget& target, const ParamEditRequest& accepted);

    // The codes the program-code list shows for a subdirectory on an arm: all of them, but on
    // an arm beyond the document's active arms only the 7th and 8th codes of an Arm
    // directory's subdirectory 1 (its enable codes), and nothing of its other subdirectories.
    static std::vector<CParam*> ListedCodes(const CSubdirectory& shown, int arm, int activeArms);

private:
    bool IsValid(const ParamEditTarget& target) const;
    void StoreOffline(const ParamEditTarget& target, const ParamEditRequest& accepted, int index);
    Outcome WriteOnline(const ParamEditTarget& target, const ParamEditRequest& accepted, int index);
    void WriteLevel(DX3Protocol& protocol, const ParamEditTarget& target, int level);
    // The link to write through; connects first when the document has none.
    DX3Protocol* LinkForWrite();

    CVexa3Doc& doc_;
    const UiServices& ui_;
};

}  // namespace qs
