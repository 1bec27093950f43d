#pragma once
// The firmware upgrade over a scripted device on the document's TCP/IP link and a scripted FTP
// client: what the user is asked and told, what goes to the device and to the FTP server, and
// with which time-outs.
#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "DeviceFrames.h"
#include "DocumentFixtures.h"
#include "RecordingUi.h"
#include "ScriptedDevice.h"
#include "TempDir.h"
#include "appmodel/firmware/FirmwareUpgrade.h"
#include "link/ComPortTable.h"
#include "programdata/CVexa3Doc.h"

namespace qs::test {

// One operation the client was asked for, with the time-outs it had then.
struct FtpCall {
    std::string op;  // "OPEN host user password", "DELE name", "PUT name", "CLOSE"
    FtpTimeouts timeouts;
};

// Answers each operation from its queue (kOk once the queue is empty) and keeps what it was
// given; `duringPut` runs inside an upload (the pump, a look at the time-outs).
class ScriptedFtp final : public FtpClient {
public:
    FtpStatus Open(const std::string& host, const std::string& user, const std::string& password) override {
        Close();
        calls.push_back({"OPEN " + host + " " + user + " " + password, timeouts_});
        open = Next(opens) == FtpStatus::kOk;
        return open ? FtpStatus::kOk : last;
    }
    FtpStatus Delete(const std::string& name) override {
        calls.push_back({"DELE " + name, timeouts_});
        return Next(deletes);
    }
    FtpStatus Put(const std::string& name, std::span<const uint8_t> bytes) override {
        calls.push_back({"PUT " + name, timeouts_});
        if (pump_) pump_(bytes.size() / 2, bytes.size());
        if (duringPut) duringPut();
        stored.assign(bytes.begin(), bytes.end());
        return Next(puts);
    }
    void Close() override {
        if (open) calls.push_back({"CLOSE", timeouts_});
        open = false;
    }
    std::vector<std::string> Ops() const {
        std::vector<std::string> out;
        for (const FtpCall& c : calls) out.push_back(c.op);
        return out;
    }

    std::deque<FtpStatus> opens, deletes, puts;
    std::vector<FtpCall> calls;
    std::string stored;
    std::function<void()> duringPut;
    bool open = false;

private:
    FtpStatus Next(std::deque<FtpStatus>& queue) {
        last = FtpStatus::kOk;
        if (!queue.empty()) {
            last = queue.front();
            queue.pop_front();
        }
        return last;
    }
    FtpStatus last = FtpStatus::kOk;
};

// Firmware identifiers (CRC-32 of the images) of some revisions.
inline constexpr uint32_t kController1126 = 0x0A463B8B;
inline constexpr uint32_t kController1125 = 0x2AF16B7A;
inline constexpr uint32_t kController1100 = 0x69399D9E;
inline constexpr uint32_t kController1023 = 0x32DCFA8C;
inline constexpr uint32_t kPanel1100 = 0x32A0E748;
inline constexpr uint32_t kUnknownFirmware = 0x5EEDF00D;

inline std::string Hex8(uint32_t v) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", v);
    return text;
}

// An image of `size` bytes whose CRC-32 is `crc`.
inline std::string ImageWithCrc(uint32_t crc, size_t size = 1000) {
    std::string body(size - 4, '\0');
    for (size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>((i * 7 + 3) & 0xFF);
    return WithCrc32(body, crc);
}

class FirmwareRig : public ::testing::Test {
protected:
    static constexpr const char* kCode = "4711";
    static const FtpTimeouts& Own() {
        static const FtpTimeouts own{2000, 3000, 1000, 0};
        return own;
    }

    FirmwareRig() {
        doc = std::make_unique<CVexa3Doc>(ports, FilesIn(definitions.Path()));
        device.answer = [this](int address, const std::string& command) -> std::string {
            if (command == "GP") return gp;
            if (command == "UF") return uf;
            return ScriptedDevice::Controller(address, command);
        };
        device.Attach(*doc);
        doc->SetIpv4(0x7F050607);
        services = ui.services;
        services.clock = &clock;
        ftp.SetTimeouts(Own());
    }

    // Connects (with the write test) to a controller whose "GP" gives `firmware`.
    void Online(uint32_t firmware) {
        gp = Hex8(firmware);
        doc->SetState(CVexa3Doc::kStateNoComm);  // identified again
        ASSERT_EQ(doc->Connect(false), CVexa3Doc::kStateOnline);
        ui.prompt.shown.clear();  // what connecting said about the revision
        sentBefore = device.sent.size();
    }
    void PutImage(const std::string& name, const std::string& bytes) { folder.Write(name, bytes); }

    bool Run(const FirmwareVariant& variant = FirmwareVariant::Controller()) {
        FirmwareUpgradeServices s{
            .ui = services,
            .ftp = ftp,
            .timeouts = Own(),
            .askAccessCode =
                [this]() -> std::optional<std::string> {
                ++codeAsked;
                if (onAccessCode) onAccessCode();
                return accessCode;
            },
            .waitCursor = [this](bool busy) { cursor.push_back(busy); },
            .rest = [this](int ms) { clock.now += ms; },
            .imageFolder = folder.Path(),
            .transferTimeoutMs = 99999,
            .transferConnectRetries = 7,
        };
        FirmwareUpgrade upgrade(variant, *doc, s);
        return upgrade.Run();
    }

    // The boxes after the erase warning, which every run that reads an image answered.
    std::vector<std::string> MessagesAfterWarning() const {
        std::vector<std::string> all = ui.Messages();
        if (!all.empty()) all.erase(all.begin());
        return all;
    }
    // Text commands the device took since Online().
    std::vector<std::string> DeviceCommands() const { return device.CommandsFrom(sentBefore); }

    RecordingUi ui;
    UiServices services;
    FakeClock clock;
    TempDir definitions;  // none: the procedure needs no program codes
    TempDir folder;
    ComPortTable ports;
    std::unique_ptr<CVexa3Doc> doc;
    ScriptedDevice device;
    ScriptedFtp ftp;
    std::string gp = Hex8(kController1126);
    std::string uf = "UF";
    std::optional<std::string> accessCode = std::string(kCode);
    std::function<void()> onAccessCode;
    int codeAsked = 0;
    std::vector<bool> cursor;
    size_t sentBefore = 0;
};

}  // namespace qs::test
