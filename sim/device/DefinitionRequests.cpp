#include "device/DefinitionRequests.h"

#include <cstring>

namespace sim {
namespace {

constexpr size_t kArguments = 5;  // after "SV " and the transfer code
constexpr int kMaxDigit = 9;
constexpr int kMaxIndex = 99;

uint32_t FloatBits(float f) {
    uint32_t bits = 0;
    static_assert(sizeof bits == sizeof f);
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

void PutText(Bytes& out, const std::string& text) {
    out += text;
    out.push_back('\0');
}

}  // namespace

std::string DefinitionRequests::MarkedName(const Definition& d) {
    std::string name = d.name;
    if (d.Has(Definition::kReadOnly)) name += "{O";
    if (d.Has(Definition::kBlending)) {
        name += "{B";
    } else {
        if (d.Has(Definition::kSequential)) name += "{S";
        if (d.Has(Definition::kRatio)) name += "{R";
        if (d.Has(Definition::kHybrid)) name += "{H";
    }
    if (d.Has(Definition::kUnloading)) name += "{U";
    return name;
}

Bytes DefinitionRequests::ReplyData(const Definition& d) {
    Bytes out;
    out.push_back(static_cast<char>(d.dataType));
    out.push_back(static_cast<char>(d.directory));
    out.push_back(static_cast<char>(d.position));
    out.append(2, '\0');
    out.push_back(static_cast<char>(d.instances));
    PutU32(out, FloatBits(d.min));
    PutU32(out, FloatBits(d.max));
    out.push_back(static_cast<char>(d.width));
    out.push_back(static_cast<char>(d.precision));
    PutText(out, d.format);
    PutText(out, MarkedName(d));
    PutText(out, d.help);
    // The program tells an option list by the bytes after the help, so only a list has any.
    if (d.Has(Definition::kOption)) {
        for (const std::string& option : d.options) PutText(out, option);
    }
    return out;
}

Bytes DefinitionRequests::AnswerCode(const Bytes& request) const {
    const uint16_t code = BlockTransfer::CodeOf(request);
    if (request.size() != kCodeRequestSize) return BlockTransfer::Head(code, BlockTransfer::kBadMessageFormat);
    const int type = GetU16(request, kArguments);
    const int zero = GetU16(request, kArguments + 2);
    const int digit = GetU16(request, kArguments + 4);
    const int index = GetU16(request, kArguments + 6);
    if (type >= Dictionary::kDirectoryCount || zero != 0 || digit > kMaxDigit || index > kMaxIndex) {
        return BlockTransfer::Head(code, BlockTransfer::kBadMessageFormat);
    }
    const Definition* d = dictionary_->Code(type, digit * 100 + index);
    if (!d) return BlockTransfer::Head(code, kNotUsed);
    return BlockTransfer::Head(code, BlockTransfer::kOk) + ReplyData(*d);
}

Bytes DefinitionRequests::AnswerRegister(const Bytes& request) const {
    const uint16_t code = BlockTransfer::CodeOf(request);
    if (request.size() != kRegisterRequestSize) return BlockTransfer::Head(code, BlockTransfer::kBadMessageFormat);
    const int dataType = GetU16(request, kArguments);
    const int directory = GetU16(request, kArguments + 2);
    const int position = GetU16(request, kArguments + 4);
    if (dataType >= Dictionary::kDataTypes || directory >= Dictionary::kDictionaryDirectories) {
        return BlockTransfer::Head(code, BlockTransfer::kBadMessageFormat);
    }
    // Positions past the group's last (the program asks up to 299) end its walk.
    const Definition* d = dictionary_->Register(directory, dataType, position);
    if (!d) return BlockTransfer::Head(code, kNotUsed);
    return BlockTransfer::Head(code, BlockTransfer::kOk) + ReplyData(*d);
}

void DefinitionRequests::Install(std::shared_ptr<const Dictionary> dictionary, BlockTransfer::SpecialHandlers& handlers) {
    auto requests = std::make_shared<const DefinitionRequests>(std::move(dictionary));
    handlers[kCodeDefinition] = [requests](int, const Bytes& request) -> std::optional<Bytes> {
        return requests->AnswerCode(request);
    };
    handlers[kRegisterDefinition] = [requests](int, const Bytes& request) -> std::optional<Bytes> {
        return requests->AnswerRegister(request);
    };
}

}  // namespace sim
