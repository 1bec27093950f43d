#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "appmodel/firmware/FirmwareVariant.h"
#include "link/FtpClient.h"

namespace qs {

class CVexa3Doc;
class FirmwareImage;
class ProgressSink;
struct UiServices;

// What an upgrade runs on; everything outlives it.
struct FirmwareUpgradeServices {
    const UiServices& ui;
    FtpClient& ftp;
    // The session's own time-outs: the client is given them back at every end.
    FtpTimeouts timeouts;
    // The access code typed by the user; nullopt after Cancel. Empty: always cancelled.
    std::function<std::optional<std::string>()> askAccessCode;
    // Shows (true) or ends (false) the wait cursor.
    std::function<void(bool busy)> waitCursor;
    // Lets the user interface rest for up to `ms` while the device reboots (the clock of `ui`
    // measures the pause).
    std::function<void(int ms)> rest;
    // Where the image file is read; "" the current folder.
    std::string imageFolder;
    // While erasing and uploading: the receive and send time-outs, and the connect retries.
    int transferTimeoutMs = 99999;
    int transferConnectRetries = 7;
};

// Loads a new firmware image into a network-connected controller or operator panel: the
// erase warning, recognition of the image file by its CRC-32, the revision checks against the
// device, the access code (checked by a login while the device is online), the "UF" command
// that reboots the device into its RAM executive, then over FTP the erase of "D3XNET.BIN" and
// the upload of the image; afterwards the document is Offline while the device restarts.
//
// Every end says why (Cancel says nothing) and gives the FTP client its time-outs back. Once
// the erase has begun the user can no longer cancel, and the progress window is pumped
// modally throughout, so nothing else (not the closing of the document) happens meanwhile.
class FirmwareUpgrade {
public:
    static constexpr const char* kUser = "Quillset";
    static constexpr const char* kRemoteImage = "D3XNET.BIN";
    static constexpr const char* kRebootCommand = "UF";
    static constexpr int kRebootPauseMs = 3000;

    static constexpr const char* kEraseWarning =
        "This process will erase ALL nonvolatile memory in the Duravane (configuration, reports, equations, "
        "etc.)... continue?";
    static constexpr const char* kChecking = "Checking for new releases...";
    static constexpr const char* kNoImage = "No new application image found... aborting";
    static constexpr const char* kUnrecognized =
        "This firmware image is unrecognized by Quillset. Verify you have the most recent version of Quillset.";
    static constexpr const char* kInstalled =
        "WARNING: this firmware is already installed in the Duravane III.net - continue anyway?";
    static constexpr const char* kRevisionTitle = "Quillset Firmware Upgrade Wizard";
    static constexpr const char* kNotFlash =
        "FATAL: Current online Duravane is not FLASH based (revisions prior to 11.00 cannot be upgraded via FTP).";
    static constexpr const char* kUnknownDevice =
        "WARNING: Current device online is not a recognized Duravane III.net revision - attempt upgrade anyway?";
    static constexpr const char* kPreparing = "Preparing Duravane III.net for upgrade process...";
    static constexpr const char* kInvalidCode = "Invalid access code... aborting operation";
    static constexpr const char* kConnectErrorTitle = "Error connecting to Duravane III.net";
    static constexpr const char* kNoValidation = "Unable to establish FTP connection with Duravane III.net";
    static constexpr const char* kRamExecutiveFailed = "Error loading RAM executive - aborting.";
    static constexpr const char* kRebooting =
        "Allowing Duravane III.net to reboot into RAM executive; please wait...";
    static constexpr const char* kNoConnection = "Unable to establish connection with Duravane III.net";
    static constexpr const char* kInitiating = "Initiating application image download...";
    static constexpr const char* kErasing = "Erasing existing application memory (flash)...";
    static constexpr const char* kEraseRefused =
        "Duravane III.net refused to erase the existing application image... aborting upgrade.";
    static constexpr const char* kEraseLost =
        "Connection was closed by Duravane III.net - erase process may have taken longer than expected.\r\n "
        "Verify erase has completed then click OK.";
    static constexpr const char* kNoReconnection = "Unable to re-establish connection with Duravane III.net... aborting";
    static constexpr const char* kDownloading = "downloading image...";
    static constexpr const char* kUploadFailed = "Application image failed to download successfully... aborting upgrade.";
    static constexpr const char* kRestarting = "Allowing Duravane III.net to restart with new image...";
    static constexpr const char* kDone = "Transfer completed. The Duravane will be factory initialized. ";
    static constexpr const char* kDoneTitle = "Firmware Upgraded Successfully";

    FirmwareUpgrade(const FirmwareVariant& variant, CVexa3Doc& document, FirmwareUpgradeServices services);
    ~FirmwareUpgrade();
    FirmwareUpgrade(const FirmwareUpgrade&) = delete;
    FirmwareUpgrade& operator=(const FirmwareUpgrade&) = delete;

    // Whether a device of this revision has the flash an image is loaded into over FTP: from
    // 11.00 on (the revision is compared in double precision with 10.98, so that a stored
    // 10.98 does not pass).
    static bool FlashBased(float revision);

    // The whole procedure; true when the image was uploaded. A document that is not on
    // TCP/IP has nothing to upgrade over the network: false at once.
    bool Run();

private:
    bool Procedure();
    std::optional<FirmwareImage> ReadImage();
    // The device's revision against the image's; false when the user or the rules end it.
    bool CheckRevisions(float image);
    // Online: the access code tried by a login, then "UF" and the reboot pause.
    bool PrepareDevice(const std::string& code);
    // Erase and upload under the long time-outs.
    bool Transfer(const FirmwareImage& image, const std::string& code);
    // Sets the progress text; false when the user has cancelled.
    bool Step(const char* text);
    // The reboot pause with the progress window pumped; false when cancelled.
    bool Pause(int ms);
    // A box, with the wait cursor lifted while it is up.
    int Say(const std::string& text, const std::string& caption = {}, unsigned type = 0);
    void SetBusy(bool busy);
    std::string Host() const;

    const FirmwareVariant& variant_;
    CVexa3Doc& doc_;
    FirmwareUpgradeServices services_;
    std::unique_ptr<ProgressSink> progress_;
    bool cancelOffered_ = true;
    bool busy_ = false;
};

}  // namespace qs
