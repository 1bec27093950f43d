#pragma once
#include <string>
#include <string_view>

namespace qs {

// Writes the whole content to a temporary file beside `path`, flushes it and renames it over
// `path`, so a reader never sees half a file and a failure leaves the old one as it was.
// Creates missing parent folders. A `path` that is a symbolic link is saved to the file the
// link names, and the link stays. A file with other hard links gets a new inode: the other
// names keep the old content. Returns false (errno kept) on any failure.
[[nodiscard]] bool WriteFileAtomically(const std::string& path, std::string_view content);

// The same for content produced bit by bit: Open, Write as often as needed, Commit; a
// destroyed or failed writer removes its temporary file.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::string path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    [[nodiscard]] bool Open();
    [[nodiscard]] bool Write(const void* data, size_t length);
    [[nodiscard]] bool Commit();
    void Abandon();
    const std::string& TempPath() const { return temp_; }

private:
    std::string path_;
    std::string temp_;
    int fd_ = -1;
    bool failed_ = false;
};

}  // namespace qs
