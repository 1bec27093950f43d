#include "dictgen/DirectoryTable.h"

#include <algorithm>

namespace qs::dictgen {

namespace {

const std::vector<std::string> kGeneralNames = {
    "000-Configuration", "100-General Purpose", "200-Flow Control", "300-Volume Accuracy",
    "400-Temperature/Density", "500-Pressure", "600-Alarms", "700-Communications", "800-Additives"};

DirectoryInfo General(std::string name, int type) {
    DirectoryInfo d;
    d.name = std::move(name);
    d.type = type;
    d.subdirectoryCount = 9;
    d.startsAtFirst = false;
    d.subdirectoryNames = kGeneralNames;
    d.walkDigits = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    return d;
}

std::vector<DirectoryInfo> MakeTable() {
    std::vector<DirectoryInfo> table;

    DirectoryInfo config;
    config.name = "Config";
    config.type = 0;
    config.subdirectoryCount = 10;
    config.startsAtFirst = true;
    config.subdirectoryNames = {"000-Load Arm Layout", "100-Pulse Inputs", "200-Pulse Outputs",
                                "300-Digital Inputs", "", "500-Digital Outputs", "", "", "",
                                "900-Analog I/O"};
    config.walkDigits = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    table.push_back(config);

    // System has two unnamed subdirectories after the additives, and its walk asks for the
    // 0xx codes last.
    DirectoryInfo system = General("System", 1);
    system.subdirectoryCount = 11;
    system.subdirectoryNames.resize(11);
    system.walkDigits = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0};
    table.push_back(system);

    table.push_back(General("Arm", 2));
    table.push_back(General("Meter", 3));
    table.push_back(General("Product", 4));

    // Recipe shows its 50 instances as subdirectories that all share one list of 0xx codes.
    DirectoryInfo recipe;
    recipe.name = "Recipe";
    recipe.type = 5;
    recipe.subdirectoryCount = 50;
    recipe.startsAtFirst = true;
    for (int i = 1; i <= 50; ++i) recipe.subdirectoryNames.push_back("Recipe " + std::string(i < 10 ? "0" : "") + std::to_string(i));
    recipe.walkDigits = {0};
    recipe.nameDigits = 2;
    table.push_back(recipe);

    table.push_back(General("Bay A", 6));
    table.push_back(General("Bay B", 7));
    return table;
}

}  // namespace

const std::vector<DirectoryInfo>& Directories() {
    static const std::vector<DirectoryInfo> table = MakeTable();
    return table;
}

const DirectoryInfo* FindDirectory(std::string_view name) {
    for (const auto& d : Directories())
        if (d.name == name) return &d;
    return nullptr;
}

bool DirectoryInfo::IsNamed(int index) const {
    return index >= 0 && index < subdirectoryCount && static_cast<size_t>(index) < subdirectoryNames.size() &&
           !subdirectoryNames[static_cast<size_t>(index)].empty();
}

int DirectoryInfo::LoadPlacement(int number, int& current) const {
    for (;;) {
        int next = current + 1;
        while (next < subdirectoryCount && !IsNamed(next)) ++next;
        if (next >= subdirectoryCount || next * 100 >= number) break;
        current = next;
    }
    return current;
}

std::optional<int> DirectoryInfo::LookupPlacement(int number) const {
    int index = std::min(number / 100, subdirectoryCount - 1);
    while (index >= 0 && !IsNamed(index)) --index;
    if (index < 0) return std::nullopt;
    if (index == 0 && type == 1 && subdirectoryCount >= 9) return 8;
    return index;
}

std::optional<int> DirectoryInfo::WalkKey(int number) const {
    if (number < 0) return std::nullopt;
    auto it = std::find(walkDigits.begin(), walkDigits.end(), number / 100);
    if (it == walkDigits.end()) return std::nullopt;
    return static_cast<int>(it - walkDigits.begin()) * 100 + number % 100;
}

}  // namespace qs::dictgen
