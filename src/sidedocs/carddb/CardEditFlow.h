#pragma once
#include <functional>
#include <string>

#include "sidedocs/carddb/CardRecordForm.h"

namespace qs {

class CDatabase;
struct UiServices;

// What the card list does with a row, without the widgets: editing a card or adding one on the
// empty row after the last, and the texts of the status panes.
class CardEditFlow {
public:
    static constexpr const char* kMaximumCardsMessage =
        "Cannot add a new card. The maximum number of cards has been reached.";

    // Shows the edit dialog on the form; true for OK (the dialog has checked the form).
    using DialogRunner = std::function<bool(CardRecordForm& form)>;

    // Edits record `row`, or adds a card when `row` is the row after the last record (refused
    // with the maximum-cards message when the database is full). The edited card goes to its
    // sorted place. True when the database changed.
    static bool EditRecord(CDatabase& database, int row, const DialogRunner& runDialog, const UiServices& ui);

    // "Card %d of %d" while a card row has the focus, else "%d cards".
    static std::string CardText(int focusedRow, int count);
    // "Database size %d bytes".
    static std::string SizeText(int byteTotal);
};

}  // namespace qs
