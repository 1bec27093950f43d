#pragma once
#include <string>

#include <wx/string.h>

namespace qs {

// Texts from the core are byte strings: ASCII, UTF-8 from the program's own resources, or
// single-byte code-page text from the device and documents. Only where wx shows one is it
// converted: valid UTF-8 as such, anything else as Windows-1252 (every byte a character).
wxString ToWx(const std::string& text);

}  // namespace qs
