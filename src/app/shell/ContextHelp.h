#pragma once
#include <optional>
#include <string>
#include <vector>

class wxWindow;

namespace qs {

struct UiServices;

// Context-help ids carried by windows, and the help files they open. Help files are looked
// for in the program's data folders ("help/Quillset.hhp", a wx HTML help book, or a zipped
// one "help/Quillset.htb"); where there are none, the help commands say so.
class ContextHelp {
public:
    static constexpr const char* kNoHelpMessage =
        "No help files are installed for Quillset.\nLooked for help/Quillset.htb and help/Quillset.hhp "
        "in the program's data folders.";

    // The window keeps the id until it is destroyed (0 removes it).
    static void SetId(wxWindow* window, int id);
    // Its own id, 0 when none.
    static int GetId(const wxWindow* window);
    // The first id met walking up the parents from `window`; 0 when none has one.
    static int FindFrom(const wxWindow* window);

    // The help book found in `dirs` (default: the data folders), if any.
    static std::optional<std::string> FindBook(const std::vector<std::string>& dirs);
    static std::optional<std::string> FindBook();

    // Shows the book's contents, its index, or the topic of an id (the contents when the book
    // maps no topic to it); without a book says so through `ui`. False when there is no help
    // to show.
    static bool ShowContents(const UiServices& ui);
    static bool ShowIndex(const UiServices& ui);
    static bool ShowTopic(const UiServices& ui, int id);
};

}  // namespace qs
