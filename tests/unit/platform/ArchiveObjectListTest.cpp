#include <gtest/gtest.h>

#include <list>

#include "ArchiveTestClasses.h"

namespace qs::test {

namespace {
ArchiveFault FaultOf(const std::function<void()>& read) {
    try {
        read();
    } catch (const ArchiveError& e) {
        return e.Fault();
    }
    ADD_FAILURE() << "the read did not fail";
    return ArchiveFault::EndOfFile;
}
}  // namespace

TEST(ArchiveObjectList, ClassRecordsFirstThenClassReferences) {
    std::vector<std::unique_ptr<ArchiveObject>> list;
    list.push_back(std::make_unique<LineObject>(1, "x"));
    list.push_back(std::make_unique<LineObject>(-1, ""));
    list.push_back(std::make_unique<ItemObject>(7));
    list.push_back(std::make_unique<LineObject>(2, "yz"));
    list.push_back(std::make_unique<ItemObject>(8));
    ArchiveWriter w;
    w.WriteObjectList(list);
    // Class CA takes index 1, its first object 2, the next 3; class CB 4, its object 5; ...
    EXPECT_EQ(Hex(w.Bytes()),
              "05 00 "
              "FF FF 00 00 02 00 43 41 01 00 01 78 "
              "01 80 FF FF 00 "
              "FF FF 00 00 02 00 43 42 07 "
              "01 80 02 00 02 79 7A "
              "04 80 08");

    ArchiveReader r(w.Bytes());
    auto read = r.ReadObjectList<ArchiveObject>(TwoClasses(), 100);
    ASSERT_EQ(read.size(), 5u);
    auto* a = dynamic_cast<LineObject*>(read[0].get());
    auto* b = dynamic_cast<LineObject*>(read[1].get());
    auto* c = dynamic_cast<ItemObject*>(read[2].get());
    auto* d = dynamic_cast<LineObject*>(read[3].get());
    auto* e = dynamic_cast<ItemObject*>(read[4].get());
    ASSERT_TRUE(a && b && c && d && e);
    EXPECT_EQ(a->number, 1);
    EXPECT_EQ(a->text, "x");
    EXPECT_EQ(b->number, -1);
    EXPECT_EQ(b->text, "");
    EXPECT_EQ(c->value, 7);
    EXPECT_EQ(d->text, "yz");
    EXPECT_EQ(e->value, 8);
    EXPECT_TRUE(r.AtEnd());
}

TEST(ArchiveObjectList, IndexesRunOnAcrossListsOfOneArchive) {
    std::list<std::unique_ptr<LineObject>> first;
    first.push_back(std::make_unique<LineObject>(5, "a"));
    std::vector<LineObject*> second;
    LineObject other(6, "b");
    second.push_back(&other);
    ArchiveWriter w;
    w.WriteObjectList(first);
    w.WriteString("between");
    w.WriteObjectList(second);
    w.WriteObjectList(std::vector<LineObject*>{});
    EXPECT_EQ(Hex(w.Bytes().substr(w.Size() - 10)), "01 00 01 80 06 00 01 62 00 00");  // CA is still class 1

    ArchiveReader r(w.Bytes());
    ArchiveClassRegistry lines = ArchiveClassRegistry().Add<LineObject>();
    auto one = r.ReadObjectList<LineObject>(lines, 10);
    EXPECT_EQ(r.ReadString(10), "between");
    auto two = r.ReadObjectList<LineObject>(lines, 10);
    auto none = r.ReadObjectList<LineObject>(lines, 10);
    ASSERT_EQ(one.size(), 1u);
    ASSERT_EQ(two.size(), 1u);
    EXPECT_EQ(one[0]->number, 5);
    EXPECT_EQ(two[0]->text, "b");
    EXPECT_TRUE(none.empty());
    EXPECT_TRUE(r.AtEnd());
}

TEST(ArchiveObjectList, NullObjectsAndBackReferences) {
    LineObject shared(3, "s");
    ArchiveWriter w;
    w.WriteObject(nullptr);
    w.WriteObject(&shared);
    w.WriteObject(&shared);  // the same object again: only its index
    EXPECT_EQ(Hex(w.Bytes()), "00 00 FF FF 00 00 02 00 43 41 03 00 01 73 02 00");

    ArchiveClassRegistry classes = TwoClasses();
    ArchiveReader r(w.Bytes());
    auto none = r.ReadObjectOrReference(classes);
    EXPECT_FALSE(none.created);
    EXPECT_EQ(none.earlier, nullptr);
    auto first = r.ReadObjectOrReference(classes);
    ASSERT_TRUE(first.created);
    auto again = r.ReadObjectOrReference(classes);
    EXPECT_FALSE(again.created);
    EXPECT_EQ(again.earlier, first.created.get());

    // An owner takes each object once: a back-reference or a null in an owning list is refused.
    ArchiveReader owning(w.Bytes());
    EXPECT_EQ(owning.ReadObject(classes), nullptr);
    EXPECT_TRUE(owning.ReadObject(classes));
    EXPECT_EQ(FaultOf([&] { owning.ReadObject(classes); }), ArchiveFault::BadIndex);

    std::vector<const LineObject*> twice = {&shared, &shared};
    ArchiveWriter list;
    list.WriteObjectList(twice);
    ArchiveReader listReader(list.Bytes());
    EXPECT_EQ(FaultOf([&] { listReader.ReadObjectList<LineObject>(classes, 10); }), ArchiveFault::BadIndex);

    ArchiveWriter withNull;
    withNull.WriteObjectList(std::vector<const LineObject*>{&shared, nullptr});
    EXPECT_EQ(Hex(withNull.Bytes().substr(withNull.Size() - 2)), "00 00");
    ArchiveReader nullReader(withNull.Bytes());
    EXPECT_EQ(FaultOf([&] { nullReader.ReadObjectList<LineObject>(classes, 10); }), ArchiveFault::BadIndex);
}

TEST(ArchiveObjectList, ObjectsInsideObjects) {
    NodeObject root;
    root.child = std::make_unique<NodeObject>();
    root.child->child = std::make_unique<NodeObject>();
    ArchiveWriter w;
    w.WriteObject(&root);
    EXPECT_EQ(Hex(w.Bytes()), "FF FF 00 00 05 00 43 4E 6F 64 65 01 80 01 80 00 00");
    ArchiveReader r(w.Bytes());
    auto read = r.ReadObject(NodeObject::Classes());
    auto* node = dynamic_cast<NodeObject*>(read.get());
    ASSERT_TRUE(node && node->child && node->child->child);
    EXPECT_FALSE(node->child->child->child);
}

TEST(ArchiveObjectList, NestingBeyondTheLimitIsRefused) {
    auto chain = [](int depth) {
        std::unique_ptr<NodeObject> top;
        for (int i = 0; i < depth; ++i) {
            auto n = std::make_unique<NodeObject>();
            n->child = std::move(top);
            top = std::move(n);
        }
        ArchiveWriter w;
        w.WriteObject(top.get());
        return w.Bytes();
    };
    ArchiveReader ok(chain(ArchiveReader::kMaxDepth));
    EXPECT_TRUE(ok.ReadObject(NodeObject::Classes()));
    ArchiveReader deep(chain(ArchiveReader::kMaxDepth + 1));
    EXPECT_EQ(FaultOf([&] { deep.ReadObject(NodeObject::Classes()); }), ArchiveFault::TooDeep);
    // A file of nothing but class references would otherwise recurse once per two bytes.
    std::string bomb = Bytes("FF FF 00 00 05 00 43 4E 6F 64 65");
    for (int i = 0; i < 100000; ++i) bomb += Bytes("01 80");
    ArchiveReader bombReader(bomb);
    EXPECT_EQ(FaultOf([&] { bombReader.ReadObject(NodeObject::Classes()); }), ArchiveFault::TooDeep);
}

TEST(ArchiveObjectList, LongTagsBeyondIndex7FFE) {
    // Class CB is index 1; objects 2..0x7FFF fill the short tags; then class CA is 0x8000.
    std::vector<std::unique_ptr<ItemObject>> items;
    for (int i = 0; i < 0x7FFE; ++i) items.push_back(std::make_unique<ItemObject>(static_cast<uint8_t>(i)));
    LineObject lineA(1, ""), lineB(2, "");
    ArchiveWriter w;
    for (const auto& item : items) w.WriteObject(item.get());
    const size_t tail = w.Size();
    w.WriteObject(&lineA);               // new class 0x8000, object 0x8001
    w.WriteObject(&lineB);               // class 0x8000 needs the long form
    w.WriteObject(items.front().get());  // object 2: short
    w.WriteObject(items.back().get());   // object 0x7FFF: long
    w.WriteObject(&lineA);               // object 0x8001: long
    EXPECT_EQ(Hex(w.Bytes().substr(tail)),
              "FF FF 00 00 02 00 43 41 01 00 00 "
              "FF 7F 00 80 00 80 02 00 00 "
              "02 00 "
              "FF 7F FF 7F 00 00 "
              "FF 7F 01 80 00 00");

    ArchiveClassRegistry classes = TwoClasses();
    ArchiveReader r(w.Bytes());
    std::vector<std::unique_ptr<ArchiveObject>> read;
    for (size_t i = 0; i < items.size(); ++i) read.push_back(r.ReadObject(classes));
    auto a = r.ReadObjectOrReference(classes);
    auto b = r.ReadObjectOrReference(classes);
    ASSERT_TRUE(a.created && b.created);
    EXPECT_EQ(dynamic_cast<LineObject&>(*b.created).number, 2);
    EXPECT_EQ(r.ReadObjectOrReference(classes).earlier, read.front().get());
    EXPECT_EQ(r.ReadObjectOrReference(classes).earlier, read.back().get());
    EXPECT_EQ(r.ReadObjectOrReference(classes).earlier, a.created.get());
    EXPECT_TRUE(r.AtEnd());
    EXPECT_EQ(dynamic_cast<ItemObject&>(*read.back()).value, static_cast<uint8_t>(0x7FFD));
}

TEST(ArchiveObjectList, UnknownOrMismatchedClassesAreRefused) {
    const ArchiveClassRegistry classes = TwoClasses();
    auto fault = [&](const std::string& bytes) {
        ArchiveReader r(bytes);
        return FaultOf([&] { r.ReadObjectOrReference(classes); });
    };
    EXPECT_EQ(fault(Bytes("FF FF 00 00 02 00 43 43 00")), ArchiveFault::BadClass);       // "CC"
    EXPECT_EQ(fault(Bytes("FF FF 00 00 02 00 63 61 00")), ArchiveFault::BadClass);       // "ca": exact names
    EXPECT_EQ(fault(Bytes("FF FF 01 00 02 00 43 42 00")), ArchiveFault::BadSchema);      // CB of schema 1
    EXPECT_EQ(fault(Bytes("FF FF 00 00 40 00") + std::string(64, 'C')), ArchiveFault::BadClass);  // name of 64
    EXPECT_EQ(fault(Bytes("FF FF 00 00 FF FF 43")), ArchiveFault::BadClass);
    EXPECT_EQ(fault(Bytes("00 80")), ArchiveFault::BadIndex);            // class index 0
    EXPECT_EQ(fault(Bytes("01 80 00")), ArchiveFault::BadIndex);         // class never recorded
    EXPECT_EQ(fault(Bytes("05 00")), ArchiveFault::BadIndex);            // object never read
    EXPECT_EQ(fault(Bytes("FF 7F 05 00 00 00")), ArchiveFault::BadIndex);
    EXPECT_EQ(fault(Bytes("FF 7F 05 00 00 80")), ArchiveFault::BadIndex);
    EXPECT_EQ(fault(Bytes("FF FF 00 00 02")), ArchiveFault::EndOfFile);

    // A class index used as an object, or an object index used as a class.
    ArchiveReader classAsObject(Bytes("FF FF 00 00 02 00 43 42 09 01 00"));
    EXPECT_TRUE(classAsObject.ReadObject(classes));
    EXPECT_EQ(FaultOf([&] { classAsObject.ReadObjectOrReference(classes); }), ArchiveFault::BadIndex);
    ArchiveReader objectAsClass(Bytes("FF FF 00 00 02 00 43 42 09 02 80 09"));
    EXPECT_TRUE(objectAsClass.ReadObject(classes));
    EXPECT_EQ(FaultOf([&] { objectAsClass.ReadObjectOrReference(classes); }), ArchiveFault::BadIndex);

    // A class recorded under one set of classes is not accepted where only others are.
    ArchiveReader narrowed(Bytes("FF FF 00 00 02 00 43 42 09 01 80 0A"));
    EXPECT_TRUE(narrowed.ReadObject(classes));
    EXPECT_EQ(FaultOf([&] { narrowed.ReadObject(ArchiveClassRegistry().Add<LineObject>()); }), ArchiveFault::BadClass);

    // A typed list refuses an object of another registered class.
    ArchiveReader typed(Bytes("01 00 FF FF 00 00 02 00 43 42 09"));
    EXPECT_EQ(FaultOf([&] { typed.ReadObjectList<LineObject>(classes, 10); }), ArchiveFault::BadClass);
    ArchiveReader count(Bytes("02 00 FF FF 00 00 02 00 43 42 09 01 80 0A"));
    EXPECT_EQ(FaultOf([&] { count.ReadObjectList<ItemObject>(classes, 1); }), ArchiveFault::TooLong);
}

namespace {
// Fails its own load when its byte is 1, the way a record with a bad field might.
class Fussy : public ArchiveObject {
public:
    static constexpr ArchiveClass kArchiveClass{"Fussy", 0};
    ArchiveClass GetArchiveClass() const override { return kArchiveClass; }
    void Store(ArchiveWriter&) const override {}
    void Load(ArchiveReader& in) override {
        if (in.ReadU8() == 1) throw ArchiveError(ArchiveFault::BadIndex, "bad field");
    }
};
}  // namespace

TEST(ArchiveObjectList, AnObjectWhoseLoadFailedCannotBeReferredTo) {
    const ArchiveClassRegistry classes = ArchiveClassRegistry().Add<Fussy>();
    ArchiveReader r(Bytes("FF FF 00 00 05 00 46 75 73 73 79 01 02 00 01 80 00 03 00"));
    EXPECT_THROW(r.ReadObject(classes), ArchiveError);
    EXPECT_EQ(FaultOf([&] { r.ReadObjectOrReference(classes); }), ArchiveFault::BadIndex);  // object 2 is gone
    auto good = r.ReadObject(classes);                                                     // class 1 is still known
    ASSERT_TRUE(good);
    EXPECT_EQ(r.ReadObjectOrReference(classes).earlier, good.get());
}

}  // namespace qs::test
