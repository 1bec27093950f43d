#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "DatabaseTransfer.h"
#include "DeviceFrames.h"
#include "RecordingUi.h"
#include "SimRig.h"
#include "TempDir.h"
#include "link/BlockReader.h"
#include "link/BlockWriter.h"
#include "link/MiniProtocol.h"
#include "link/TransferCodes.h"

// Block transfers against the simulated controller, over loopback TCP and over a pty, in
// Minicomputer framing: what the simulator received is read back from its frame log and its
// data folder.
namespace qs::test {

namespace {

constexpr size_t kDatabaseLimit = 65000;

std::string RandomBytes(size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::string s(n, '\0');
    for (char& c : s) c = static_cast<char>(rng() & 0xFF);
    return s;
}

// Ten NUL-terminated records of 100 bytes, 1000 bytes in all.
std::vector<std::string> ThousandBytes() {
    std::vector<std::string> items;
    for (int i = 0; i < 10; ++i) {
        std::string item = RandomBytes(99, 40 + i);
        for (char& c : item) {
            if (c == '\0') c = '0';
        }
        items.push_back(item + '\0');
    }
    return items;
}

std::string Joined(const std::vector<std::string>& items) {
    std::string s;
    for (const auto& i : items) s += i;
    return s;
}

}  // namespace

// A simulator on one transport with a data folder, and what a transfer over it says.
class BlockTransferRig {
protected:
    explicit BlockTransferRig(Transport transport) : transport_(transport) {}
    bool OverPty() const { return transport_ == Transport::Pty; }

    // Starts the simulator on this test's link with a data folder, and the data sets put so far.
    void Start(std::vector<std::string> args = {}) {
        sim_ = std::make_unique<SimRig>(SimRig::Setup{.transport = transport_, .args = args, .dataSets = sets_, .dataDir = true});
        ASSERT_TRUE(sim_->Ready()) << sim_->Error();
    }
    std::unique_ptr<MiniProtocol> Connect() { return sim_->OpenMini(); }

    // What a port failure reads like on this link.
    std::string PortText(const char* status) const {
        return std::string("Error on serial device at port ") + (OverPty() ? std::to_string(SimRig::kComPort) : "7734") +
               ": - " + status;
    }
    // One wait for a reply on this link, in milliseconds.
    int64_t ReplyWaitMs() const { return OverPty() ? 2142 : 4000; }

    std::vector<std::string> WaitForBlocks(size_t n) {
        EXPECT_TRUE(sim_->Sim().WaitForLog([&](const auto&) { return sim_->Blocks().size() >= n; }));
        return sim_->Blocks();
    }
    void PutDataSet(uint16_t code, const std::string& bytes) {
        char name[16];
        std::snprintf(name, sizeof name, "%04X.bin", code);
        sets_[name] = bytes;
        if (sim_) sim_->PutDataSet(code, bytes);
    }
    std::string Stored() const { return ReadWhole(sim_->DataFile("0419.bin")); }

