#include "programdata/CDirectory.h"

#include <algorithm>
#include <cstdio>

#include "platform/BinaryArchive.h"
#include "programdata/CParam.h"
#include "programdata/DefinitionRequest.h"
#include "programdata/DefinitionSource.h"
#include "platform/PrintSheet.h"
#include "programdata/ProgramDataContext.h"

namespace qs {

namespace {

constexpr const char* kConfigTable[] = {
    "000-Load Arm Layout", "100-Pulse Inputs", "200-Pulse Outputs", "300-Digital Inputs", "",
    "500-Digital Outputs", "", "", "", "900-Analog I/O",
};

constexpr const char* kGeneralTable[] = {
    "000-Configuration", "100-General Purpose", "200-Flow Control", "300-Volume Accuracy",
    "400-Temperature/Density", "500-Pressure", "600-Alarms", "700-Communications", "800-Additives", "", "",
};

template <size_t N>
std::string TableName(const char* const (&table)[N], int index) {
    return index >= 0 && static_cast<size_t>(index) < N ? table[index] : "";
}

const AppOptions& DefaultOptions() {
    static const AppOptions options;
    return options;
}

}  // namespace

CDirectory::CDirectory(int type, std::string name, int subdirectoryCount, int instanceCount, bool startsAtFirst,
                       bool perArm, ProgramDataContext* context, const DefinitionSource& source)
    : CDirBase(kDirectoryNode, type, std::move(name)),
      codes_(std::make_shared<CodeList>()),
      instanceCount_(std::clamp(instanceCount, 1, kMaxInstances)),
      startsAtFirst_(startsAtFirst),
      perArm_(perArm),
      context_(context) {
    subdirectoryCount = std::clamp(subdirectoryCount, 1, kMaxSubdirectories);
    std::vector<std::string> names;
    if (subdirectoryCount == 1 && instanceCount_ >= 2) {
        instancesAsSubdirs_ = true;
        for (int i = 0; i < instanceCount_; ++i) {
            char number[16];
            std::snprintf(number, sizeof number, " %2.2d", i + 1);
            names.push_back(name_ + number);
        }
    } else {
        for (int i = 0; i < subdirectoryCount; ++i)
            names.push_back(type == kConfig ? TableName(kConfigTable, i) : TableName(kGeneralTable, i));
    }
    BuildSubdirectories(names);
    LoadDefinitions(source);
}

CDirectory::CDirectory(const CDirectory& source)
    : CDirBase(kDirectoryNode, source.id_, source.name_),
      codes_(source.codes_),
      instanceCount_(source.instanceCount_),
      currentInstance_(source.currentInstance_ + 1),
      startsAtFirst_(source.startsAtFirst_),
      perArm_(source.perArm_),
      instancesAsSubdirs_(source.instancesAsSubdirs_),
      context_(source.context_),
      loaded_(source.loaded_) {
    paramCount_ = source.paramCount_;
    std::vector<std::string> names;
    for (const auto& s : source.subdirs_) names.push_back(s->Name());
    BuildSubdirectories(names);
    for (size_t i = 0; i < subdirs_.size(); ++i) subdirs_[i]->SetCodes(source.subdirs_[i]->First(), source.subdirs_[i]->ParamCount());
}

CDirectory::~CDirectory() = default;

void CDirectory::BuildSubdirectories(const std::vector<std::string>& names) {
    subdirs_.clear();
    CSubdirectory* previous = nullptr;
    for (size_t i = 0; i < names.size(); ++i) {
        subdirs_.push_back(std::make_unique<CSubdirectory>(this, static_cast<int>(i), names[i]));
        if (names[i].empty()) continue;
        if (previous) previous->SetNextSubdirectory(subdirs_.back().get());
        previous = subdirs_.back().get();
    }
}

CSubdirectory* CDirectory::Subdirectory(int index) const {
    if (index < 0 || index >= SubdirectoryCount()) return nullptr;
    return subdirs_[static_cast<size_t>(index)].get();
}

CSubdirectory* CDirectory::FirstWalked() const {
    for (int i = startsAtFirst_ ? 0 : 1; i < SubdirectoryCount(); ++i) {
        if (!subdirs_[static_cast<size_t>(i)]->Name().empty()) return subdirs_[static_cast<size_t>(i)].get();
    }
    return nullptr;
}

int CDirectory::ValueCount() const {
    if (Type() == kArm) return kMaxArms;
    if (perArm_) return instanceCount_ * kMaxArms;
    return instanceCount_;
}

CSubdirectory* CDirectory::FindSubdirectory(int number) const {
    if (number < 0 || subdirs_.empty()) return nullptr;
    int i = std::min(number / 100, SubdirectoryCount() - 1);
    while (i >= 0 && subdirs_[static_cast<size_t>(i)]->Name().empty()) --i;
    if (i < 0) return nullptr;
    if (i == 0 && Type() == kSystem && SubdirectoryCount() >= 9) i = 8;
    return subdirs_[static_cast<size_t>(i)].get();
}

CParam* CDirectory::FindParam(int number, CSubdirectory** holder) const {
    if (CSubdirectory* s = FindSubdirectory(number)) {
        if (CParam* p = s->FindParam(number)) {
            if (holder) *holder = s;
            return p;
        }
    }
    for (const auto& s : subdirs_) {
        if (CParam* p = s->FindParam(number)) {
            if (holder) *holder = s.get();
            return p;
        }
    }
    return nullptr;
}

std::string CDirectory::GetMnemonic(int instance) const {
    if (instance < 0) instance = currentInstance_;
    char text[32];
    switch (Type()) {
    case kConfig: return "CF";
    case kSystem: return "SY";
    case kArm: return "AR";
    case kMeter: std::snprintf(text, sizeof text, "M%d", instance + 1); return text;
    case kProduct: std::snprintf(text, sizeof text, "P%d", instance + 1); return text;
    case kRecipe: std::snprintf(text, sizeof text, "%02d", instance + 1); return text;
    case kBayA: return "BA";
    case kBayB: return "BB";
    default: return "";
    }
}

std::string CDirectory::GetInstanceName(int instance) const {
    if (instance < 0) instance = currentInstance_;
    if ((instanceCount_ == 1 || instancesAsSubdirs_) && Type() != kArm) return name_;
    // "%0.0d": a zero would print no digit at all.
    return name_ + " " + (instance + 1 == 0 ? std::string() : std::to_string(instance + 1));
}

bool CDirectory::LoadDefinitions(const DefinitionSource& source) {
    std::optional<std::string> path = source.Find(FileName());
    if (!path) {
        if (!BuildDefinitionFile(source)) return false;
        path = source.buildDir + "/" + FileName();
    }
    std::string bytes;
    if (ArchiveReader::ReadFile(*path, kMaxFileBytes, bytes) != ArchiveReader::FileStatus::Ok) return false;
    return LoadDefinitionRecords(std::move(bytes)) > 0;
}

size_t CDirectory::LoadDefinitionRecords(std::string bytes) {
    codes_ = std::make_shared<CodeList>();
    for (auto& s : subdirs_) s->SetCodes(nullptr, 0);
    paramCount_ = 0;
    loaded_ = false;

    CSubdirectory* current = FirstWalked();
    if (current == nullptr) {
        for (auto& s : subdirs_)
            if (!s->Name().empty()) { current = s.get(); break; }
    }
    if (current == nullptr) return 0;

    ArchiveReader in(std::move(bytes));
    CParam* first = nullptr;
    CParam* last = nullptr;
    int count = 0;
    for (;;) {
        auto param = std::make_unique<CParam>(ValueCount());
        if (!param->SerializeDefinition(in)) break;
        // One list for every recipe: the subdirectories are instances, not hundreds.
        while (!instancesAsSubdirs_ && current->NextSubdirectory() != nullptr &&
               current->NextSubdirectory()->Id() * 100 < param->number) {
            current->SetCodes(first, count);
            current = current->NextSubdirectory();
            first = last = nullptr;
            count = 0;
        }
        param->InsertAfter(last);
        if (first == nullptr) first = param.get();
        last = param.get();
        ++count;
        ++paramCount_;
        codes_->push_back(std::move(param));
    }
    current->SetCodes(first, count);
    if (instancesAsSubdirs_) {
        for (auto& s : subdirs_) s->SetCodes(first, count);
        paramCount_ = count * SubdirectoryCount();
    }
    loaded_ = !codes_->empty();
    return codes_->size();
}

bool CDirectory::BuildDefinitionFile(const DefinitionSource& source) const {
    if (!source.connect || source.buildDir.empty()) return false;
    DefinitionProtocol link = source.connect();
    if (!link) return false;
    ArchiveWriter out;
    // A build that found nothing writes nothing: an empty file would hide the directory
    // for good, as would a half-built one.
    if (FetchDefinitions(*link.Get(), Type(), out) <= 0) return false;
    return out.SaveTo(source.buildDir + "/" + FileName());
}

int CDirectory::FetchDefinitions(MiniProtocol& protocol, int type, ArchiveWriter& out) {
    std::vector<int> digits;
    if (type == kRecipe) digits = {0};
    else if (type == kSystem) digits = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0};
    else digits = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    int records = 0;
    for (int d : digits) {
        for (int i = 0; i < 100; ++i) {
            const DefinitionRequest request(DefinitionRequest::kDirectoryCode,
                                            {static_cast<uint16_t>(type), 0, static_cast<uint16_t>(d),
                                             static_cast<uint16_t>(i)});
            const auto result = request.Run(protocol, d * 100 + i, out);
            if (result == DefinitionRequest::Result::Failed) return -1;
            if (result == DefinitionRequest::Result::Defined) ++records;
        }
    }
    return records;
}

