#pragma once
#include <wx/defs.h>

namespace qs {

// The program's own command numbers are counted from 0x8000, but a wx menu id must stay below
// 0x7FFF: each keeps its offset from 0x8000, moved to start at kCommandBase.
inline constexpr int kCommandBase = 20000;
constexpr int CommandNumber(int number) { return number - 0x8000 + kCommandBase; }

// Command and window ids of Quillset's menus, toolbars and panes. The framework's own
// commands (new, open, save, clipboard, recent files, exit, the window arrangement and the
// status bar) use wx's stock ids or ids just above them, so that the document manager and text
// controls answer them; Quillset's own keep their numbers through CommandNumber.
enum CommandId : int {
    // Framework commands.
    ID_FILE_NEW = wxID_NEW,
    ID_FILE_OPEN = wxID_OPEN,
    ID_FILE_CLOSE = wxID_CLOSE,
    ID_FILE_SAVE = wxID_SAVE,
    ID_FILE_SAVE_AS = wxID_SAVEAS,
    ID_FILE_PRINT = wxID_PRINT,
    ID_APP_EXIT = wxID_EXIT,
    ID_EDIT_CUT = wxID_CUT,
    ID_EDIT_COPY = wxID_COPY,
    ID_EDIT_PASTE = wxID_PASTE,
    ID_EDIT_CLEAR = wxID_CLEAR,
    ID_EDIT_FIND = wxID_FIND,
    ID_APP_ABOUT = wxID_ABOUT,
    ID_HELP = wxID_HELP,
    ID_HELP_INDEX = wxID_HELP_INDEX,
    ID_HELP_CONTENTS = CommandNumber(32807),

    // Window menu (tabs on GTK: Cascade and Tile have nothing to arrange).
    ID_WINDOW_NEW = wxID_HIGHEST + 1,
    ID_WINDOW_CASCADE = wxID_MDI_WINDOW_CASCADE,
    ID_WINDOW_TILE_HORZ = wxID_MDI_WINDOW_TILE_HORZ,
    ID_WINDOW_TILE_VERT = wxID_MDI_WINDOW_TILE_VERT,
    ID_VIEW_STATUS_BAR = wxID_HIGHEST + 2,

    // Main frame.
    ID_VIEW_TOOLBARS = CommandNumber(32801),
    ID_APP_OPTIONS = CommandNumber(32800),
    ID_NEW_REPORT = CommandNumber(32796),
    ID_NEW_TRANSLATION = CommandNumber(32797),
    ID_NEW_EQUATION_SET = CommandNumber(32798),
    ID_NEW_DRIVER_DATABASE = CommandNumber(32799),

    // Bars and panes (also the show/hide commands of the toolbar context menu).
    ID_VIEW_MAIN_BAR = wxID_HIGHEST + 4,
    ID_VIEW_EDIT_BAR = wxID_HIGHEST + 5,
    ID_VIEW_CONNECT_BAR = wxID_HIGHEST + 6,
    ID_STANDARD_BAR = wxID_HIGHEST + 3,
    // The Edit and Connect bars' own windows. They are not the ids of the items that show and
    // hide them: that item's update rule would enable or disable the whole bar.
    ID_EDIT_BAR = wxID_HIGHEST + 7,
    ID_CONNECT_BAR = wxID_HIGHEST + 8,

    // Device commands of a program-data document's frame.
    ID_READ_ALL = CommandNumber(32776),
    ID_DUMP_ALL = CommandNumber(32777),
    ID_READ_SELECTION = CommandNumber(32778),
    ID_DUMP_SELECTION = CommandNumber(32779),
    ID_TERMINAL_EMULATOR = CommandNumber(32780),
    ID_RETRIEVE_NONRESETTABLES = CommandNumber(32833),
    ID_TRANSACTION_LOG = CommandNumber(32834),
    ID_EVENT_LOG = CommandNumber(32835),
    ID_AUDIT_TRAIL_LOG = CommandNumber(32836),
    ID_REMOTE_DISPLAY = CommandNumber(32837),
    ID_INTERACTIVE_DISPLAY = CommandNumber(32838),
    ID_UPGRADE_DEVICE_FIRMWARE = CommandNumber(32840),
    ID_GO_ONLINE = CommandNumber(32841),
    ID_GO_OFFLINE = CommandNumber(32842),
    ID_THERMAL_CALCULATOR = CommandNumber(32843),
    ID_DOCUMENT_OPTIONS = CommandNumber(32848),
    ID_UPGRADE_MMI_FIRMWARE = CommandNumber(32849),

    // Timers.
    ID_SPLASH_TIMER = 7734,
};

// Context-help ids the windows carry.
enum HelpId : int {
    kHelpMainFrame = 100,
    kHelpDocumentOptions = 140,
    kHelpAppOptions = 1140,
    kHelpThermalCalculator = 180,
};

}  // namespace qs
