// The firmware upgrade as the technician meets it: what is asked, what is refused, what the
// device and the FTP server are sent, and how every end leaves the FTP client.
#include "FirmwareFixtures.h"

#include "appmodel/firmware/FirmwareImage.h"

namespace qs::test {
namespace {

using F = FirmwareUpgrade;

const std::string kHost = "127.5.6.7";
const std::string kOpen = "OPEN " + kHost + " Quillset 4711";

FtpTimeouts Long() {
    FtpTimeouts t{2000, 99999, 99999, 7};
    return t;
}

}  // namespace

// ---- the image

TEST(FirmwareImage, AForgedCrcIsRecognisedOnlyByItsOwnTable) {
    TempDir dir;
    struct Row {
        uint32_t crc;
        std::optional<float> controller, panel;
    };
    const Row rows[] = {
        {kController1126, 11.26f, std::nullopt},
        {kPanel1100, std::nullopt, 11.00f},
        {0x8ECAE4A6, 11.00f, std::nullopt},  // the second 11.00 controller image
        {kUnknownFirmware, std::nullopt, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(Hex8(row.crc));
        dir.Write("image.bin", ImageWithCrc(row.crc));
        auto image = FirmwareImage::Read(dir.File("image.bin"));
        ASSERT_TRUE(image);
        EXPECT_EQ(image->Crc(), row.crc);
        EXPECT_EQ(image->Bytes().size(), 1000u);
        EXPECT_EQ(image->RevisionIn(DeviceIdentification::ControllerTable()), row.controller);
        EXPECT_EQ(image->RevisionIn(DeviceIdentification::OperatorPanelTable()), row.panel);
    }
}

TEST(FirmwareImage, AMissingFileAFolderAndAnOversizedFileAreNoImage) {
    TempDir dir;
    FirmwareImage::Fault fault = FirmwareImage::Fault::kNone;
    EXPECT_FALSE(FirmwareImage::Read(dir.File("none.bin"), &fault));
    EXPECT_EQ(fault, FirmwareImage::Fault::kMissing);
    EXPECT_FALSE(FirmwareImage::Read(dir.Path(), &fault));
    EXPECT_EQ(fault, FirmwareImage::Fault::kMissing);
    dir.Write("big.bin", std::string(FirmwareImage::kMaxBytes + 1, 'x'));
    EXPECT_FALSE(FirmwareImage::Read(dir.File("big.bin"), &fault));
    EXPECT_EQ(fault, FirmwareImage::Fault::kTooLarge);
    dir.Write("empty.bin", "");
    auto empty = FirmwareImage::Read(dir.File("empty.bin"), &fault);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->Crc(), 0u);
}

TEST(FirmwareUpgradeRules, OnlyRevisionsFrom1100AreFlashBased) {
    EXPECT_FALSE(F::FlashBased(10.98f)) << "a stored 10.98 lies below 10.98 in double precision";
    EXPECT_FALSE(F::FlashBased(10.23f));
    EXPECT_FALSE(F::FlashBased(-1.0f));
    EXPECT_TRUE(F::FlashBased(11.00f));
    EXPECT_TRUE(F::FlashBased(11.26f));
}

// ---- before anything is sent

class FirmwareChecks : public FirmwareRig {};

TEST_F(FirmwareChecks, AMissingOrUnknownImageEndsWithItsMessageBeforeTheAccessCode) {
    struct Row {
        const FirmwareVariant* variant;
        const char* file;  // written with an image of `crc`, or none
        uint32_t crc;
        std::string message, caption;
    };
    const Row rows[] = {
        {&FirmwareVariant::Controller(), nullptr, 0, F::kNoImage, "Duravane.net Upgrade Wizard"},
        {&FirmwareVariant::OperatorPanel(), nullptr, 0, F::kNoImage, "MMI.net Upgrade Wizard"},
        // Each table alone recognises its images.
        {&FirmwareVariant::Controller(), "D3XNET.BIN", kPanel1100, F::kUnrecognized, ""},
        {&FirmwareVariant::OperatorPanel(), "MMINET.BIN", kController1126, F::kUnrecognized, ""},
        // The panel's image under the controller's name is no controller image either.
        {&FirmwareVariant::OperatorPanel(), "D3XNET.BIN", kPanel1100, F::kNoImage, "MMI.net Upgrade Wizard"},
    };
    Online(kController1126);
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.variant->imageFile) + " " + (row.file ? row.file : "-"));
        for (const char* name : {"D3XNET.BIN", "MMINET.BIN"}) std::remove(folder.File(name).c_str());
        if (row.file) PutImage(row.file, ImageWithCrc(row.crc));
        ui.prompt.shown.clear();
        ui.prompt.Answer(IDOK);
        EXPECT_FALSE(Run(*row.variant));
        ASSERT_EQ(ui.prompt.shown.size(), 2u);
        EXPECT_EQ(ui.prompt.shown[0].text, F::kEraseWarning);
        EXPECT_EQ(ui.prompt.shown[0].caption, row.variant->wizardTitle);
        EXPECT_EQ(ui.prompt.shown[0].type, MB_OKCANCEL | MB_ICONEXCLAMATION);
        EXPECT_EQ(ui.prompt.shown[1].text, row.message);
        EXPECT_EQ(ui.prompt.shown[1].caption, row.caption);
    }
    EXPECT_EQ(codeAsked, 0);
    EXPECT_TRUE(ftp.calls.empty());
    EXPECT_TRUE(DeviceCommands().empty());
}

