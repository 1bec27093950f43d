#include "programdata/CParam.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/BinaryArchive.h"
#include "platform/SafeFormat.h"

namespace qs {

namespace {

const std::string kEmpty;

// The integer readings of a value text, as the controller's 32-bit C library gives them.
int32_t ParseSigned32(const std::string& text) {
    const long long v = std::strtoll(text.c_str(), nullptr, 10);
    return static_cast<int32_t>(std::clamp<long long>(v, INT32_MIN, INT32_MAX));
}

uint32_t ParseUnsigned32(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return 0;
    const unsigned long long magnitude = std::strtoull(text.c_str() + i, nullptr, 10);
    if (magnitude > UINT32_MAX) return UINT32_MAX;  // out of range: the largest value
    const uint32_t m = static_cast<uint32_t>(magnitude);
    return negative ? static_cast<uint32_t>(0u - m) : m;
}

// The value text as a number, after the last "," is taken as the decimal point.
double ParseReal(std::string text) {
    if (const size_t comma = text.rfind(','); comma != std::string::npos) text[comma] = '.';
    return StrToDoubleC(text.c_str());
}

float BigEndianFloat(const uint8_t* p) {
    const uint32_t bits = (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
    return std::bit_cast<float>(bits);
}

// The next NUL-terminated text of a reply from `pos`; a text that runs to the end of the data
// without a NUL ends there.
std::string_view NextText(std::span<const uint8_t> data, size_t& pos) {
    if (pos >= data.size()) return {};
    const char* start = reinterpret_cast<const char*>(data.data()) + pos;
    const size_t left = data.size() - pos;
    const void* nul = std::memchr(start, '\0', left);
    const size_t n = nul ? static_cast<size_t>(static_cast<const char*>(nul) - start) : left;
    pos += nul ? n + 1 : n;
    return std::string_view(start, n);
}

uint16_t MarkerFlag(char letter) {
    switch (letter) {
    case 'B': return s_DX3_static_file_rec::kBlending;
    case 'H': return s_DX3_static_file_rec::kHybrid;
    case 'O': return s_DX3_static_file_rec::kReadOnly;
    case 'R': return s_DX3_static_file_rec::kRatio;
    case 'S': return s_DX3_static_file_rec::kSequential;
    case 'U': return s_DX3_static_file_rec::kUnloading;
    default: return 0;
    }
}

std::string CutText(std::string_view text, size_t fieldSize) {
    return std::string(text.substr(0, std::min(text.size(), fieldSize - 1)));
}

}  // namespace

CParam::CParam(int instanceCount) : values_(static_cast<size_t>(std::max(instanceCount, 1))) {}

CParam::~CParam() { Unlink(); }

void CParam::Unlink() {
    if (prev_) prev_->next_ = next_;
    if (next_) next_->prev_ = prev_;
    prev_ = next_ = nullptr;
}

void CParam::InsertAfter(CParam* prev) {
    if (prev == this) return;
    Unlink();
    prev_ = prev;
    if (prev) {
        next_ = prev->next_;
        if (next_) next_->prev_ = this;
        prev->next_ = this;
    }
}

const std::string& CParam::Value(int instance) const {
    if (instance < 0 || instance >= ValueCount()) return kEmpty;
    return values_[static_cast<size_t>(instance)];
}

bool CParam::SetValue(std::string_view text, int instance) {
    if (instance < 0 || instance >= ValueCount()) return false;
    if (const size_t nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
    values_[static_cast<size_t>(instance)] = std::string(text.substr(0, std::min(text.size(), kMaxValueLength)));
    return true;
}

bool CParam::ApplyLevelValue(std::string_view value) {
    size_t b = 0, e = value.size();
    while (b < e && value[b] == ' ') ++b;
    while (e > b && value[e - 1] == ' ') --e;
    if (b == e) return false;
    int n = 0;
    for (size_t i = b; i < e; ++i) {
        if (value[i] < '0' || value[i] > '9') return false;
        n = n * 10 + (value[i] - '0');
        if (n > 255) return false;
    }
    level_ = n == 0 ? kLevelNone : static_cast<uint8_t>(n - 1);
    return true;
}

void CParam::SetOptionTexts(std::vector<std::string> texts) {
    if (texts.size() > static_cast<size_t>(kMaxOptions)) texts.resize(static_cast<size_t>(kMaxOptions));
    for (auto& t : texts) t = CutText(t.substr(0, t.find('\0')), kOptionTextSize);
    options_ = std::move(texts);
}

std::string CParam::OptionText(int index) const {
    if (index < 0 || index >= static_cast<int>(options_.size())) return {};
    return options_[static_cast<size_t>(index)];
}

std::string CParam::GetPromptText() const {
    if (dataType == kTypeText)
        return SafeFormat("Enter up to %-1.0f characters of text", FormatArg::Real(max)).value_or(std::string());
    if (HasOptionList()) return "Select desired option from list";
    const std::string fmt = Format();
    const bool exponent = fmt.find_first_of("eEgG") != std::string::npos;
    const char* conv = exponent ? "%*.*g" : "%*.*f";
    const int prec = IsRealType() ? precision : 0;
    const auto lo = SafeFormat(conv, FormatArg::Real(min), {0, prec});
    const auto hi = SafeFormat(conv, FormatArg::Real(max), {0, prec});
    return "(" + lo.value_or(std::string()) + " - " + hi.value_or(std::string()) + ")";
}

std::string CParam::FormatValue(int instance) const {
    const std::string& text = Value(instance);
    if (text.empty() || dataType == kTypeText) return text;
    std::string fmt = Format();
    if (!fmt.empty() && fmt[0] == '%') fmt.erase(0, 1);
    fmt = "%0" + fmt;  // a format %*d becomes %0*d: numbers are sent zero-padded
    std::optional<std::string> out;
    switch (dataType) {
    case kTypeSigned: out = SafeFormat(fmt, FormatArg::Signed(ParseSigned32(text)), {width, width}); break;
    case kTypeReal:
    case kTypeReal2: out = SafeFormat(fmt, FormatArg::Real(ParseReal(text)), {width, precision}); break;
    case kTypeUnsigned: out = SafeFormat(fmt, FormatArg::Unsigned(ParseUnsigned32(text)), {width, width}); break;
    default: out = SafeFormat(fmt, FormatArg::Signed(ParseSigned32(text)), {width, width}); break;
    }
    return out ? *out : text;
}

std::string CParam::GetApplicabilityText() const {
    std::string text;
    auto add = [&text](const char* part) {
        if (!text.empty()) text += ", ";
        text += part;
    };
    if (flags & kReadOnly) add("Read Only");
    if ((flags & kBlending) == kBlending) add("Blending");
    else if (flags & kHybrid) add("Hybrid");
    else if (flags & kRatio) add("Ratio");
    else if (flags & kSequential) add("Sequential");
    if (flags & kUnloading) add("Unloading ");
    return text;
}

void CParam::SerializeDefinition(ArchiveWriter& out) const {
    out.WriteU16(number);
    out.WriteU16(flags);
    out.WriteU8(dataType);
    out.WriteU8(dictDirectory);
    out.WriteU8(position);
    out.WriteU8(instances);
    out.WriteFloat(min);
    out.WriteFloat(max);
    out.WriteBytes(format, kFormatSize);
    out.WriteU8(width);
    out.WriteU8(precision);
    out.WriteBytes(name, kNameSize);
    out.WriteBytes(help, kHelpSize);
    if (!HasOptionList()) return;
    const int count = OptionCount();
    for (int i = 0; i < count; ++i) out.WriteFixedText(OptionText(i), kOptionTextSize);
}

bool CParam::SerializeDefinition(ArchiveReader& in) {
    if (in.AtEnd()) return false;
    try {
        number = in.ReadU16();
        flags = in.ReadU16();
        dataType = in.ReadU8();
        dictDirectory = in.ReadU8();
        position = in.ReadU8();
        instances = in.ReadU8();
        min = in.ReadFloat();
        max = in.ReadFloat();
        const std::string f = in.ReadBytes(kFormatSize);
        std::memcpy(format, f.data(), kFormatSize);
        width = in.ReadU8();
        precision = in.ReadU8();
        const std::string n = in.ReadBytes(kNameSize);
        std::memcpy(name, n.data(), kNameSize);
        const std::string h = in.ReadBytes(kHelpSize);
        std::memcpy(help, h.data(), kHelpSize);
        options_.clear();
        if (HasOptionList()) {
            const int count = OptionCount();
            if (in.Remaining() < static_cast<size_t>(count) * kOptionTextSize) return false;
            options_.reserve(static_cast<size_t>(count));
            for (int i = 0; i < count; ++i) options_.push_back(in.ReadFixedText(kOptionTextSize));
        }
        return true;
    } catch (const ArchiveError&) {
        return false;
    }
}

bool CParam::FromDirectoryRecord(int num, std::span<const uint8_t> data, ArchiveWriter* out) {
    if (data.size() < kMinDefinitionReply) return false;
    number = static_cast<uint16_t>(num);
    flags = 0;
    dataType = data[0];
    dictDirectory = data[1];
    position = data[2];
    instances = data[5];
    min = BigEndianFloat(&data[6]);
    max = BigEndianFloat(&data[10]);
    width = data[14];
    precision = data[15];

    size_t pos = 16;
    SetFormat(NextText(data, pos));
    // The device marks the kind of a code in its name: "{O{U" after the name itself.
    const std::string_view marked = NextText(data, pos);
    const size_t brace = marked.find('{');
    SetName(marked.substr(0, brace));
    for (size_t i = brace; i != std::string_view::npos && i < marked.size(); i = marked.find('{', i + 1)) {
        if (i + 1 < marked.size()) flags |= MarkerFlag(marked[i + 1]);
    }
    SetHelp(NextText(data, pos));

    options_.clear();
    if (data.size() - pos >= 2) {
        flags |= kOptionList;
        const int count = OptionCount();
        options_.reserve(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            // Texts the reply does not carry stay empty.
            options_.push_back(CutText(NextText(data, pos), kOptionTextSize));
        }
    }
    if (out) SerializeDefinition(*out);
    return true;
}

bool CParam::SerializeValue(ArchiveWriter& out, int directoryType, int instance) const {
    const std::string& text = Value(instance);
    if (text.empty()) return false;
    out.WriteI32(directoryType);
    out.WriteI32(instance);
    out.WriteI32(number);
    out.WriteFixedText(text, kValueTextSize);
    out.WriteI16(static_cast<int8_t>(level_));
    return true;
}

std::optional<ValueRecord> CParam::ReadValueRecord(ArchiveReader& in) {
    if (in.Remaining() < kValueRecordSize) return std::nullopt;
    ValueRecord r;
    r.directoryType = in.ReadI32();
    r.instance = in.ReadI32();
    r.number = in.ReadI32();
    r.value = in.ReadFixedText(kValueTextSize);
    r.level = static_cast<uint8_t>(in.ReadU16() & 0xFF);
    return r;
}

}  // namespace qs
