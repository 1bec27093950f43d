#include "app/common/SaveChangesPrompt.h"

#include <wx/docview.h>

#include "platform/UiServices.h"

namespace qs {

bool AskToSaveChanges(wxDocument& document, const UiServices& ui) {
    if (!document.IsModified()) return true;
    switch (ui.Message("Save changes to " + document.GetUserReadableName().utf8_string() + "?",
                       MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDYES:
        return document.Save();
    case IDNO:
        document.Modify(false);
        return true;
    default:
        return false;
    }
}

}  // namespace qs