TEST_F(FirmwareChecks, RevisionsOfTheDeviceAgainstTheImage) {
    struct Row {
        const char* name;
        uint32_t device, image;
        const FirmwareVariant* variant;
        std::vector<int> answers;  // after the erase warning
        std::vector<std::pair<std::string, std::string>> boxes;  // text, caption
        bool goesOn;  // the access code is asked
    };
    const auto& ctl = FirmwareVariant::Controller();
    const auto& mmi = FirmwareVariant::OperatorPanel();
    const std::pair<std::string, std::string> installed{F::kInstalled, "Quillset Firmware Upgrade Wizard"};
    const std::pair<std::string, std::string> fatal{F::kNotFlash, F::kRevisionTitle};
    const std::pair<std::string, std::string> unknown{F::kUnknownDevice, F::kRevisionTitle};
    const std::pair<std::string, std::string> newer{ctl.newerText, "Pelvo Firmware Upgrade Wizard"};
    const std::pair<std::string, std::string> replaced{mmi.newerText, "MMI.NET Firmware Upgrade Wizard"};
    const Row rows[] = {
        {"same revision, OK", kController1126, kController1126, &ctl, {IDOK}, {installed}, true},
        {"same revision, Cancel", kController1126, kController1126, &ctl, {IDCANCEL}, {installed}, false},
        {"10.23 is not flash", kController1023, kController1126, &ctl, {}, {fatal}, false},
        {"11.00 passes", kController1100, kController1126, &ctl, {}, {}, true},
        {"unknown device, OK: not newer", kUnknownFirmware, kController1126, &ctl, {IDOK}, {unknown}, true},
        {"unknown device, Cancel", kUnknownFirmware, kController1126, &ctl, {IDCANCEL}, {unknown}, false},
        {"device newer, OK", kController1126, kController1125, &ctl, {IDOK}, {newer}, true},
        {"device newer, Cancel", kController1126, kController1125, &ctl, {IDCANCEL}, {newer}, false},
        {"panel image over a later controller", kController1126, kPanel1100, &mmi, {IDOK}, {replaced}, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Online(row.device);
        PutImage(row.variant->imageFile, ImageWithCrc(row.image));
        ui.prompt.Answer(IDOK);
        for (int a : row.answers) ui.prompt.Answer(a);
        codeAsked = 0;
        accessCode.reset();  // stop at the access code
        EXPECT_FALSE(Run(*row.variant));
        std::vector<std::pair<std::string, std::string>> boxes;
        for (size_t i = 1; i < ui.prompt.shown.size(); ++i)
            boxes.emplace_back(ui.prompt.shown[i].text, ui.prompt.shown[i].caption);
        EXPECT_EQ(boxes, row.boxes);
        if (row.boxes == std::vector{fatal}) {
            EXPECT_EQ(ui.prompt.shown.back().type, MB_OK | MB_ICONEXCLAMATION);
        }
        EXPECT_EQ(codeAsked, row.goesOn ? 1 : 0);
        EXPECT_TRUE(ftp.calls.empty());
        EXPECT_TRUE(DeviceCommands().empty());
    }
}

TEST_F(FirmwareChecks, CancelOnTheWarningOrInTheProgressWindowEndsSilently) {
    Online(kController1100);
    PutImage("D3XNET.BIN", ImageWithCrc(kController1126));
    ui.prompt.Answer(IDCANCEL);
    EXPECT_FALSE(Run());
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{F::kEraseWarning});
    EXPECT_TRUE(ftp.calls.empty());
    // Cancel noticed at each test before the erase: after "Checking", after "Preparing", after
    // the validation login, and during the reboot pause.
    struct Row {
        int pump;
        std::vector<std::string> ops;
        bool ufSent;
    };
    const Row rows[] = {
        {1, {}, false},
        {2, {}, false},
        {3, {kOpen, "CLOSE"}, false},
        {4, {kOpen, "CLOSE"}, true},
        {6, {kOpen, "CLOSE"}, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pump);
        Online(kController1100);
        ui.prompt.shown.clear();
        ftp.calls.clear();
        ui.CancelAfterPumps(row.pump);
        ui.prompt.Answer(IDOK);
        EXPECT_FALSE(Run());
        EXPECT_EQ(ui.Messages(), std::vector<std::string>{F::kEraseWarning});
        EXPECT_EQ(ftp.Ops(), row.ops);
        EXPECT_EQ(DeviceCommands(), row.ufSent ? std::vector<std::string>{"UF"} : std::vector<std::string>{});
        EXPECT_EQ(doc->State(), CVexa3Doc::kStateOnline);
        EXPECT_EQ(ftp.Timeouts(), Own());
    }
}

