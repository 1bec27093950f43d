#include <wx/frame.h>
#include <wx/panel.h>

#include "FaceplateFixture.h"
#include "KeyPresses.h"
#include "emulators/displayui/ScreenDump.h"
#include "emulators/farview/CCommSetupDlg.h"
#include "platform/ControlSocket.h"

namespace qs::farview::test {
namespace {

using qs::test::PressAndRelease;

using Faceplate = FaceplateFixture;

// The pixels a display window holds, as palette indexes (-1 for a colour not in the palette).
std::vector<int> ShownIndexes(const displayui::CDisplayWnd& lcd) {
    const wxImage image = lcd.Bitmap().ConvertToImage();
    std::vector<int> out;
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            int index = -1;
            for (int i = 0; i < 4; ++i) {
                const auto& rgb = displayui::CDisplayWnd::kPalette[static_cast<size_t>(i)];
                if (image.GetRed(x, y) == rgb[0] && image.GetGreen(x, y) == rgb[1] && image.GetBlue(x, y) == rgb[2]) index = i;
            }
            out.push_back(index);
        }
    }
    return out;
}

std::vector<int> Indexes(const display::Framebuffer& fb) { return {fb.Pixels().begin(), fb.Pixels().end()}; }

TEST_F(Faceplate, BootScreenTurnsOneStepATickUntilTheDeviceSpeaks) {
    CRemoteDisplayDlg& dialog = Open();
    EXPECT_EQ(dialog.GetTitle(), "Duravane III Remote Display / Keypad");
    ASSERT_EQ(dialog.DisplayCount(), 1);
    const displayui::CDisplayWnd& lcd = *dialog.DisplayWindow(0);
    EXPECT_EQ(lcd.GetLabel(), "Display Emulation");
    EXPECT_EQ(lcd.GetPosition(), wxPoint(251, 143));
    EXPECT_TRUE(dialog.Ticking());

    // The dialog's own timer may have ticked while it was being shown.
    const unsigned start = dialog.Session().Engine().IndicatorSteps();
    std::vector<std::vector<int>> shown;
    for (int tick = 0; tick < 5; ++tick) {
        dialog.Tick();
        shown.push_back(ShownIndexes(lcd));
        EXPECT_EQ(shown.back(), Indexes(dialog.Session().Screen(0))) << "the window shows the framebuffer, tick " << tick;
    }
    for (int tick = 1; tick < 4; ++tick) EXPECT_NE(shown[static_cast<size_t>(tick)], shown[static_cast<size_t>(tick - 1)]) << tick;
    EXPECT_EQ(shown[4], shown[0]) << "four steps: - \\ | /";

    // A frame that changes nothing: the device has spoken, and the indicator stops.
    pty_.DeviceSends(std::string("\x02\x02\x01\x14\x09\x00\x01\x00\x03\x7F\x7F", 11));
    dialog.Tick();
    dialog.Tick();
    EXPECT_EQ(dialog.Session().Engine().IndicatorSteps(), start + 5);
    EXPECT_EQ(ShownIndexes(lcd), shown[4]);
}

TEST_F(Faceplate, EachKeyButtonSendsItsCode) {
    CRemoteDisplayDlg& dialog = Open();
    std::string expected;
    for (const FaceplateKey& key : FaceplateKeys::All()) {
        wxBitmapButton* button = dialog.KeyButton(key.id);
        ASSERT_NE(button, nullptr) << key.id;
        EXPECT_EQ(button->GetLabel(), wxString::FromUTF8(key.caption));
        EXPECT_EQ(button->GetRect(), dialog.PlateLayout().KeyRect(key.id));
        wxCommandEvent click(wxEVT_BUTTON, key.id);
        click.SetEventObject(button);
        button->GetEventHandler()->ProcessEvent(click);
        expected.push_back(static_cast<char>(key.code));
    }
    EXPECT_EQ(expected, std::string("123456789+0.;<?@\bA\rB"));
    EXPECT_EQ(KeyCodes(DeviceReceives(20)), expected);
}

