#pragma once
#include <string>

#include "app/common/StandardDialog.h"

class wxCheckBox;
class wxChoice;
class wxRadioButton;
class wxTextCtrl;

namespace qs {

struct UiServices;

// "Report Options": the report's title, page size (default, wide or custom), number of pages,
// closing form feed and the character set its texts are edited in.
class CReportOptionsDlg : public StandardDialog {
public:
    static constexpr int kTitleId = 1005;
    static constexpr int kDefaultId = 1019;
    static constexpr int kWideId = 1020;
    static constexpr int kCustomId = 1021;
    static constexpr int kColumnsId = 1006;
    static constexpr int kLinesId = 1022;
    static constexpr int kPagesId = 1010;
    static constexpr int kFormFeedId = 1007;
    static constexpr int kCharsetId = 1023;
    static constexpr int kHelpId = 320;

    // Help and messages go through `ui`, which outlives the dialog.
    CReportOptionsDlg(wxWindow* parent, const UiServices& ui);

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

    wxTextCtrl* TitleBox() const { return title_; }
    wxRadioButton* SizeButton(int choice) const { return sizes_[choice]; }
    wxTextCtrl* ColumnsBox() const { return columns_; }
    wxTextCtrl* LinesBox() const { return lines_; }
    wxTextCtrl* PagesBox() const { return pages_; }
    wxCheckBox* FormFeedBox() const { return formFeed_; }
    wxChoice* CharsetBox() const { return charset_; }

    std::string title;
    int pageChoice = 0;
    int columns = 80;
    int linesPerPage = 60;
    int pages = 1;
    bool formFeed = true;
    int charset = 0;

private:
    void OnSizeChoice(int choice);
    void EnableCustom();

    const UiServices& ui_;
    wxTextCtrl* title_ = nullptr;
    wxRadioButton* sizes_[3] = {};
    wxTextCtrl* columns_ = nullptr;
    wxTextCtrl* lines_ = nullptr;
    wxTextCtrl* pages_ = nullptr;
    wxCheckBox* formFeed_ = nullptr;
    wxChoice* charset_ = nullptr;
};

}  // namespace qs
