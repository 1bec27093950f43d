#include "app/ParamPane.h"

#include <wx/listctrl.h>

#include "app/CVexa3WxDoc.h"
#include "app/CodePageText.h"
#include "programdata/CDirectory.h"
#include "programdata/CParam.h"
#include "programdata/CSubdirectory.h"
#include "programdata/CVexa3Doc.h"
#include "programdata/FrameSelection.h"

namespace qs {

namespace {

// Until the program-code list takes this place: the selected subdirectory's codes, read-only,
// with the value of the selected instance.
class ReadOnlyCodeList : public wxListCtrl {
public:
    ReadOnlyCodeList(wxWindow* parent, CVexa3WxDoc& doc)
        : wxListCtrl(parent, wxID_ANY, wxDefaultPosition, wxSize(400, 80),
                     wxLC_REPORT | wxLC_SINGLE_SEL | wxLC_NO_SORT_HEADER),
          doc_(doc) {
        AppendColumn("ID  Description", wxLIST_FORMAT_LEFT, 260);
        AppendColumn("Value", wxLIST_FORMAT_LEFT, 180);
    }

    void Show(const FrameSelection& s) {
        Freeze();
        DeleteAllItems();
        if (CSubdirectory* sub = s.subdirectory) {
            const CDirectory* d = sub->Owner();
            int index = s.instance;
            if (d && d->PerArm() && d->Type() != CDirectory::kArm) index += s.arm * d->InstanceCount();
            const int codePage = doc_.Core().CodePage();
            long row = 0;
            sub->ForEachParam([&](const CParam& p) {
                InsertItem(row, FromCodePage(p.Name(), codePage));
                SetItem(row, 1, FromCodePage(p.HasOptionList() ? p.Value(index) : p.FormatValue(index), codePage));
                ++row;
            });
        }
        Thaw();
    }

private:
    CVexa3WxDoc& doc_;
};

}  // namespace

wxWindow* CreateParamPane(wxWindow* parent, CVexa3WxDoc& doc, CSplitterFrame&) {
    return new ReadOnlyCodeList(parent, doc);
}

void ParamPaneSelectionChanged(wxWindow* pane, const FrameSelection& selection) {
    if (auto* list = dynamic_cast<ReadOnlyCodeList*>(pane)) list->Show(selection);
}

}  // namespace qs
