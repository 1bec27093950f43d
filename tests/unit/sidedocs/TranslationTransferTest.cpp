// The translation's transfers over a scripted controller: what is refused before anything is
// sent, the second wait for the last acknowledgement, and "LO" only after success. The frames
// themselves are checked against the simulated controller (tests/integration/sidedocs).
#include <gtest/gtest.h>

#include "RecordingUi.h"
#include "TranslationDevice.h"
#include "sidedocs/translations/CTranslation.h"
#include "sidedocs/translations/TranslationTransfer.h"

namespace qs::test {
namespace {

class TranslationTransferUnit : public ::testing::Test {
protected:
    // A source that notes it was asked and hands over nothing.
    DeviceLinkSource CountingSource() {
        return [this](bool) {
            ++asked;
            return DeviceLink{};
        };
    }

    RecordingUi ui;
    int asked = 0;
};

TEST_F(TranslationTransferUnit, NothingToSendIsSaidBeforeADeviceIsChosen) {
    CTranslation t;
    t.SetText(4574, "the sentinel's entry is never sent");
    EXPECT_FALSE(t.DownloadToDevice(CountingSource(), ui.services));
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"No entries defined... nothing to download"});
}

TEST_F(TranslationTransferUnit, ATextTooLongForOneFrameIsNamedBeforeADeviceIsChosen) {
    CTranslation t;
    t.SetText(3, std::string(501, 'x'));
    t.SetText(7, std::string(502, 'y'));
    EXPECT_FALSE(t.DownloadToDevice(CountingSource(), ui.services));
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{
                                 "Error sending translation text -  - The translation of \"Enter Driver Number\" (row 8) "
                                 "is 502 bytes; one frame holds at most 501"});
}

TEST_F(TranslationTransferUnit, NoLinkHandedOverEndsBothTransfersSilently) {
    CTranslation t;
    t.SetText(0, "Bereit");
    EXPECT_FALSE(t.DownloadToDevice(CountingSource(), ui.services));
    EXPECT_FALSE(t.UploadFromDevice(CountingSource(), ui.services));
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(TranslationTransferUnit, ALastAcknowledgementThatComesLateStillCompletesTheDownload) {
    TranslationDevice device;
    ASSERT_TRUE(device.Connect());
    device.lateFinal = true;
    CTranslation t;
    t.SetText(0, "Bereit");
    EXPECT_TRUE(t.DownloadToDevice(device.Source(), ui.services));
    EXPECT_EQ(device.line->hiccups, 1);
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(device.Commands().back(), "LO");
}

TEST_F(TranslationTransferUnit, ALastAcknowledgementThatNeverComesFailsWithoutLo) {
    TranslationDevice device;
    ASSERT_TRUE(device.Connect());
    device.lateFinal = true;
    device.finalNeverComes = true;
    CTranslation t;
    t.SetText(0, "Bereit");
    EXPECT_FALSE(t.DownloadToDevice(device.Source(), ui.services));
    EXPECT_EQ(device.line->hiccups, 1);
    EXPECT_EQ(ui.Messages().size(), 1u);
    EXPECT_NE(device.Commands().back(), "LO");
}

TEST_F(TranslationTransferUnit, AnUploadTooShortForItsHeaderChangesNothing) {
    TranslationDevice device;
    ASSERT_TRUE(device.Connect());
    device.blocks.dataSet = std::string(31, 'N');
    CTranslation t;
    t.SetName("kept");
    EXPECT_FALSE(t.UploadFromDevice(device.Source(), ui.services));
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{TranslationTransfer::kTooShort});
    EXPECT_EQ(t.Name(), "kept");
}

}  // namespace
}  // namespace qs::test
