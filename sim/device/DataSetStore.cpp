#include "device/DataSetStore.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace sim {

std::string DataSetStore::FileName(uint16_t code) {
    char name[16];
    std::snprintf(name, sizeof name, "%04X.bin", code);
    return name;
}

std::optional<Bytes> DataSetStore::Read(uint16_t code) const {
    if (auto it = memory_.find(code); it != memory_.end()) return it->second;
    if (folder_.empty()) return std::nullopt;
    std::ifstream in(folder_ + "/" + FileName(code), std::ios::binary);
    if (!in) return std::nullopt;
    in.seekg(0, std::ios::end);
    const auto size = in.tellg();
    if (size < 0 || static_cast<size_t>(size) > kMaxFile) return std::nullopt;
    in.seekg(0);
    Bytes data(static_cast<size_t>(size), '\0');
    in.read(data.data(), size);
    if (!in) return std::nullopt;
    return data;
}

std::optional<Bytes> DataSetStore::Read(int address, uint16_t code) const {
    if (auto own = perAddress_.find({code, address}); own != perAddress_.end()) return own->second;
    return Read(code);
}

void DataSetStore::Keep(KeptSet kind) {
    const uint16_t writeCode = kind.writeCode;
    kinds_[writeCode] = std::move(kind);
}

DataSetStore::WriteResult DataSetStore::TakeWrite(int address, uint16_t code, const Bytes& data) {
    const auto kind = kinds_.find(code);
    Bytes set = data;
    if (kind != kinds_.end() && kind->second.take) {
        if (const uint16_t refusal = kind->second.take(data, set)) return {refusal, ""};
    }
    WriteResult result{0, Save(code, data)};
    if (kind == kinds_.end() || !result.fault.empty()) return result;
    const uint16_t readCode = kind->second.readCode;
    if (kind->second.perAddress) {
        perAddress_[{readCode, address}] = std::move(set);
    } else {
        result.fault = Save(readCode, set);
        Put(readCode, std::move(set));
    }
    return result;
}

std::string DataSetStore::Save(uint16_t code, const Bytes& data) {
    written_[code] = data;
    if (folder_.empty()) return "";
    const std::string path = folder_ + "/" + FileName(code);
    const std::string temp = path + ".tmp";
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return temp + ": " + std::strerror(errno);
    size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            std::string fault = temp + ": " + std::strerror(errno);
            ::close(fd);
            ::unlink(temp.c_str());
            return fault;
        }
        done += static_cast<size_t>(n);
    }
    if (::close(fd) != 0) {
        ::unlink(temp.c_str());
        return temp + ": " + std::strerror(errno);
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        std::string fault = path + ": " + std::strerror(errno);
        ::unlink(temp.c_str());
        return fault;
    }
    return "";
}

std::optional<Bytes> DataSetStore::Written(uint16_t code) const {
    auto it = written_.find(code);
    if (it == written_.end()) return std::nullopt;
    return it->second;
}

}  // namespace sim
