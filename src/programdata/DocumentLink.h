#pragma once
#include <functional>
#include <memory>
#include <string>

namespace qs {

class ComPortTable;
class DX3Protocol;

// The link of one program-data document: its own protocol on TCP/IP, or a counted reference
// on a COM slot of the application's port table. The slot's protocol is taken from the table
// each time it is used, never kept: every connection on the port replaces it, and lending the
// port to an emulator removes it.
class DocumentLink {
public:
    static constexpr unsigned kTcpPort = 7734;

    // Makes the protocol of a TCP/IP link for a host text and a protocol kind.
    using TcpProtocolFactory = std::function<std::unique_ptr<DX3Protocol>(const std::string& host, int protocolKind)>;

    explicit DocumentLink(ComPortTable& ports);
    ~DocumentLink();
    DocumentLink(const DocumentLink&) = delete;
    DocumentLink& operator=(const DocumentLink&) = delete;

    // The protocol of port index `port`: the own one for 0, the COM slot's for 1-99 (null while
    // the slot is empty), null for -1.
    DX3Protocol* Protocol(int port) const;

    // The own TCP/IP protocol, made again when it has none or its connection failed or was
    // lost (a device that was down is reached once it is back). False when none could be made.
    [[nodiscard]] bool OpenTcp(const std::string& host, int protocolKind);
    // Reopens COM slot `port` with a protocol of the kind and takes a reference on it the first
    // time. False when the port did not open.
    [[nodiscard]] bool OpenCom(int port, int protocolKind);
    // The reference on the COM slot, and the own protocol.
    void Release();

    bool HoldsReference() const { return heldPort_ != 0; }
    // By default a real connection to the host's port 7734 at device address 1.
    void SetTcpFactory(TcpProtocolFactory factory) { tcpFactory_ = std::move(factory); }

private:
    ComPortTable& ports_;
    std::unique_ptr<DX3Protocol> own_;
    int heldPort_ = 0;  // the COM slot a reference is held on; 0 none
    TcpProtocolFactory tcpFactory_;
};

}  // namespace qs
