#include "ReportSim.h"

#include "appmodel/programdata/DocumentOptionsModel.h"
#include "link/DX3Protocol.h"
#include "programdata/DefinitionSource.h"

namespace qs::test::reportsim {

namespace {

constexpr int kCom = 5;

}  // namespace

std::string U32Be(uint32_t v) {
    return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16 & 0xFF), static_cast<char>(v >> 8 & 0xFF),
                       static_cast<char>(v & 0xFF)};
}

uint32_t U32At(const std::string& s, size_t at) {
    uint32_t v = 0;
    for (size_t i = at; i < at + 4 && i < s.size(); ++i) v = v << 8 | static_cast<uint8_t>(s[i]);
    return v;
}

uint32_t BitwiseCrc32(const std::string& data) {
    uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : data) {
        c ^= b;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
    }
    return ~c;
}

ReportRig::ReportRig(Transport transport, std::vector<std::string> args) {
    dictionary.LoadFile(std::string(QS_DATA_BUILD_DIR) + "/PARAM.DAT");
    SimProcess::Options options;
    options.args = std::move(args);
    options.tcp = transport == Transport::Tcp;
    options.pty = transport == Transport::Pty;
    sim_ = std::make_unique<SimProcess>(options);
    if (!sim_->Running()) return;

    DefinitionSource source;
    source.searchDirs = {QS_DATA_BUILD_DIR};
    doc_ = std::make_unique<CVexa3Doc>(ports_, source);
    DocumentLinkFields f = doc_->GetLinkFields();
    f.protocol = kProtocolMini;
    if (transport == Transport::Tcp) {
        f.port = CVexa3Doc::kPortTcp;
        f.ipv4 = DocumentOptionsModel::ParseIpv4(sim_->Host()).value_or(0);
    } else {
        files_.Write("QS3X.INI", "[Ports]\nCOM" + std::to_string(kCom) + "=" + sim_->PtyPath() + "\n");
        ini_ = std::make_unique<ScopedEnv>("QUILLSET_INI", files_.File("QS3X.INI"));
        f.port = kCom;
    }
    doc_->SetLinkFields(f);
}

ReportDeviceAccess ReportRig::Access(int row) {
    ReportDeviceAccess access;
    access.connectedProtocol = [this](bool requireOnline) -> DX3Protocol* {
        const int state = doc_->Connect(!requireOnline);
        if (state < (requireOnline ? CVexa3Doc::kStateOnline : CVexa3Doc::kStateReadOnly)) return nullptr;
        return doc_->GetProtocol();
    };
    access.chooseDestination = [row] { return std::optional<int>(row); };
    return access;
}

std::unique_ptr<CReport> ReportRig::NewReport() const {
    auto report = std::make_unique<CReport>(dictionary, ui.services);
    report->OnNewDocument();
    return report;
}

std::vector<std::string> ReportRig::Received(uint16_t code, size_t atLeast) {
    const std::string head = "SV " + std::string{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    auto blocks = [&head](const std::vector<SimFrame>& log) {
        std::vector<std::string> out;
        for (const SimFrame& f : log)
            if (f.Received() && f.binary && f.text.compare(0, 5, head) == 0) out.push_back(f.text);
        return out;
    };
    sim_->WaitForLog([&](const std::vector<SimFrame>& log) { return blocks(log).size() >= atLeast; });
    return blocks(sim_->ReadLog());
}

std::vector<std::string> ReportRig::Commands() const {
    std::vector<std::string> out;
    for (const SimFrame& f : sim_->ReadLog())
        if (f.Received() && !f.binary && f.kind == "frame") out.push_back(f.text);
    return out;
}

uint32_t ReportRig::FindRegister(const std::function<bool(int, int, const CParam&)>& pick) const {
    for (int dir = 0; dir < ParamDictionary::kDirectories; ++dir) {
        for (int type = 0; type < ParamDictionary::kDataTypes; ++type) {
            int position = 0;
            for (const CParam* p = dictionary.Head(dir, type); p && p->dictDirectory == dir && p->dataType == type;
                 p = p->Next(), ++position) {
                if (pick(dir, type, *p))
                    return MakeRegisterId(0, static_cast<unsigned>(type), static_cast<unsigned>(dir),
                                          static_cast<unsigned>(position), p->instances ? 1 : 0);
            }
        }
    }
    return 0;
}

}  // namespace qs::test::reportsim
