#include "programdata/ParamDictionary.h"

#include "link/MiniProtocol.h"
#include "platform/BinaryArchive.h"
#include "programdata/DefinitionRequest.h"
#include "programdata/DefinitionSource.h"

namespace qs {

namespace {

constexpr const char* kDirectoryNames[ParamDictionary::kDirectories] = {
    "Pulse Input Configuration",
    "Digital I/O Configuration",
    "Digital I/O Configuration (cont.)",
    "Analog I/O Configuration",
    "System Configuration",
    "Security Configuration",
    "Prompt Configuration",
    "Alarm Configuration",
    "User Alarm Configuration",
    "Communications Configuration",
    "Injector Configuration",
    "Load Arm Configuration",
    "Meter Configuration",
    "Product Configuration",
    "Recipe Configuration",
    "System Run Data",
    "Transaction Data",
    "Batch Data",
    "Product Run Data",
    "Product Run Data for Batch",
    "Injector Data",
    "Digital I/O Status",
    "Analog I/O Values",
    "Recipe Run Data",
    "Meter Run Data",
    "System Alarms",
    "Load Arm Alarms",
    "Meter Alarms",
    "Product Alarm Status",
    "Injector Alarms",
    "System Commands",
    "Digital Output Commands",
    "User Data",
    "Meter Commands",
    "Recipe Alarms",
    "Analog Output Commands",
    "Arm Commands",
    "Bay Configuration",
    "Bay Run Data",
};

bool InGroupRange(unsigned directory, unsigned dataType) {
    return directory < static_cast<unsigned>(ParamDictionary::kDirectories) &&
           dataType < static_cast<unsigned>(ParamDictionary::kDataTypes);
}

}  // namespace

ParamDictionary& ParamDictionary::Instance() {
    static ParamDictionary dictionary;
    return dictionary;
}

const char* ParamDictionary::DirectoryName(int directory) {
    if (directory < 0 || directory >= kDirectories) return "";
    return kDirectoryNames[directory];
}

void ParamDictionary::Clear() {
    heads_.fill(nullptr);
    // Last to first, so each code unlinks from a list whose other end is already gone.
    while (!records_.empty()) records_.pop_back();
}

CParam* ParamDictionary::Head(int directory, int dataType) const {
    if (!InGroupRange(static_cast<unsigned>(directory), static_cast<unsigned>(dataType))) return nullptr;
    return heads_[static_cast<size_t>(directory * kDataTypes + dataType)];
}

size_t ParamDictionary::Load(std::string bytes) {
    Clear();
    ArchiveReader in(std::move(bytes));
    CParam* previous = nullptr;
    for (;;) {
        auto record = std::make_unique<CParam>(0);
        if (!record->SerializeDefinition(in)) break;
        CParam* current = record.get();
        current->InsertAfter(previous);
        const bool newGroup = previous == nullptr || previous->dictDirectory != current->dictDirectory ||
                              previous->dataType != current->dataType;
        if (newGroup && InGroupRange(current->dictDirectory, current->dataType)) {
            CParam*& head = heads_[static_cast<size_t>(current->dictDirectory * kDataTypes + current->dataType)];
            // A group that shows up again later in a disordered file keeps its first head.
            if (head == nullptr) head = current;
        }
        records_.push_back(std::move(record));
        previous = current;
    }
    return records_.size();
}

bool ParamDictionary::LoadFile(const std::string& path) {
    std::string bytes;
    if (ArchiveReader::ReadFile(path, kMaxFileBytes, bytes) != ArchiveReader::FileStatus::Ok) {
        Clear();
        return false;
    }
    return Load(std::move(bytes)) > 0;
}

bool ParamDictionary::LoadOrBuild(const DefinitionSource& source) {
    std::optional<std::string> path = source.Find(kFileName);
    if (!path) {
        if (!BuildFile(source)) {
            Clear();
            return false;
        }
        path = source.buildDir + "/" + kFileName;
    }
    return LoadFile(*path);
}

bool ParamDictionary::BuildFile(const DefinitionSource& source) {
    if (!source.connect || source.buildDir.empty()) return false;
    DefinitionProtocol link = source.connect();
    if (!link) return false;
    ArchiveWriter out;
    if (FetchDefinitions(*link.Get(), out) <= 0) return false;
    return out.SaveTo(source.buildDir + "/" + kFileName);
}

CParam* ParamDictionary::FirstParamOfRow(int directory) const {
    if (directory < 0 || directory >= kDirectories) return nullptr;
    for (int t = 0; t < kDataTypes; ++t) {
        if (CParam* head = Head(directory, t)) return head;
    }
    return nullptr;
}

CParam* ParamDictionary::FindParamByRegisterId(uint32_t id) const {
    if (Empty()) return nullptr;
    const unsigned type = RegisterIdDataType(id);
    const unsigned directory = RegisterIdDirectory(id);
    if (!InGroupRange(directory, type)) return nullptr;
    CParam* p = heads_[directory * kDataTypes + type];
    for (unsigned steps = RegisterIdPosition(id); p != nullptr && steps > 0; --steps) {
        p = p->Next();
        if (p != nullptr && (p->dataType != type || p->dictDirectory != directory)) return nullptr;
    }
    return p;
}

int ParamDictionary::RegisterIdArm(uint32_t id) const {
    if (Empty()) return 0;
    return static_cast<int>(id >> 28);
}

int ParamDictionary::FetchDefinitions(MiniProtocol& protocol, ArchiveWriter& out) {
    int records = 0;
    for (int d = 0; d < kDirectories; ++d) {
        for (int t = 0; t < kDataTypes; ++t) {
            for (int p = 0; p < kBuildPositions; ++p) {
                const DefinitionRequest request(DefinitionRequest::kDictionaryCode,
                                                {static_cast<uint16_t>(t), static_cast<uint16_t>(d),
                                                 static_cast<uint16_t>(p)});
                const auto result = request.Run(protocol, t * 100 + p, out);
                if (result == DefinitionRequest::Result::Failed) return -1;
                if (result == DefinitionRequest::Result::Absent) break;
                ++records;
            }
        }
    }
    return records;
}

uint32_t MakeRegisterId(unsigned armIndex, unsigned dataType, unsigned directory, unsigned position,
                        unsigned instance) {
    return ((armIndex & 0x0Fu) << 28) | ((dataType & 0x0Fu) << 24) | ((directory & 0xFFu) << 16) |
           ((position & 0xFFu) << 8) | (instance & 0xFFu);
}

CParam* FirstParamOfRow(int directory) { return ParamDictionary::Instance().FirstParamOfRow(directory); }
CParam* FindParamByRegisterId(uint32_t id) { return ParamDictionary::Instance().FindParamByRegisterId(id); }
int RegisterIdArm(uint32_t id) { return ParamDictionary::Instance().RegisterIdArm(id); }

}  // namespace qs
