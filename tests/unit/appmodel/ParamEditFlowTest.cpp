// The edit of one program code: which editor, what it is asked to show, and what an offline
// document keeps afterwards.
#include "ParamEditFixture.h"

namespace qs::test {
namespace {

using Kind = ParamDialogKind;
using Outcome = ParamEditFlow::Outcome;

TEST(ParamEditDialogChoice, TheTableIsHeldAtItsBoundaries) {
    struct Case {
        int type, number;
        Kind kind;
    };
    const Case cases[] = {
        {1, 601, Kind::General},      {1, 602, Kind::AlarmBits},    {1, 681, Kind::AlarmBits},
        {1, 682, Kind::General},      {1, 811, Kind::General},      {1, 812, Kind::MeterBits},
        {1, 813, Kind::General},      {1, 815, Kind::MeterBits},    {1, 881, Kind::MeterBits},
        {1, 884, Kind::General},      {1, 97, Kind::General},       {1, 98, Kind::AdditiveBits},
        {1, 99, Kind::General},       {1, 734, Kind::General},      {1, 735, Kind::IpAddress},
        {1, 736, Kind::IpAddress},    {1, 737, Kind::IpAddress},    {1, 738, Kind::General},
        {1, 780, Kind::IpAddress},    {1, 781, Kind::General},      {5, 18, Kind::General},
        {5, 19, Kind::ProductBits},   {5, 20, Kind::General},       {5, 22, Kind::ProductBits},
        {5, 88, Kind::ProductBits},   {5, 91, Kind::General},       {0, 602, Kind::General},
        {0, 98, Kind::General},       {3, 735, Kind::General},      {5, 98, Kind::General},
        {1, 19, Kind::General},       {2, 812, Kind::General},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParamEditFlow::ChooseDialog(c.type, c.number), c.kind) << c.type << " " << c.number;
}

class ParamEditRequestTest : public ParamEditFixture {};

TEST_F(ParamEditRequestTest, CaptionHelpIdPromptAndValuesOfASystemCode) {
    const ParamEditTarget row = Row(CDirectory::kSystem, 1);
    ASSERT_NE(row.param, nullptr);
    row.param->SetValue("12.5", 0);
    row.param->SetLevel(2);
    const ParamEditRequest r = ParamEditFlow(*doc, ui.services).MakeRequest(row);
    EXPECT_EQ(r.kind, Kind::General);
    EXPECT_EQ(r.caption, "System 001 - Additive 1 Injection Volume");
    EXPECT_EQ(r.valueText, "12.5");
    EXPECT_EQ(r.displayText, "012.50");
    EXPECT_EQ(r.newValue, "012.50");
    EXPECT_EQ(r.helpText, "Volume of additive 1 per injection, in cc.");
    EXPECT_EQ(r.promptText, "(0.00 - 999.99)");
    EXPECT_EQ(r.helpId, 1 * 1000 + 1 + 10000);
    EXPECT_EQ(r.level, 2);
    EXPECT_EQ(r.newLevel, 2);
    EXPECT_FALSE(r.levelLocked);
    EXPECT_FALSE(r.valueFont);
    EXPECT_EQ(r.param, row.param);
}

TEST_F(ParamEditRequestTest, CaptionsOfRecipeMeterAndArmCodesAndTheFontOfTextCodes) {
    DocumentLinkFields f = doc->GetLinkFields();
    f.codePage = 2;
    doc->SetLinkFields(f);

    ParamEditFlow flow(*doc, ui.services);
    const ParamEditRequest recipe = flow.MakeRequest(Row(CDirectory::kRecipe, 2, 0, 0, 1));
    EXPECT_EQ(recipe.caption, "Recipe 02 - Recipe Name");
    EXPECT_EQ(recipe.helpId, 5 * 1000 + 2 + 10000);
    EXPECT_EQ(recipe.promptText, "Enter up to 16 characters of text");
    EXPECT_TRUE(recipe.valueFont);
    EXPECT_EQ(recipe.codePage, 2);

    const ParamEditRequest meter = flow.MakeRequest(Row(CDirectory::kMeter, 732, 1, 0));
    EXPECT_EQ(meter.caption, "Meter 2 732 - Daily Totals Time");
    EXPECT_EQ(meter.helpId, 3 * 1000 + 732 + 10000);
    EXPECT_TRUE(meter.valueFont);

    const ParamEditRequest arm = flow.MakeRequest(Row(CDirectory::kArm, 102, 2, 2));
    EXPECT_EQ(arm.caption, "Arm 3 102 - Maximum Preset");
    EXPECT_FALSE(arm.valueFont);

    const ParamEditRequest alarm = flow.MakeRequest(Row(CDirectory::kSystem, 602));
    EXPECT_EQ(alarm.kind, Kind::AlarmBits);
    EXPECT_EQ(alarm.caption, "System 602 - Power Failure Action");
    EXPECT_EQ(flow.MakeRequest(Row(CDirectory::kSystem, 735)).kind, Kind::IpAddress);
    EXPECT_EQ(flow.MakeRequest(Row(CDirectory::kRecipe, 19, 0, 0, 4)).kind, Kind::ProductBits);
}

TEST_F(ParamEditRequestTest, TheLevelIsSetOnlyAtTheFirstInstanceOfTheFirstArm) {
    struct Case {
        const char* what;
        ParamEditTarget row;
        bool locked;
    };
    const Case cases[] = {
        {"System 156", Row(CDirectory::kSystem, 156), true},
        {"System 157", Row(CDirectory::kSystem, 157), true},
        {"System 158", Row(CDirectory::kSystem, 158), true},
        {"System 155", Row(CDirectory::kSystem, 155), false},
        {"System 161", Row(CDirectory::kSystem, 161), false},
        {"Config 001", Row(CDirectory::kConfig, 1), false},
        {"Meter 1 on arm 1", Row(CDirectory::kMeter, 101, 0, 0), false},
        {"Meter 2 on arm 1", Row(CDirectory::kMeter, 101, 1, 0), true},
        {"Meter 1 on arm 2", Row(CDirectory::kMeter, 101, 0, 1), true},
        {"Product 1 on arm 1", Row(CDirectory::kProduct, 101, 0, 0), false},
        {"Product 3 on arm 1", Row(CDirectory::kProduct, 101, 2, 0), true},
        {"Arm 1", Row(CDirectory::kArm, 102, 0, 0), false},
        {"Arm 2", Row(CDirectory::kArm, 102, 1, 1), true},
        {"Recipe 01", Row(CDirectory::kRecipe, 2, 0, 0, 0), false},
        {"Recipe 02", Row(CDirectory::kRecipe, 2, 0, 0, 1), true},
        {"Recipe 50", Row(CDirectory::kRecipe, 2, 0, 0, 49), true},
    };
    ParamEditFlow flow(*doc, ui.services);
    for (const Case& c : cases) {
        ASSERT_NE(c.row.param, nullptr) << c.what;
        c.row.param->SetLevel(3);
        const ParamEditRequest r = flow.MakeRequest(c.row);
        EXPECT_EQ(r.levelLocked, c.locked) << c.what;
        EXPECT_EQ(r.newLevel, c.locked ? -1 : 3) << c.what;
    }
}

class ParamEditOffline : public ParamEditFixture {};

TEST_F(ParamEditOffline, ANumberIsStoredAsTheCodesFormatWritesIt) {
    const ParamEditTarget row = Row(CDirectory::kSystem, 1);
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(row, Ok("12,5", 2)), Outcome::Stored);
    EXPECT_EQ(row.param->Value(0), "012.50");
    EXPECT_EQ(row.param->Level(), 2);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(views.changes, 1);
    EXPECT_TRUE(device.hosts.empty()) << "an offline edit opens no link";
    ASSERT_EQ(shown.size(), 1u);
}

TEST_F(ParamEditOffline, OptionAndTextValuesAreStoredAsTheDialogGaveThem) {
    const ParamEditTarget option = Row(CDirectory::kSystem, 601);
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(option, Ok("1 De-energize on Alarm")), Outcome::Stored);
    EXPECT_EQ(option.param->Value(0), "1 De-energize on Alarm");

