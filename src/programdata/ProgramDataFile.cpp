#include "programdata/ProgramDataFile.h"

#include <cstdio>

#include "platform/ArchiveReader.h"
#include "platform/ArchiveWriter.h"
#include "programdata/CDirectory.h"
#include "programdata/CFileHeader.h"
#include "programdata/CParam.h"
#include "programdata/CodePageTable.h"

namespace qs {

namespace {

int32_t InRange(int32_t value, int32_t low, int32_t high, int32_t fallback) {
    return value >= low && value <= high ? value : fallback;
}

constexpr int32_t kMaxAddress = 99;
constexpr int32_t kMaxPort = 99;

}  // namespace

void ProgramDataFile::WriteLink(ArchiveWriter& out, const ProgramDataLink& link) {
    out.WriteI32(link.port);
    out.WriteI32(link.baseAddress);
    out.WriteU32(link.ipv4);
    for (int32_t address : link.armAddresses) out.WriteI32(address);
    out.WriteI32(link.protocolKind);
    out.WriteI32(link.codePage);
    out.WriteFixedText(link.title, kTextSize);
    out.WriteFixedText(link.description, kTextSize);
}

ProgramDataLink ProgramDataFile::ReadLink(ArchiveReader& in, int32_t magic) {
    const ProgramDataLink defaults;
    ProgramDataLink link;
    link.port = InRange(in.ReadI32(), -1, kMaxPort, defaults.port);
    // Arm 1 is where every single command goes: it has no "not used" address 0.
    link.baseAddress = InRange(in.ReadI32(), 1, kMaxAddress, defaults.baseAddress);
    link.ipv4 = magic == CFileHeader::kMagicProgramDataOld ? kOlderFileIpv4 : in.ReadU32();
    for (size_t i = 0; i < link.armAddresses.size(); ++i)
        link.armAddresses[i] = InRange(in.ReadI32(), 0, kMaxAddress, defaults.armAddresses[i]);
    link.protocolKind = InRange(in.ReadI32(), 0, 1, defaults.protocolKind);
    link.codePage = InRange(in.ReadI32(), 0, CodePageTable::kCount - 1, defaults.codePage);
    link.title = in.ReadFixedText(kTextSize);
    link.description = in.ReadFixedText(kTextSize);
    return link;
}

std::string ProgramDataFile::HostText(uint32_t ipv4) {
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", (ipv4 >> 24) & 0xFFu, (ipv4 >> 16) & 0xFFu, (ipv4 >> 8) & 0xFFu,
                  ipv4 & 0xFFu);
    return text;
}

size_t ProgramDataFile::WriteValues(ArchiveWriter& out, const CDirectory* first, int armCount) {
    size_t records = 0;
    for (const CDirectory* d = first; d != nullptr; d = d->NextDirectory()) {
        const int arms = d->PerArm() && d->Type() != CDirectory::kArm ? armCount : 1;
        for (int arm = 0; arm < arms; ++arm) {
            for (const CSubdirectory* s = d->FirstWalked(); s != nullptr; s = s->NextSubdirectory()) {
                const int instance = s->ValueIndex(arm);
                s->ForEachParam([&](const CParam& p) {
                    if (p.SerializeValue(out, d->Type(), instance)) ++records;
                });
            }
        }
    }
    return records;
}

size_t ProgramDataFile::PlaceValues(ArchiveReader& in, CDirectory* first) {
    size_t placed = 0;
    while (std::optional<ValueRecord> r = CParam::ReadValueRecord(in)) {
        CDirectory* d = first;
        while (d != nullptr && d->Type() != r->directoryType) d = d->NextDirectory();
        if (d == nullptr) continue;
        CParam* p = d->FindParam(r->number);
        if (p == nullptr || !p->SetValue(r->value, r->instance)) continue;
        p->SetLevel(r->level);
        ++placed;
    }
    return placed;
}

}  // namespace qs