TEST_F(Faceplate, PcKeysAreTakenAndSentOnceOnRelease) {
    CRemoteDisplayDlg& dialog = Open();
    struct Row {
        int key;
        int modifiers;
        int code;  // -1: the key keeps its usual meaning
    };
    const Row rows[] = {
        {WXK_F7, 0, 'A'}, {WXK_F8, 0, 'B'}, {WXK_F5, 0, '?'}, {WXK_F6, 0, '@'}, {WXK_F1, 0, ';'}, {WXK_F2, 0, '<'},
        {WXK_ESCAPE, 0, 0x08}, {WXK_BACK, 0, 0x08}, {WXK_RETURN, 0, 0x0D}, {WXK_NUMPAD_ENTER, 0, 0x0D},
        {WXK_LEFT, 0, '4'}, {WXK_UP, 0, '2'}, {WXK_RIGHT, 0, '6'}, {WXK_DOWN, 0, '8'}, {WXK_NUMPAD_LEFT, 0, '4'},
        {WXK_INSERT, 0, '+'}, {WXK_EXECUTE, 0, '+'}, {WXK_NUMPAD_ADD, 0, '+'}, {WXK_NUMPAD_SUBTRACT, 0, '+'},
        {'=', 0, '+'}, {'-', 0, '+'}, {'0', 0, '0'}, {'9', 0, '9'}, {WXK_NUMPAD7, 0, '7'},
        {WXK_NUMPAD_DECIMAL, 0, '.'}, {'.', 0, '.'},
        {WXK_F3, 0, -1}, {WXK_F4, wxMOD_ALT, -1}, {WXK_F7, wxMOD_ALT, -1}, {'A', 0, -1}, {WXK_TAB, 0, -1}, {WXK_SPACE, 0, -1},
    };
    wxWindow* focused = dialog.KeyButton(1004);
    std::string expected;
    for (const Row& row : rows) {
        const int taken = PressAndRelease(focused, row.key, row.modifiers);
        if (row.code >= 0) {
            EXPECT_EQ(taken, 4) << row.key;
            expected.push_back(static_cast<char>(row.code));
        } else {
            EXPECT_LT(taken, 4) << row.key;
        }
    }
    EXPECT_EQ(KeyCodes(DeviceReceives(expected.size() + 1)), expected) << "one frame per mapped key, none else";
    EXPECT_TRUE(dialog.IsShown()) << "Esc and Enter leave the faceplate up";

    // Keys typed in another window are not the keypad's.
    auto* other = new wxFrame(nullptr, wxID_ANY, "other");
    auto* field = new wxPanel(other);
    EXPECT_EQ(PressAndRelease(field, WXK_F7), 0);
    EXPECT_EQ(DeviceReceives(1, 100), "");
    other->Destroy();
}

TEST_F(Faceplate, CommSetupShowsThePortItCanAndKeepsOneItCannot) {
    struct Row {
        int port;
        int chosen;  // -1: none of the five
    };
    for (const Row row : {Row{0, 0}, Row{2, 2}, Row{4, 4}, Row{7, -1}, Row{-1, -1}}) {
        CCommSetupDlg setup(nullptr, row.port, "10.0.1.2");
        EXPECT_EQ(setup.GetTitle(), "Communications Port Setup");
        for (int i = 0; i < CCommSetupDlg::kChoices; ++i) EXPECT_EQ(setup.Choice(i)->GetValue(), i == row.chosen) << row.port << " " << i;
        EXPECT_EQ(setup.AddressField()->GetValue(), "10.0.1.2");
        ASSERT_TRUE(setup.TransferDataFromWindow());
        EXPECT_EQ(setup.Port(), row.port) << "OK without a choice keeps the port";
        setup.Choice(3)->SetValue(true);
        setup.AddressField()->ChangeValue("192.168.7.9");
        ASSERT_TRUE(setup.TransferDataFromWindow());
        EXPECT_EQ(setup.Port(), 3);
        EXPECT_EQ(setup.Address(), "192.168.7.9");
    }
    CCommSetupDlg setup(nullptr, 0, "10.0.1.2");
    EXPECT_EQ(setup.Choice(0)->GetLabel(), "TCP/IP (Port 7744)");
    EXPECT_EQ(setup.Choice(4)->GetLabel(), "Com4");
    for (const char* bad : {"300.1.2.3", "10.0.1", "host.example", ""}) {
        setup.AddressField()->ChangeValue(bad);
        EXPECT_FALSE(setup.TransferDataFromWindow()) << bad;
        EXPECT_EQ(setup.Address(), "10.0.1.2");
    }
}

TEST_F(Faceplate, CommSetupReopensOnlyWhenTheLinkChanges) {
    Settings().SetAddress("10.0.0.1");
    CRemoteDisplayDlg& dialog = Open();
    RemoteDisplaySession& session = dialog.Session();
    const std::string before = dir_.Read("settings");
    dialog.ApplyCommSetup(5, "10.9.9.9");
    EXPECT_EQ(session.Address(), "10.0.0.1") << "COM5 kept and another address: the link stays";
    EXPECT_EQ(dir_.Read("settings"), before);
    EXPECT_TRUE(session.HasLink());
    dialog.ApplyCommSetup(0, "127.0.0.1");
    EXPECT_EQ(session.Port(), 0);
    EXPECT_EQ(session.Address(), "127.0.0.1");
    EXPECT_EQ(Settings().Port(), 0);
    EXPECT_EQ(Settings().Address(), "127.0.0.1");
    dialog.ApplyCommSetup(5, "127.0.0.1");
    EXPECT_EQ(session.Port(), 5);
    dialog.PressKey(1017);
    EXPECT_EQ(KeyCodes(DeviceReceives(1)), "A") << "the reopened line carries the keys";
    EXPECT_TRUE(ui_.Messages().empty());
}