    const ParamEditTarget recipeName = Row(CDirectory::kRecipe, 2, 0, 0, 3);
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(recipeName, Ok("  Diesel 2 ")), Outcome::Stored);
    EXPECT_EQ(recipeName.param->Value(3), "  Diesel 2 ");
    EXPECT_EQ(recipeName.param->Value(0), "");
}

TEST_F(ParamEditOffline, AnotherInstanceOrArmGetsItsOwnValueAndNeverTheLevel) {
    // Meter 2 of arm 2: value index 1 + 1 x 6.
    const ParamEditTarget row = Row(CDirectory::kMeter, 103, 1, 1);
    row.param->SetLevel(1);
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(row, Ok("1.0025", 4)), Outcome::Stored);
    for (int v = 0; v < row.param->ValueCount(); ++v)
        EXPECT_EQ(row.param->Value(v).empty(), v != 7) << "value index " << v;
    EXPECT_EQ(row.param->Level(), 1);
}

TEST_F(ParamEditOffline, ALockedOrUnchosenLevelLeavesTheLevelAsItWas) {
    const ParamEditTarget lock = Row(CDirectory::kSystem, 156);
    lock.param->SetLevel(4);
    // Even a dialog that hands back a level for a locked code does not set it.
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(lock, Ok("1 Security Switch", 0)), Outcome::Stored);
    EXPECT_EQ(lock.param->Level(), 4);
    EXPECT_EQ(lock.param->Value(0), "1 Security Switch");

    const ParamEditTarget free = Row(CDirectory::kSystem, 1);
    free.param->SetLevel(3);
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(free, Ok("1", -1)), Outcome::Stored);
    EXPECT_EQ(free.param->Level(), 3);
}

