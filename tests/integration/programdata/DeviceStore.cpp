#include "DeviceStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "programdata/CDirectory.h"
#include "programdata/CParam.h"

namespace qs::test {

std::string KeyText(const Key& k) {
    return std::to_string(std::get<0>(k)) + " " + std::get<1>(k) + " " + std::to_string(std::get<2>(k));
}

std::string Number3(int n) {
    char t[8];
    std::snprintf(t, sizeof t, "%03d", n);
    return t;
}

Place PlaceOf(int address, const std::string& mnemonic) {
    const int arm = address - 1;
    if (mnemonic == "CF") return {CDirectory::kConfig, 0};
    if (mnemonic == "SY") return {CDirectory::kSystem, 0};
    if (mnemonic == "AR") return {CDirectory::kArm, arm};
    if (mnemonic == "BA") return {CDirectory::kBayA, 0};
    if (mnemonic == "BB") return {CDirectory::kBayB, 0};
    if (mnemonic[0] == 'M') return {CDirectory::kMeter, (mnemonic[1] - '1') + arm * 6};
    if (mnemonic[0] == 'P') return {CDirectory::kProduct, (mnemonic[1] - '1') + arm * 6};
    return {CDirectory::kRecipe, std::stoi(mnemonic) - 1};
}

std::vector<Key> DeviceCodes(CVexa3Doc& doc, int arms) {
    std::vector<Key> keys;
    auto codes = [&](int type, auto&& each) {
        std::set<int> numbers;
        CDirectory* d = doc.FindDirectory(type);
        for (int i = 0; d && i < d->SubdirectoryCount(); ++i)
            d->Subdirectory(i)->ForEachParam([&](const CParam& p) { numbers.insert(p.number); });
        for (int n : numbers) each(n);
    };
    for (const auto& [type, mnemonic] : std::vector<std::pair<int, std::string>>{
             {CDirectory::kConfig, "CF"}, {CDirectory::kSystem, "SY"}, {CDirectory::kBayA, "BA"}, {CDirectory::kBayB, "BB"}})
        codes(type, [&](int n) { keys.emplace_back(1, mnemonic, n); });
    for (int r = 1; r <= 50; ++r)
        codes(CDirectory::kRecipe, [&](int n) { keys.emplace_back(1, (r < 10 ? "0" : "") + std::to_string(r), n); });
    for (int address = 1; address <= arms; ++address) {
        codes(CDirectory::kArm, [&](int n) { keys.emplace_back(address, "AR", n); });
        for (int i = 1; i <= 6; ++i) {
            codes(CDirectory::kMeter, [&](int n) { keys.emplace_back(address, "M" + std::to_string(i), n); });
            codes(CDirectory::kProduct, [&](int n) { keys.emplace_back(address, "P" + std::to_string(i), n); });
        }
    }
    return keys;
}

std::set<Key> FirstInstanceCodes(const std::vector<Key>& codes) {
    std::set<Key> first;
    for (const Key& k : codes)
        if (PlaceOf(std::get<0>(k), std::get<1>(k)).instance == 0) first.insert(k);
    return first;
}

CParam* CodeOf(CVexa3Doc& doc, const Key& k) {
    CDirectory* d = doc.FindDirectory(PlaceOf(std::get<0>(k), std::get<1>(k)).type);
    return d ? d->FindParam(std::get<2>(k)) : nullptr;
}

std::map<Key, Held> ReadStore(TerminalProtocol& link, const std::vector<Key>& codes, const std::set<Key>& levels) {
    std::map<Key, Held> store;
    auto ask = [&](int address, const std::string& command) {
        link.SetAddress(address);
        std::string reply;
        EXPECT_NE(link.Send(command), nullptr) << command;
        const int status = link.Receive(reply);
        EXPECT_EQ(status, kStatusOk) << command << " at " << address;
        EXPECT_TRUE(reply.starts_with(command + " ")) << reply;
        return reply.substr(std::min(reply.size(), command.size() + 1));
    };
    for (const Key& k : codes) {
        const std::string code = std::get<1>(k) + " " + Number3(std::get<2>(k));
        Held h;
        h.value = ask(std::get<0>(k), "PV " + code);
        if (levels.count(k)) h.level = ask(std::get<0>(k), "XV " + code);
        store[k] = h;
    }
    return store;
}

ReadCheck CheckRead(const std::map<Key, Held>& store, const std::set<Key>& levels,
                    const std::function<const CParam*(const Key&)>& codeOf,
                    const std::function<int(const Key&)>& valueIndexOf) {
    ReadCheck check;
    for (const auto& [k, held] : store) {
        const CParam* p = codeOf(k);
        if (p == nullptr) {
            check.wrong.push_back(KeyText(k) + ": no such code");
            continue;
        }
        const std::string value = p->Value(valueIndexOf(k));
        if (value.empty() && !held.value.empty()) ++check.emptied;
        else if (value != held.value) check.wrong.push_back(KeyText(k) + " value \"" + value + "\", device \"" + held.value + "\"");
        if (!levels.count(k)) continue;
        const int n = std::atoi(held.level.c_str());
        const int want = n == 0 ? CParam::kLevelNone : n - 1;
        if (p->Level() == want) continue;
        if (p->Level() == CParam::kLevelNone) ++check.levelsMissed;
        else check.wrong.push_back(KeyText(k) + " level " + std::to_string(p->Level()) + ", device \"" + held.level + "\"");
    }
    return check;
}

}  // namespace qs::test
