#include "appmodel/shell/MainCommandTable.h"

#include <algorithm>

namespace qs {

namespace {

bool IsItem(const MainCommandRow& row) {
    return row.kind == MainCommandRow::Kind::Command || row.kind == MainCommandRow::Kind::Check;
}

}  // namespace

MainCommandRow MainCommandRow::Command(int id, MainMenu menu, std::string text, std::function<void()> handler,
                                       std::function<bool()> enabled) {
    MainCommandRow row;
    row.id = id;
    row.menu = menu;
    row.text = std::move(text);
    row.handler = std::move(handler);
    row.enabled = std::move(enabled);
    return row;
}

MainCommandRow MainCommandRow::Check(int id, MainMenu menu, std::string text, std::function<void()> handler,
                                     std::function<bool()> enabled, std::function<bool()> checked) {
    MainCommandRow row = Command(id, menu, std::move(text), std::move(handler), std::move(enabled));
    row.kind = Kind::Check;
    row.checked = std::move(checked);
    return row;
}

MainCommandRow MainCommandRow::Separator(MainMenu menu) {
    MainCommandRow row;
    row.menu = menu;
    row.kind = Kind::Separator;
    return row;
}

MainCommandRow MainCommandRow::Submenu(MainMenu menu, std::string text, MainMenu submenu) {
    MainCommandRow row;
    row.menu = menu;
    row.kind = Kind::Submenu;
    row.text = std::move(text);
    row.submenu = submenu;
    return row;
}

void MainCommandTable::Register(MainCommandRow row) {
    if (IsItem(row)) {
        auto same = std::find_if(rows_.begin(), rows_.end(), [&](const MainCommandRow& r) {
            return IsItem(r) && r.id == row.id && r.menu == row.menu;
        });
        if (same != rows_.end()) {
            *same = std::move(row);
            return;
        }
    }
    rows_.push_back(std::move(row));
}

std::vector<const MainCommandRow*> MainCommandTable::RowsOf(MainMenu menu) const {
    std::vector<const MainCommandRow*> out;
    for (const MainCommandRow& r : rows_)
        if (r.menu == menu) out.push_back(&r);
    return out;
}

const MainCommandRow* MainCommandTable::Find(int id) const {
    auto it = std::find_if(rows_.begin(), rows_.end(), [id](const MainCommandRow& r) { return IsItem(r) && r.id == id; });
    return it == rows_.end() ? nullptr : &*it;
}

std::vector<int> MainCommandTable::CommandIds() const {
    std::vector<int> ids;
    for (const MainCommandRow& r : rows_)
        if (IsItem(r) && std::find(ids.begin(), ids.end(), r.id) == ids.end()) ids.push_back(r.id);
    return ids;
}

bool MainCommandTable::IsEnabled(int id) const {
    const MainCommandRow* row = Find(id);
    return row != nullptr && row->handler && (!row->enabled || row->enabled());
}

bool MainCommandTable::Run(int id) const {
    if (!IsEnabled(id)) return false;
    // A copy: the command may register rows (a document kind that opens its first window).
    const std::function<void()> handler = Find(id)->handler;
    handler();
    return true;
}

}  // namespace qs
