#include "sidedocs/carddb/CardEditFlow.h"

#include "platform/UiServices.h"
#include "sidedocs/carddb/CDatabase.h"

namespace qs {

bool CardEditFlow::EditRecord(CDatabase& database, int row, const DialogRunner& runDialog, const UiServices& ui) {
    if (row < 0) return false;
    const bool existing = row < database.Count();
    if (!existing && (row >= CDatabase::kMaxRecords || database.Full())) {
        ui.Message(kMaximumCardsMessage);
        return false;
    }
    CardRecordForm form = CardRecordForm::FromRecord(existing ? std::string_view(database.Record(row)) : std::string_view());
    if (!runDialog || !runDialog(form)) return false;
    // The dialog checked the form; a form that would still not make a record changes nothing.
    if (form.Check()) return false;
    const std::string record = form.Compose();
    if (!CDatabase::IsStorable(record)) return false;
    if (existing) database.RemoveRecord(row);
    database.AddRecord(record);
    return true;
}

std::string CardEditFlow::CardText(int focusedRow, int count) {
    if (focusedRow >= 0 && focusedRow < count) {
        return "Card " + std::to_string(focusedRow + 1) + " of " + std::to_string(count);
    }
    return std::to_string(count) + " cards";
}

std::string CardEditFlow::SizeText(int byteTotal) { return "Database size " + std::to_string(byteTotal) + " bytes"; }

}  // namespace qs
