#include <gtest/gtest.h>

#include <memory>

#include "DeviceFrames.h"
#include "RecordingUi.h"
#include "ScriptedStream.h"
#include "link/MiniProtocol.h"

namespace qs::test {

TEST(RejectionText, EachTableCoversItsRowsAndNothingBeyond) {
    struct Row {
        uint32_t code;
        const char* text;
    };
    const Row rows[] = {
        {0, "Invalid Command"},
        {13, "Comm Authorized"},
        {15, "Keypad/Display in Use"},
        {41, "No pending transaction reports"},
        {42, "Unknown Error 0x002A"},
        {89, "Unknown Error 0x0059"},
        {90, "Minicomputer Protocol Required"},
        {96, "Data Request Queued - Retry Later"},
        {99, "Duravane III Internal Error"},
        {100, "Unknown Error 0x0064"},
        {0x7FFF, "Unknown Error 0x7FFF"},
        {0x8000, "Empty Configuration"},
        {0x8018, "Display/Keypad in Remote Control"},
        {0x802D, "Unknown Error"},
        {0x802E, "Unused Batch"},
        {0x802F, "Unknown Error 0x802F"},
        {0xBFFF, "Unknown Error 0xBFFF"},
        {0xC000, "Internal Flash Error"},
        {0xC006, "Flash Write Error"},
        {0xC007, "Unknown Error 0xC007"},
        {0xFFFF, "Unknown Error 0xFFFF"},
        {0x12345678, "Unknown Error 0x12345678"},
    };
    for (const auto& r : rows) EXPECT_EQ(DX3Protocol::ErrorText(r.code), r.text) << std::hex << r.code;
}

namespace {

struct RejectingLink {
    explicit RejectingLink(const std::string& line) {
        auto s = std::make_unique<ScriptedStream>(false);
        s->Feed(line);
        stream = s.get();
        protocol = std::make_unique<MiniProtocol>(std::move(s), 1);
    }
    ScriptedStream* stream;
    std::unique_ptr<MiniProtocol> protocol;
};

}  // namespace

TEST(ReportError, ARejectionNamesThePrefixAndTheDeviceText) {
    RecordingUi ui;
    RejectingLink link(MiniReply(1, "NO05"));
    std::string reply;
    ASSERT_EQ(link.protocol->Receive(reply), kStatusRejected);

    ui.prompt.Answer(IDRETRY);
    EXPECT_EQ(link.protocol->ReportError("Cannot read SY 111", MB_ABORTRETRYIGNORE), IDRETRY);
    ASSERT_EQ(ui.prompt.shown.size(), 1u);
    EXPECT_EQ(ui.prompt.shown[0].text, "Cannot read SY 111 - No Transaction Ever Done");
    EXPECT_EQ(ui.prompt.shown[0].type, static_cast<unsigned>(MB_ABORTRETRYIGNORE));
    EXPECT_EQ(ui.prompt.shown[0].caption, "");

    // Without a prefix the default one keeps its own dash before the separator.
    EXPECT_EQ(link.protocol->ReportError(nullptr, MB_OK), IDOK);
    EXPECT_EQ(ui.LastMessage(), "Command Rejected -  - No Transaction Ever Done");
    EXPECT_TRUE(link.stream->showErrorPrefixes.empty());

    RejectingLink binary(BinaryReply(1, 0x0413, 0x8006));
    std::vector<uint8_t> out;
    ASSERT_EQ(binary.protocol->ReceiveBinary(out), -kStatusRejected);
    binary.protocol->ReportError(nullptr, MB_OK);
    EXPECT_EQ(ui.LastMessage(), "Command Rejected -  - Bad CRC");
}

TEST(ReportError, OtherFailuresAreThePortsToShowWithoutTheCallersPrefix) {
    RecordingUi ui;
    RejectingLink link("");  // nothing comes back
    std::string reply;
    ASSERT_EQ(link.protocol->Receive(reply), kStatusTimeout);
    ui.prompt.Answer(IDIGNORE);
    EXPECT_EQ(link.protocol->ReportError("Cannot read SY 111", MB_ABORTRETRYIGNORE), IDIGNORE);
    EXPECT_EQ(link.stream->showErrorPrefixes, std::vector<std::string>{"(null)"});
    ASSERT_EQ(ui.prompt.shown.size(), 1u);
    EXPECT_NE(ui.LastMessage().find("Timeout waiting for response"), std::string::npos) << ui.LastMessage();
    EXPECT_EQ(ui.LastMessage().find("Cannot read"), std::string::npos) << ui.LastMessage();
    EXPECT_EQ(ui.prompt.shown[0].type, static_cast<unsigned>(MB_ABORTRETRYIGNORE));

    // A refused block names the refusal, not what the port said before.
    link.stream->SetStatus(kStatusRejected);
    EXPECT_EQ(link.protocol->SendBinary(std::vector<uint8_t>(2000, 0)), nullptr);
    link.protocol->ReportError("Cannot write", MB_OK);
    EXPECT_NE(ui.LastMessage().find("Error In Transmission of Data"), std::string::npos) << ui.LastMessage();
    EXPECT_EQ(ui.LastMessage().find("Cannot write"), std::string::npos) << ui.LastMessage();
}

}  // namespace qs::test
