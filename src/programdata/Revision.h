#pragma once
#include <string>

namespace qs {

// The device revision this program targets; written into every document header and compared
// with the revision of a connected device. Kept as the float32 the files hold, so that
// comparing a header's revision with it compares like with like.
inline constexpr float kProgramRevision = 11.26f;

// "%*.2f" in the C locale, whatever the desktop's locale says.
std::string FormatRevision(double revision, int width = 0);

// "Revision 11.26" ("Revision %5.2f" of the program revision).
std::string ProgramRevisionText();

}  // namespace qs
