#pragma once
#include <functional>

class wxMenu;
class wxView;

namespace qs {

// A side document's own menu in the main window's bar, before "Window", while any window of its
// kind is open: put there by the first and taken away with the last.
class SideDocumentMenu {
public:
    // `sameKind` tells the views of this kind; `create` makes the menu when it is missing.
    static void Update(wxView& view, const char* title, wxMenu* (*create)(), bool removing,
                       const std::function<bool(const wxView*)>& sameKind);
};

}  // namespace qs