// ---- online: the access code and the RAM executive

class FirmwarePreparation : public FirmwareRig {
protected:
    void SetUp() override {
        Online(kController1100);
        PutImage("D3XNET.BIN", ImageWithCrc(kController1126));
        ui.prompt.Answer(IDOK);
    }
};

TEST_F(FirmwarePreparation, AFailedValidationLoginEndsWithNothingSentToTheDevice) {
    struct Row {
        FtpStatus login;
        std::string message, caption;
    };
    const Row rows[] = {
        {FtpStatus::kLoginRefused, F::kInvalidCode, "Error connecting to Duravane III.net"},
        {FtpStatus::kFailed, F::kNoValidation, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.message);
        ui.prompt.shown.clear();
        ui.prompt.answers = {IDOK};
        ftp.calls.clear();
        ftp.opens = {row.login};
        EXPECT_FALSE(Run());
        ASSERT_EQ(ui.prompt.shown.size(), 2u);
        EXPECT_EQ(ui.prompt.shown[1].text, row.message);
        EXPECT_EQ(ui.prompt.shown[1].caption, row.caption);
        EXPECT_EQ(ftp.Ops(), std::vector<std::string>{kOpen});
        EXPECT_EQ(ftp.calls[0].timeouts, Own()) << "the login checks the code under the session's own time-outs";
        EXPECT_TRUE(DeviceCommands().empty());
        EXPECT_EQ(doc->State(), CVexa3Doc::kStateOnline);
    }
}

TEST_F(FirmwarePreparation, ARefusedRebootIsReportedAndNothingIsErased) {
    uf = "NO06";
    EXPECT_FALSE(Run());
    const std::vector<std::string> boxes = MessagesAfterWarning();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_TRUE(boxes[0].starts_with("Command Rejected - ")) << boxes[0];
    EXPECT_EQ(boxes[1], F::kRamExecutiveFailed);
    EXPECT_EQ(ftp.Ops(), (std::vector<std::string>{kOpen, "CLOSE"}));
    EXPECT_EQ(DeviceCommands(), std::vector<std::string>{"UF"});
}

