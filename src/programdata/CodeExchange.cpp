#include "programdata/CodeExchange.h"

#include "link/DX3Protocol.h"
#include "platform/Prompt.h"

namespace qs {

CodeExchange::Result CodeExchange::Run(DX3Protocol& protocol, const std::string& command,
                                       const std::string& codeName) {
    for (;;) {
        if (protocol.Send(command) == nullptr) {
            Result r;
            r.outcome = Outcome::SendFailed;
            const std::string prefix = "Error in transmission of " + codeName;
            r.answer = protocol.ReportError(prefix.c_str(), MB_OKCANCEL);
            return r;
        }
        Result r;
        const int status = protocol.Receive(r.reply);
        if (status == kStatusOk) {
            r.outcome = Outcome::Reply;
            return r;
        }
        if (status == kStatusRejected) {
            r.outcome = Outcome::Rejected;
            return r;
        }
        r.answer = protocol.ReportError(nullptr, MB_ABORTRETRYIGNORE);
        if (r.answer == IDRETRY) continue;
        // Anything but Retry or Ignore (Abort, or a box closed with Cancel) stops the walk.
        r.outcome = r.answer == IDIGNORE ? Outcome::Ignored : Outcome::Stop;
        return r;
    }
}

}  // namespace qs
