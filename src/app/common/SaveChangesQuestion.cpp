#include "app/common/SaveChangesQuestion.h"

#include <wx/docview.h>

#include "platform/UiServices.h"

namespace qs {

bool AskToSaveChanges(wxDocument& doc, const UiServices& ui) {
    if (!doc.IsModified()) return true;
    switch (ui.Message("Save changes to " + doc.GetUserReadableName().utf8_string() + "?",
                       MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDYES:
        return doc.Save();
    case IDNO:
        doc.Modify(false);
        return true;
    default:
        return false;
    }
}

}  // namespace qs