TEST_F(FirmwarePreparation, ARebootWithoutAnswerWaitsAndGoesOnAndAFailedSendGoesOnAtOnce) {
    uf = "";  // no answer: the device went to its RAM executive
    const int64_t start = clock.now;
    EXPECT_TRUE(Run());
    EXPECT_GE(clock.now - start, F::kRebootPauseMs);
    EXPECT_EQ(ftp.Ops().size(), 6u);

    // The command cannot be sent at all: no pause, straight to the upgrade's connection.
    Online(kController1100);
    device.stream->FailWritesFrom(static_cast<int>(device.stream->writeCalls) + 1);
    ui.prompt.shown.clear();
    ui.prompt.Answer(IDOK);
    ftp.calls.clear();
    const int64_t before = clock.now;
    EXPECT_TRUE(Run());
    EXPECT_LT(clock.now - before, F::kRebootPauseMs);
    EXPECT_EQ(ftp.Ops(), (std::vector<std::string>{kOpen, "CLOSE", kOpen, "DELE D3XNET.BIN", "PUT D3XNET.BIN", "CLOSE"}));
}

// ---- the upgrade

class FirmwareTransfer : public FirmwareRig {};

TEST_F(FirmwareTransfer, OnlineTheImageIsCheckedLoadedAndTheDocumentGoesOffline) {
    doc->SetBaseAddress(2);
    Online(kController1100);
    const std::string image = ImageWithCrc(kController1126, 4096);
    PutImage("D3XNET.BIN", image);
    // Whatever becomes of the file meanwhile, the checked bytes are the ones loaded.
    onAccessCode = [this] { PutImage("D3XNET.BIN", ImageWithCrc(kController1125, 4096)); };
    std::vector<FtpTimeouts> duringUpload;
    ftp.duringPut = [&] { duringUpload.push_back(ftp.Timeouts()); };
    ui.prompt.Answer(IDOK);
    const int64_t start = clock.now;

    EXPECT_TRUE(Run());

    EXPECT_EQ(ftp.stored, image);
    EXPECT_EQ(ftp.Ops(), (std::vector<std::string>{kOpen, "CLOSE", kOpen, "DELE D3XNET.BIN", "PUT D3XNET.BIN", "CLOSE"}));
    EXPECT_EQ(ftp.calls[0].timeouts, Own());
    for (size_t i = 2; i < 5; ++i) EXPECT_EQ(ftp.calls[i].timeouts, Long()) << ftp.calls[i].op;
    EXPECT_EQ(ftp.Timeouts(), Own());
    EXPECT_EQ(device.sent.back(), (ScriptedDevice::Sent{2, "UF"}));
    EXPECT_GE(clock.now - start, F::kRebootPauseMs);
    EXPECT_EQ(doc->State(), CVexa3Doc::kStateOffline);

    ASSERT_EQ(ui.prompt.shown.size(), 2u);
    EXPECT_EQ(ui.prompt.shown[1].text, F::kDone);
    EXPECT_EQ(ui.prompt.shown[1].caption, "Firmware Upgraded Successfully");
    ASSERT_EQ(ui.progress.size(), 1u);
    const ProgressRecord& bar = *ui.progress[0];
    EXPECT_EQ(bar.title, "Firmware Upgrade Wizard");
    EXPECT_EQ(bar.texts, (std::vector<std::string>{F::kChecking, F::kPreparing, F::kPreparing, F::kRebooting,
                                                   F::kInitiating, F::kErasing, F::kDownloading, F::kRestarting}));
    // Cancel goes once "Initiating" has been tested, before the erase; every pump is modal.
    EXPECT_TRUE(bar.cancelWithdrawn);
    EXPECT_EQ(bar.textsWhenWithdrawn, 5u);
    EXPECT_EQ(bar.nonModalPumps, 0);
    EXPECT_EQ(bar.upper, 4096);
    EXPECT_EQ(bar.pos, 2048) << "the upload's progress reaches the bar";
    ASSERT_FALSE(cursor.empty());
    EXPECT_FALSE(cursor.back());
}

