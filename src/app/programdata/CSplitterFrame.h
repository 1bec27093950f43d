#pragma once
#include <functional>
#include <memory>
#include <optional>

#include <wx/docmdi.h>
#include <wx/timer.h>

#include "appmodel/programdata/DeviceCommandHooks.h"
#include "appmodel/programdata/FrameSelection.h"

class wxPrintDialogData;
class wxPrintout;
class wxSplitterWindow;

namespace qs {

class CDirectoryView;
class CVexa3WxDoc;
class DeviceCommands;
class PrintSheet;

// The window of a program-data document: the directory tree on the left, the program codes of
// its selection on the right, and every device command of the document (Read All, Dump All,
// the selection's transfers, online and offline, the displays, the document's link options)
// with its menu items and function keys. The commands themselves run in DeviceCommands; the
// frame gives them the tree's selection, the wait cursor and the main window.
class CSplitterFrame : public wxDocMDIChildFrame {
public:
    static constexpr int kTreeWidth = 170;
    static constexpr int kReapMs = 1000;
    static constexpr const char* kMenuTitle = "&Device";

    CSplitterFrame(CVexa3WxDoc* doc, CDirectoryView* view, wxMDIParentFrame* parent);
    ~CSplitterFrame() override;

    CVexa3WxDoc& Doc() const { return *doc_; }
    DeviceCommands& Commands() const { return *commands_; }
    const FrameSelection& Selection() const;
    // Set by the tree; the right pane follows.
    void SetSelection(const FrameSelection& selection);
    // The document's values changed: the right pane shows them again.
    void RefreshPane();

    wxSplitterWindow* Splitter() const { return splitter_; }
    wxWindow* Tree() const { return tree_; }
    wxWindow* Pane() const { return pane_; }
    void ActivatePane();

    // Runs a device command by its own number as its menu item does.
    void RunCommand(int command);
    // The document options dialog, then its result applied.
    void OnDocumentOptions();
    // The dialog alone: its fields after OK, nullopt after Cancel.
    std::optional<DocumentOptionsChoice> EditOptions(const DocumentLinkFields& fields);
    // Asks whether to print the selection or the whole document, then prints.
    void OnPrint();
    // How OnPrint prints what it laid out; by default through the print dialog.
    using Printer = std::function<void(wxPrintout& printout, wxPrintDialogData& data)>;
    void SetPrinter(Printer printer) { printer_ = std::move(printer); }
    // The question of OnPrint and the lines it lays out; false when nothing is to be printed.
    bool PrepareSheet(PrintSheet& sheet);

private:
    void BuildMenu();
    void BindCommands();

    CVexa3WxDoc* doc_;
    CDirectoryView* view_;
    wxSplitterWindow* splitter_ = nullptr;
    wxWindow* tree_ = nullptr;
    wxWindow* pane_ = nullptr;
    std::unique_ptr<DeviceCommands> commands_;
    Printer printer_;
    wxTimer reap_;
};

}  // namespace qs
