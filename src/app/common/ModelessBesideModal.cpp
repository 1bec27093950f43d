#include "app/common/ModelessBesideModal.h"

#include <dlfcn.h>

#include <wx/toplevel.h>

namespace qs {

bool ModelessBesideModal::Allow(wxTopLevelWindow& window) {
#ifdef __WXGTK__
    // The toolkit is already loaded by wxWidgets: its two functions are looked up by name rather
    // than built against.
    using NewGroup = void* (*)();
    using AddWindow = void (*)(void*, void*);
    using Unref = void (*)(void*);
    auto newGroup = reinterpret_cast<NewGroup>(::dlsym(RTLD_DEFAULT, "gtk_window_group_new"));
    auto addWindow = reinterpret_cast<AddWindow>(::dlsym(RTLD_DEFAULT, "gtk_window_group_add_window"));
    auto unref = reinterpret_cast<Unref>(::dlsym(RTLD_DEFAULT, "g_object_unref"));
    if (!newGroup || !addWindow || !unref || !window.GetHandle()) return false;
    void* group = newGroup();
    if (!group) return false;
    addWindow(group, window.GetHandle());
    unref(group);  // the window holds the group now
    return true;
#else
    (void)window;
    return false;
#endif
}

}  // namespace qs
