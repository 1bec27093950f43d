#pragma once
#include <string>

namespace qs {

class DX3Protocol;

// One command of a code-by-code walk and the user's answers to its failures: a command that
// cannot be sent is reported with OK/Cancel; a reply that fails for any reason but a device
// rejection asks Abort, Retry or Ignore, and Retry sends the command again.
class CodeExchange {
public:
    enum class Outcome {
        Reply,       // `reply` holds the device's answer
        Rejected,    // the device rejected the command; its code is the protocol's last
        Ignored,     // the user chose Ignore
        SendFailed,  // the command did not go out; `answer` is the box's result
        Stop,        // the user chose Abort (or closed the box)
    };
    struct Result {
        Outcome outcome = Outcome::Stop;
        std::string reply;
        int answer = 0;
    };

    // A command that cannot be sent is reported as "Error in transmission of <codeName>" (the
    // text built only then).
    static Result Run(DX3Protocol& protocol, const std::string& command, const std::string& codeName);
};

}  // namespace qs
