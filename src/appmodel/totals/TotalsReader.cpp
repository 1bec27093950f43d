#include "appmodel/totals/TotalsReader.h"

#include <algorithm>
#include <cstdio>

#include "appmodel/totals/TotalsReply.h"
#include "link/DX3Protocol.h"
#include "platform/SafeFormat.h"
#include "platform/UiServices.h"
#include "programdata/CVexa3Doc.h"

namespace qs {

namespace {

std::string Printed(const char* format, int value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

TotalsReader::TotalsReader(CVexa3Doc& document, const UiServices& ui, TotalsLists& lists)
    : doc_(document), ui_(ui), lists_(lists) {}

TotalsReader::~TotalsReader() = default;

TotalsReader::Outcome TotalsReader::Read() {
    const int products = doc_.CountArmProducts(-1);
    progress_ = ui_.Progress(kProgressTitle, true);
    progress_->SetRange(0, doc_.AdditiveCount() + TotalsLists::kQuantities * (products + doc_.RecipeCount()), 1);
    lists_.SetStatus(kReading);
    for (int arm = std::min(doc_.ArmCount(), kMaxArms); arm >= 1; --arm) {
        if (const Outcome o = ReadArm(arm); o != Outcome::Done) return Ended(o);
    }
    if (const Outcome o = ReadAdditives(); o != Outcome::Done) return Ended(o);
    if (const Outcome o = ReadRecipes(); o != Outcome::Done) return Ended(o);
    Address(doc_.ArmAddress(0));
    return Ended(Outcome::Done);
}

TotalsReader::Outcome TotalsReader::Ended(Outcome outcome) {
    progress_.reset();
    lists_.SetStatus(outcome == Outcome::Done        ? kDone
                     : outcome == Outcome::Cancelled ? kAbortedByUser
                                                     : kAbortedByLink);
    return outcome;
}

TotalsReader::Outcome TotalsReader::ReadArm(int arm) {
    const int products = doc_.CountArmProducts(arm - 1);
    const int inUse = doc_.ActiveArmCount() + doc_.FlaggedArmCount();
    const int address = doc_.ArmAddress(arm - 1);
    if ((products == 0 && arm > inUse) || address == 0) return Outcome::Done;
    if (!Address(address)) return Outcome::LinkFault;
    lists_.SetStatus(kReadingProducts);

    Sums sums{};
    for (int k = 1; k <= products; ++k) {
        const std::optional<std::string> name = Ask(Printed("PV P%d 101", k));
        if (!name) return Outcome::LinkFault;
        const size_t row = static_cast<size_t>(k - 1);
        lists_.Insert(TotalsLists::kProducts, row, TotalsReply::Field(*name, TotalsReply::kValueOffset));
        if (const Outcome o = ReadQuantities(TotalsLists::kProducts, row, Printed("P%d", k), &sums); o != Outcome::Done)
            return o;
    }
    const std::optional<std::string> kind = Ask("PV CF 002");
    if (!kind) return Outcome::LinkFault;
    if (TotalsReply::Integer(TotalsReply::Field(*kind, TotalsReply::kValueOffset)) != kNoTotalKind && products > 1) {
        const size_t after = static_cast<size_t>(products);
        lists_.InsertFilled(TotalsLists::kProducts, after, kSeparator);
        std::vector<std::string> total = {Printed("Arm %d Total:", arm)};
        for (double sum : sums) total.push_back(SafeFormat("%0.0f", FormatArg::Real(sum)).value_or(std::string()));
        lists_.InsertRow(TotalsLists::kProducts, after + 1, std::move(total));
    }
    lists_.Insert(TotalsLists::kProducts, 0, Printed("Arm %d - ", arm));
    // Blocks are put at the top from the highest arm down: a gap above every block but arm 1's.
    if (arm > 1) lists_.Insert(TotalsLists::kProducts, 0, kArmGap);
    return Outcome::Done;
}

TotalsReader::Outcome TotalsReader::ReadAdditives() {
    lists_.SetStatus(kReadingAdditives);
    const std::optional<std::string> installed = Ask("PV CF 020");
    if (!installed) return Outcome::LinkFault;
    const int additives = std::max(doc_.AdditiveCount(), 0);
    const int count = std::clamp(TotalsReply::Integer(TotalsReply::Field(*installed, TotalsReply::kValueOffset)), 0,
                                 additives);
    progress_->OffsetPos(additives - count);
    const int arms = std::clamp(doc_.ActiveArmCount(), 0, kMaxArms);
    for (int a = 1; a <= count; ++a) {
        const size_t row = static_cast<size_t>(a - 1);
        lists_.Insert(TotalsLists::kAdditives, row, Printed("Additive %d", a));
        progress_->StepIt();
        if (!progress_->PeekAndPump(true, true) || progress_->Cancelled()) return Outcome::Cancelled;
        // The first arm that has the additive answers; the others refuse it.
        std::optional<std::string> last;
        for (int arm = 0; arm < arms && doc_.ArmAddress(arm) != 0; ++arm) {
            if (!Address(doc_.ArmAddress(arm))) return Outcome::LinkFault;
            last = Ask(Printed("VT A%02d", a));
            if (!last) return Outcome::LinkFault;
            if (!TotalsReply::IsRejection(*last)) break;
        }
        if (last) lists_.SetCell(TotalsLists::kAdditives, row, 1, TotalsReply::Field(*last, TotalsReply::kTotalOffset));
        if (!Address(doc_.ArmAddress(0))) return Outcome::LinkFault;
    }
    return Outcome::Done;
}

TotalsReader::Outcome TotalsReader::ReadRecipes() {
    lists_.SetStatus(kReadingRecipes);
    const int recipes = std::clamp(doc_.RecipeCount(), 0, kMaxRecipes);
    for (int r = 1; r <= recipes; ++r) {
        const std::optional<std::string> assigned = Ask(Printed("PV %02d 001", r));
        if (!assigned) return Outcome::LinkFault;
        const int arm = TotalsReply::Integer(TotalsReply::Field(*assigned, TotalsReply::kValueOffset));
        if (arm < 1 || arm > kMaxArms || doc_.ArmAddress(arm - 1) == 0) {
            progress_->OffsetPos(TotalsLists::kQuantities);
            continue;
        }
        if (!Address(doc_.ArmAddress(arm - 1))) return Outcome::LinkFault;
        const std::optional<std::string> name = Ask(Printed("PV %02d 002", r));
        if (!name) return Outcome::LinkFault;
        const size_t row = lists_.List(TotalsLists::kRecipes).rows.size();
        lists_.Insert(TotalsLists::kRecipes, row, TotalsReply::Field(*name, TotalsReply::kValueOffset));
        if (const Outcome o = ReadQuantities(TotalsLists::kRecipes, row, Printed("%02d", r), nullptr);
            o != Outcome::Done)
            return o;
    }
    return Outcome::Done;
}

TotalsReader::Outcome TotalsReader::ReadQuantities(TotalsLists::Which which, size_t row, const std::string& item,
                                                   Sums* sums) {
    for (int q = 0; q < TotalsLists::kQuantities; ++q) {
        progress_->StepIt();
        if (!progress_->PeekAndPump(true, true) || progress_->Cancelled()) return Outcome::Cancelled;
        const std::optional<std::string> reply =
            Ask(std::string("VT ") + TotalsLists::kQuantityLetters[q] + " " + item);
        if (!reply) return Outcome::LinkFault;
        const std::string cell = TotalsReply::Field(*reply, TotalsReply::kTotalOffset);
        const double value = TotalsReply::Value(cell);
        lists_.SetCell(which, row, static_cast<size_t>(q + 1), cell);
        if (sums) (*sums)[static_cast<size_t>(q)] += value;
        if (value == 0) {
            // Nothing more to ask of an empty (or refused) total: the rest repeat it.
            for (int rest = q + 1; rest < TotalsLists::kQuantities; ++rest)
                lists_.SetCell(which, row, static_cast<size_t>(rest + 1), cell);
            progress_->OffsetPos(TotalsLists::kQuantities - 1 - q);
            break;
        }
    }
    return Outcome::Done;
}

std::optional<std::string> TotalsReader::Ask(const std::string& command) { return doc_.SendCommand(command); }

bool TotalsReader::Address(int address) {
    DX3Protocol* protocol = doc_.GetProtocol();
    if (protocol == nullptr) return false;
    protocol->SetAddress(address);
    return true;
}

}  // namespace qs
