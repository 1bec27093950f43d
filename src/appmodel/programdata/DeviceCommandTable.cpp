#include "appmodel/programdata/DeviceCommandTable.h"

#include <algorithm>

namespace qs {

std::string Accelerator::Text() const {
    if (functionKey < 1 || functionKey > 12) return {};
    return (alt ? "Alt+F" : "F") + std::to_string(functionKey);
}

void DeviceCommandTable::Register(DeviceCommandRow row) {
    auto same = std::find_if(rows_.begin(), rows_.end(), [&](const DeviceCommandRow& r) { return r.id == row.id; });
    if (same != rows_.end()) {
        if (same->Available() && !row.Available()) return;
        rows_.erase(same);
    }
    auto before = [](const DeviceCommandRow& a, const DeviceCommandRow& b) {
        return a.section != b.section ? a.section < b.section : a.id < b.id;
    };
    rows_.insert(std::upper_bound(rows_.begin(), rows_.end(), row, before), std::move(row));
}

const DeviceCommandRow* DeviceCommandTable::Find(int id) const {
    auto it = std::find_if(rows_.begin(), rows_.end(), [id](const DeviceCommandRow& r) { return r.id == id; });
    return it == rows_.end() ? nullptr : &*it;
}

bool DeviceCommandTable::RuleHolds(EnableRule rule, int state, int portIndex) {
    constexpr int kOffline = 1;
    constexpr int kTcpPort = 0;
    switch (rule) {
    case EnableRule::Always: return true;
    case EnableRule::Connected: return state > kOffline;
    case EnableRule::ConnectedSerial: return state > kOffline && portIndex != kTcpPort;
    case EnableRule::TcpLink: return portIndex == kTcpPort;
    }
    return false;
}

bool DeviceCommandTable::IsEnabled(int id, int state, int portIndex) const {
    const DeviceCommandRow* row = Find(id);
    return row != nullptr && row->Available() && RuleHolds(row->rule, state, portIndex);
}

bool DeviceCommandTable::Run(int id, int state, int portIndex) const {
    if (!IsEnabled(id, state, portIndex)) return false;
    // A copy: the handler may register rows (a tool that opens a window of its own).
    const std::function<bool()> handler = Find(id)->handler;
    return handler();
}

std::string DeviceCommandTable::MenuLabel(const DeviceCommandRow& row) {
    std::string text = row.menuText;
    text = text.substr(0, text.find('\t'));
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

}  // namespace qs
