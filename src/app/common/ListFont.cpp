#include "app/common/ListFont.h"

#include <wx/fontenum.h>
#include <wx/settings.h>

namespace qs {

wxFont ListFont() {
    wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    if (wxFontEnumerator::IsValidFacename("MS Sans Serif")) font.SetFaceName("MS Sans Serif");
    return font;
}

}  // namespace qs
