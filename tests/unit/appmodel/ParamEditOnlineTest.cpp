// Online edits over a scripted link: the commands sent, the device's echo kept, the state the
// replies leave, and every box the user sees.
#include <functional>

#include "ParamEditFixture.h"

namespace qs::test {
namespace {

using Outcome = ParamEditFlow::Outcome;

class ParamEditOnline : public ParamEditFixture {};

TEST_F(ParamEditOnline, TheDevicesEchoIsKeptAndAReadOnlyLinkBecomesOnline) {
    GoOnline();
    doc->SetState(CVexa3Doc::kStateReadOnly);
    views.states.clear();
    const ParamEditTarget row = Row(CDirectory::kSystem, 1);
    row.param->SetValue("5.00", 0);
    // The device keeps its own form of the number.
    device.Reply("PC SY 001 12.5");
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(row, Ok("12,5")), Outcome::Written);
    EXPECT_EQ(Sent(), (std::vector<std::string>{"PC SY 001 012.50"}));
    EXPECT_EQ(row.param->Value(0), "12.5");
    EXPECT_EQ(doc->State(), CVexa3Doc::kStateOnline);
    EXPECT_EQ(views.states, (std::vector<int>{CVexa3Doc::kStateOnline}));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
}

TEST_F(ParamEditOnline, AReplyWithoutTheValueKeepsTheValueThatWasSent) {
    GoOnline();
    const ParamEditTarget row = Row(CDirectory::kSystem, 1);
    device.Reply("PC SY 001");
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(row, Ok("7,25")), Outcome::Written);
    EXPECT_EQ(row.param->Value(0), "007.25");

    const ParamEditTarget option = Row(CDirectory::kSystem, 601);
    device.Reply("PC SY 601");
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(option, Ok("1 De-energize on Alarm")), Outcome::Written);
    EXPECT_EQ(Sent().back(), "PC SY 601 1");
    EXPECT_EQ(option.param->Value(0), "1 De-energize on Alarm");

    // An echo with a control character in it is not kept either.
    const ParamEditTarget name = Row(CDirectory::kRecipe, 2, 0, 0, 0);
    device.Reply(std::string("PC 01 002 Ga\x01s"));
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(name, Ok("Gas")), Outcome::Written);
    EXPECT_EQ(name.param->Value(0), "Gas");
}

TEST_F(ParamEditOnline, TheWriteGoesToTheSelectedArmsAddressWithTheInstancesMnemonic) {
    doc->SetArmAddress(2, 33);
    GoOnline();
    const ParamEditTarget meter = Row(CDirectory::kMeter, 732, 1, 2);
    device.Reply("PC M2 732 07:05A", 33);
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(meter, Ok("07:05A")), Outcome::Written);
    EXPECT_EQ(Sent(), (std::vector<std::string>{"PC M2 732 07:05A"}));
    EXPECT_EQ(SentTo(), (std::vector<int>{33}));
    EXPECT_EQ(meter.param->Value(1 + 2 * 6), "07:05A");

    // The next single command of the document goes to the base address again.
    device.Reply("PV SY 111 0");
    ASSERT_TRUE(doc->SendCommand("PV SY 111"));
    EXPECT_EQ(SentTo().back(), 1);

    const ParamEditTarget recipe = Row(CDirectory::kRecipe, 2, 0, 0, 11);
    device.Reply("PC 12 002 Premium");
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(recipe, Ok("Premium")), Outcome::Written);
    EXPECT_EQ(Sent().back(), "PC 12 002 Premium");
    EXPECT_EQ(SentTo().back(), 1);
}

TEST_F(ParamEditOnline, ValueOutOfRangeRestoresTheValueAndKeepsTheLink) {
    GoOnline();
    const ParamEditTarget row = Row(CDirectory::kSystem, 1);
    row.param->SetValue("5.00", 0);
    row.param->SetLevel(1);
    device.Reply("NO03");
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(row, Ok("999", 3)), Outcome::Rejected);
    EXPECT_EQ(Sent(), (std::vector<std::string>{"PC SY 001 999.00"})) << "no level after a refused value";
    EXPECT_EQ(row.param->Value(0), "5.00");
    EXPECT_EQ(row.param->Level(), 1);
    EXPECT_EQ(doc->State(), CVexa3Doc::kStateOnline);
    EXPECT_TRUE(views.states.empty());
    EXPECT_FALSE(doc->IsModified());
    ASSERT_EQ(ui.prompt.shown.size(), 1u);
    EXPECT_EQ(ui.prompt.shown[0].text,
              "Unable to set System 001 Additive 1 Injection Volume to 999.00 \n - Value out of Range");
    EXPECT_EQ(ui.prompt.shown[0].type & MB_TYPEMASK, MB_OKCANCEL);
}

