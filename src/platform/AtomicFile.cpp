#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace qs {

namespace {

// The file a save of `path` lands in: the file its chain of symbolic links names (a dangling
// link names the file to make), or `path` itself. Renaming over the link would put a new file
// in its place and leave the file it names unchanged.
std::string LinkTarget(const std::string& path) {
    namespace fs = std::filesystem;
    constexpr int kMaxHops = 40;  // the system's own limit on links in one lookup
    fs::path p(path);
    for (int hop = 0; hop < kMaxHops; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(p, ec)) || ec) return p.string();
        fs::path target = fs::read_symlink(p, ec);
        if (ec) return p.string();
        p = target.is_absolute() ? target : p.parent_path() / target;
    }
    return path;  // a loop of links names no file: the save replaces the link it was given
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::string path) : path_(LinkTarget(path)) {}

AtomicFileWriter::~AtomicFileWriter() { Abandon(); }

bool AtomicFileWriter::Open() {
    std::error_code ec;
    std::filesystem::path target(path_);
    if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), ec);
    temp_ = path_ + ".tmpXXXXXX";
    fd_ = ::mkostemp(temp_.data(), O_CLOEXEC);
    if (fd_ < 0) {
        temp_.clear();
        failed_ = true;
        return false;
    }
    // Keep the permissions the old file had; new files get the usual 0666 & ~umask.
    struct stat st {};
    if (::stat(path_.c_str(), &st) == 0) {
        (void)::fchmod(fd_, st.st_mode & 07777);
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        (void)::fchmod(fd_, 0666 & ~mask);
    }
    failed_ = false;
    return true;
}

bool AtomicFileWriter::Write(const void* data, size_t length) {
    if (fd_ < 0 || failed_) return false;
    const char* p = static_cast<const char*>(data);
    while (length > 0) {
        ssize_t n = ::write(fd_, p, length);
        if (n < 0) {
            if (errno == EINTR) continue;
            failed_ = true;
            return false;
        }
        p += n;
        length -= static_cast<size_t>(n);
    }
    return true;
}

bool AtomicFileWriter::Commit() {
    if (fd_ < 0 || failed_) {
        Abandon();
        return false;
    }
    bool ok = ::fsync(fd_) == 0;
    ok = (::close(fd_) == 0) && ok;
    fd_ = -1;
    if (ok && ::rename(temp_.c_str(), path_.c_str()) == 0) {
        temp_.clear();
        return true;
    }
    int saved = errno;
    Abandon();
    errno = saved;
    return false;
}

void AtomicFileWriter::Abandon() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
}

bool WriteFileAtomically(const std::string& path, std::string_view content) {
    AtomicFileWriter w(path);
    return w.Open() && w.Write(content.data(), content.size()) && w.Commit();
}

}  // namespace qs
