#pragma once
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "PtyPair.h"
#include "TestEnv.h"
#include "RecordingUi.h"
#include "TempDir.h"

namespace qs::test {

// COM 7 is a pty whose other end the test plays as the device; COM 8 names a device that is
// not there. The profile file is the test's own.
class SerialFixture : public ::testing::Test {
protected:
    static constexpr int kCom = 7;
    static constexpr int kMissingCom = 8;

    SerialFixture() {
        dir_.Write("QS3X.INI", "[Ports]\nCOM7=" + pty_.SlavePath() + "\nCOM8=" + dir_.File("no-such-tty") + "\n");
        env_ = std::make_unique<ScopedEnv>("QUILLSET_INI", dir_.File("QS3X.INI"));
    }

    TempDir dir_;
    PtyPair pty_;
    std::unique_ptr<ScopedEnv> env_;
    RecordingUi ui_;
};

}  // namespace qs::test
