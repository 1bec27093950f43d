// The yardstick of the first-window benchmark: the smallest wx program that shows a frame,
// built with the same compiler, flags and wx as Quillset.
#include <wx/app.h>
#include <wx/frame.h>

class BlankFrameApp : public wxApp {
public:
    bool OnInit() override {
        auto* frame = new wxFrame(nullptr, wxID_ANY, "Blank wx frame", wxDefaultPosition, wxSize(1000, 720));
        frame->Show();
        return true;
    }
};

wxIMPLEMENT_APP(BlankFrameApp);
