#pragma once
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "appmodel/totals/TotalsLists.h"

namespace qs {

class CVexa3Doc;
class ProgressSink;
struct UiServices;

// Reads the device's non-resettable totals into the three lists with text commands: per arm
// (from the highest down, each block put at the top so arm 1 ends first) the five quantities of
// each product and, for an arm with more than one product that is not of kind 6, a total row;
// then each additive's volume from the first arm that has it; then each recipe assigned to an
// arm. A total of 0 (or a rejection, which reads as 0) is not asked for again in the row's
// other quantities: they repeat its text. The status text says how the read ended; the rows
// read so far stay whatever happens.
class TotalsReader {
public:
    enum class Outcome { Done, Cancelled, LinkFault };

    static constexpr const char* kProgressTitle = "Reading Totals";
    static constexpr const char* kReading = "Reading totalizers....";
    static constexpr const char* kReadingProducts = "Reading product totalizers....";
    static constexpr const char* kReadingAdditives = "Reading additive totalizers....";
    static constexpr const char* kReadingRecipes = "Reading recipe totalizers....";
    static constexpr const char* kAbortedByUser = "Read Aborted by User";
    static constexpr const char* kAbortedByLink = "Read Aborted due to communications error";
    static constexpr const char* kDone = "Values read successfully";
    static constexpr const char* kSeparator = "--------";
    static constexpr const char* kArmGap = "   ";
    static constexpr int kMaxArms = 6;
    static constexpr int kMaxRecipes = 99;
    // The arm kind whose products make no arm total.
    static constexpr int kNoTotalKind = 6;

    TotalsReader(CVexa3Doc& document, const UiServices& ui, TotalsLists& lists);
    ~TotalsReader();
    TotalsReader(const TotalsReader&) = delete;
    TotalsReader& operator=(const TotalsReader&) = delete;

    Outcome Read();

private:
    using Sums = std::array<double, TotalsLists::kQuantities>;

    Outcome ReadArm(int arm);
    Outcome ReadAdditives();
    Outcome ReadRecipes();
    // The five quantities of one row ("VT <letter> <item>"); adds them to `sums` when given.
    Outcome ReadQuantities(TotalsLists::Which which, size_t row, const std::string& item, Sums* sums);
    // The reply, or nullopt when the device gave none (already reported).
    std::optional<std::string> Ask(const std::string& command);
    // False when the document has no link to address.
    bool Address(int address);
    Outcome Ended(Outcome outcome);

    CVexa3Doc& doc_;
    const UiServices& ui_;
    TotalsLists& lists_;
    std::unique_ptr<ProgressSink> progress_;
};

}  // namespace qs
