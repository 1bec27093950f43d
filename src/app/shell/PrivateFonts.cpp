#include "app/shell/PrivateFonts.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>

#include <wx/font.h>

#include "platform/Paths.h"

namespace qs {

namespace {

bool IsFontFile(const std::string& name) {
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos) return false;
    std::string ext = name.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext == "ttf" || ext == "otf" || ext == "ttc";
}

}  // namespace

std::vector<std::string> PrivateFonts::Install(const std::vector<std::string>& dirs) {
    std::vector<std::string> added;
    for (const auto& dir : dirs) {
        if (dir.empty()) continue;
        const std::string folder = dir + "/fonts";
        DIR* d = ::opendir(folder.c_str());
        if (!d) continue;
        std::vector<std::string> names;
        while (const dirent* e = ::readdir(d)) {
            if (IsFontFile(e->d_name)) names.emplace_back(e->d_name);
        }
        ::closedir(d);
        std::sort(names.begin(), names.end());
        for (const auto& name : names) {
            const std::string path = folder + "/" + name;
            struct stat st {};
            if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxFontFileBytes) continue;
            if (wxFont::AddPrivateFont(wxString::FromUTF8(path))) added.push_back(path);
        }
    }
    return added;
}

std::vector<std::string> PrivateFonts::Install() { return Install(paths::DataSearchDirs()); }

}  // namespace qs
