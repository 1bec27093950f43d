#pragma once
#include <cstdint>
#include <vector>

#include "app/programdata/CParamEditDlg.h"

class wxCheckBox;

namespace qs {

// The editor of a code whose value is a set of bits: one check box per bit that means
// something. Bits without a box keep what the value had; OK gives the 32 bits back as an
// unsigned decimal number.
class CBitmapParamEditDlg : public CParamEditDlg {
public:
    enum : int { kBitsCaptionId = 1072 };

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

    // The box of a bit; null when the bit has none.
    wxCheckBox* BitBox(int bit) const;
    uint32_t Bits() const { return bits_; }

protected:
    // The kind names the boxes.
    CBitmapParamEditDlg(wxWindow* parent, ParamEditRequest& request, ParamDialogKind kind);

private:
    // The bits of the value given, and the boxes that show them.
    void LoadBits();

    uint32_t bits_ = 0;
    std::vector<std::pair<int, wxCheckBox*>> boxes_;
};

// What an alarm does when it occurs (System 602-681).
class CAlarmBitmapDlg final : public CBitmapParamEditDlg {
public:
    CAlarmBitmapDlg(wxWindow* parent, ParamEditRequest& request)
        : CBitmapParamEditDlg(parent, request, ParamDialogKind::AlarmBits) {}
};

// The meters an additive is plumbed to (System 812-881).
class CMeterBitmapDlg final : public CBitmapParamEditDlg {
public:
    CMeterBitmapDlg(wxWindow* parent, ParamEditRequest& request)
        : CBitmapParamEditDlg(parent, request, ParamDialogKind::MeterBits) {}
};

// The products of a recipe an additive goes into (Recipe 19-88).
class CProductBitmapDlg final : public CBitmapParamEditDlg {
public:
    CProductBitmapDlg(wxWindow* parent, ParamEditRequest& request)
        : CBitmapParamEditDlg(parent, request, ParamDialogKind::ProductBits) {}
};

// The additives that may be injected (System 98); its level is not chosen here.
class CAdditiveBitmapDlg final : public CBitmapParamEditDlg {
public:
    CAdditiveBitmapDlg(wxWindow* parent, ParamEditRequest& request)
        : CBitmapParamEditDlg(parent, request, ParamDialogKind::AdditiveBits) {}
};

}  // namespace qs