TEST_F(FirmwareTransfer, OfflineSkipsTheRevisionsTheLoginAndTheRebootButStillWarnsAndAsks) {
    Online(kController1023);  // online this device could not be upgraded
    doc->SetState(CVexa3Doc::kStateOffline);
    PutImage("D3XNET.BIN", ImageWithCrc(kController1126));
    ui.prompt.Answer(IDOK);
    EXPECT_TRUE(Run());
    EXPECT_EQ(ui.Messages(), (std::vector<std::string>{F::kEraseWarning, F::kDone}));
    EXPECT_EQ(codeAsked, 1);
    EXPECT_EQ(ftp.Ops(), (std::vector<std::string>{kOpen, "DELE D3XNET.BIN", "PUT D3XNET.BIN", "CLOSE"}));
    EXPECT_EQ(ftp.calls[0].timeouts, Long()) << "the first connection has the long time-outs";
    EXPECT_TRUE(DeviceCommands().empty());
}

TEST_F(FirmwareTransfer, EveryEndGivesTheClientItsOwnTimeoutsBack) {
    struct Row {
        const char* name;
        std::deque<FtpStatus> opens, deletes, puts;
        std::vector<std::string> messages;  // after the erase warning
        std::vector<std::string> ops;
        bool done;
    };
    const std::string dele = "DELE D3XNET.BIN", put = "PUT D3XNET.BIN";
    const Row rows[] = {
        {"no connection", {FtpStatus::kFailed}, {}, {}, {F::kNoConnection}, {kOpen}, false},
        {"erase refused", {}, {FtpStatus::kRefused}, {}, {F::kEraseRefused}, {kOpen, dele, "CLOSE"}, false},
        {"erase lost, back again",
         {},
         {FtpStatus::kFailed},
         {},
         {F::kEraseLost, F::kDone},
         {kOpen, dele, "CLOSE", kOpen, put, "CLOSE"},
         true},
        {"erase lost for good",
         {FtpStatus::kOk, FtpStatus::kFailed},
         {FtpStatus::kFailed},
         {},
         {F::kEraseLost, F::kNoReconnection},
         {kOpen, dele, "CLOSE", kOpen},
         false},
        {"upload failed", {}, {}, {FtpStatus::kFailed}, {F::kUploadFailed}, {kOpen, dele, put, "CLOSE"}, false},
    };
    PutImage("D3XNET.BIN", ImageWithCrc(kController1126));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        doc->SetState(CVexa3Doc::kStateOffline);
        ui.prompt.shown.clear();
        ui.prompt.Answer(IDOK);
        ftp.calls.clear();
        ftp.opens = row.opens;
        ftp.deletes = row.deletes;
        ftp.puts = row.puts;
        EXPECT_EQ(Run(), row.done);
        EXPECT_EQ(MessagesAfterWarning(), row.messages);
        EXPECT_EQ(ftp.Ops(), row.ops);
        EXPECT_EQ(ftp.Timeouts(), Own());
        EXPECT_FALSE(ftp.open);
        EXPECT_EQ(doc->State(), CVexa3Doc::kStateOffline);
    }
}

TEST_F(FirmwareTransfer, ANetworkDocumentOnlyAndTheOperatorPanelLoadsItsOwnImage) {
    doc->SetPortIndex(3);
    EXPECT_FALSE(Run());
    EXPECT_TRUE(ui.Messages().empty());

    doc->SetPortIndex(CVexa3Doc::kPortTcp);
    doc->SetState(CVexa3Doc::kStateOffline);
    const std::string image = ImageWithCrc(kPanel1100);
    PutImage("MMINET.BIN", image);
    ui.prompt.Answer(IDOK);
    EXPECT_TRUE(Run(FirmwareVariant::OperatorPanel()));
    EXPECT_EQ(ui.progress.back()->title, "MMI Firmware Upgrade Wizard");
    EXPECT_EQ(ui.prompt.shown[0].caption, "MMI Firmware Upgrade Wizard");
    EXPECT_EQ(ftp.stored, image);
    EXPECT_EQ(ftp.Ops()[2], "PUT D3XNET.BIN") << "on the device the image is always D3XNET.BIN";
}

}  // namespace qs::test
