#pragma once
#include <wx/font.h>

namespace qs {

// The font of the program's report lists (the transfer-error log, the totals): the desktop's
// GUI font, in the face "MS Sans Serif" where one of that name is installed.
wxFont ListFont();

}  // namespace qs
