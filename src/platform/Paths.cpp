#include "platform/Paths.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#ifndef QS_INSTALL_DATA_DIR
#define QS_INSTALL_DATA_DIR "/usr/local/share/quillset"
#endif

namespace qs::paths {

namespace {

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

}  // namespace

std::string HomeDir() {
    std::string home = Env("HOME");
    if (!home.empty()) return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "/tmp";
}

std::string ConfigHome() {
    std::string v = Env("XDG_CONFIG_HOME");
    return v.empty() ? HomeDir() + "/.config" : v;
}

std::string DataHome() {
    std::string v = Env("XDG_DATA_HOME");
    return v.empty() ? HomeDir() + "/.local/share" : v;
}

std::string IniPath() {
    std::string v = Env("QUILLSET_INI");
    return v.empty() ? ConfigHome() + "/quillset/QS3X.INI" : v;
}

std::vector<std::string> DataSearchDirs() {
    std::vector<std::string> dirs;
    if (std::string v = Env("QUILLSET_DATA_DIR"); !v.empty()) dirs.push_back(v);
    dirs.push_back(QS_INSTALL_DATA_DIR);
    dirs.push_back(BuiltDataDir());
    return dirs;
}

std::string BuiltDataDir() { return DataHome() + "/quillset"; }

std::optional<std::string> FindDataFile(const std::string& name) {
    for (const auto& dir : DataSearchDirs()) {
        std::string p = dir + "/" + name;
        struct stat st {};
        if (::stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return p;
    }
    return std::nullopt;
}

std::string SettingsFile(const std::string& appKey) { return ConfigHome() + "/" + appKey; }

bool EnsurePrivateDir(const std::string& dir, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = dir + ": " + why;
        return false;
    };
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return fail(std::strerror(errno));
    struct stat st {};
    if (::lstat(dir.c_str(), &st) != 0) return fail(std::strerror(errno));
    if (S_ISLNK(st.st_mode)) return fail("is a symbolic link");
    if (!S_ISDIR(st.st_mode)) return fail("is not a folder");
    if (st.st_uid != ::getuid()) return fail("belongs to another user");
    if ((st.st_mode & 077) != 0) return fail("is open to other users");
    return true;
}

std::optional<std::string> RuntimeDir(std::string* error) {
    std::string base = Env("XDG_RUNTIME_DIR");
    std::string dir = base.empty() ? "/tmp/quillset-" + std::to_string(::getuid()) : base + "/quillset";
    if (!EnsurePrivateDir(dir, error)) return std::nullopt;
    return dir;
}

}  // namespace qs::paths