TEST_F(Faceplate, HideFrameSaysHowToReachTheMenuAndIsStored) {
    CRemoteDisplayDlg& dialog = Open();
    EXPECT_FALSE(dialog.FrameHidden());
    wxCommandEvent hide(wxEVT_MENU, CRemoteDisplayDlg::kCmdHideFrame);
    dialog.GetEventHandler()->ProcessEvent(hide);
    EXPECT_TRUE(dialog.FrameHidden());
    EXPECT_TRUE(Settings().CustomWindowRegion());
    EXPECT_EQ(ui_.Messages(), std::vector<std::string>{
        "Press <Alt+Space> to access the System menu when frame is not visible (or <Alt-F4> to exit)"});
    dialog.GetEventHandler()->ProcessEvent(hide);
    EXPECT_FALSE(dialog.FrameHidden());
    EXPECT_FALSE(Settings().CustomWindowRegion());
    EXPECT_EQ(ui_.Messages().size(), 1u);

    // Stored, it is back at the next start.
    Close();
    Settings().SetCustomWindowRegion(true);
    EXPECT_TRUE(Open().FrameHidden());
    ASSERT_TRUE(qs::test::PumpUntil([&] { return ui_.Messages().size() == 2; }));
}

TEST_F(Faceplate, AStoredPositionIsUsedOnlyWhenBothCoordinatesAreSet) {
    const wxPoint placed = Open().GetPosition();
    Close();
    Settings().SetPosition(-10000, 300);
    EXPECT_EQ(Open().GetPosition(), placed) << "where the system puts it";
    Close();
    Settings().SetPosition(140, 120);
    EXPECT_EQ(Open().GetPosition(), wxPoint(140, 120));
}

TEST_F(Faceplate, TheEndStopsTicksHandsTheLineBackAndTellsQuillset) {
    const std::string dumps = dir_.File("dumps");
    ::mkdir(dumps.c_str(), 0700);
    qs::test::ScopedEnv dump(displayui::ScreenDump::kVariable, dumps);
    ControlSocket quillset;
    ASSERT_TRUE(quillset.Listen(dir_.File("run/quillset")));
    CRemoteDisplayDlg& dialog = Open(true);
    dialog.Tick();
    dialog.PressKey(1010);
    dialog.Finish();
    EXPECT_FALSE(dialog.Ticking());
    EXPECT_FALSE(dialog.Session().HasLink());
    EXPECT_EQ(KeyCodes(DeviceReceives(3)), std::string("0\xF8", 2));
    std::vector<ControlMessage> told;
    ASSERT_TRUE(qs::test::PumpUntil([&] {
        for (ControlMessage m : quillset.Poll()) told.push_back(m);
        return !told.empty();
    }));
    EXPECT_EQ(told, std::vector<ControlMessage>{ControlMessage::kRemoteDisplayDone});
    const std::string file = dir_.Read("dumps/screen0.lcd");
    const std::string header = file.substr(0, file.find('\n') + 1);
    EXPECT_EQ(header.rfind("LCD 256 64 ", 0), 0u) << header;
    const auto& pixels = dialog.Session().Screen(0).Pixels();
    EXPECT_EQ(file.substr(header.size()), std::string(pixels.begin(), pixels.end()));

    dialog.Finish();
    Close();
    EXPECT_EQ(DeviceReceives(1, 100), "") << "the end runs once";
}

TEST_F(Faceplate, FourDisplaysTwoLcdsEachWithItsScreen) {
    CRemoteDisplayDlg& dialog = Open(false, true);
    EXPECT_EQ(dialog.GetTitle(), "Duravane IIIQ Remote Display / Keypad");
    ASSERT_EQ(dialog.DisplayCount(), 2);
    EXPECT_EQ(dialog.DisplayWindow(0)->GetLabel(), "Display Emulation");
    EXPECT_EQ(dialog.DisplayWindow(1)->GetLabel(), "Display 2 Emulation");
    EXPECT_EQ(dialog.DisplayWindow(0)->GetPosition(), wxPoint(251, 191));
    EXPECT_EQ(dialog.DisplayWindow(1)->GetPosition(), wxPoint(251, 367));
    EXPECT_EQ(&dialog.DisplayWindow(0)->Source(), &dialog.Session().Screen(0));
    EXPECT_EQ(&dialog.DisplayWindow(1)->Source(), &dialog.Session().Screen(1));
    EXPECT_EQ(dialog.GetClientSize(), wxSize(1043, 630));
}

}  // namespace
}  // namespace qs::farview::test
