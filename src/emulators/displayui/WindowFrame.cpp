#include "emulators/displayui/WindowFrame.h"

#include <dlfcn.h>

#include <wx/graphics.h>
#include <wx/region.h>

namespace qs::displayui {
namespace {

// wxWidgets fixes a GTK window's decorations when it is created. The toolkit itself can change
// them later; it is already loaded by wxWidgets, so its two functions are looked up by name
// rather than built against.
bool SetGtkDecorations(wxTopLevelWindow& window, bool decorated) {
#ifdef __WXGTK__
    using WindowOf = void* (*)(void*);
    using SetDecorations = void (*)(void*, int);
    constexpr int kAllDecorations = 1;
    auto windowOf = reinterpret_cast<WindowOf>(::dlsym(RTLD_DEFAULT, "gtk_widget_get_window"));
    auto setDecorations = reinterpret_cast<SetDecorations>(::dlsym(RTLD_DEFAULT, "gdk_window_set_decorations"));
    if (!windowOf || !setDecorations || !window.GetHandle()) return false;
    void* native = windowOf(window.GetHandle());
    if (!native) return false;
    setDecorations(native, decorated ? kAllDecorations : 0);
    return true;
#else
    (void)window;
    (void)decorated;
    return false;
#endif
}

}  // namespace

bool WindowFrame::SetHidden(wxTopLevelWindow& window, bool hidden, int corner) {
    const bool changed = SetGtkDecorations(window, !hidden);
    if (!hidden) {
        window.SetShape(wxRegion());
        return changed;
    }
    const wxSize size = window.GetClientSize();
    wxGraphicsPath outline = wxGraphicsRenderer::GetDefaultRenderer()->CreatePath();
    outline.AddRoundedRectangle(0, 0, size.x, size.y, corner / 2.0);
    window.SetShape(outline);
    return changed;
}

}  // namespace qs::displayui
