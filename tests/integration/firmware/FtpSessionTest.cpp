// The FTP session on its own against the test server: credentials that are never sent, a
// server that never greets, and operations without a connection.
#include <gtest/gtest.h>

#include "FtpServerProcess.h"
#include "LoopbackServer.h"
#include "SimProcess.h"
#include "link/FtpSession.h"
#include "platform/Clock.h"

namespace qs::test {

TEST(FirmwareFtpSession, ACredentialWithALineBreakIsNeverSent) {
    const std::string host = SimProcess::UniqueLoopbackAddress();
    FtpServerProcess server({.host = host});
    ASSERT_TRUE(server.Running()) << server.Error();
    server.Put("D3XNET.BIN", "kept");
    SteadyClock clock;
    FtpSession session(server.Port(), clock);
    for (const char* password : {"4711\r\nDELE D3XNET.BIN", "47\n11", "47\x7f"}) {
        EXPECT_EQ(session.Open(host, "Quillset", password), FtpStatus::kLoginRefused);
        EXPECT_EQ(session.Open(host, std::string("Quillset\r\nDELE D3XNET.BIN"), "4711"), FtpStatus::kLoginRefused);
    }
    EXPECT_EQ(session.Open(host, "Quillset", std::string(FtpSession::kMaxCredential + 1, 'x')),
              FtpStatus::kLoginRefused);
    EXPECT_TRUE(server.Commands().empty());
    EXPECT_EQ(session.Delete("D3XNET.BIN"), FtpStatus::kFailed) << "no connection";
    EXPECT_EQ(session.Put("D3XNET.BIN", {}), FtpStatus::kFailed);

    ASSERT_EQ(session.Open(host, "Quillset", "4711"), FtpStatus::kOk);
    EXPECT_EQ(session.Delete("../D3XNET.BIN"), FtpStatus::kRefused) << "not a plain file name";
    EXPECT_EQ(session.Delete("NOSUCH.BIN"), FtpStatus::kRefused);
    session.Close();
    EXPECT_EQ(server.Read("D3XNET.BIN"), "kept");
}

TEST(FirmwareFtpSession, AServerThatNeverGreetsIsTriedAgainAsOftenAsAsked) {
    LoopbackServer silent(SimProcess::UniqueLoopbackAddress(), 8);
    SteadyClock clock;
    FtpSession session(silent.Port(), clock);
    session.SetTimeouts({1000, 200, 1000, 2});
    EXPECT_EQ(session.Open(silent.Ip(), "Quillset", "4711"), FtpStatus::kFailed);
    int connections = 0;
    for (; silent.Accept(0); silent.DeviceCloses()) ++connections;
    EXPECT_EQ(connections, 3) << "the first attempt and two more";
}

}  // namespace qs::test
