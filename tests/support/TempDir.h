#pragma once
#include <string>
#include <vector>

namespace qs::test {

// A fresh folder for one test, removed with everything in it afterwards.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    void Write(const std::string& name, const std::string& content) const;
    std::string Read(const std::string& name) const;

private:
    std::string path_;
};

// The whole content of a file ("" when it cannot be read); the names in a folder, in no
// particular order (none when it does not exist).
std::string ReadWhole(const std::string& path);
std::vector<std::string> EntriesOf(const std::string& folder);

}  // namespace qs::test
