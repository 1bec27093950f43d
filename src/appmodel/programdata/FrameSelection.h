#pragma once

namespace qs {

class CDirectory;
class CSubdirectory;

// What the directory tree has selected in a program-data document's frame: a directory, or a
// subdirectory of it, the instance shown and the arm (0-5) it belongs to. The tree writes it;
// Read Selection, Dump Selection, the program-code list and printing read it.
struct FrameSelection {
    CDirectory* directory = nullptr;
    CSubdirectory* subdirectory = nullptr;  // null when a whole directory is selected
    int instance = 0;
    int arm = -1;  // -1 when nothing is selected

    bool Empty() const { return directory == nullptr; }
};

}  // namespace qs