TEST_F(ParamEditOnline, AnyOtherRejectionLeavesTheDocumentReadOnly) {
    GoOnline();
    const ParamEditTarget row = Row(CDirectory::kMeter, 103, 0, 1);
    row.param->SetValue("1.000", 6);
    device.Reply("NO24", 2);
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(row, Ok("1,25")), Outcome::Rejected);
    EXPECT_EQ(row.param->Value(6), "1.000");
    EXPECT_EQ(doc->State(), CVexa3Doc::kStateReadOnly);
    EXPECT_EQ(views.states, (std::vector<int>{CVexa3Doc::kStateReadOnly}));
    EXPECT_EQ(ui.LastMessage(), "Unable to set Arm 2 Meter 1 103 K-Factor to 1.250 \n - Must be in Program Mode");

    // Arm codes carry no arm prefix: the instance name says the arm.
    const ParamEditTarget arm = Row(CDirectory::kArm, 102, 1, 1);
    device.Reply("NO24", 2);
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(arm, Ok("500")), Outcome::Rejected);
    EXPECT_EQ(ui.LastMessage(), "Unable to set Arm 2 102 Maximum Preset to 500 \n - Must be in Program Mode");
}

TEST_F(ParamEditOnline, AFailedReplyRestoresTheValueAndIsReportedWithoutPrefix) {
    GoOnline();
    const ParamEditTarget row = Row(CDirectory::kSystem, 1);
    row.param->SetValue("5.00", 0);
    device.Silence();
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(row, Ok("6")), Outcome::Failed);
    EXPECT_EQ(row.param->Value(0), "5.00");
    EXPECT_EQ(doc->State(), CVexa3Doc::kStateOffline) << "the link failed, the device did not refuse";
    EXPECT_FALSE(doc->IsModified());
    ASSERT_EQ(ui.prompt.shown.size(), 1u);
    EXPECT_EQ(ui.LastMessage().find("Unable to set"), std::string::npos) << ui.LastMessage();
    EXPECT_NE(ui.LastMessage().find("Timeout waiting for response"), std::string::npos) << ui.LastMessage();
}

TEST_F(ParamEditOnline, TheLevelIsSentOnlyWhenChosenAndChanged) {
    GoOnline();
    const ParamEditTarget row = Row(CDirectory::kSystem, 1);
    row.param->SetLevel(2);

    device.Reply("PC SY 001 001.00");
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(row, Ok("1", 2)), Outcome::Written);
    device.Reply("PC SY 001 002.00");
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(row, Ok("2", -1)), Outcome::Written);
    EXPECT_EQ(Sent(), (std::vector<std::string>{"PC SY 001 001.00", "PC SY 001 002.00"}));
    EXPECT_EQ(row.param->Level(), 2);

    device.Reply("PC SY 001 003.00");
    device.Reply("XC SY 001 5");
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(row, Ok("3", 4)), Outcome::Written);
    EXPECT_EQ(Sent().back(), "XC SY 001 5");
    EXPECT_EQ(row.param->Level(), 4);
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();

    // Locked codes never send one, whatever the dialog says.
    const ParamEditTarget lock = Row(CDirectory::kSystem, 156);
    lock.param->SetLevel(4);
    device.Reply("PC SY 156 1");
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(lock, Ok("1 Security Switch", 0)), Outcome::Written);
    EXPECT_EQ(Sent().back(), "PC SY 156 1");
    EXPECT_EQ(lock.param->Level(), 4);
}

TEST_F(ParamEditOnline, ARefusedLevelKeepsTheOldOneAndSaysSo) {
    GoOnline();
    const ParamEditTarget row = Row(CDirectory::kRecipe, 20, 0, 0, 0);
    row.param->SetLevel(1);
    device.Reply("PC 01 020 1.5");
    device.Reply("NO93");
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(row, Ok("1.5", 0)), Outcome::Written);
    EXPECT_EQ(Sent(), (std::vector<std::string>{"PC 01 020 1.50", "XC 01 020 1"}));
    EXPECT_EQ(row.param->Value(0), "1.5");
    EXPECT_EQ(row.param->Level(), 1);
    EXPECT_EQ(ui.LastMessage(), "Unable to set security level 1 for Recipe 20 Additive 1 Rate\n - Data Recall Failure");
    EXPECT_EQ(doc->State(), CVexa3Doc::kStateOnline);

    // A level that gets no answer at all is the link failing.
    device.Reply("PC 01 020 1.5");
    device.Silence();
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(row, Ok("1.5", 0)), Outcome::Written);
    EXPECT_EQ(row.param->Level(), 1);
    EXPECT_EQ(doc->State(), CVexa3Doc::kStateOffline);
}

