#include "programdata/DefinitionSource.h"

#include <sys/stat.h>

#include "platform/IniProfile.h"
#include "platform/Paths.h"

namespace qs {

DefinitionSource DefinitionSource::FromEnvironment(Com1Hook com1) {
    DefinitionSource source;
    source.searchDirs = paths::DataSearchDirs();
    source.buildDir = paths::BuiltDataDir();
    source.connect = [com1 = std::move(com1)] { return DefinitionProtocol::Acquire(com1, IniProfile(paths::IniPath())); };
    return source;
}

std::optional<std::string> DefinitionSource::Find(const std::string& fileName) const {
    for (const auto& dir : searchDirs) {
        if (dir.empty()) continue;
        const std::string path = dir + "/" + fileName;
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return path;
    }
    return std::nullopt;
}

}  // namespace qs
