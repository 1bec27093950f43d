#include "appmodel/programdata/DocumentOptionsModel.h"

#include <gtest/gtest.h>

#include "RecordingUi.h"
#include "TempDir.h"

namespace qs::test {

using Role = DocumentOptionsModel::AddressRole;

TEST(DocumentOptionsModel, SerialSettingsForComPortsAndTheAddressForTcpIp) {
    EXPECT_TRUE(DocumentOptionsModel::IpAddressEnabled(0));
    EXPECT_FALSE(DocumentOptionsModel::CommSettingsEnabled(0));
    for (int port : {1, 3, 99}) {
        EXPECT_TRUE(DocumentOptionsModel::CommSettingsEnabled(port)) << port;
        EXPECT_FALSE(DocumentOptionsModel::IpAddressEnabled(port)) << port;
    }
    // No link chosen, or a number no port has: neither.
    for (int port : {-1, 100, 1000}) {
        EXPECT_FALSE(DocumentOptionsModel::CommSettingsEnabled(port)) << port;
        EXPECT_FALSE(DocumentOptionsModel::IpAddressEnabled(port)) << port;
    }
}

TEST(DocumentOptionsModel, ListsShowNothingForValuesTheyDoNotHave) {
    auto ports = DocumentOptionsModel::PortTexts();
    ASSERT_EQ(ports.size(), 100u);
    EXPECT_EQ(ports[0], "TCP/IP");
    EXPECT_EQ(ports[1], "Com 1");
    EXPECT_EQ(ports[99], "Com 99");
    EXPECT_EQ(DocumentOptionsModel::CodePageTexts().size(), 6u);

    // The document passes its device kind (7 or 8) as the model row: 8 has no row.
    EXPECT_EQ(DocumentOptionsModel::ListRow(7, DocumentOptionsModel::kModelCount), 7);
    EXPECT_EQ(DocumentOptionsModel::ListRow(8, DocumentOptionsModel::kModelCount), -1);
    EXPECT_EQ(DocumentOptionsModel::ListRow(-1, DocumentOptionsModel::kPortCount), -1);
    EXPECT_EQ(DocumentOptionsModel::ListRow(100, DocumentOptionsModel::kPortCount), -1);
    EXPECT_EQ(DocumentOptionsModel::ListRow(2, DocumentOptionsModel::kProtocolCount), -1);
}

TEST(DocumentOptionsModel, AddressTexts) {
    RecordingUi ui;
    EXPECT_EQ(DocumentOptionsModel::CheckAddressText(ui.services, "0", Role::Base), std::nullopt);
    ASSERT_EQ(ui.prompt.shown.size(), 1u);
    EXPECT_EQ(ui.prompt.shown[0].text, "Base (Arm 1) address cannot be 0");
    EXPECT_EQ(ui.prompt.shown[0].type & MB_TYPEMASK, MB_OK);

    EXPECT_EQ(DocumentOptionsModel::CheckAddressText(ui.services, "100", Role::Base), std::nullopt);
    EXPECT_EQ(ui.LastMessage(), "Please enter an integer between 1 and 99.");
    EXPECT_EQ(DocumentOptionsModel::CheckAddressText(ui.services, "-4", Role::Base), std::nullopt);
    EXPECT_EQ(ui.LastMessage(), "Please enter an integer between 1 and 99.");
    EXPECT_EQ(DocumentOptionsModel::CheckAddressText(ui.services, "100", Role::Arm), std::nullopt);
    EXPECT_EQ(ui.LastMessage(), "Please enter an integer between 0 and 99.");
    EXPECT_EQ(DocumentOptionsModel::CheckAddressText(ui.services, "-1", Role::Arm), std::nullopt);
    EXPECT_EQ(ui.LastMessage(), "Please enter an integer between 0 and 99.");
    for (const char* bad : {"", "  ", "1a", "abc", "1.0", "0x10", "99999999999", "--1"}) {
        size_t shown = ui.prompt.shown.size();
        EXPECT_EQ(DocumentOptionsModel::CheckAddressText(ui.services, bad, Role::Arm), std::nullopt) << bad;
        ASSERT_EQ(ui.prompt.shown.size(), shown + 1) << bad;
        EXPECT_EQ(ui.LastMessage(), "Please enter an integer.");
    }

    size_t shown = ui.prompt.shown.size();
    EXPECT_EQ(DocumentOptionsModel::CheckAddressText(ui.services, "1", Role::Base), 1);
    EXPECT_EQ(DocumentOptionsModel::CheckAddressText(ui.services, " 99 ", Role::Base), 99);
    EXPECT_EQ(DocumentOptionsModel::CheckAddressText(ui.services, "0", Role::Arm), 0);
    EXPECT_EQ(DocumentOptionsModel::CheckAddressText(ui.services, "07", Role::Arm), 7);
    EXPECT_EQ(ui.prompt.shown.size(), shown) << "accepted texts show nothing";
}

TEST(DocumentOptionsModel, ArmAddressZeroAsksOnceAndTheAnswerDecides) {
    RecordingUi ui;
    EXPECT_TRUE(DocumentOptionsModel::ConfirmArmAddresses(ui.services, {2, 3, 4, 5, 6}));
    EXPECT_TRUE(ui.prompt.shown.empty());

    ui.prompt.Answer(IDCANCEL);
    EXPECT_FALSE(DocumentOptionsModel::ConfirmArmAddresses(ui.services, {2, 0, 4, 0, 6}));
    ASSERT_EQ(ui.prompt.shown.size(), 1u);
    EXPECT_EQ(ui.prompt.shown[0].text,
              "An address of 0 for an arm will prevent Quillset from reading/writing that arm's data.\n"
              "Press OK to accept, press <Cancel> to change the address to a valid entry (1-99)");
    EXPECT_EQ(ui.prompt.shown[0].type & MB_TYPEMASK, MB_OKCANCEL);

    ui.prompt.Answer(IDOK);
    EXPECT_TRUE(DocumentOptionsModel::ConfirmArmAddresses(ui.services, {0, 0, 0, 0, 0}));
    EXPECT_EQ(ui.prompt.shown.size(), 2u);
}

TEST(DocumentOptionsModel, Ipv4Texts) {
    EXPECT_EQ(DocumentOptionsModel::ParseIpv4("192.168.0.1"), 0xC0A80001u);
    EXPECT_EQ(DocumentOptionsModel::ParseIpv4(" 10.0.0.255 "), 0x0A0000FFu);
    EXPECT_EQ(DocumentOptionsModel::ParseIpv4("192.168.174.070"), 0xC0A8AE46u);  // decimal, not octal
    EXPECT_EQ(DocumentOptionsModel::ParseIpv4("0.0.0.0"), 0u);
    EXPECT_EQ(DocumentOptionsModel::ParseIpv4("255.255.255.255"), 0xFFFFFFFFu);
    for (const char* bad : {"", "1.2.3", "1.2.3.4.5", "256.1.1.1", "1.2.3.256", "1..3.4", "1.2.3.4.", ".1.2.3",
                            "1.2.3.-4", "1.2.3.0004", "a.b.c.d", "1.2.3.4x", "1 .2.3.4", "host.example"}) {
        EXPECT_EQ(DocumentOptionsModel::ParseIpv4(bad), std::nullopt) << bad;
    }
    for (uint32_t address : {0u, 0xC0A80001u, 0x7F000001u, 0xFFFFFFFFu, 0x01020304u}) {
        EXPECT_EQ(DocumentOptionsModel::ParseIpv4(DocumentOptionsModel::FormatIpv4(address)), address);
    }
    EXPECT_EQ(DocumentOptionsModel::FormatIpv4(0xC0A80001u), "192.168.0.1");

    RecordingUi ui;
    EXPECT_EQ(DocumentOptionsModel::CheckIpv4Text(ui.services, "300.1.1.1"), std::nullopt);
    EXPECT_EQ(ui.LastMessage(), DocumentOptionsModel::kBadIpMessage);
}

TEST(DocumentOptionsModel, DescriptionFitsTheFile) {
    RecordingUi ui;
    EXPECT_TRUE(DocumentOptionsModel::CheckDescription(ui.services, std::string(32, 'x')));
    EXPECT_TRUE(ui.prompt.shown.empty());
    EXPECT_FALSE(DocumentOptionsModel::CheckDescription(ui.services, std::string(33, 'x')));
    EXPECT_EQ(ui.LastMessage(), DocumentOptionsModel::kDescriptionTooLongMessage);
}

TEST(DocumentOptionsModel, SerialSettingsOfTheChosenPortAreStoredApplicationWide) {
    RecordingUi ui;
    TempDir dir;
    dir.Write("QS3X.INI", "; keep\n[Comm]\nCOM2=38400,N,8,1.5\nCOM4=1200,O,7,1\n");
    DocumentOptionsModel model(DocumentLinkFields{}, IniProfile(dir.File("QS3X.INI")), ui.services);

    SerialSettings com4 = model.CommSettingsOfPort(4);
    EXPECT_EQ(com4.baudRate, 1200u);
    EXPECT_EQ(com4.parity, ODDPARITY);
    EXPECT_EQ(model.CommSettingsOfPort(2), SerialSettings{});  // unusable text: the default
    EXPECT_EQ(model.CommSettingsOfPort(7), SerialSettings{});  // missing: the default

    SerialSettings chosen;
    chosen.baudRate = 9600;
    chosen.byteSize = 7;
    chosen.parity = EVENPARITY;
    chosen.stopBits = TWOSTOPBITS;
    EXPECT_FALSE(model.settingsChanged);
    ASSERT_TRUE(model.StoreCommSettings(4, chosen));
    EXPECT_TRUE(model.settingsChanged);
    EXPECT_EQ(dir.Read("QS3X.INI"), "; keep\n[Comm]\nCOM2=38400,N,8,1.5\nCOM4=9600,E,7,2\n");
    EXPECT_TRUE(ui.prompt.shown.empty());

    dir.Write("plain-file", "");  // a file where the folder would have to be
    DocumentOptionsModel unwritable(DocumentLinkFields{}, IniProfile(dir.File("plain-file/QS3X.INI")), ui.services);
    EXPECT_FALSE(unwritable.StoreCommSettings(4, chosen));
    EXPECT_FALSE(unwritable.settingsChanged);
    ASSERT_EQ(ui.prompt.shown.size(), 1u);
    EXPECT_NE(ui.LastMessage().find("COM4"), std::string::npos);

    DocumentOptionsModel other(DocumentLinkFields{}, IniProfile(dir.File("QS3X.INI")), ui.services);
    EXPECT_FALSE(other.StoreCommSettings(0, chosen));
    EXPECT_FALSE(other.StoreCommSettings(100, chosen));
    EXPECT_FALSE(other.settingsChanged);
}

}  // namespace qs::test
