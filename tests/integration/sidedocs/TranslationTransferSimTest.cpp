// Translations to and from the simulated controller: the frames on the wire, the identification
// gate, "LO" after success only, the set each address keeps, and one case per named fault.
#include <gtest/gtest.h>

#include <set>

#include "DeviceFrames.h"
#include "RecordingUi.h"
#include "TranslationSim.h"
#include "sidedocs/translations/CTranslation.h"
#include "sidedocs/translations/DeviceLiterals.h"
#include "sidedocs/translations/TranslationTransfer.h"

namespace qs::test {
namespace {

uint32_t BitwiseCrc32(const std::string& data) {
    uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : data) {
        c ^= b;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
    }
    return ~c;
}

uint32_t U32At(const std::string& s, size_t at) {
    uint32_t v = 0;
    for (size_t i = at; i < at + 4; ++i) v = v << 8 | static_cast<unsigned char>(s.at(i));
    return v;
}

// Texts of every length from 0 to 400 bytes, in 1251, with bytes the line must escape.
CTranslation Varied() {
    CTranslation t;
    t.SetName("Russkij perevod dlja terminala 4");  // 32 characters
    t.SetCharacterSet(2);
    for (size_t i = 0; i < 4574; i += 7) {
        std::string text;
        for (size_t k = 0; k < (i * 13) % 401; ++k) text += static_cast<char>(0xC0 + (i + k) % 64);
        if (i % 3 == 0 && !text.empty()) text[0] = '\x02';
        if (i % 5 == 0 && !text.empty()) text.back() = '\x7F';
        t.SetText(i, text);
    }
    t.SetText(4574, "never sent");
    return t;
}

bool Contains(const std::vector<std::string>& v, const std::string& s) {
    return std::find(v.begin(), v.end(), s) != v.end();
}

long LoCount(const TranslationSim& sim) {
    const std::vector<std::string> commands = sim.Commands();
    return std::count(commands.begin(), commands.end(), "LO");
}

class TranslationSimTransfer : public ::testing::Test {
protected:
    RecordingUi ui;
};

TEST_F(TranslationSimTransfer, DownloadFramesCarryTheWholeSetAndLoFollowsSuccess) {
    TranslationSim sim;
    ASSERT_TRUE(sim.Running()) << sim.Error();
    auto doc = sim.Document();
    const CTranslation t = Varied();
    ASSERT_TRUE(t.DownloadToDevice(TranslationSim::Source(*doc), ui.services))
        << ::testing::PrintToString(ui.Messages());
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(ui.progress.at(0)->title, "Downloading Translation...");

    // What was sent, worked out here: the header, each text with its NUL, the closing 0x00.
    std::string header = t.Name().substr(0, 29) + std::string("\0\0\x02", 3);
    std::string payload = header;
    std::set<size_t> boundaries = {0, 32};
    for (size_t i = 0; i < 4574; ++i) {
        payload += t.Text(i) + '\0';
        boundaries.insert(payload.size());
    }
    payload += '\0';

    const std::vector<std::string> blocks = sim.ReceivedBlocks();
    ASSERT_GE(blocks.size(), 3u);
    EXPECT_EQ(Hex(blocks[0]), Hex(std::string("SV \x04\x11", 5)));
    EXPECT_EQ(U32At(blocks[1], 5), payload.size());
    std::string carried;
    size_t offset = 0;
    for (size_t i = 1; i < blocks.size(); ++i) {
        const bool last = i + 1 == blocks.size();
        EXPECT_EQ(blocks[i].substr(0, 5), std::string("SV \x04\x11", 5));
        EXPECT_LE(blocks[i].size(), last ? 512u : 507u) << i;
        // Every frame starts at a text's start: no text is split between two frames.
        EXPECT_TRUE(boundaries.count(offset)) << "frame " << i << " starts at " << offset;
        const std::string body = blocks[i].substr(i == 1 ? 9 : 5);
        carried += body;
        offset += body.size();
    }
    EXPECT_EQ(Hex(carried.substr(0, 32)), Hex(header));
    EXPECT_EQ(carried.size(), payload.size() + 4);
    EXPECT_TRUE(carried.substr(0, payload.size()) == payload);
    EXPECT_EQ(U32At(carried, payload.size()), BitwiseCrc32(payload));

    // "LO" after the last frame was acknowledged, and only then.
    const std::vector<std::string> commands = sim.Commands();
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.back(), "LO");
    EXPECT_EQ(std::count(commands.begin(), commands.end(), "LO"), 1);
}

