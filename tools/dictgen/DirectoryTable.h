#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qs::dictgen {

// What the program knows about one directory without reading its definitions: where its codes
// are listed (subdirectories by hundreds, some of them unnamed) and in which order a build from
// the device asks for them.
struct DirectoryInfo {
    std::string name;            // also the stem of its source and ".SD3" file
    int type = 0;                // directory type 0-7
    int subdirectoryCount = 0;   // as the program builds the directory
    bool startsAtFirst = false;  // subdirectory 0 holds codes
    std::vector<std::string> subdirectoryNames;  // empty name: no such subdirectory
    std::vector<int> walkDigits; // hundreds digits in the order of the device walk
    int nameDigits = 3;          // digits of the number at the start of a code's name

    // Subdirectory the program's loader files a code under, given the codes before it in walk
    // order: the loader only moves forward along the named subdirectories, to the next one
    // when that one's first number (index x 100) is below the code's number.
    int LoadPlacement(int number, int& current) const;
    // Subdirectory the program looks a code up in: the nearest named one at or below the
    // code's hundreds; System's 0xx codes live with the additives (subdirectory 8).
    std::optional<int> LookupPlacement(int number) const;
    // Sort key of the device walk: position of the hundreds digit, then the rest.
    std::optional<int> WalkKey(int number) const;
    bool IsNamed(int index) const;
};

const std::vector<DirectoryInfo>& Directories();
const DirectoryInfo* FindDirectory(std::string_view name);

// Names of the source files, in the order they are read.
inline constexpr std::string_view kRegistersStem = "Registers";
inline constexpr std::string_view kSourceExtension = ".txt";
inline constexpr std::string_view kDictionaryFileName = "PARAM.DAT";
inline constexpr std::string_view kDirectoryFileExtension = ".SD3";

inline constexpr int kDictionaryDirectories = 39;  // 0-38
inline constexpr int kDataTypes = 10;              // 0-9

}  // namespace qs::dictgen
