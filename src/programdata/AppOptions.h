#pragma once
#include <array>

#include "platform/IniProfile.h"

namespace qs {

// The application options kept in "QS3X.INI". One object lives as long as the application;
// the views and commands read its members directly.
struct AppOptions {
    // Length of the recent-file list, read at start-up only. The list can hold 0-9 files.
    int MRUFileCount = 5;
    bool AutoConnect = true;      // connect when a document is opened or created
    bool ConfirmWrites = false;   // ask before changing a value on an online device
    bool ShowSecLvl = false;      // program-code list: show security levels
    bool ShowUnused = false;      // program-code list: show unused codes
    bool PrintShowSecLvl = false; // printout: include security levels
    int SuppressBelowLvl = 0;     // printout: row of the level list, 0 = print all
    bool SuppressUnused = false;  // printout: leave out unused recipes

    static constexpr int kMaxMRUFileCount = 9;
    static constexpr int kLevelChoiceCount = 5;
    // "Print All", "Level 2 and above" ... "Level 5": the rows SuppressBelowLvl indexes.
    static const std::array<const char*, kLevelChoiceCount>& LevelChoices();

    // Missing or unreadable keys give the defaults; values outside their range are brought
    // into it (the recent-file count is clamped, an unknown level row prints everything).
    void Load(const IniProfile& profile);
    // Writes all eight keys as numbers, keeping every other line of the file.
    [[nodiscard]] bool Save(IniProfile& profile) const;

    friend bool operator==(const AppOptions&, const AppOptions&) = default;
};

}  // namespace qs
