#include "app/sidedocs/reports/CReportItemDlg.h"

#include <charconv>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/common/CodePageFont.h"
#include "app/common/CodePageText.h"
#include "app/shell/ContextHelp.h"
#include "app/tools/CRegisterBrowseDlg.h"
#include "platform/UiServices.h"
#include "programdata/CParam.h"
#include "programdata/ParamDictionary.h"
#include "sidedocs/reports/CReport.h"
#include "sidedocs/reports/ReportFormatCheck.h"
#include "sidedocs/reports/ReportItem.h"
#include "sidedocs/reports/ReportItemSample.h"
#include "sidedocs/reports/ReportRestrictions.h"

namespace qs {

namespace {

constexpr const char* kTypeNames[] = {"Run/Program Data Value", "Run/Program Data Description", "User-defined Text"};

// A whole number as typed; nullopt for anything else.
std::optional<int> ReadNumber(const wxTextCtrl* box) {
    const std::string text = box->GetValue().Strip(wxString::both).utf8_string();
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::string RangeMessage(int high) { return "Please enter an integer between 1 and " + std::to_string(high) + "."; }

}  // namespace

CReportItemDlg::CReportItemDlg(wxWindow* parent, CReport& report, const ReportItem& item, const UiServices& ui,
                               CReportItemAdvancedDlg::RegisterChooser choose)
    : StandardDialog(parent, wxID_ANY, "Edit Report Item"),
      report_(report),
      item_(item),
      ui_(ui),
      choose_(std::move(choose)) {
    if (!choose_)
        choose_ = [this](wxWindow* owner, const CParam* current) {
            return PickRegister(owner, report_.Dictionary(), ui_, CRegisterBrowseDlg::Options{current, 0, false});
        };
    advanced_ = std::make_unique<CReportItemAdvancedDlg>(this, report.Dictionary(), ui, choose_);

    const int gap = Gap();
    auto* grid = new wxFlexGridSizer(2, gap / 2, gap);
    grid->AddGrowableCol(1);
    auto label = [&](const char* text) {
        grid->Add(new wxStaticText(this, wxID_ANY, text), 0, wxALIGN_CENTER_VERTICAL);
    };
    auto* place = new wxBoxSizer(wxHORIZONTAL);
    line_ = new wxTextCtrl(this, kLineId);
    column_ = new wxTextCtrl(this, kColumnId);
    for (auto* box : {line_, column_}) box->SetMinSize(wxSize(FromDIP(60), -1));
    label("Line:");
    place->Add(line_, 0, wxRIGHT, gap * 2);
    place->Add(new wxStaticText(this, wxID_ANY, "Column:"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, gap);
    place->Add(column_, 0);
    grid->Add(place, 0);
    label("Item Type:");
    type_ = new wxChoice(this, kTypeId);
    for (const char* name : kTypeNames) type_->Append(name);
    grid->Add(type_, 0, wxEXPAND);
    label("Item Value:");
    value_ = new wxTextCtrl(this, kValueId);
    value_->SetMaxLength(ReportItem::kTextSize - 1);
    value_->SetFont(CodePageFont(report.Charset()));
    value_->SetMinSize(wxSize(FromDIP(320), -1));
    grid->Add(value_, 1, wxEXPAND);
    label("Data Register:");
    auto* registerRow = new wxBoxSizer(wxHORIZONTAL);
    register_ = new wxTextCtrl(this, kRegisterId, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxTE_READONLY);
    change_ = new wxButton(this, kChangeId, "Change...");
    registerRow->Add(register_, 1, wxRIGHT, gap);
    registerRow->Add(change_, 0);
    grid->Add(registerRow, 1, wxEXPAND);
    label("Format:");
    auto* formatRow = new wxBoxSizer(wxHORIZONTAL);
    format_ = new wxTextCtrl(this, kFormatId);
    format_->Disable();
    formatRow->Add(format_, 0, wxRIGHT, gap);
    formatRow->Add(new wxButton(this, kAdvancedId, "Advanced..."), 0);
    grid->Add(formatRow, 0);

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(grid, 1, wxEXPAND | wxALL, Margin());
    AddButtonRow(top, wxOK | wxCANCEL | wxHELP);
    FinishLayout(top);

    ContextHelp::SetId(this, kHelpId);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { ContextHelp::ShowTopic(ui_, kHelpId); }, wxID_HELP);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnChangeRegister(); }, kChangeId);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnAdvanced(); }, kAdvancedId);
    type_->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { OnTypeChanged(); });

    line = item.Line() + 1;
    column = item.Column() + 1;
    valueText = item.Text();
    format = item.Format();
    itemType = item.Type() == kReportItemValueText ? kReportItemValue : item.Type();
    registerId = item.RegisterId();
    entry = item.Entry();
    advanced_->referenceId = item.ReferenceId();
    advanced_->referenceEntry = item.ReferenceId() ? report.Dictionary().FindParamByRegisterId(item.ReferenceId()) : nullptr;
    advanced_->condition = item.Condition();
    advanced_->useReferenceOffset = item.UseReferenceOffset();
    EnableForType();
    UpdateSample(false);
}

CReportItemDlg::~CReportItemDlg() = default;

bool CReportItemDlg::TransferDataToWindow() {
    Load();
    return true;
}