TEST_F(TranslationSimTransfer, AnUploadBringsBackWhatEachAddressWasGiven) {
    TranslationSim sim({"--addresses", "1,2,3"});
    ASSERT_TRUE(sim.Running()) << sim.Error();
    auto one = sim.Document(1);
    auto two = sim.Document(2);
    const CTranslation sent = Varied();
    CTranslation other;
    other.SetName("Polski");
    other.SetCharacterSet(3);
    other.SetText(4573, "Inny blad");
    ASSERT_TRUE(sent.DownloadToDevice(TranslationSim::Source(*one), ui.services));
    ASSERT_TRUE(other.DownloadToDevice(TranslationSim::Source(*two), ui.services));

    CTranslation back;
    ASSERT_TRUE(back.UploadFromDevice(TranslationSim::Source(*one), ui.services))
        << ::testing::PrintToString(ui.Messages());
    EXPECT_EQ(back.Name(), sent.Name().substr(0, 29));
    EXPECT_EQ(back.CharacterSet(), 2);
    for (size_t i = 0; i < 4574; ++i) ASSERT_EQ(back.Text(i), sent.Text(i)) << i;
    EXPECT_EQ(back.Text(4574), "");
    EXPECT_EQ(ui.progress.back()->title, "Reading Translation...");
    EXPECT_TRUE(Contains(ui.progress.back()->texts, "Uploading..."));

    ASSERT_TRUE(back.UploadFromDevice(TranslationSim::Source(*two), ui.services));
    EXPECT_EQ(back.Name(), "Polski");
    EXPECT_EQ(back.CharacterSet(), 3);
    EXPECT_EQ(back.Text(4573), "Inny blad");
    EXPECT_EQ(back.Text(0), "");
    EXPECT_TRUE(ui.Messages().empty());
    // An upload sends no "LO".
    EXPECT_EQ(LoCount(sim), 2);

    // An address never written has no translation: the read is refused and nothing changes.
    auto three = sim.Document(3);
    EXPECT_FALSE(back.UploadFromDevice(TranslationSim::Source(*three), ui.services));
    EXPECT_EQ(ui.LastMessage(), "Error initiating read -  - No Configuration Available");
    EXPECT_EQ(back.Name(), "Polski");
}

TEST_F(TranslationSimTransfer, AnUploadOverThePtyMatchesTheDownload) {
    TranslationSim sim({}, SimTransport::Pty);
    ASSERT_TRUE(sim.Running()) << sim.Error();
    auto doc = sim.Document();
    const CTranslation sent = Varied();
    ASSERT_TRUE(sent.DownloadToDevice(TranslationSim::Source(*doc), ui.services))
        << ::testing::PrintToString(ui.Messages());
    CTranslation back;
    ASSERT_TRUE(back.UploadFromDevice(TranslationSim::Source(*doc), ui.services));
    EXPECT_EQ(back.Texts(), [&] {
        std::vector<std::string> texts = sent.Texts();
        texts[4574].clear();
        return texts;
    }());
}

TEST_F(TranslationSimTransfer, AnEmptyTranslationSendsNothing) {
    TranslationSim sim;
    ASSERT_TRUE(sim.Running()) << sim.Error();
    auto doc = sim.Document();
    CTranslation empty;
    EXPECT_FALSE(empty.DownloadToDevice(TranslationSim::Source(*doc), ui.services));
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{TranslationTransfer::kNothingToSend});
    EXPECT_EQ(sim.FramesReceived(), 0u);
}

