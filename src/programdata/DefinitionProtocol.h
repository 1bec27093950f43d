#pragma once
#include <functional>
#include <memory>
#include <string>

namespace qs {

class ComProtocol;
class IniProfile;
class MiniProtocol;

// COM1's protocol as the application's port table lends it to a definition build; the
// application gives one to the definition sources it makes (empty: no COM1).
struct Com1Hook {
    // COM1's protocol with a reference taken for the caller (the port opened when needed), or
    // null when COM1 cannot be had.
    std::function<ComProtocol*()> acquire;
    // Gives that reference back.
    std::function<void()> release;
};

// The Minicomputer link a definition-file build runs over, held for the build: COM1's
// protocol when it is a Minicomputer one (binary blocks exist only there; a COM1 of fewer than
// 8 data bits is refused with "An 8-Bit Data Protocol Required for this function" and nothing
// is built), else a temporary
// Minicomputer protocol over TCP/IP to the fallback host kept in "QS3X.INI" (section
// "Dictionary", key "FallbackHost", default 127.0.0.1; port 7734, device address 1), deleted
// at the end. Empty when neither can be had.
class DefinitionProtocol {
public:
    static constexpr const char* kIniSection = "Dictionary";
    static constexpr const char* kIniHostKey = "FallbackHost";
    static constexpr const char* kDefaultHost = "127.0.0.1";
    static constexpr unsigned kTcpPort = 7734;
    static constexpr int kDeviceAddress = 1;

    // Makes the temporary protocol for a host; null when it could not connect.
    using TcpFactory = std::function<std::unique_ptr<MiniProtocol>(const std::string& host)>;

    DefinitionProtocol() = default;
    ~DefinitionProtocol();
    DefinitionProtocol(DefinitionProtocol&& other) noexcept;
    DefinitionProtocol& operator=(DefinitionProtocol&& other) noexcept;
    DefinitionProtocol(const DefinitionProtocol&) = delete;
    DefinitionProtocol& operator=(const DefinitionProtocol&) = delete;

    // `tcp` empty: a real TCP/IP connection.
    static DefinitionProtocol Acquire(const Com1Hook& com1, const IniProfile& ini, const TcpFactory& tcp = {});
    static std::unique_ptr<MiniProtocol> ConnectTcp(const std::string& host);

    MiniProtocol* Get() const { return protocol_; }
    explicit operator bool() const { return protocol_ != nullptr; }
    bool IsCom1() const { return protocol_ != nullptr && !owned_; }

private:
    void Reset();

    MiniProtocol* protocol_ = nullptr;
    std::unique_ptr<MiniProtocol> owned_;
    std::function<void()> release_;
};

}  // namespace qs
