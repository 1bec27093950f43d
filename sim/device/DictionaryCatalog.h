#pragma once
#include <memory>

#include "device/CodeCatalog.h"
#include "device/Dictionary.h"

namespace sim {

// The codes a device with the dictionary has: every code of every directory, at every address
// and under every mnemonic of its directory (CF, SY, AR, M1-M6, P1-P6, 01-50, BA, BB), starting
// from the dictionary's default value and security level.
//
// Writes are checked as simply as a device would: a read-only code refuses every write with
// NO06; a text longer than its maximum length, a number outside min..max, or a value that is no
// number of its data type is refused with NO03. Numbers may carry blanks around them and the
// leading zeros of the program's formats; integers are read in the base of their format's
// conversion (x and X hexadecimal, o octal, else decimal); reals may have an exponent and are
// compared as the nearest float. An accepted value is kept as it was sent.
class DictionaryCatalog : public CodeCatalog {
public:
    explicit DictionaryCatalog(std::shared_ptr<const Dictionary> dictionary) : dictionary_(std::move(dictionary)) {}

    std::optional<CodeValue> Default(std::string_view mnemonic, int number) const override;
    std::optional<int> RefuseWrite(std::string_view mnemonic, int number, std::string_view value) const override;

    // The code a mnemonic and number name, or null.
    const Definition* Find(std::string_view mnemonic, int number) const;
    // Whether `value` is one the code can hold.
    static bool Fits(const Definition& definition, std::string_view value);

private:
    std::shared_ptr<const Dictionary> dictionary_;
};

}  // namespace sim
