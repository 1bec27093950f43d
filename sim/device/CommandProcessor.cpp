#include "device/CommandProcessor.h"

#include <cstdio>

namespace sim {
namespace {

// "MN NNN" at the start of `rest`: a two-character mnemonic, one blank, three digits.
bool ParseCode(std::string_view rest, std::string& mnemonic, int& number) {
    if (rest.size() < 6 || rest[2] != ' ') return false;
    for (size_t i = 0; i < 2; ++i) {
        if (rest[i] <= ' ' || rest[i] > '~') return false;
    }
    int v = 0;
    for (size_t i = 3; i < 6; ++i) {
        if (rest[i] < '0' || rest[i] > '9') return false;
        v = v * 10 + (rest[i] - '0');
    }
    mnemonic.assign(rest.substr(0, 2));
    number = v;
    return true;
}

bool ParseLevel(std::string_view text, int& level) {
    if (text.empty() || text.size() > 3) return false;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v < 1 || v > 255) return false;
    level = v;
    return true;
}

}  // namespace

CommandProcessor::CommandProcessor(Persona persona, ValueStore& store, std::string cfReply)
    : persona_(std::move(persona)), store_(store), cfReply_(std::move(cfReply)) {
    handlers_["PV"] = [this](int a, std::string_view c) { return ReadValue(a, c, false); };
    handlers_["XV"] = [this](int a, std::string_view c) { return ReadValue(a, c, true); };
    handlers_["PC"] = [this](int a, std::string_view c) { return WriteValue(a, c, false); };
    handlers_["XC"] = [this](int a, std::string_view c) { return WriteValue(a, c, true); };
    handlers_["GP"] = [this](int, std::string_view c) {
        if (c != "GP") return Rejection(kInvalidCommand);
        char text[9];
        std::snprintf(text, sizeof text, "%08X", persona_.firmwareId);
        return std::string(text);
    };
    handlers_["LO"] = [](int, std::string_view c) { return c == "LO" ? std::string("LO") : Rejection(kInvalidCommand); };
    handlers_["CF"] = [this](int, std::string_view c) { return c == "CF" ? cfReply_ : Rejection(kInvalidCommand); };
    // The reboot into the RAM executive before a firmware upgrade: taken, and the simulator
    // goes on answering (its FTP side is the test's own server).
    handlers_["UF"] = [](int, std::string_view c) { return c == "UF" ? std::string("UF") : Rejection(kInvalidCommand); };
}

void CommandProcessor::AddCommand(const std::string& name, Handler handler) { handlers_[name] = std::move(handler); }

void CommandProcessor::AddStream(const std::string& name, Handler handler) { streams_[name] = std::move(handler); }

std::string CommandProcessor::StreamAfter(int address, std::string_view command) const {
    auto it = streams_.find(command.substr(0, command.find(' ')));
    return it == streams_.end() ? std::string() : it->second(address, command);
}

std::string CommandProcessor::Rejection(int code) {
    char text[8];
    std::snprintf(text, sizeof text, "NO%02d", code < 0 || code > 99 ? 99 : code);
    return text;
}

std::string CommandProcessor::Handle(int address, std::string_view command) {
    std::string_view name = command.substr(0, command.find(' '));
    auto it = handlers_.find(name);
    if (it == handlers_.end()) return Rejection(kInvalidCommand);
    return it->second(address, command);
}

std::string CommandProcessor::ReadValue(int address, std::string_view command, bool level) {
    if (!level && persona_.rejectsProbe && command == "PV SY 111") return Rejection(kInvalidCommand);
    std::string mnemonic;
    int number = 0;
    if (command.size() != 9 || command[2] != ' ' || !ParseCode(command.substr(3), mnemonic, number)) {
        return Rejection(kInvalidCommand);
    }
    const CodeValue* code = store_.Find(address, mnemonic, number);
    if (!code) return Rejection(kCodeNotUsed);
    return std::string(command) + " " + (level ? std::to_string(code->level) : code->value);
}

std::string CommandProcessor::WriteValue(int address, std::string_view command, bool level) {
    if (persona_.readOnly) return Rejection(kOperationNotAllowed);
    std::string mnemonic;
    int number = 0;
    // "PC MN NNN value": the value is everything after the blank behind the number.
    if (command.size() < 10 || command[2] != ' ' || !ParseCode(command.substr(3), mnemonic, number) ||
        command[9] != ' ') {
        return Rejection(kInvalidCommand);
    }
    std::string_view value = command.substr(10);
    CodeValue* code = store_.Find(address, mnemonic, number);
    if (!code) return Rejection(kCodeNotUsed);
    std::string head(command.substr(0, 9));
    if (level) {
        int v = 0;
        if (!ParseLevel(value, v)) return Rejection(kValueOutOfRange);
        code->level = v;
        return head + " " + std::to_string(v);
    }
    if (value.size() > ValueStore::kMaxValue) return Rejection(kValueOutOfRange);
    if (std::optional<int> refusal = store_.RefuseWrite(mnemonic, number, value)) return Rejection(*refusal);
    code->value.assign(value);
    return head + " " + code->value;
}

}  // namespace sim
