#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "RecordingUi.h"
#include "sidedocs/carddb/CDatabase.h"
#include "sidedocs/carddb/CardEditFlow.h"
#include "sidedocs/carddb/CardRecordForm.h"
#include "sidedocs/carddb/HidCardCode.h"

namespace qs::test {

namespace {

CardRecordForm Form(std::string key, std::string pin, std::string f1 = "", std::string f2 = "", std::string f3 = "") {
    CardRecordForm f;
    f.key = std::move(key);
    f.pin = std::move(pin);
    f.field1 = std::move(f1);
    f.field2 = std::move(f2);
    f.field3 = std::move(f3);
    return f;
}

}  // namespace

TEST(CardDbForm, ChecksInOrderAndComposesTheRecord) {
    struct Row {
        CardRecordForm form;
        std::optional<std::string> message;  // nullopt: accepted
        std::string record;
    };
    const std::string fifteen(15, '1');
    const std::vector<Row> rows = {
        {Form("ab12", "7"), std::nullopt, "AB12,,,,0007"},
        {Form("  ab12", " 42 ", "x", "y", "z"), std::nullopt, "AB12,x,y,z,0042"},
        {Form("   ", "1"), CardRecordForm::kEmptyKeyMessage, ""},
        {Form("", "1"), CardRecordForm::kEmptyKeyMessage, ""},
        {Form("12G4", "1"), CardRecordForm::kNotHexMessage, ""},
        {Form("12 4", "1"), CardRecordForm::kNotHexMessage, ""},
        // Five texts of 15 make 75: too long, whatever else is wrong; 74 pass.
        {Form(fifteen, fifteen, fifteen, fifteen, fifteen), CardRecordForm::kTooLongMessage, ""},
        {Form("G" + fifteen, "1", fifteen, fifteen, fifteen + fifteen.substr(2)), CardRecordForm::kTooLongMessage, ""},
        {Form(fifteen, "1234", fifteen, fifteen, fifteen.substr(1)), std::nullopt,
         fifteen + "," + fifteen + "," + fifteen + "," + fifteen.substr(1) + ",1234"},
        {Form("A", "10000"), CardRecordForm::kPinRangeMessage, ""},
        {Form("A", "-1"), CardRecordForm::kPinRangeMessage, ""},
        {Form("A", "7x"), CardRecordForm::kNotIntegerMessage, ""},
        {Form("A", ""), CardRecordForm::kNotIntegerMessage, ""},
        {Form("A", "9999"), std::nullopt, "A,,,,9999"},
        {Form("A", "0", "a,b"), CardRecordForm::kCommaMessage, ""},
        {Form("A", "0", "", "", "line\nbreak"), CardRecordForm::kCommaMessage, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.form.key + "|" + row.form.pin + "|" + row.form.field1);
        EXPECT_EQ(row.form.Check(), row.message);
        if (!row.message) {
            EXPECT_EQ(row.form.Compose(), row.record);
        }
    }
}

TEST(CardDbForm, ReadsARecordBackIntoTheForm) {
    const CardRecordForm f = CardRecordForm::FromRecord("AB12,one, two,three,0007");
    EXPECT_EQ(f.key, "AB12");
    EXPECT_EQ(f.field1, "one");
    EXPECT_EQ(f.field2, "two");
    EXPECT_EQ(f.field3, "three");
    EXPECT_EQ(f.pin, "7");
    EXPECT_EQ(CardRecordForm::FromRecord("").pin, "0");
    EXPECT_EQ(CardRecordForm::FromRecord("A,,,,12ab").pin, "12");
}

TEST(CardDbHid, ComposesWithTheParityMark) {
    struct Row {
        unsigned facility, card;
        const char* value;
    };
    for (const Row row : {Row{7, 0, "003070000"}, Row{3, 0, "002030000"}, Row{255, 0xF000, "002FFF000"},
                          Row{1, 0x1000, "002011000"}, Row{0, 0x0FFF, "002000FFF"}, Row{0, 0x8000, "003008000"}}) {
        HidCardCode code;
        code.facility = row.facility;
        code.card = row.card;
        code.extended = 4095;  // typed, and replaced
        code.FormatValue();
        EXPECT_EQ(code.value, row.value);
        HidCardCode back;
        back.value = row.value;
        back.ParseValue();
        EXPECT_EQ(back.facility, row.facility);
        EXPECT_EQ(back.card, row.card);
        EXPECT_EQ(back.extended, code.extended);
    }
}

TEST(CardDbHid, ShortAndOddKeysReadAsFarAsTheyGo) {
    struct Row {
        const char* value;
        unsigned facility, card;
    };
    for (const Row row : {Row{"AB12", 2, 0}, Row{"", 0, 0}, Row{"00207", 7, 0}, Row{"0020712", 7, 0x12},
                          Row{"002XY0010", 0, 0x10}, Row{"0020A12Z4", 0x0A, 0x12},
                          Row{"0020112345678901", 1, 0xFFFFFFFFu}}) {
        HidCardCode code;
        code.value = row.value;
        code.ParseValue();
        EXPECT_EQ(code.facility, row.facility) << row.value;
        EXPECT_EQ(code.card, row.card) << row.value;
    }
}

TEST(CardDbHid, DialogFieldsTakeNumbersInTheirRange) {
    struct Row {
        const char* text;
        unsigned max;
        std::optional<unsigned> value;
        const char* message;
    };
    for (const Row row : {Row{"255", 255, 255u, ""}, Row{" 7 ", 255, 7u, ""}, Row{"256", 255, std::nullopt,
                          "Please enter an integer between 0 and 255."},
                          Row{"-1", 4095, std::nullopt, HidCardCode::kNotNumberMessage},
                          Row{"", 65535, std::nullopt, HidCardCode::kNotNumberMessage},
                          Row{"99999999999", 65535, std::nullopt, HidCardCode::kNotNumberMessage},
                          Row{"65536", 65535, std::nullopt, "Please enter an integer between 0 and 65535."}}) {
        std::string message;
        EXPECT_EQ(HidCardCode::ReadField(row.text, row.max, message), row.value) << row.text;
        EXPECT_EQ(message, row.message) << row.text;
    }
}

TEST(CardDbEditFlow, NewAndEditedCardsGoToTheirSortedPlace) {
    RecordingUi ui;
    CDatabase db;
    db.AddRecord("0001,,,,0000");
    db.AddRecord("FF00,,,,0000");
    std::vector<CardRecordForm> shown;
    auto typing = [&](CardRecordForm typed) {
        return [&shown, typed](CardRecordForm& form) {
            shown.push_back(form);
            form = typed;
            return true;
        };
    };
    // The row after the last is a new card.
    EXPECT_TRUE(CardEditFlow::EditRecord(db, 2, typing(Form("ab12", "7")), ui.services));
    EXPECT_EQ(db.Records(), (std::vector<std::string>{"0001,,,,0000", "AB12,,,,0007", "FF00,,,,0000"}));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].key, "");
    EXPECT_EQ(shown[0].pin, "0");
    // An edit shows the card and moves it.
    EXPECT_TRUE(CardEditFlow::EditRecord(db, 1, typing(Form("0000", "12", "x")), ui.services));
    EXPECT_EQ(shown[1].key, "AB12");
    EXPECT_EQ(shown[1].pin, "7");
    EXPECT_EQ(db.Records(), (std::vector<std::string>{"0000,x,,,0012", "0001,,,,0000", "FF00,,,,0000"}));
    // Cancel changes nothing.
    EXPECT_FALSE(CardEditFlow::EditRecord(db, 0, [](CardRecordForm&) { return false; }, ui.services));
    EXPECT_EQ(db.Count(), 3);
    EXPECT_EQ(db.ByteTotal(), 40);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST(CardDbEditFlow, TheThousandAndFirstCardIsRefusedBeforeTheDialog) {
    RecordingUi ui;
    CDatabase db;
    int dialogs = 0;
    auto add = [&](CardRecordForm& form) {
        ++dialogs;
        form = Form(std::to_string(1000 + dialogs), "1");
        return true;
    };
    for (int i = 0; i < 999; ++i) db.AddRecord(std::to_string(i) + ",,,,0000");
    EXPECT_TRUE(CardEditFlow::EditRecord(db, 999, add, ui.services));
    EXPECT_EQ(db.Count(), 1000);
    EXPECT_FALSE(CardEditFlow::EditRecord(db, 1000, add, ui.services));
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{CardEditFlow::kMaximumCardsMessage});
    // An existing card of a full database can still be edited.
    EXPECT_TRUE(CardEditFlow::EditRecord(db, 5, add, ui.services));
    EXPECT_EQ(db.Count(), 1000);
}

TEST(CardDbEditFlow, StatusTexts) {
    EXPECT_EQ(CardEditFlow::CardText(0, 3), "Card 1 of 3");
    EXPECT_EQ(CardEditFlow::CardText(3, 3), "3 cards");
    EXPECT_EQ(CardEditFlow::CardText(-1, 0), "0 cards");
    EXPECT_EQ(CardEditFlow::SizeText(39), "Database size 39 bytes");
}

}  // namespace qs::test
