#include <gtest/gtest.h>

#include <wx/button.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

#include "RecordingUi.h"
#include "app/sidedocs/carddb/CDatabaseEditDlg.h"
#include "app/sidedocs/carddb/CHIDFormatDlg.h"

namespace qs::test {

namespace {

using Texts = std::vector<std::string>;

void Click(wxWindow* button) {
    wxCommandEvent event(wxEVT_BUTTON, button->GetId());
    event.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(event);
}

void Type(wxTextCtrl* field, const wxString& text) {
    field->SetValue(text);
    field->MarkDirty();
}

}  // namespace

TEST(CardDbEditDlg, OkChecksTheLengthFirstThenTheKeyAndThePin) {
    RecordingUi ui;
    struct Row {
        const char* key;
        const char* pin;
        std::string field1;
        const char* message;  // "" when accepted
    };
    const std::string long57(57, 'x');
    const std::vector<Row> rows = {
        {"ab12", "7", "", ""},
        {"12G4", "7", "", "Must be a valid hexadecimal string (characters 0-9, a-f only)"},
        {"AB", "10000", "", "Please enter an integer between 0 and 9999."},
        // key 4 + PIN 1 + 57 + 13: 75 together, refused before the bad key is looked at.
        {"G234", "7", long57 + "123456789abcd", CardRecordForm::kTooLongMessage},
        {"1234", "7", long57 + "123456789abc", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.key);
        ui.prompt.shown.clear();
        CardRecordForm form = CardRecordForm::FromRecord("");
        CDatabaseEditDlg dialog(nullptr, form, wxFont(), ui.services);
        dialog.TransferDataToWindow();
        dialog.Show();
        Type(dialog.KeyField(), row.key);
        Type(dialog.PinField(), row.pin);
        Type(dialog.Field(1), wxString::FromUTF8(row.field1));
        Click(dialog.FindWindow(wxID_OK));
        if (*row.message == '\0') {
            EXPECT_TRUE(ui.Messages().empty()) << ui.LastMessage();
            EXPECT_FALSE(dialog.IsShown());
            EXPECT_EQ(form.key, row.key);
            EXPECT_EQ(form.pin, row.pin);
        } else {
            EXPECT_EQ(ui.Messages(), Texts{row.message});
            EXPECT_TRUE(dialog.IsShown());
            EXPECT_EQ(form.key, "");
        }
        dialog.Hide();
    }
}

TEST(CardDbEditDlg, HidButtonComposesTheKey) {
    RecordingUi ui;
    CardRecordForm form = CardRecordForm::FromRecord("AB,x,,,0003");
    CDatabaseEditDlg dialog(nullptr, form, wxFont(), ui.services);
    dialog.TransferDataToWindow();
    EXPECT_EQ(dialog.KeyField()->GetValue(), "AB");
    EXPECT_EQ(dialog.Field(1)->GetValue(), "x");
    std::vector<std::string> offered;
    dialog.SetHidRunner([&](HidCardCode& code) {
        offered.push_back(code.value);
        code.facility = 7;
        code.card = 0;
        code.FormatValue();
        return true;
    });
    Type(dialog.KeyField(), "");
    Click(dialog.HidButton());
    EXPECT_EQ(dialog.KeyField()->GetValue(), "003070000");
    Click(dialog.HidButton());
    EXPECT_EQ(offered, (Texts{"002070000", "003070000"}));
    EXPECT_EQ(form.key, "003070000");
}

TEST(CardDbHidDlg, ShowsTheValueReadAndComposesOnOk) {
    RecordingUi ui;
    struct Row {
        const char* value;
        const char* facility;
        const char* card;
        const char* result;   // "" when refused
        const char* message;
    };
    for (const Row row : {Row{"002070000", "7", "0", "003070000", ""}, Row{"", "255", "61440", "002FFF000", ""},
                          Row{"002070000", "256", "0", "", "Please enter an integer between 0 and 255."}}) {
        SCOPED_TRACE(std::string(row.facility) + "/" + row.card);
        ui.prompt.shown.clear();
        HidCardCode code;
        code.value = row.value;
        CHIDFormatDlg dialog(nullptr, code, ui.services);
        dialog.TransferDataToWindow();
        if (std::string(row.value) == "002070000") {
            EXPECT_EQ(dialog.ExtendedField()->GetValue(), "3");
            EXPECT_EQ(dialog.FacilityField()->GetValue(), "7");
            EXPECT_EQ(dialog.CardField()->GetValue(), "0");
            EXPECT_TRUE(dialog.Standard26()->GetValue());
        }
        Type(dialog.ExtendedField(), "4095");
        Type(dialog.FacilityField(), row.facility);
        Type(dialog.CardField(), row.card);
        dialog.Format37()->SetValue(true);
        const bool ok = dialog.TransferDataFromWindow();
        if (*row.result) {
            EXPECT_TRUE(ok);
            EXPECT_EQ(code.value, row.result);
            EXPECT_EQ(code.format, HidCardCode::k37Bit);
        } else {
            EXPECT_FALSE(ok);
            EXPECT_EQ(ui.Messages(), Texts{row.message});
            EXPECT_EQ(code.value, row.value);
        }
    }
}

}  // namespace qs::test