TEST_F(ParamEditOnline, ConfirmWritesAsksFirstAndCancelSendsAndStoresNothing) {
    options.ConfirmWrites = true;
    GoOnline();
    const ParamEditTarget row = Row(CDirectory::kSystem, 1);
    row.param->SetValue("5.00", 0);
    ui.prompt.Answer(IDCANCEL);
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(row, Ok("6", 3)), Outcome::Cancelled);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(row.param->Value(0), "5.00");
    EXPECT_FALSE(doc->IsModified());
    ASSERT_EQ(ui.prompt.shown.size(), 1u);
    EXPECT_EQ(ui.prompt.shown[0].text, "You are currently online; are you sure you want to modify the device?");
    EXPECT_EQ(ui.prompt.shown[0].type & MB_TYPEMASK, MB_OKCANCEL);

    ui.prompt.Answer(IDOK);
    device.Reply("PC SY 001 006.00");
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(row, Ok("6")), Outcome::Written);
    EXPECT_EQ(Sent(), (std::vector<std::string>{"PC SY 001 006.00"}));

    // Without the option nothing is asked.
    options.ConfirmWrites = false;
    device.Reply("PC SY 001 007.00");
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(row, Ok("7")), Outcome::Written);
    EXPECT_EQ(ui.prompt.shown.size(), 2u);
}

TEST_F(ParamEditOnline, WithoutALinkItConnectsFirst) {
    // The document still says online, but its link was let go (the settings changed under it)
    // or the device has closed the connection.
    const std::vector<std::pair<const char*, std::function<void()>>> losses = {
        {"let go", [&] { doc->ReleaseProtocol(); }},
        {"closed by the device", [&] { device.stream->SetState(kStateClosed); }},
    };
    for (const auto& [how, lose] : losses) {
        SCOPED_TRACE(how);
        doc->SetState(CVexa3Doc::kStateOffline);
        GoOnline();
        const size_t links = device.hosts.size();
        lose();
        doc->SetState(CVexa3Doc::kStateOnline);
        device.Reply("PV SY 111 0");
        device.Reply("PC SY 001 004.00");
        const ParamEditTarget row = Row(CDirectory::kSystem, 1);
        EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(row, Ok("4")), Outcome::Written);
        EXPECT_EQ(device.Commands(), (std::vector<std::string>{"PV SY 111", "PC SY 001 004.00"}));
        EXPECT_EQ(row.param->Value(0), "004.00");
        EXPECT_EQ(device.hosts.size(), links + 1) << "a new link was made";
        EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
    }
}

TEST_F(ParamEditOnline, ADeviceThatDoesNotAnswerTheConnectionChangesNothing) {
    GoOnline();
    doc->ReleaseProtocol();
    doc->SetState(CVexa3Doc::kStateOnline);
    device.Silence();
    const ParamEditTarget row = Row(CDirectory::kSystem, 1);
    row.param->SetValue("5.00", 0);
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(row, Ok("4", 3)), Outcome::NotResponding);
    EXPECT_EQ(device.Commands(), (std::vector<std::string>{"PV SY 111"}));
    EXPECT_EQ(row.param->Value(0), "5.00");
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(ui.LastMessage(), "Duravane.NET not responding");

    // No port at all: the same, and nothing is opened.
    doc->SetPortIndex(CVexa3Doc::kPortNone);
    doc->SetState(CVexa3Doc::kStateOnline);
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(row, Ok("4")), Outcome::NotResponding);
    EXPECT_EQ(row.param->Value(0), "5.00");
}

TEST_F(ParamEditOnline, ReadOnlyCodesAreNotSent) {
    GoOnline();
    EXPECT_EQ(ParamEditFlow(*doc, ui.services).Edit(Row(CDirectory::kSystem, 102), Ok("01/02/25")), Outcome::ReadOnly);
    EXPECT_TRUE(Sent().empty());
    EXPECT_FALSE(doc->IsModified());
}

}  // namespace
}  // namespace qs::test
