#pragma once
#include <string>
#include <vector>

namespace qs {

// Font faces shipped with the program (the "Kez" faces of the code pages, for example) are
// added for this process before any window is made. Where none are shipped, the code-page
// fonts fall back to installed faces (CodePageFont).
class PrivateFonts {
public:
    // Larger files are not offered to the font system.
    static constexpr long kMaxFontFileBytes = 32L << 20;

    // Adds every TrueType or OpenType file in the "fonts" folder of `dirs` (default: the data
    // folders). Returns the files added.
    static std::vector<std::string> Install(const std::vector<std::string>& dirs);
    static std::vector<std::string> Install();
};

}  // namespace qs
