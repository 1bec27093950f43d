#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace qs::panelsim {

// The address list of the setup dialog: the entries of "AddressList" as they are written
// (split at ","), "Add >>" of an address 1-99 written as "% 2.2d" (7 gives " 07"), and
// ">>  Remove" of any entry but the first. OK joins the entries with ",".
class AddressListEditor {
public:
    static constexpr int kMaxAddress = 99;
    static constexpr size_t kMaxEntries = 32;       // the polling list holds no more
    static constexpr size_t kMaxEntryLength = 16;  // a stored entry longer than this is cut

    explicit AddressListEditor(std::string_view addressList);

    // False (the caller beeps) for 0, for a number outside 0-99, and when the list is full.
    bool Add(int address);
    // False when nothing is selected (-1), the selection is the first entry or past the end.
    bool Remove(int selection);
    std::string Join() const;
    const std::vector<std::string>& Entries() const { return entries_; }

    // "% 2.2d".
    static std::string Format(int address);

private:
    std::vector<std::string> entries_;
};

}  // namespace qs::panelsim
