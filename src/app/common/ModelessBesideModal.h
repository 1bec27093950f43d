#pragma once

class wxTopLevelWindow;

namespace qs {

// A modeless window opened from a modal dialog (the find window of the register picker) gets
// no input on GTK: the modal dialog's grab covers every window of the default window group.
// Moving the window to a group of its own lets the user type and click in it while the modal
// dialog stays modal to everything else. False where the toolkit does not allow it.
class ModelessBesideModal {
public:
    static bool Allow(wxTopLevelWindow& window);
};

}  // namespace qs
