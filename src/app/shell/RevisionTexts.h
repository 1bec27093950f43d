#pragma once
class wxSizer;
class wxWindow;

namespace qs {

// The revision line and the notice the About box and the splash window show, red on white:
// "Revision 11.26" in a 16-point bold face, and the notice under it.
class RevisionTexts {
public:
    static constexpr unsigned kTextColorRef = 0x3333FF;  // 0x00BBGGRR
    static constexpr const char* kNotice =
        "Configuration and service program for the Duravane III\n"
        "loading-terminal batch controller.\n"
        "Copyright Norvane Technologies. All rights reserved.";

    // Adds the two texts (ids 1165 and 1166) to `sizer`, as children of `parent`, whose
    // background becomes white.
    static void Add(wxWindow* parent, wxSizer* sizer);
};

}  // namespace qs
