#pragma once
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qs {

// One item of the terminal's "&Commands" menu: a device command with what it puts into the
// entry. An item whose text ends in CR runs at once; the others wait for their arguments.
struct CannedCommand {
    int id;                   // menu id, 18101-18905
    const char* mnemonic;     // "EQ"
    const char* description;  // "Status Bitmap"
    const char* text;         // what goes into the entry; null: the item has none
};

struct CannedGroup {
    const char* title;  // "&Status", "System Data", ...
    std::span<const CannedCommand> commands;
};

// The canned commands of the terminal, by groups of a hundred ids, with the help ids of the
// items and of what is typed into the entry.
class CannedCommands {
public:
    static constexpr int kFirstId = 18000;
    static constexpr int kLastId = 18999;
    static constexpr int kTextIdOffset = 1000;   // an item's text is kept under its id + 1000
    static constexpr int kHelpOffset = 10000;    // an item's help is its id - 10000
    static constexpr int kEntryHelpOffset = 11000;
    static constexpr int kTerminalHelp = 130;
    static constexpr int kStatusBitmapId = 18101;  // EQ, also on F4

    static std::span<const CannedGroup> Groups();
    // The item with that id; null when none has it.
    static const CannedCommand* Find(int id);
    // The item's text by its id; nullopt for an id outside the menu or an item without one.
    static std::optional<std::string> TextOf(int id);
    // "EQ - Status Bitmap" with "&" before the letter that picks it in its group, and "\tF4"
    // after the status bitmap.
    static std::string MenuText(const CannedCommand& command);
    // The help of what the entry holds: that of the last item whose text starts with the
    // entry's first two characters, else the terminal's own.
    static int HelpIdForEntry(std::string_view entry);
};

}  // namespace qs