void CReportItemDlg::Load() {
    line_->ChangeValue(std::to_string(line));
    column_->ChangeValue(std::to_string(column));
    type_->SetSelection(itemType);
    value_->ChangeValue(FromCodePage(valueText, report_.Charset()));
    register_->ChangeValue(wxString::FromUTF8(registerName));
    format_->ChangeValue(wxString::FromUTF8(format));
}

void CReportItemDlg::Save() {
    if (const auto n = ReadNumber(line_)) line = *n;
    if (const auto n = ReadNumber(column_)) column = *n;
    itemType = type_->GetSelection() < 0 ? 0 : type_->GetSelection();
    // Entry texts are kept in the report's character set; one it cannot hold was refused
    // before this.
    if (const auto bytes = ToCodePage(value_->GetValue(), report_.Charset()))
        valueText = bytes->substr(0, ReportItem::kTextSize - 1);
}

bool CReportItemDlg::TransferDataFromWindow() {
    struct Place {
        wxTextCtrl* box;
        int high;
        int* value;
    };
    int newLine = 0, newColumn = 0;
    for (const Place& p : {Place{line_, report_.GridLines(), &newLine}, Place{column_, report_.GridColumns(), &newColumn}}) {
        const auto n = ReadNumber(p.box);
        if (!n || *n < 1 || *n > p.high) {
            ui_.Message(RangeMessage(p.high), MB_OK | MB_ICONEXCLAMATION);
            p.box->SetFocus();
            p.box->SelectAll();
            return false;
        }
        *p.value = *n;
    }
    const ReportItem* there = report_.FindItemAt(newLine - 1, newColumn - 1);
    if (there && there != &item_) {
        ui_.Message("Already an item at that line/column -  choose another line or column", MB_OK | MB_ICONEXCLAMATION);
        line_->SetFocus();
        return false;
    }
    if (type_->GetSelection() == kReportItemUserText && !ToCodePage(value_->GetValue(), report_.Charset())) {
        ui_.Message(kCharsetRefused, MB_OK | MB_ICONEXCLAMATION);
        value_->SetFocus();
        return false;
    }
    Save();
    line = newLine;
    column = newColumn;

    const int checkedType =
        itemType == kReportItemValue && entry && !entry->HasOptionList() ? entry->dataType : CParam::kTypeText;
    if (const int code = ValidateReportFormat(checkedType, format)) {
        ui_.Message(std::string("Invalid Format String - ") + ReportFormatMessage(code), MB_OK | MB_ICONEXCLAMATION);
        FindWindow(kAdvancedId)->SetFocus();
        return false;
    }
    const ReportRestrictionInput input{entry, advanced_->referenceEntry, advanced_->condition,
                                       advanced_->useReferenceOffset};
    const ReportRestrictionResult result = ValidateReportRestrictions(input, report_.Dictionary());
    if (!result.Ok()) {
        ui_.Message(result.message, MB_OK | MB_ICONEXCLAMATION);
        FindWindow(kAdvancedId)->SetFocus();
        return false;
    }
    UpdateSample(false);
    return true;
}

void CReportItemDlg::EnableForType() {
    const bool userText = itemType == kReportItemUserText;
    value_->Enable(userText);
    register_->Enable(!userText);
    change_->Enable(!userText);
}

void CReportItemDlg::UpdateSample(bool resetFormat) {
    const ReportItemSample sample = MakeReportItemSample(itemType, entry, registerId, format, valueText, resetFormat);
    registerName = sample.registerName;
    format = sample.format;
    if (itemType != kReportItemUserText) valueText = sample.value;
}

void CReportItemDlg::OnTypeChanged() {
    Save();
    EnableForType();
    // A user text starts from what the box showed; the register types from their sample.
    UpdateSample(true);
    Load();
}

void CReportItemDlg::OnChangeRegister() {
    Save();
    const auto picked = choose_(this, entry);
    if (!picked || !picked->entry) return;
    entry = picked->entry;
    registerId = ReportRegisterIdFor(*picked->entry, picked->offset);
    UpdateSample(true);
    Load();
}

void CReportItemDlg::OnAdvanced() {
    Save();
    advanced_->itemType = itemType;
    advanced_->itemEntry = entry;
    advanced_->format = format;
    if (advanced_->ShowModal() == wxID_OK) {
        format = advanced_->format;
        UpdateSample(false);
        Load();
        return;
    }
    advanced_->format = item_.Format();
    advanced_->referenceId = item_.ReferenceId();
    advanced_->referenceEntry = item_.ReferenceId() ? report_.Dictionary().FindParamByRegisterId(item_.ReferenceId()) : nullptr;
    advanced_->condition = item_.Condition();
    advanced_->useReferenceOffset = item_.UseReferenceOffset();
}

void CReportItemDlg::ApplyTo(ReportItem& item) const {
    item.MoveTo(line - 1, column - 1);
    // A value of a register with an option list prints the option text it selects.
    item.SetType(itemType == kReportItemValue && entry && entry->HasOptionList() ? kReportItemValueText : itemType);
    if (itemType == kReportItemUserText) item.SetRegister(0, nullptr);
    else item.SetRegister(registerId, entry);
    item.SetFormat(format);
    item.SetText(valueText);
    item.SetReferenceId(advanced_->referenceId);
    item.SetCondition(advanced_->condition);
    item.SetUseReferenceOffset(advanced_->useReferenceOffset);
}

}  // namespace qs