    Transport transport_;
    RecordingUi ui_;
    std::map<std::string, std::string> sets_;
    std::unique_ptr<SimRig> sim_;
};

class BlockTransferSim : public BlockTransferRig, public ::testing::TestWithParam<Transport> {
protected:
    BlockTransferSim() : BlockTransferRig(GetParam()) {}
};

TEST_P(BlockTransferSim, ThousandByteWriteIsAcceptedStoredAndReadsBack) {
    Start();
    auto link = Connect();
    const auto items = ThousandBytes();
    BlockWriter writer(*link, kTransferWriteCardDatabase, DatabaseWriteTexts(), SecondWait(true));
    ASSERT_EQ(writer.Write({}, items), TransferOutcome::Done) << ::testing::PrintToString(ui_.Messages());
    EXPECT_TRUE(ui_.Messages().empty());

    const std::string payload = Joined(items) + '\0';
    EXPECT_EQ(Hex(Stored()), Hex(payload));

    const auto blocks = sim_->Blocks();
    ASSERT_GE(blocks.size(), 4u);  // the initiation and at least three data frames
    EXPECT_EQ(Hex(blocks[0]), Hex(std::string("SV \x04\x19", 5)));
    EXPECT_EQ(Hex(blocks[1].substr(5, 4)), "00 00 03 E9");
    EXPECT_EQ(Hex(blocks.back().substr(blocks.back().size() - 5)), Hex('\0' + U32Be(BitwiseCrc32(payload))));
    std::string carried;
    for (size_t i = 1; i < blocks.size(); ++i) {
        EXPECT_LE(blocks[i].size(), i + 1 < blocks.size() ? 507u : 512u);
        carried += blocks[i].substr(i == 1 ? 9 : 5);
    }
    EXPECT_EQ(Hex(carried), Hex(payload + U32Be(BitwiseCrc32(payload))));

    // The stored set, served back as a read, arrives byte for byte.
    PutDataSet(kTransferReadCardDatabase, Stored());
    std::vector<uint8_t> data;
    BlockReader reader(*link, kTransferReadCardDatabase, DatabaseReadTexts(), kDatabaseLimit);
    ASSERT_EQ(reader.Read(data), TransferOutcome::Done);
    EXPECT_EQ(Hex(std::string(data.begin(), data.end())), Hex(payload));
}

TEST_P(BlockTransferSim, MultiBlockReadMatchesByteForByte) {
    const std::string set = RandomBytes(2345, 3);  // every byte value, escapes included
    PutDataSet(kTransferReadEquations, set);
    Start({"--block-size", "500"});
    auto link = Connect();
    std::vector<uint8_t> data;
    BlockReader reader(*link, kTransferReadEquations, DatabaseReadTexts(), kDatabaseLimit);
    ASSERT_EQ(reader.Read(data), TransferOutcome::Done) << ::testing::PrintToString(ui_.Messages());
    EXPECT_TRUE(std::string(data.begin(), data.end()) == set);
    const auto blocks = WaitForBlocks(6);
    ASSERT_EQ(blocks.size(), 6u);
    for (int k = 0; k < 6; ++k) EXPECT_EQ(Hex(blocks[static_cast<size_t>(k)]), Hex("SV \x04\x12" + Bytes({0, k})));
    EXPECT_EQ(ui_.progress.at(0)->pos, 2345);
}

TEST_P(BlockTransferSim, EmptyDataSetEndsAtOnceWithTheCrcOfNothing) {
    PutDataSet(kTransferReadCardDatabase, "");
    Start();
    auto link = Connect();
    std::vector<uint8_t> data = {1, 2, 3};
    BlockReader reader(*link, kTransferReadCardDatabase, DatabaseReadTexts(), kDatabaseLimit);
    ASSERT_EQ(reader.Read(data), TransferOutcome::Done);
    EXPECT_TRUE(data.empty());
    EXPECT_EQ(reader.AnnouncedCrc(), 0u);
    EXPECT_EQ(sim_->Blocks().size(), 1u);
}

// A fault of the device and what the transfer then says (a port's own text when `message`
// starts with "port: "); how many blocks the simulator was asked for or sent.
struct TransferFault {
    const char* name;
    std::string fault;
    std::string message;
    size_t blocks;
};

class BlockTransferFault : public BlockTransferRig,
                           public ::testing::TestWithParam<std::tuple<TransferFault, Transport>> {
protected:
    BlockTransferFault() : BlockTransferRig(std::get<1>(GetParam())) {}
    const TransferFault& Row() const { return std::get<0>(GetParam()); }
    std::string Message() const {
        const std::string& m = Row().message;
        return m.starts_with("port: ") ? PortText(m.substr(6).c_str()) : m;
    }
};

std::string FaultName(const ::testing::TestParamInfo<std::tuple<TransferFault, Transport>>& info) {
    return std::string(std::get<0>(info.param).name) + "_" + Name(std::get<1>(info.param));
}

using BlockReadFault = BlockTransferFault;

TEST_P(BlockReadFault, EndsWithItsMessageAndKeepsNothing) {
    PutDataSet(kTransferReadCardDatabase, RandomBytes(1400, 9));
    Start({"--fault", Row().fault});
    auto link = Connect();
    std::vector<uint8_t> data = {'k'};
    BlockReader reader(*link, kTransferReadCardDatabase, DatabaseReadTexts(), kDatabaseLimit);
    EXPECT_EQ(reader.Read(data), TransferOutcome::Failed);
    EXPECT_EQ(ui_.Messages(), std::vector<std::string>{Message()});
    EXPECT_EQ(sim_->Blocks().size(), Row().blocks);
    EXPECT_EQ(data, std::vector<uint8_t>{'k'});
}

INSTANTIATE_TEST_SUITE_P(
    Faults, BlockReadFault,
    ::testing::Combine(
        ::testing::Values(
            TransferFault{"RefusedStart", "reject-init=8008", "Error initiating read -  - Download Already in Progress", 1},
            TransferFault{"RefusedBlock", "reject-block=2:8003", "Error in transfer -  - Block Out of Sequence", 3},
            TransferFault{"OneByteTooLarge", "length=65001",
                          "Error initiating read -  - Data too large for Target Buffer (65001 bytes announced, at most "
                          "65000 accepted)", 1},
            TransferFault{"LargestLength", "length",
                          "Error initiating read -  - Data too large for Target Buffer (4294967295 bytes announced, at "
                          "most 65000 accepted)", 1},
            TransferFault{"EmptyBlock", "empty-block,block=2", "port: Protocol error in response", 3},
            TransferFault{"ShortReply", "short-reply,block=0", "port: Protocol error in response", 1},
            TransferFault{"BadCrc", "bad-crc", "CRC of returned card database does not match expected value.", 4}),
        ::testing::ValuesIn(kTransports)),
    FaultName);

using BlockWriteFault = BlockTransferFault;

TEST_P(BlockWriteFault, EndsWithItsMessageAndStoresNothing) {
    Start({"--fault", Row().fault});
    auto link = Connect();
    BlockWriter writer(*link, kTransferWriteCardDatabase, DatabaseWriteTexts(), SecondWait(true));
    EXPECT_EQ(writer.Write({}, ThousandBytes()), TransferOutcome::Failed);
    EXPECT_EQ(ui_.Messages(), std::vector<std::string>{Message()});
    EXPECT_EQ(sim_->Blocks().size(), Row().blocks);
    EXPECT_FALSE(std::filesystem::exists(sim_->DataFile("0419.bin")));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, BlockWriteFault,
    ::testing::Combine(
        ::testing::Values(
            TransferFault{"RefusedStart", "reject-init=8008", "Unable to initiate transfer -  - Download Already in Progress", 1},
            TransferFault{"RefusedBlock", "reject-block=2:8003", "Error sending database -  - Block Out of Sequence", 3},
            TransferFault{"RefusedFinal", "status=8006,final", "Error downloading database -  - Bad CRC", 4}),
        ::testing::ValuesIn(kTransports)),
    FaultName);

TEST_P(BlockTransferSim, FinalAcknowledgementLateOnceCountsAsSuccessWithTheSecondWait) {
    Start({"--fault", "late-final=" + std::to_string(ReplyWaitMs() + 1000)});
    auto link = Connect();
    BlockWriter writer(*link, kTransferWriteCardDatabase, DatabaseWriteTexts(), SecondWait(true));
    EXPECT_EQ(writer.Write({}, ThousandBytes()), TransferOutcome::Done);
    EXPECT_TRUE(ui_.Messages().empty());
    EXPECT_EQ(Stored().size(), 1001u);
}

TEST_P(BlockTransferSim, FinalAcknowledgementLateFailsWithoutTheSecondWait) {
    Start({"--fault", "late-final=" + std::to_string(ReplyWaitMs() + 1000)});
    auto link = Connect();
    BlockWriter writer(*link, kTransferWriteCardDatabase, DatabaseWriteTexts(), SecondWait(false));
    EXPECT_EQ(writer.Write({}, ThousandBytes()), TransferOutcome::Failed);
    EXPECT_EQ(ui_.Messages(), std::vector<std::string>{PortText("Timeout waiting for response")});
}

TEST_P(BlockTransferSim, FinalAcknowledgementNeverComingFailsAfterTwoWaits) {
    Start({"--fault", "no-final"});
    auto link = Connect();
    BlockWriter writer(*link, kTransferWriteCardDatabase, DatabaseWriteTexts(), SecondWait(true));
    EXPECT_EQ(writer.Write({}, ThousandBytes()), TransferOutcome::Failed);
    EXPECT_EQ(ui_.Messages(), std::vector<std::string>{PortText("Timeout waiting for response")});
}

TEST_P(BlockTransferSim, CancelAfterKStepsSendsNothingMore) {
    PutDataSet(kTransferReadCardDatabase, RandomBytes(2400, 11));
    Start({"--block-size", "500"});
    auto link = Connect();
    {
        // Step 600 falls in the second frame: the initiation and the first frame have gone.
        ui_.CancelAfterPumps(600);
        BlockWriter writer(*link, kTransferWriteCardDatabase, DatabaseWriteTexts(), SecondWait(true));
        EXPECT_EQ(writer.Write({}, ThousandBytes()), TransferOutcome::Cancelled);
    }
    {
        ui_.CancelAfterPumps(2);
        std::vector<uint8_t> data;
        BlockReader reader(*link, kTransferReadCardDatabase, DatabaseReadTexts(), kDatabaseLimit);
        EXPECT_EQ(reader.Read(data), TransferOutcome::Cancelled);
        EXPECT_TRUE(data.empty());
    }
    // A marker after both: whatever the simulator got in between was sent before the cancels.
    ui_.CancelAfterPumps(0);
    const auto marker = std::vector<uint8_t>{'S', 'V', ' ', 0x04, 0x10, 0x00, 0x00};
    ASSERT_NE(link->SendBinary(marker), nullptr);
    const auto blocks = WaitForBlocks(6);
    ASSERT_EQ(blocks.size(), 6u);
    EXPECT_EQ(Hex(blocks[0]), Hex(std::string("SV \x04\x19", 5)));
    EXPECT_EQ(Hex(blocks[1].substr(5, 4)), "00 00 03 E9");
    EXPECT_EQ(Hex(blocks[2]), Hex(std::string("SV \x04\x18\x00\x00", 7)));
    EXPECT_EQ(Hex(blocks[3]), Hex(std::string("SV \x04\x18\x00\x01", 7)));
    EXPECT_EQ(Hex(blocks[4]), Hex(std::string("SV \x04\x18\x00\x02", 7)));
    EXPECT_EQ(Hex(blocks[5]), Hex(std::string(marker.begin(), marker.end())));
    EXPECT_TRUE(ui_.Messages().empty());
    EXPECT_FALSE(std::filesystem::exists(sim_->DataFile("0419.bin")));
}

INSTANTIATE_TEST_SUITE_P(Links, BlockTransferSim, ::testing::ValuesIn(kTransports), LinkName());

}  // namespace qs::test
