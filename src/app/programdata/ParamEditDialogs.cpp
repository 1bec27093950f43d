#include "app/programdata/ParamEditDialogs.h"

#include "app/programdata/CBitmapParamEditDlg.h"
#include "app/programdata/CParamEditDlg.h"
#include "app/programdata/CParamEditIPDlg.h"

namespace qs {

std::unique_ptr<CParamEditDlg> MakeParamEditDialog(wxWindow* parent, ParamEditRequest& request) {
    std::unique_ptr<CParamEditDlg> dialog;
    switch (request.kind) {
    case ParamDialogKind::AlarmBits: dialog = std::make_unique<CAlarmBitmapDlg>(parent, request); break;
    case ParamDialogKind::MeterBits: dialog = std::make_unique<CMeterBitmapDlg>(parent, request); break;
    case ParamDialogKind::ProductBits: dialog = std::make_unique<CProductBitmapDlg>(parent, request); break;
    case ParamDialogKind::AdditiveBits: dialog = std::make_unique<CAdditiveBitmapDlg>(parent, request); break;
    case ParamDialogKind::IpAddress: dialog = std::make_unique<CParamEditIPDlg>(parent, request); break;
    case ParamDialogKind::General: dialog = std::make_unique<CParamEditDlg>(parent, request); break;
    }
    return dialog;
}

bool RunParamEditDialog(wxWindow* parent, ParamEditRequest& request) {
    std::unique_ptr<CParamEditDlg> dialog = MakeParamEditDialog(parent, request);
    return dialog && dialog->ShowModal() == wxID_OK;
}

}  // namespace qs
