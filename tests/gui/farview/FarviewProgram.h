#pragma once
// The farview program run as its user runs it.
#include "EmulatorProgram.h"

namespace qs::farview::test {

using qs::test::AddrWord;
using qs::test::ClientOrigin;
using qs::test::EngineGolden;
using qs::test::KeysReceived;
using qs::test::LcdOnScreen;
using qs::test::ScriptSent;
using qs::test::ShownColumns;

class FarviewProgram : public qs::test::EmulatorProgram {
public:
    explicit FarviewProgram(const std::vector<std::string>& ports = {}) : EmulatorProgram("farview", ports) {}
};

}  // namespace qs::farview::test
