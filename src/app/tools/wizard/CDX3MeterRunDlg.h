#pragma once
#include <array>
#include <vector>

#include "app/tools/wizard/CDX3WizardPage.h"

class wxChoice;
class wxRadioBox;

namespace qs {

// One meter of an arm: its control valve and its temperature, density and pressure
// transducers, each its own or shared with an earlier meter.
class CDX3MeterRunDlg : public CDX3WizardPage {
public:
    CDX3MeterRunDlg(CDX3PropertySheet& sheet, int index);
    std::string Caption() const override;

    wxStaticText* CaptionLabel() const { return caption_; }
    wxRadioBox* ValveGroup() const { return valve_; }
    // kind: WizardPageRules::ShareKind
    wxRadioBox* TransducerGroup(int kind) const { return groups_[static_cast<size_t>(kind)]; }
    wxChoice* ShareList(int kind) const { return shares_[static_cast<size_t>(kind)]; }

protected:
    void Load() override;
    void Store() override;

private:
    static constexpr int kKinds = 3;
    // The row of "Share:" in each group.
    static int ShareRow(int kind);
    int& Choice(int kind) const;
    int& Share(int kind) const;
    void EnableShareLists();

    wxStaticText* caption_ = nullptr;
    wxStaticText* type_ = nullptr;
    wxRadioBox* valve_ = nullptr;
    std::array<wxRadioBox*, kKinds> groups_{};
    std::array<wxChoice*, kKinds> shares_{};
    std::array<std::vector<WizardPageRules::ShareItem>, kKinds> items_;
};

}  // namespace qs
