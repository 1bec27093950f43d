#pragma once
#include <span>
#include <string>

namespace qs {

class CParam;
struct UiServices;

// The editor a program code is changed in.
enum class ParamDialogKind {
    General,       // a value field, or the option list of an option code
    AlarmBits,     // what an alarm does, one check box per action
    MeterBits,     // the meters an additive is plumbed to
    ProductBits,   // the products of a recipe an additive goes into
    AdditiveBits,  // the additives that may be injected
    IpAddress,     // an IPv4 address kept as one unsigned number
};

// One check box of a bit-field editor: the bit it sets, its control id and its label.
struct ParamBitBox {
    int bit;
    int controlId;
    const char* label;
};

// What an edit dialog is asked to show, and what it gives back after OK. The edit flow fills
// the request fields; the dialog only presents them, checks the input and sets the results.
struct ParamEditRequest {
    // Every editor's window title.
    static constexpr const char* kTitle = "Edit Program Code Data";
    // Levels offered: "Level 1" to "Level 5", by index 0-4.
    static constexpr int kLevelChoices = 5;

    ParamDialogKind kind = ParamDialogKind::General;
    std::string caption;      // instance name, number and name of the code
    std::string valueText;    // the stored text (shown as the current value)
    std::string displayText;  // the stored text formatted by the code's format (the value edited)
    std::string helpText;
    std::string promptText;
    // Index of the code's level in the level list (0-4), or -1 when it has none the list can
    // show (no level, or one above 5).
    int level = -1;
    bool levelLocked = false;  // the level list is not offered
    int helpId = 0;
    int codePage = 0;          // the document's code page, in which text values are kept
    bool valueFont = false;    // text codes show their value in the code page's font
    const CParam* param = nullptr;
    // What the editor says to the user (a refused value, help it cannot show) goes through
    // these; the edit flow that makes the request sets them. Null: nothing is said.
    const UiServices* ui = nullptr;

    // Results, set by the dialog when it is closed with OK.
    std::string newValue;  // bytes in the document's code page
    int newLevel = -1;     // 0-4, or -1: the level is left as it is

    // The level-list index of a stored level byte (0-254 = levels 1-255, 255 = none).
    static int LevelIndex(int storedLevel);
    // The check boxes of a bit-field editor, in bit order; empty for the other kinds.
    static std::span<const ParamBitBox> BitBoxes(ParamDialogKind kind);
    // The line above the boxes of the alarm editor; null for the others.
    static const char* BitsHeading(ParamDialogKind kind);
    static bool IsBitField(ParamDialogKind kind);
};

}  // namespace qs
