#pragma once
#include <wx/defs.h>

namespace qs {

// Command and window ids of Quillset's menus, toolbars and panes. The framework's own
// commands (new, open, save, clipboard, recent files, exit) use wx's stock ids, so that the
// document manager and text controls answer them; Quillset's own keep their numbers.
enum CommandId : int {
    // Framework commands.
    ID_FILE_NEW = wxID_NEW,
    ID_FILE_OPEN = wxID_OPEN,
    ID_FILE_CLOSE = wxID_CLOSE,
    ID_FILE_SAVE = wxID_SAVE,
    ID_FILE_SAVE_AS = wxID_SAVEAS,
    ID_APP_EXIT = wxID_EXIT,
    ID_EDIT_CUT = wxID_CUT,
    ID_EDIT_COPY = wxID_COPY,
    ID_EDIT_PASTE = wxID_PASTE,
    ID_APP_ABOUT = wxID_ABOUT,
    ID_HELP = wxID_HELP,
    ID_HELP_INDEX = wxID_HELP_INDEX,
    ID_HELP_CONTENTS = 32807,

    // Window menu (tabs on GTK: Cascade and Tile have nothing to arrange).
    ID_WINDOW_NEW = 57648,
    ID_WINDOW_CASCADE = 57650,
    ID_WINDOW_TILE_HORZ = 57651,
    ID_WINDOW_TILE_VERT = 57652,

    // Main frame.
    ID_VIEW_TOOLBARS = 32801,
    ID_APP_OPTIONS = 32800,
    ID_NEW_REPORT = 32796,
    ID_NEW_TRANSLATION = 32797,
    ID_NEW_EQUATION_SET = 32798,
    ID_NEW_DRIVER_DATABASE = 32799,

    // Bars and panes (also the show/hide commands of the toolbar context menu).
    ID_VIEW_MAIN_BAR = 33231,
    ID_VIEW_EDIT_BAR = 33232,
    ID_VIEW_CONNECT_BAR = 33250,
    ID_VIEW_STATUS_BAR = 59393,
    ID_STANDARD_BAR = 59392,
    ID_MENU_BAR = 59398,
    ID_INDICATOR_STATE = 59143,
    ID_INDICATOR_LINK = 59144,
    ID_INDICATOR_CAPS = 59137,
    ID_INDICATOR_NUM = 59138,

    // Device commands of a program-data document's frame.
    ID_READ_ALL = 32776,
    ID_DUMP_ALL = 32777,
    ID_READ_SELECTION = 32778,
    ID_DUMP_SELECTION = 32779,
    ID_TERMINAL_EMULATOR = 32780,
    ID_RETRIEVE_NONRESETTABLES = 32833,
    ID_TRANSACTION_LOG = 32834,
    ID_EVENT_LOG = 32835,
    ID_AUDIT_TRAIL_LOG = 32836,
    ID_REMOTE_DISPLAY = 32837,
    ID_INTERACTIVE_DISPLAY = 32838,
    ID_UPGRADE_DEVICE_FIRMWARE = 32840,
    ID_GO_ONLINE = 32841,
    ID_GO_OFFLINE = 32842,
    ID_THERMAL_CALCULATOR = 32843,
    ID_DOCUMENT_OPTIONS = 32848,
    ID_UPGRADE_MMI_FIRMWARE = 32849,

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
