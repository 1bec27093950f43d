#pragma once
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "device/Persona.h"
#include "device/ValueStore.h"

namespace sim {

// Answers the text commands of the command port. Replies to PV, XV, PC and XC echo the
// command's first nine characters ("PV SY 111"), one blank and the value or level; GP answers
// the firmware identifier alone; a refusal is "NO" and two digits.
class CommandProcessor {
public:
    // Device rejection codes the simulator uses.
    static constexpr int kInvalidCommand = 0;
    static constexpr int kValueOutOfRange = 3;
    static constexpr int kOperationNotAllowed = 6;
    static constexpr int kCodeNotUsed = 14;

    using Handler = std::function<std::string(int address, std::string_view command)>;

    CommandProcessor(Persona persona, ValueStore& store, std::string cfReply);

    // The reply text for `command` (the frame's text after the address digits).
    std::string Handle(int address, std::string_view command);

    // Adds or replaces the handler of a command, named by its first word.
    void AddCommand(const std::string& name, Handler handler);
    // Bytes a command sends after its reply, outside any frame (a report printed to the host).
    void AddStream(const std::string& name, Handler handler);
    // What follows the reply to `command`; empty for most commands.
    std::string StreamAfter(int address, std::string_view command) const;

    static std::string Rejection(int code);
    // A CF reply whose fifth character is not '0': the four-display faceplate.
    static std::string DefaultCfReply() { return "CF 14"; }

private:
    std::string ReadValue(int address, std::string_view command, bool level);
    std::string WriteValue(int address, std::string_view command, bool level);

    Persona persona_;
    ValueStore& store_;
    std::string cfReply_;
    std::map<std::string, Handler, std::less<>> handlers_;
    std::map<std::string, Handler, std::less<>> streams_;
};

}  // namespace sim
