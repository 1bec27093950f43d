#pragma once
#include <string>

// A message box takes a button set (MB_*) and gives back the id of the button chosen (ID*): the
// device code and its callers decide on those numbers (Abort/Retry/Ignore drives every
// transfer loop).
namespace qs {

enum : unsigned {
    MB_OK = 0x0000,
    MB_OKCANCEL = 0x0001,
    MB_ABORTRETRYIGNORE = 0x0002,
    MB_YESNOCANCEL = 0x0003,
    MB_YESNO = 0x0004,
    MB_RETRYCANCEL = 0x0005,
    MB_TYPEMASK = 0x000F,
    MB_ICONHAND = 0x0010,
    MB_ICONERROR = MB_ICONHAND,
    MB_ICONSTOP = MB_ICONHAND,
    MB_ICONQUESTION = 0x0020,
    MB_ICONEXCLAMATION = 0x0030,
    MB_ICONWARNING = MB_ICONEXCLAMATION,
    MB_ICONASTERISK = 0x0040,
    MB_ICONINFORMATION = MB_ICONASTERISK,
    MB_ICONMASK = 0x00F0,
    MB_DEFBUTTON2 = 0x0100,
    MB_DEFBUTTON3 = 0x0200,
};

enum : int {
    IDOK = 1,
    IDCANCEL = 2,
    IDABORT = 3,
    IDRETRY = 4,
    IDIGNORE = 5,
    IDYES = 6,
    IDNO = 7,
};

// The one way the core asks the user something. The GUI shows a real box; tests script
// the answers and record every text.
class Prompt {
public:
    virtual ~Prompt() = default;
    // caption empty = the application's name, as AfxMessageBox does.
    virtual int MessageBox(const std::string& text, const std::string& caption, unsigned type) = 0;
};

// The answer a box with no one to click it would end with: the cautious button of each set.
int DefaultAnswer(unsigned type);

}  // namespace qs