TEST_F(ParamEditOffline, CancelAndReadOnlyCodesLeaveTheDocumentUnmodified) {
    const ParamEditTarget row = Row(CDirectory::kSystem, 1);
    row.param->SetValue("5", 0);
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(row, CancelDialog()), Outcome::Cancelled);
    EXPECT_EQ(row.param->Value(0), "5");
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(views.changes, 0);

    const ParamEditTarget serial = Row(CDirectory::kSystem, 101);
    ASSERT_TRUE(serial.param->IsReadOnly());
    shown.clear();
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(serial, Ok("1")), Outcome::ReadOnly);
    EXPECT_TRUE(shown.empty()) << "no dialog for a read-only code";
    EXPECT_EQ(ui.Messages(), (std::vector<std::string>{ParamEditFlow::kReadOnlyMessage}));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(views.changes, 0);

    // OK with the value it had changes nothing either.
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(row, Ok("5")), Outcome::Stored);
    EXPECT_EQ(row.param->Value(0), "005.00");
    EXPECT_TRUE(doc->IsModified()) << "normalised text is a change";
    doc->SetModified(false);
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(row, Ok("5.00")), Outcome::Stored);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(ParamEditOffline, AValueThatWouldBreakAFrameIsNotTaken) {
    const ParamEditTarget row = Row(CDirectory::kRecipe, 2, 0, 0, 0);
    row.param->SetValue("Gas", 0);
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(row, Ok("Ga\rs")), Outcome::Refused);
    EXPECT_EQ(row.param->Value(0), "Gas");
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(ui.LastMessage(), "The value cannot contain control characters.");
}

TEST_F(ParamEditOffline, RowsOfAnotherDocumentOrSubdirectoryAreNotEdited) {
    CVexa3Doc other(ports, BuiltDictionary());
    CDirectory* otherSystem = other.FindDirectory(CDirectory::kSystem);
    CSubdirectory* holder = nullptr;
    CParam* foreign = otherSystem->FindParam(1, &holder);
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit({holder, foreign, 0}, Ok("1")), Outcome::NotEditable);

    ParamEditTarget misplaced = Row(CDirectory::kSystem, 1);
    misplaced.subdirectory = Dir(CDirectory::kSystem)->Subdirectory(1);
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(misplaced, Ok("1")), Outcome::NotEditable);
    ParamEditTarget badArm = Row(CDirectory::kSystem, 1);
    badArm.arm = 6;
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(badArm, Ok("1")), Outcome::NotEditable);
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit({}, Ok("1")), Outcome::NotEditable);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(foreign->Value(0), "");
}

class ParamListRowsTest : public ParamEditFixture {};

TEST_F(ParamListRowsTest, AnArmBeyondTheDocumentsActiveArmsListsOnlyItsEnableCodes) {
    ASSERT_TRUE(doc->SetParamValue(CDirectory::kConfig, 1, 0, 2));
    ASSERT_TRUE(doc->ApplyConfiguration());
    ASSERT_EQ(doc->ActiveArmCount(), 2);

    CDirectory* arm2 = Dir(CDirectory::kArm, 1);
    CDirectory* arm3 = Dir(CDirectory::kArm, 2);
    const auto active = ParamEditFlow::ListedCodes(*arm2->Subdirectory(1), 1, doc->ActiveArmCount());
    EXPECT_EQ(static_cast<int>(active.size()), arm2->Subdirectory(1)->ParamCount());

    const auto beyond = ParamEditFlow::ListedCodes(*arm3->Subdirectory(1), 2, doc->ActiveArmCount());
    ASSERT_EQ(beyond.size(), 2u);
    EXPECT_EQ(beyond[0]->number, 107);
    EXPECT_EQ(beyond[1]->number, 108);
    EXPECT_TRUE(ParamEditFlow::ListedCodes(*arm3->Subdirectory(2), 2, doc->ActiveArmCount()).empty());
    // A document with no active arms (an operator panel) lists everything.
    EXPECT_EQ(ParamEditFlow::ListedCodes(*arm3->Subdirectory(2), 2, 0).size(),
              static_cast<size_t>(arm3->Subdirectory(2)->ParamCount()));

    // Only what is listed is edited.
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(Row(CDirectory::kArm, 102, 2, 2), Ok("100")), Outcome::NotEditable);
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(Row(CDirectory::kArm, 107, 2, 2), Ok("Lane 3")), Outcome::Stored);
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(Row(CDirectory::kArm, 102, 1, 1), Ok("100")), Outcome::Stored);
}

}  // namespace
}  // namespace qs::test
