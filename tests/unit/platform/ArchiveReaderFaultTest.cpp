#include <gtest/gtest.h>

#include "ArchiveTestClasses.h"
#include "Fuzz.h"

namespace qs::test {

namespace {
// A document-shaped archive: numbers, a fixed field, strings, a string array, an object list.
std::string SampleDocument() {
    ArchiveWriter w;
    w.WriteI32(30567);
    w.WriteFloat(11.26f);
    w.WriteFixedText("Sample set", 33);
    w.WriteI32(1);
    w.WriteString(std::string(300, 'q'));
    w.WriteStringArray({"one", "", "three"});
    std::vector<std::unique_ptr<ArchiveObject>> list;
    list.push_back(std::make_unique<LineObject>(1, "first"));
    list.push_back(std::make_unique<ItemObject>(2));
    list.push_back(std::make_unique<LineObject>(3, "third"));
    w.WriteObjectList(list);
    w.WriteDouble(2.5);
    return w.Bytes();
}

// Reads the sample the way a loader would; throws ArchiveError on any damage.
size_t ReadSample(const std::string& bytes) {
    ArchiveReader r(bytes);
    r.ReadI32();
    r.ReadFloat();
    r.ReadFixedText(33);
    r.ReadI32();
    r.ReadString(1000);
    r.ReadStringArray(100, 100);
    auto list = r.ReadObjectList<ArchiveObject>(TwoClasses(), 100);
    r.ReadDouble();
    return list.size();
}
}  // namespace

TEST(ArchiveReaderFaults, EveryTruncationFailsAsEndOfFile) {
    const std::string full = SampleDocument();
    ASSERT_EQ(ReadSample(full), 3u);
    for (size_t n = 0; n < full.size(); ++n) {
        try {
            ReadSample(full.substr(0, n));
            ADD_FAILURE() << "a file cut to " << n << " bytes loaded";
        } catch (const ArchiveError& e) {
            EXPECT_EQ(e.Fault(), ArchiveFault::EndOfFile) << "cut at " << n << ": " << e.what();
        }
    }
}

TEST(ArchiveReaderFaults, EverySingleByteChangeLoadsOrFailsCleanly) {
    const std::string full = SampleDocument();
    int refused = 0;
    for (size_t i = 0; i < full.size(); ++i) {
        for (int v : {0x00, 0x01, 0x7F, 0x80, 0xFE, 0xFF}) {
            std::string bad = full;
            bad[i] = static_cast<char>(v);
            try {
                ReadSample(bad);
            } catch (const ArchiveError&) {
                ++refused;
            }
        }
    }
    EXPECT_GT(refused, 0);  // damage to tags, lengths and counts is noticed
}

TEST(ArchiveReaderFaults, BoundedFuzzRunNeverCrashes) {
    std::vector<std::string> seeds = {SampleDocument()};
    {
        ArchiveWriter w;
        NodeObject root;
        root.child = std::make_unique<NodeObject>();
        w.WriteObject(&root);
        w.WriteObject(&root);
        seeds.push_back(w.Bytes());
    }
    int loaded = 0;
    int refused = 0;
    const int runs = RunFuzz(seeds, [&](const std::string& input) {
        try {
            ReadSample(input);
            ++loaded;
        } catch (const ArchiveError&) {
            ++refused;
        }
        // The same bytes through the nesting and back-reference paths.
        try {
            ArchiveReader r(input);
            while (!r.AtEnd()) r.ReadObjectOrReference(NodeObject::Classes());
        } catch (const ArchiveError&) {
        }
    });
    EXPECT_EQ(loaded + refused, runs);
    EXPECT_GT(refused, 0);
}

}  // namespace qs::test
