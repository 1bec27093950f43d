#pragma once
#include <memory>

#include "appmodel/programdata/ParamEditRequest.h"

class wxWindow;

namespace qs {

class CParamEditDlg;

// The editor of a request's kind, loaded and ready to be shown.
std::unique_ptr<CParamEditDlg> MakeParamEditDialog(wxWindow* parent, ParamEditRequest& request);
// Shows that editor modally; true when it was closed with OK (the request's results set). This
// is what the program-code list hands the edit flow.
bool RunParamEditDialog(wxWindow* parent, ParamEditRequest& request);

}  // namespace qs
