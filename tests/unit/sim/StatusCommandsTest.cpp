// The simulator's status reply (EQ) and the report it prints to the host after PT.
#include "device/StatusCommands.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "Options.h"
#include "Session.h"

namespace sim::test {
namespace {

std::vector<SessionEvent> Ask(Session& session, int address, const std::string& command) {
    const std::string digits = {static_cast<char>('0' + address / 10), static_cast<char>('0' + address % 10)};
    return session.OnBytes("*" + digits + command + "\r\n", 0);
}

std::vector<SessionEvent> Sends(const std::vector<SessionEvent>& events) {
    std::vector<SessionEvent> out;
    for (const SessionEvent& e : events)
        if (e.type == SessionEvent::Type::Send) out.push_back(e);
    return out;
}

}  // namespace

TEST(SimStatus, HexDigitsBecomeStatusCharacters) {
    EXPECT_EQ(StatusCommands::ParseState("0123456789ABCDEF"), "0123456789:;<=>?");
    EXPECT_EQ(StatusCommands::ParseState("000000000000000f"), "000000000000000?");
    EXPECT_FALSE(StatusCommands::ParseState("0123"));
    EXPECT_FALSE(StatusCommands::ParseState("0123456789ABCDEG"));
}

TEST(SimStatus, EachAddressAnswersItsStatesInTurnAndKeepsTheLast) {
    ControllerConfig config;
    config.addresses = {1, 2, 3};
    config.status.states[1] = {"1000000000000000", "0000000000000000"};
    config.status.states[2] = {"<000000000000000"};
    Controller controller(config);
    Session tcp(controller, Transport::Tcp, 1);
    const std::vector<std::pair<int, std::string>> polls = {
        {1, "1000000000000000"}, {2, "<000000000000000"}, {1, "0000000000000000"},
        {1, "0000000000000000"}, {3, "0000000000000000"}, {2, "<000000000000000"},
    };
    for (const auto& [address, status] : polls) {
        const auto sent = Sends(Ask(tcp, address, "EQ"));
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0].record.text, status) << address;
    }
    EXPECT_EQ(Sends(Ask(tcp, 1, "EQ 1"))[0].record.text, "NO00");
}

TEST(SimStatus, PtIsAnsweredThenTheReportFollowsOutsideAnyFrame) {
    ControllerConfig config;
    config.status.report = "REPORT\r\nLINE 2\r\n";
    Controller controller(config);
    for (Transport transport : {Transport::Tcp, Transport::Pty}) {
        Session session(controller, transport, 1);
        const auto sent = Sends(Ask(session, 1, "PT"));
        ASSERT_EQ(sent.size(), 2u);
        EXPECT_EQ(sent[0].wire, "*01PT\r\n");
        EXPECT_EQ(sent[1].wire, "REPORT\r\nLINE 2\r\n");
        EXPECT_EQ(sent[1].record.kind, "raw");
        // A refused PT prints nothing.
        EXPECT_EQ(Sends(Ask(session, 1, "PT 9")).size(), 1u);
    }
    Controller rejecting{ControllerConfig{}};
    ASSERT_EQ(rejecting.Faults().Add("reject=41,on=PT"), "");
    Session session(rejecting, Transport::Tcp, 1);
    const auto sent = Sends(Ask(session, 1, "PT"));
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].record.text, "NO41");
}

TEST(SimStatus, OptionsSetTheStatesAndTheReport) {
    const std::string reportFile = ::testing::TempDir() + "sim-status-report.txt";
    std::ofstream(reportFile, std::ios::binary) << "TICKET\r\n";
    std::string error;
    auto o = Options::Parse({"--status", "2=1000000000000000,0000000000000000", "--status", "7=FFFFFFFFFFFFFFFF",
                             "--report", reportFile},
                            error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->status.states[2], (std::vector<std::string>{"1000000000000000", "0000000000000000"}));
    EXPECT_EQ(o->status.states[7], std::vector<std::string>{"????????????????"});
    EXPECT_EQ(o->status.report, "TICKET\r\n");
    EXPECT_EQ(Options::Parse({}, error)->status.report, StatusConfig::DefaultReport());
    for (std::vector<std::string> bad : {std::vector<std::string>{"--status", "2=123"},
                                         {"--status", "100=0000000000000000"},
                                         {"--status", "0000000000000000"},
                                         {"--status", "1=0000000000000000,"},
                                         {"--report", "/no/such/file"}}) {
        EXPECT_FALSE(Options::Parse(bad, error)) << bad[1];
        EXPECT_NE(error.find(bad[0]), std::string::npos) << error;
    }
    std::remove(reportFile.c_str());
}

}  // namespace sim::test
