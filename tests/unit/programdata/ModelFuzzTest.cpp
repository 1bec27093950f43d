#include <gtest/gtest.h>

#include "Fuzz.h"
#include "ModelFixtures.h"
#include "TempDir.h"
#include "platform/BinaryArchive.h"
#include "programdata/CDirectory.h"
#include "programdata/ParamDictionary.h"

namespace qs::test {
namespace {

FuzzOptions Budget(uint32_t seed) {
    FuzzOptions o;
    o.iterations = 4000;
    o.maxLength = 6000;
    o.seed = seed;
    return o;
}

std::vector<std::string> DefinitionSeeds() {
    Def listed = Code(111, "Mode", 0x03);
    listed.max = 2;
    listed.options = {"0 A", "1 B", "2 C"};
    Def real = Code(801, "Ratio");
    real.type = 4;
    real.format = "%*.*f";
    real.width = 6;
    real.precision = 2;
    return {Records({Code(101, "One"), listed, real, Code(23, "Zero")}), Record(listed), Record(Code(5, "Five"))};
}

TEST(ModelFuzz, DefinitionFilesLoadWithoutFault) {
    TempDir dir;
    DeviceContext doc{nullptr};
    CDirectory system(CDirectory::kSystem, "System", 11, 0, false, false, &doc, FilesIn(dir.Path()));
    CDirectory recipe(CDirectory::kRecipe, "Recipe", 0, 50, true, false, &doc, FilesIn(dir.Path()));
    RunFuzz(DefinitionSeeds(), [&](const std::string& input) {
        for (CDirectory* d : {&system, &recipe}) {
            const size_t n = d->LoadDefinitionRecords(input);
            int counted = 0;
            for (CSubdirectory* s = d->FirstWalked(); s; s = s->NextSubdirectory()) {
                s->ForEachParam([&](CParam& p) {
                    p.SetValue(input.substr(0, 20), 0);
                    (void)p.FormatValue(0);
                    (void)p.GetPromptText();
                    ++counted;
                });
            }
            if (!d->InstancesAsSubdirectories()) {
                EXPECT_EQ(static_cast<size_t>(counted), n);
            }
            (void)d->FindParam(static_cast<int>(input.size()));
        }
    }, Budget(1));
}

TEST(ModelFuzz, DictionaryLoadsAndResolvesWithoutFault) {
    std::vector<std::string> seeds = DefinitionSeeds();
    Def head;
    head.dir = 30;
    head.type = 7;
    seeds.push_back(Records({head, head, head}));
    ParamDictionary dict;
    RunFuzz(seeds, [&](const std::string& input) {
        dict.Load(input);
        for (size_t i = 0; i + 4 <= input.size() && i < 64; i += 4) {
            uint32_t id = 0;
            std::memcpy(&id, input.data() + i, 4);
            if (CParam* p = dict.FindParamByRegisterId(id)) {
                EXPECT_EQ(p->dataType, RegisterIdDataType(id));
                EXPECT_EQ(p->dictDirectory, RegisterIdDirectory(id));
            }
        }
        for (int d = 0; d < ParamDictionary::kDirectories; ++d) (void)dict.FirstParamOfRow(d);
    }, Budget(2));
}

TEST(ModelFuzz, DefinitionRepliesAreCopiedWithinBounds) {
    std::vector<std::string> seeds;
    for (const auto& data : {ReplyData(8, 9, 0, 0, 0, 2, 1, 0, "%*d", "111 Mode{O", "help", {"0 a", "1 b", "2 c"}),
                             ReplyData(4, 12, 3, 6, -1, 1e6f, 8, 3, "%*.*f", "801 Ratio{R{U", "h")}) {
        seeds.emplace_back(data.begin(), data.end());
    }
    RunFuzz(seeds, [](const std::string& input) {
        const std::vector<uint8_t> data(input.begin(), input.end());
        CParam p;
        ArchiveWriter out;
        const bool ok = p.FromDirectoryRecord(1, data, &out);
        EXPECT_EQ(ok, data.size() >= CParam::kMinDefinitionReply);
        if (!ok) return;
        // What was stored reads back as the same definition.
        ArchiveReader in(out.Bytes());
        CParam q;
        ASSERT_TRUE(q.SerializeDefinition(in));
        EXPECT_TRUE(in.AtEnd());
        EXPECT_EQ(q.Name(), p.Name());
        EXPECT_EQ(q.flags, p.flags);
        EXPECT_EQ(q.OptionTexts().size(), p.HasOptionList() ? static_cast<size_t>(p.OptionCount()) : 0u);
        EXPECT_LE(out.Size(), CParam::kRecordSize + 255u * CParam::kOptionTextSize);
    }, Budget(3));
}

TEST(ModelFuzz, ValueRecordsReadWithoutFault) {
    CParam p;
    p.number = 7;
    p.SetValue("12.5", 0);
    ArchiveWriter out;
    p.SerializeValue(out, 3, 0);
    p.SerializeValue(out, 1, 0);
    RunFuzz({out.Bytes()}, [](const std::string& input) {
        ArchiveReader in(input);
        size_t records = 0;
        while (auto r = CParam::ReadValueRecord(in)) {
            EXPECT_LE(r->value.size(), 39u);
            ++records;
        }
        EXPECT_EQ(records, input.size() / CParam::kValueRecordSize);
    }, Budget(4));
}

}  // namespace
}  // namespace qs::test