bool CDirectory::ReadFromDevice(ProgressSink* progress) {
    for (CSubdirectory* s = FirstWalked(); s != nullptr; s = s->NextSubdirectory())
        if (!s->ReadFromDevice(progress)) return false;
    return true;
}

bool CDirectory::WriteToDevice(ProgressSink* progress) {
    for (CSubdirectory* s = FirstWalked(); s != nullptr; s = s->NextSubdirectory())
        if (!s->WriteToDevice(progress)) return false;
    return true;
}

int CDirectory::CountShown(const ShownFilter& filter) const {
    int n = 0;
    for (CSubdirectory* s = FirstWalked(); s != nullptr; s = s->NextSubdirectory()) n += s->CountShown(filter);
    return n;
}

int CDirectory::CountShown() const { return CountShown(ShownFilter::FromOptions(Options())); }

const AppOptions& CDirectory::Options() const { return context_ ? context_->Options() : DefaultOptions(); }

void CDirectory::Print(PrintSheet& sheet, const AppOptions& options) const {
    std::string header;
    if (perArm_) {
        const int arm = context_ ? context_->CurrentArm() : 0;
        header = "***** Arm " + std::to_string(arm + 1) + " " + GetInstanceName() + " Directory *****";
    } else {
        header = "***** " + GetInstanceName() + " Directory *****";
    }
    sheet.BreakIfPast(45);
    sheet.AddLine(header, 2);
    for (CSubdirectory* s = FirstWalked(); s != nullptr; s = s->NextSubdirectory()) s->Print(sheet, options);
}

void CDirectory::Print(PrintSheet& sheet) const { Print(sheet, Options()); }

}  // namespace qs
