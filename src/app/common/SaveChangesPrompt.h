#pragma once

class wxDocument;

namespace qs {

struct UiServices;

// What closing a modified document asks: "Save changes to <title>?" with Yes (save; false when
// the save failed), No (the changes are dropped) and Cancel (false: the document stays open).
// An unmodified document asks nothing.
bool AskToSaveChanges(wxDocument& document, const UiServices& ui);

}  // namespace qs
