#pragma once
// A device with non-resettable totals for the totals reader's tests: the configuration codes
// the reader and the document ask, product and recipe names, and totals per address, with any
// reply put in its place by hand.
#include <map>
#include <string>
#include <vector>

#include "ScriptedDevice.h"

namespace qs::test {

class FakeTotals {
public:
    // "PV CF 001" and the rest of the configuration, per address ("" = every address).
    std::map<int, std::map<int, int>> config = {{0, {{1, 2}, {2, 1}, {3, 3}, {4, 1}, {5, 3}, {20, 2}}}};
    // Replies put in place of the rule, by "<address> <command>" ("NO37" refuses).
    std::map<std::string, std::string> replies;
    // The arm of each recipe (0 when not listed).
    std::map<int, int> recipeArms;
    std::vector<ScriptedDevice::Sent> sent;

    static std::string Key(int address, const std::string& command) { return std::to_string(address) + " " + command; }

    // Product k, quantity q (1-5) at `address`: address x 1000 + k x 10 + q; recipes 500 + r x 10 + q.
    static int Total(int address, int item, int q) { return address * 1000 + item * 10 + q; }

    std::string Answer(int address, const std::string& command) {
        sent.push_back({address, command});
        if (auto it = replies.find(Key(address, command)); it != replies.end()) return it->second;
        if (command == "PV SY 111") return "PV SY 111 5";
        if (command == "GP") return "0A463B8B";
        if (command.starts_with("PV CF ")) return command + " " + std::to_string(Config(address, std::stoi(command.substr(6))));
        if (command.size() == 9 && command.starts_with("PV P") && command.ends_with(" 101"))
            return command + " PROD" + command.substr(4, 1);
        if (command.size() == 9 && command.starts_with("PV ") && command.ends_with(" 001"))
            return command + " " + std::to_string(recipeArms.count(std::stoi(command.substr(3, 2))) ? recipeArms[std::stoi(command.substr(3, 2))] : 0);
        if (command.size() == 9 && command.starts_with("PV ") && command.ends_with(" 002"))
            return command + " MIX" + command.substr(3, 2);
        if (command.size() == 6 && command.starts_with("VT A")) return command + " " + std::to_string(address * 100 + std::stoi(command.substr(4)));
        if (command.size() == 7 && command.starts_with("VT ")) {
            const int q = static_cast<int>(std::string("RGNPM").find(command[3])) + 1;
            const int item = command[5] == 'P' ? command[6] - '0' : 50 + std::stoi(command.substr(5));
            return command + " " + std::to_string(Total(address, item, q));
        }
        return "NO00";
    }

    // The commands sent from the n-th on, as "<address> <command>".
    std::vector<std::string> From(size_t n) const {
        std::vector<std::string> out;
        for (size_t i = n; i < sent.size(); ++i) out.push_back(Key(sent[i].address, sent[i].command));
        return out;
    }

private:
    int Config(int address, int code) const {
        for (int a : {address, 0}) {
            auto at = config.find(a);
            if (at == config.end()) continue;
            if (auto it = at->second.find(code); it != at->second.end()) return it->second;
        }
        return 0;
    }
};

}  // namespace qs::test
