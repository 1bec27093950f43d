#include "appmodel/firmware/FirmwareUpgrade.h"

#include <algorithm>

#include "appmodel/firmware/FirmwareImage.h"
#include "appmodel/programdata/DocumentOptionsModel.h"
#include "link/DX3Protocol.h"
#include "platform/UiServices.h"
#include "programdata/CVexa3Doc.h"

namespace qs {

namespace {

constexpr int kRestSliceMs = 50;

// Gives the client its own time-outs back however the scope ends.
class TimeoutScope {
public:
    TimeoutScope(FtpClient& ftp, const FtpTimeouts& own) : ftp_(ftp), own_(own) {}
    ~TimeoutScope() { ftp_.SetTimeouts(own_); }
    TimeoutScope(const TimeoutScope&) = delete;
    TimeoutScope& operator=(const TimeoutScope&) = delete;

private:
    FtpClient& ftp_;
    FtpTimeouts own_;
};

}  // namespace

FirmwareUpgrade::FirmwareUpgrade(const FirmwareVariant& variant, CVexa3Doc& document, FirmwareUpgradeServices services)
    : variant_(variant), doc_(document), services_(std::move(services)) {}

FirmwareUpgrade::~FirmwareUpgrade() = default;

bool FirmwareUpgrade::FlashBased(float revision) { return static_cast<double>(revision) >= 10.98; }

bool FirmwareUpgrade::Run() {
    if (doc_.PortIndex() != CVexa3Doc::kPortTcp) return false;
    FtpClient& ftp = services_.ftp;
    TimeoutScope restore(ftp, services_.timeouts);
    ftp.SetTimeouts(services_.timeouts);
    ftp.SetPump([this](uint64_t sent, uint64_t total) {
        if (total > 0) progress_->SetPos(static_cast<int>(std::min<uint64_t>(sent, total)));
        progress_->PeekAndPump(cancelOffered_, true);
    });
    const bool done = Procedure();
    ftp.Close();
    ftp.SetPump({});
    SetBusy(false);
    progress_.reset();
    return done;
}

bool FirmwareUpgrade::Procedure() {
    progress_ = services_.ui.Progress(variant_.wizardTitle, true);
    if (Say(kEraseWarning, variant_.wizardTitle, MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) return false;
    if (!Step(kChecking)) return false;
    SetBusy(true);
    const std::optional<FirmwareImage> image = ReadImage();
    if (!image) return false;
    const std::optional<float> revision = image->RevisionIn(variant_.table());
    if (!revision) {
        Say(kUnrecognized);
        return false;
    }
    if (doc_.State() >= CVexa3Doc::kStateReadOnly && !CheckRevisions(*revision)) return false;

    SetBusy(false);
    const std::optional<std::string> code = services_.askAccessCode ? services_.askAccessCode() : std::nullopt;
    if (!code) return false;
    SetBusy(true);
    if (!Step(kPreparing)) return false;
    if (doc_.State() > CVexa3Doc::kStateOffline && !PrepareDevice(*code)) return false;
    return Transfer(*image, *code);
}

std::optional<FirmwareImage> FirmwareUpgrade::ReadImage() {
    const std::string& folder = services_.imageFolder;
    const std::string path = folder.empty() ? variant_.imageFile : folder + "/" + variant_.imageFile;
    FirmwareImage::Fault fault = FirmwareImage::Fault::kNone;
    std::optional<FirmwareImage> image = FirmwareImage::Read(path, &fault);
    // A file too large to be an image of the device is none the table knows.
    if (fault == FirmwareImage::Fault::kTooLarge) Say(kUnrecognized);
    else if (!image) Say(kNoImage, variant_.missingTitle);
    return image;
}

bool FirmwareUpgrade::CheckRevisions(float image) {
    const float device = doc_.Revision();
    if (device == image && Say(kInstalled, variant_.installedTitle, MB_OKCANCEL) != IDOK) return false;
    if (!FlashBased(device)) {
        if (device != -1.0f) {
            Say(kNotFlash, kRevisionTitle, MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
        if (Say(kUnknownDevice, kRevisionTitle, MB_OKCANCEL) != IDOK) return false;
    }
    if (device > image && Say(variant_.newerText, variant_.newerTitle, MB_OKCANCEL) != IDOK) return false;
    return true;
}

bool FirmwareUpgrade::PrepareDevice(const std::string& code) {
    FtpClient& ftp = services_.ftp;
    const FtpStatus login = ftp.Open(Host(), kUser, code);
    if (login == FtpStatus::kLoginRefused) {
        Say(kInvalidCode, kConnectErrorTitle);
        return false;
    }
    if (login != FtpStatus::kOk) {
        Say(kNoValidation);
        return false;
    }
    ftp.Close();
    if (!Step(kPreparing)) return false;

    // A command that cannot be sent finds the device in its RAM executive already, or not at
    // all: the connection below tells.
    DX3Protocol* protocol = doc_.GetProtocol();
    if (protocol == nullptr) return true;
    protocol->SetAddress(doc_.BaseAddress());
    if (protocol->Send(kRebootCommand) == nullptr) return true;
    std::string reply;
    if (protocol->Receive(reply) == kStatusRejected) {
        SetBusy(false);
        protocol->ReportError(nullptr, MB_OK);
        Say(kRamExecutiveFailed);
        return false;
    }
    return Step(kRebooting) && Pause(kRebootPauseMs);
}

bool FirmwareUpgrade::Transfer(const FirmwareImage& image, const std::string& code) {
    FtpClient& ftp = services_.ftp;
    FtpTimeouts transfer = services_.timeouts;
    transfer.receiveMs = services_.transferTimeoutMs;
    transfer.sendMs = services_.transferTimeoutMs;
    transfer.connectRetries = services_.transferConnectRetries;
    ftp.SetTimeouts(transfer);
    if (ftp.Open(Host(), kUser, code) != FtpStatus::kOk) {
        Say(kNoConnection);
        return false;
    }
    // The last moment the user may still stop: nothing has been erased yet.
    if (!Step(kInitiating)) return false;
    cancelOffered_ = false;
    progress_->WithdrawCancel();

    progress_->SetText(kErasing);
    const FtpStatus erase = ftp.Delete(kRemoteImage);
    if (erase == FtpStatus::kRefused) {
        Say(kEraseRefused);
        return false;
    }
    if (erase != FtpStatus::kOk) {
        Say(kEraseLost);
        if (ftp.Open(Host(), kUser, code) != FtpStatus::kOk) {
            Say(kNoReconnection);
            return false;
        }
    }

    progress_->SetText(kDownloading);
    const std::vector<uint8_t>& bytes = image.Bytes();
    progress_->SetRange(0, static_cast<int>(bytes.size()), 1);
    if (ftp.Put(kRemoteImage, bytes) != FtpStatus::kOk) {
        Say(kUploadFailed);
        return false;
    }
    ftp.Close();
    ftp.SetTimeouts(services_.timeouts);
    doc_.SetState(CVexa3Doc::kStateOffline);
    progress_->SetText(kRestarting);
    Say(kDone, kDoneTitle);
    return true;
}

bool FirmwareUpgrade::Step(const char* text) {
    progress_->SetText(text);
    return progress_->PeekAndPump(true, true);
}

bool FirmwareUpgrade::Pause(int ms) {
    const Clock& clock = services_.ui.Time();
    const int64_t end = clock.NowMs() + ms;
    for (;;) {
        if (!progress_->PeekAndPump(true, true)) return false;
        const int64_t left = end - clock.NowMs();
        if (left <= 0) return true;
        if (services_.rest) services_.rest(static_cast<int>(std::min<int64_t>(left, kRestSliceMs)));
    }
}

int FirmwareUpgrade::Say(const std::string& text, const std::string& caption, unsigned type) {
    const bool wasBusy = busy_;
    SetBusy(false);
    const int answer = services_.ui.Message(text, type, caption);
    SetBusy(wasBusy);
    return answer;
}

void FirmwareUpgrade::SetBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (services_.waitCursor) services_.waitCursor(busy);
}

std::string FirmwareUpgrade::Host() const { return DocumentOptionsModel::FormatIpv4(doc_.Ipv4()); }

}  // namespace qs
