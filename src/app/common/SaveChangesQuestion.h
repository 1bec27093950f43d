#pragma once

class wxDocument;

namespace qs {

struct UiServices;

// The question before a changed document closes: "Save changes to <title>?" with Yes, No and
// Cancel, as the program's other boxes. Yes saves, No lets the changes go. False when the
// document is to stay open (Cancel, or a save that failed).
bool AskToSaveChanges(wxDocument& doc, const UiServices& ui);

}  // namespace qs
