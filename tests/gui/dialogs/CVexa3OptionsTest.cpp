#include "app/programdata/CVexa3Options.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/textctrl.h>

#include "DialogDriving.h"
#include "RecordingUi.h"
#include "TempDir.h"
#include "app/common/CCommDlg.h"

namespace qs::test {

namespace {

DocumentLinkFields ComFields(int port) {
    DocumentLinkFields f;
    f.description = "Rack 4 north";
    f.model = 7;
    f.port = port;
    f.protocol = 1;
    f.baseAddress = 12;
    f.armAddresses = {13, 14, 15, 16, 17};
    f.codePage = 0;
    f.ipv4 = 0xC0A80001;
    return f;
}

class CVexa3OptionsTest : public ::testing::Test {
protected:
    RecordingUi ui;
    TempDir dir;
    IniProfile Profile() { return IniProfile(dir.File("QS3X.INI")); }
};

}  // namespace

TEST_F(CVexa3OptionsTest, ChoosingTcpIpSwapsSerialSettingsForTheIpAddress) {
    CVexa3Options dialog(nullptr, ComFields(3), Profile(), ui.services);
    ASSERT_TRUE(dialog.TransferDataToWindow());
    EXPECT_EQ(dialog.PortList()->GetStringSelection(), "Com 3");
    EXPECT_TRUE(dialog.CommSettingsButton()->IsEnabled());
    EXPECT_FALSE(dialog.IpAddressField()->IsEnabled());

    Choose(dialog.PortList(), 0);
    EXPECT_EQ(dialog.PortList()->GetStringSelection(), "TCP/IP");
    EXPECT_FALSE(dialog.CommSettingsButton()->IsEnabled());
    EXPECT_TRUE(dialog.IpAddressField()->IsEnabled());
    EXPECT_TRUE(dialog.ProtocolList()->IsEnabled());

    Choose(dialog.PortList(), 99);
    EXPECT_EQ(dialog.PortList()->GetStringSelection(), "Com 99");
    EXPECT_TRUE(dialog.CommSettingsButton()->IsEnabled());
    EXPECT_FALSE(dialog.IpAddressField()->IsEnabled());
    EXPECT_TRUE(dialog.ProtocolList()->IsEnabled());
}

TEST_F(CVexa3OptionsTest, ADocumentOnTcpIpOpensWithTheAddressFieldEnabled) {
    DocumentLinkFields fields = ComFields(0);
    fields.ipv4 = 0x7F000102;
    CVexa3Options dialog(nullptr, fields, Profile(), ui.services);
    ASSERT_TRUE(dialog.TransferDataToWindow());
    EXPECT_EQ(dialog.IpAddressField()->GetValue(), "127.0.1.2");
    EXPECT_TRUE(dialog.IpAddressField()->IsEnabled());
    EXPECT_FALSE(dialog.CommSettingsButton()->IsEnabled());
}

// Which texts are refused, and with which words, is the options model's to test; here a refusal
// is said and keeps the dialog open, and what is then taken lands in the fields.
TEST_F(CVexa3OptionsTest, ARefusedAddressIsSaidAndTheDialogStaysOpen) {
    CVexa3Options dialog(nullptr, ComFields(2), Profile(), ui.services);
    dialog.Show();
    Type(dialog.BaseAddressField(), "0");
    ClickOk(dialog);
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Base (Arm 1) address cannot be 0"});
    EXPECT_TRUE(dialog.IsShown());

    Type(dialog.BaseAddressField(), "99");
    Type(dialog.ArmAddressField(4), "100");
    ClickOk(dialog);
    EXPECT_EQ(ui.LastMessage(), "Please enter an integer between 0 and 99.");
    EXPECT_TRUE(dialog.IsShown());

    Type(dialog.ArmAddressField(4), "98");
    ClickOk(dialog);
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_EQ(ui.prompt.shown.size(), 2u);
    EXPECT_EQ(dialog.Fields().baseAddress, 99);
    EXPECT_EQ(dialog.Fields().armAddresses, (std::array<int, 5>{13, 14, 98, 16, 17}));
}

TEST_F(CVexa3OptionsTest, ArmAddressZeroAsksAndCancelKeepsTheDialogOpen) {
    CVexa3Options dialog(nullptr, ComFields(2), Profile(), ui.services);
    dialog.Show();
    Type(dialog.ArmAddressField(6), "0");
    ui.prompt.Answer(IDCANCEL);
    ClickOk(dialog);
    ASSERT_EQ(ui.prompt.shown.size(), 1u);
    EXPECT_EQ(ui.prompt.shown[0].type & MB_TYPEMASK, MB_OKCANCEL);
    EXPECT_EQ(ui.prompt.shown[0].text,
              "An address of 0 for an arm will prevent Quillset from reading/writing that arm's data.\n"
              "Press OK to accept, press <Cancel> to change the address to a valid entry (1-99)");
    EXPECT_TRUE(dialog.IsShown());
    EXPECT_EQ(dialog.Fields().armAddresses[4], 17) << "nothing taken while the dialog stays open";

    ui.prompt.Answer(IDOK);
    ClickOk(dialog);
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_EQ(dialog.Fields().armAddresses[4], 0);
}

TEST_F(CVexa3OptionsTest, IpAddressIsCheckedOnlyWhenTcpIpIsChosen) {
    CVexa3Options dialog(nullptr, ComFields(5), Profile(), ui.services);
    dialog.Show();
    // Disabled on a COM port: whatever it holds, the address stays as it was.
    dialog.IpAddressField()->ChangeValue("not an address");
    ClickOk(dialog);
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_TRUE(ui.prompt.shown.empty());
    EXPECT_EQ(dialog.Fields().ipv4, 0xC0A80001u);
    EXPECT_EQ(dialog.Fields().port, 5);

    dialog.Show();
    Choose(dialog.PortList(), 0);
    Type(dialog.IpAddressField(), "10.300.0.1");
    ClickOk(dialog);
    EXPECT_EQ(ui.LastMessage(), DocumentOptionsModel::kBadIpMessage);
    EXPECT_TRUE(dialog.IsShown());

    Type(dialog.IpAddressField(), "127.0.0.42");
    ClickOk(dialog);
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_EQ(dialog.Fields().port, 0);
    EXPECT_EQ(dialog.Fields().ipv4, 0x7F00002Au);
}

TEST_F(CVexa3OptionsTest, FieldsComeBackAsTheyWereAndListsWithoutARowGiveMinusOne) {
    DocumentLinkFields fields = ComFields(42);
    fields.protocol = 0;
    fields.codePage = 3;
    CVexa3Options dialog(nullptr, fields, Profile(), ui.services);
    dialog.Show();
    EXPECT_EQ(dialog.ModelList()->GetStringSelection(), "DX-IIIX: 6-Arm 6-Meter Blender");
    EXPECT_EQ(dialog.ProtocolList()->GetStringSelection(), "Terminal    (CR/LF)");
    EXPECT_EQ(dialog.CodePageList()->GetStringSelection(), "East European (1250)");
    EXPECT_EQ(dialog.DescriptionField()->GetValue(), "Rack 4 north");
    ClickOk(dialog);
    EXPECT_EQ(dialog.Fields(), fields);

    // An operator panel (device kind 8) has no row in the model list, nor a document
    // without a port in the port list: nothing is selected and nothing indexes past a list.
    fields.model = 8;
    fields.port = -1;
    fields.codePage = 9;
    CVexa3Options other(nullptr, fields, Profile(), ui.services);
    other.Show();
    EXPECT_EQ(other.ModelList()->GetSelection(), wxNOT_FOUND);
    EXPECT_EQ(other.PortList()->GetSelection(), wxNOT_FOUND);
    EXPECT_EQ(other.CodePageList()->GetSelection(), wxNOT_FOUND);
    EXPECT_FALSE(other.CommSettingsButton()->IsEnabled());
    EXPECT_FALSE(other.IpAddressField()->IsEnabled());
    ClickOk(other);
    EXPECT_FALSE(other.IsShown());
    EXPECT_EQ(other.Fields().model, -1);
    EXPECT_EQ(other.Fields().port, -1);
    EXPECT_EQ(other.Fields().codePage, -1);
}

TEST_F(CVexa3OptionsTest, SerialSettingsOfTheChosenPortAreEditedAndStored) {
    dir.Write("QS3X.INI", "; bench\n[Comm]\nCOM4=19200,E,7,1\n");
    CVexa3Options dialog(nullptr, ComFields(2), Profile(), ui.services);
    std::string shownPort;
    wxString shownBaud, shownFormat;
    bool choose = true;
    dialog.runCommDialog = [&](wxWindow* parent, const std::string& portName, SerialSettings& settings) {
        shownPort = portName;
        CCommDlg comm(portName, &settings, parent);
        comm.TransferDataToWindow();
        shownBaud = comm.BaudList()->GetStringSelection();
        shownFormat = comm.FormatList()->GetStringSelection();
        if (!choose) return false;
        Choose(comm.BaudList(), 4);     // 9600
        Choose(comm.FormatList(), 6);   // 8 bits, no parity, 2 stop bits
        return comm.TransferDataFromWindow();
    };
    dialog.Show();
    Choose(dialog.PortList(), 4);

    choose = false;
    Click(dialog.CommSettingsButton());
    EXPECT_EQ(shownPort, "COM4");
    EXPECT_EQ(shownBaud, "19200");
    EXPECT_EQ(shownFormat, "7 Bits Even");
    EXPECT_FALSE(dialog.SettingsChanged());
    EXPECT_EQ(dir.Read("QS3X.INI"), "; bench\n[Comm]\nCOM4=19200,E,7,1\n");

    choose = true;
    Click(dialog.CommSettingsButton());
    EXPECT_TRUE(dialog.SettingsChanged());
    EXPECT_EQ(dir.Read("QS3X.INI"), "; bench\n[Comm]\nCOM4=9600,N,8,2\n");

    // A port without stored settings starts from the default text.
    Choose(dialog.PortList(), 7);
    choose = false;
    Click(dialog.CommSettingsButton());
    EXPECT_EQ(shownPort, "COM7");
    EXPECT_EQ(shownBaud, "38400");
    EXPECT_EQ(shownFormat, "8 Bits None");
    EXPECT_TRUE(ui.prompt.shown.empty());
}

TEST_F(CVexa3OptionsTest, DescriptionIsKeptInTheDocumentsCodePage) {
    DocumentLinkFields fields = ComFields(1);
    fields.codePage = 2;                    // Cyrillic (1251)
    fields.description = "\xcf\xf0\xe8\xe2\xee\xe4";  // "Привод" in 1251
    CVexa3Options dialog(nullptr, fields, Profile(), ui.services);
    dialog.Show();
    EXPECT_EQ(dialog.DescriptionField()->GetValue(), wxString::FromUTF8("Привод"));
    Type(dialog.DescriptionField(), wxString::FromUTF8("Насос"));
    ClickOk(dialog);
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_EQ(dialog.Fields().description, "\xcd\xe0\xf1\xee\xf1");

    // Text the chosen code page cannot hold is refused rather than stored with substitutes.
    fields.codePage = 0;
    fields.description = "Bay 1";
    CVexa3Options latin(nullptr, fields, Profile(), ui.services);
    latin.Show();
    Type(latin.DescriptionField(), wxString::FromUTF8("Насос"));
    ClickOk(latin);
    EXPECT_TRUE(latin.IsShown());
    EXPECT_EQ(ui.LastMessage(), CVexa3Options::kDescriptionNotConvertibleMessage);
    Choose(latin.CodePageList(), 1);  // 866 holds it
    ClickOk(latin);
    EXPECT_FALSE(latin.IsShown());
    EXPECT_EQ(latin.Fields().description, "\x8d\xa0\xe1\xae\xe1");
    EXPECT_EQ(latin.Fields().codePage, 1);

    // Bytes the page leaves undefined survive when the description is not edited.
    fields.description = "A\x81Z";
    CVexa3Options untouched(nullptr, fields, Profile(), ui.services);
    untouched.Show();
    ClickOk(untouched);
    EXPECT_FALSE(untouched.IsShown());
    EXPECT_EQ(untouched.Fields().description, "A\x81Z");
}

}  // namespace qs::test
