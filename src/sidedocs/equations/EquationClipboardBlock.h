#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace qs {

class CEquation;

// The "QuillsetEquationItem" block that carries one line through the clipboard: a marker and a
// version, the line as its file record holds it, then its text. Whatever another program put
// under the name is read as untrusted: a block that is short, long, of another version or out
// of range gives no line.
class EquationClipboardBlock {
public:
    static constexpr const char* kFormatName = "QuillsetEquationItem";
    static constexpr uint16_t kVersion = 1;
    // Longest line text a block carries.
    static constexpr size_t kMaxTextLength = 1024;

    static std::string Encode(const CEquation& line);
    static std::unique_ptr<CEquation> Decode(std::string_view bytes);
};

}  // namespace qs