struct GateCase {
    const char* persona;
    bool download;
};

class TranslationSimGate : public TranslationSimTransfer, public ::testing::WithParamInterface<GateCase> {};

TEST_P(TranslationSimGate, AnotherRevisionOrAnOperatorPanelIsRefusedBeforeAnyBlock) {
    TranslationSim sim({"--persona", GetParam().persona});
    ASSERT_TRUE(sim.Running()) << sim.Error();
    auto doc = sim.Document();
    CTranslation t;
    t.SetText(0, "Bereit");
    const bool done = GetParam().download ? t.DownloadToDevice(TranslationSim::Source(*doc), ui.services)
                                          : t.UploadFromDevice(TranslationSim::Source(*doc), ui.services);
    EXPECT_FALSE(done);
    EXPECT_EQ(ui.LastMessage(), TranslationTransfer::kWrongDevice);
    EXPECT_TRUE(sim.ReceivedBlocks().empty());
    EXPECT_TRUE(Contains(sim.Commands(), "GP"));
    EXPECT_EQ(t.Text(0), "Bereit");
}

INSTANTIATE_TEST_SUITE_P(Devices, TranslationSimGate,
                         ::testing::Values(GateCase{"controller-1125", true}, GateCase{"controller-1125", false},
                                           GateCase{"mmi", true}, GateCase{"mmi", false}),
                         [](const ::testing::TestParamInfo<GateCase>& info) {
                             return std::string(info.param.persona[0] == 'm' ? "Panel" : "Rev1125") +
                                    (info.param.download ? "Download" : "Upload");
                         });

struct FaultCase {
    const char* name;
    std::string fault;
    bool download;
    std::string message;
};

class TranslationSimFault : public TranslationSimTransfer, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(TranslationSimFault, IsSaidAndEndsTheTransferWithoutLo) {
    TranslationSim sim({"--fault", GetParam().fault});
    ASSERT_TRUE(sim.Running()) << sim.Error();
    auto doc = sim.Document();
    CTranslation t = Varied();
    if (GetParam().download) {
        EXPECT_FALSE(t.DownloadToDevice(TranslationSim::Source(*doc), ui.services));
    } else {
        // Something to read first, then the faulty read leaves the translation as it was.
        ASSERT_TRUE(CTranslation(t).DownloadToDevice(TranslationSim::Source(*doc), ui.services));
        t.SetName("kept");
        EXPECT_FALSE(t.UploadFromDevice(TranslationSim::Source(*doc), ui.services));
        EXPECT_EQ(t.Name(), "kept");
    }
    EXPECT_EQ(ui.LastMessage(), GetParam().message);
    EXPECT_EQ(LoCount(sim), GetParam().download ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, TranslationSimFault,
    ::testing::Values(
        FaultCase{"InitiationRefused", "reject-init=8008,code=0411", true,
                  "Unable to initiate transfer -  - Download Already in Progress"},
        FaultCase{"FrameRefused", "reject-block=3:8006,code=0411", true, "Error sending translation text -  - Bad CRC"},
        FaultCase{"LastFrameRefused", "status=8013,final,code=0411", true,
                  "Error downloading translation -  - Storage Full"},
        FaultCase{"ReadRefused", "reject-init=8001,code=0410", false, "Error initiating read -  - Block Not Found"},
        FaultCase{"BlockRefused", "reject-block=2:8002,code=0410", false, "Error in transfer -  - Bad Message Format"},
        FaultCase{"WrongCrc", "bad-crc,code=0410", false, "CRC of returned translation does not match expected value."},
        FaultCase{"TooLong", "length=3000000,code=0410", false,
                  "Error initiating read -  - Data too large for Target Buffer (3000000 bytes announced, at most "
                  "2296181 accepted)"}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qs::test
