#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "ArchiveTestClasses.h"
#include "TempDir.h"

namespace qs::test {

TEST(BinaryArchive, NumbersAreLittleEndianAndRoundTrip) {
    ArchiveWriter w;
    w.WriteU8(0xAB);
    w.WriteI8(-2);
    w.WriteU16(0x1234);
    w.WriteI16(-1);
    w.WriteU32(0xDEADBEEF);
    w.WriteI32(30520);
    w.WriteU64(0x0102030405060708ull);
    w.WriteI64(-3);
    w.WriteFloat(11.26f);
    w.WriteDouble(1.5);
    EXPECT_EQ(Hex(w.Bytes()),
              "AB FE 34 12 FF FF EF BE AD DE 38 77 00 00 08 07 06 05 04 03 02 01 FD FF FF FF FF FF FF FF "
              "F6 28 34 41 00 00 00 00 00 00 F8 3F");

    ArchiveReader r(w.Bytes());
    EXPECT_EQ(r.ReadU8(), 0xAB);
    EXPECT_EQ(r.ReadI8(), -2);
    EXPECT_EQ(r.ReadU16(), 0x1234);
    EXPECT_EQ(r.ReadI16(), -1);
    EXPECT_EQ(r.ReadU32(), 0xDEADBEEFu);
    EXPECT_EQ(r.ReadI32(), 30520);
    EXPECT_EQ(r.ReadU64(), 0x0102030405060708ull);
    EXPECT_EQ(r.ReadI64(), -3);
    EXPECT_EQ(r.ReadFloat(), 11.26f);
    EXPECT_EQ(r.ReadDouble(), 1.5);
    EXPECT_TRUE(r.AtEnd());
}

TEST(BinaryArchive, FloatingPointBitPatternsSurvive) {
    const float floats[] = {-0.0f, std::numeric_limits<float>::denorm_min(), std::numeric_limits<float>::infinity(),
                            std::bit_cast<float>(0x7FC01234u), std::numeric_limits<float>::max()};
    const double doubles[] = {-0.0, std::numeric_limits<double>::denorm_min(), -std::numeric_limits<double>::infinity(),
                              std::bit_cast<double>(0x7FF8000000ABCDEFull), 1e300};
    ArchiveWriter w;
    for (float f : floats) w.WriteFloat(f);
    for (double d : doubles) w.WriteDouble(d);
    ArchiveReader r(w.Bytes());
    for (float f : floats) EXPECT_EQ(std::bit_cast<uint32_t>(r.ReadFloat()), std::bit_cast<uint32_t>(f));
    for (double d : doubles) EXPECT_EQ(std::bit_cast<uint64_t>(r.ReadDouble()), std::bit_cast<uint64_t>(d));
    EXPECT_TRUE(r.AtEnd());
}

TEST(BinaryArchive, FixedTextFieldsArePaddedAndReadWithoutTrustingANul) {
    ArchiveWriter w;
    w.WriteFixedText("abc", 6);
    w.WriteFixedText("0123456789", 6);   // cut to 5 characters, one NUL kept
    w.WriteFixedText(std::string("ab\0cd", 5), 6);  // stops at the embedded NUL
    w.WriteFixedText("", 3);
    EXPECT_EQ(Hex(w.Bytes()), "61 62 63 00 00 00 30 31 32 33 34 00 61 62 00 00 00 00 00 00 00");

    ArchiveReader r(w.Bytes() + "XYZXYZ" + "XYZXYZ" + std::string("a\0bcde", 6));
    EXPECT_EQ(r.ReadFixedText(6), "abc");
    EXPECT_EQ(r.ReadFixedText(6), "01234");
    EXPECT_EQ(r.ReadFixedText(6), "ab");
    EXPECT_EQ(r.ReadFixedText(3), "");
    EXPECT_EQ(r.ReadFixedText(6), "XYZXY");     // no NUL in the field: bounded by the field
    EXPECT_EQ(r.ReadFixedText(6, 6), "XYZXYZ");  // a caller that allows the whole field
    EXPECT_EQ(r.ReadFixedText(6, 3), "a");       // the first NUL still ends the text
    EXPECT_TRUE(r.AtEnd());
}

struct StringCase {
    size_t length;
    const char* prefix;
};

TEST(BinaryArchive, CountedStringPrefixesAtEveryBoundary) {
    const StringCase cases[] = {
        {0, "00"},
        {0xFE, "FE"},
        {0xFF, "FF FF 00"},
        {0x100, "FF 00 01"},
        {0xFFFD, "FF FD FF"},
        {0xFFFE, "FF FF FF FE FF 00 00"},
        {0xFFFF, "FF FF FF FF FF 00 00"},
        {0x10000, "FF FF FF 00 00 01 00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        std::string text(c.length, 'x');
        for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>('a' + i % 26);
        ArchiveWriter w;
        w.WriteString(text);
        w.WriteU8(0x5A);  // the string ends exactly where its length says
        const std::string prefix = Bytes(c.prefix);
        ASSERT_EQ(w.Size(), prefix.size() + c.length + 1);
        EXPECT_EQ(Hex(w.Bytes().substr(0, prefix.size())), Hex(prefix));
        EXPECT_EQ(w.Bytes().substr(prefix.size(), c.length), text);
        ArchiveReader r(w.Bytes());
        EXPECT_EQ(r.ReadString(0x10000), text);
        EXPECT_EQ(r.ReadU8(), 0x5A);
    }
}

TEST(BinaryArchive, ReaderAcceptsLongerLengthFormsAndBinaryContent) {
    // Other writers may use a wider form than needed; the length is what counts.
    ArchiveReader r(Bytes("FF 03 00 61 62 63  FF FF FF 02 00 00 00 00 25  03 00 0D 0A"));
    EXPECT_EQ(r.ReadString(10), "abc");
    EXPECT_EQ(r.ReadString(10), std::string("\0%", 2));
    EXPECT_EQ(r.ReadString(10), std::string("\0\r\n", 3));
    EXPECT_TRUE(r.AtEnd());
}

TEST(BinaryArchive, StringsOverTheirBoundsAreRefused) {
    {
        ArchiveWriter w;
        w.WriteString("0123456789");
        ArchiveReader r(w.Bytes());
        try {
            r.ReadString(9);
            FAIL() << "a string over the caller's bound was read";
        } catch (const ArchiveError& e) {
            EXPECT_EQ(e.Fault(), ArchiveFault::TooLong);
        }
        ArchiveReader exact(w.Bytes());
        EXPECT_EQ(exact.ReadString(10), "0123456789");
    }
    {
        ArchiveReader r(Bytes("FF FF FF FF FF FF 7F 41 42"));  // claims 2 GB, holds 2 bytes
        try {
            r.ReadString(std::numeric_limits<size_t>::max());
            FAIL();
        } catch (const ArchiveError& e) {
            EXPECT_EQ(e.Fault(), ArchiveFault::EndOfFile);
        }
    }
    {
        ArchiveReader r(Bytes("FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF 41"));  // 64-bit length
        EXPECT_THROW(r.ReadString(std::numeric_limits<size_t>::max()), ArchiveError);
    }
    {
        ArchiveReader r(Bytes("FF FE FF 02 41 00 42 00"));  // wide characters: never written here
        try {
            r.ReadString(100);
            FAIL();
        } catch (const ArchiveError& e) {
            EXPECT_EQ(e.Fault(), ArchiveFault::BadString);
        }
    }
}

TEST(BinaryArchive, CountsAtTheirBoundaries) {
    const std::pair<size_t, const char*> cases[] = {
        {0, "00 00"}, {0xFFFE, "FE FF"}, {0xFFFF, "FF FF FF FF 00 00"}, {0x10000, "FF FF 00 00 01 00"}};
    for (const auto& [count, bytes] : cases) {
        ArchiveWriter w;
        w.WriteCount(count);
        EXPECT_EQ(Hex(w.Bytes()), Hex(Bytes(bytes)));
        ArchiveReader r(w.Bytes());
        EXPECT_EQ(r.ReadCount(0x10000, 0), count);
    }
    ArchiveReader over(Bytes("05 00 01 02 03 04 05"));
    EXPECT_THROW(over.ReadCount(4), ArchiveError);
    ArchiveReader room(Bytes("03 00 01 02 03 04 05"));
    try {
        room.ReadCount(100, 2);  // three elements of at least two bytes need six
        FAIL();
    } catch (const ArchiveError& e) {
        EXPECT_EQ(e.Fault(), ArchiveFault::EndOfFile);
    }
    ArchiveReader fits(Bytes("02 00 01 02 03 04"));
    EXPECT_EQ(fits.ReadCount(100, 2), 2u);
}

TEST(BinaryArchive, StringArraysRoundTripAndAreBounded) {
    const std::vector<std::string> texts = {"Duravane III Ready", "", std::string(300, 'L'), "ErrOther"};
    ArchiveWriter w;
    w.WriteStringArray(texts);
    EXPECT_EQ(Hex(w.Bytes().substr(0, 3)), "04 00 12");
    ArchiveReader r(w.Bytes());
    EXPECT_EQ(r.ReadStringArray(4575, 300), texts);
    EXPECT_TRUE(r.AtEnd());

    ArchiveReader tooMany(w.Bytes());
    EXPECT_THROW(tooMany.ReadStringArray(3, 300), ArchiveError);
    ArchiveReader tooLong(w.Bytes());
    EXPECT_THROW(tooLong.ReadStringArray(4575, 299), ArchiveError);
}

TEST(BinaryArchive, EveryReadPastTheEndFailsWithoutMovingOn) {
    ArchiveReader r(Bytes("01 02 03"));
    EXPECT_THROW(r.ReadU32(), ArchiveError);
    EXPECT_THROW(r.ReadU64(), ArchiveError);
    EXPECT_THROW(r.ReadDouble(), ArchiveError);
    EXPECT_THROW(r.ReadBytes(4), ArchiveError);
    EXPECT_THROW(r.ReadFixedText(4), ArchiveError);
    EXPECT_THROW(r.Skip(4), ArchiveError);
    EXPECT_EQ(r.Position(), 0u);
    EXPECT_EQ(r.ReadU16(), 0x0201);
    EXPECT_EQ(r.Remaining(), 1u);
    try {
        r.ReadU16();
        FAIL();
    } catch (const ArchiveError& e) {
        EXPECT_EQ(e.Fault(), ArchiveFault::EndOfFile);
    }
    EXPECT_EQ(r.ReadU8(), 3);
    EXPECT_THROW(r.ReadU8(), ArchiveError);
}

TEST(BinaryArchive, SavedBytesReadBackFromDisk) {
    TempDir dir;
    ArchiveWriter w;
    w.WriteString("first");
    ASSERT_TRUE(w.SaveTo(dir.File("doc.bin")));
    std::string data;
    ASSERT_EQ(ArchiveReader::ReadFile(dir.File("doc.bin"), 1000, data), ArchiveReader::FileStatus::Ok);
    EXPECT_EQ(data, w.Bytes());

    // A save that cannot complete leaves the old file as it was.
    dir.Write("blocker", "a file where a folder should be");
    EXPECT_FALSE(w.SaveTo(dir.File("blocker/doc.bin")));
    EXPECT_EQ(dir.Read("blocker"), "a file where a folder should be");

    EXPECT_EQ(ArchiveReader::ReadFile(dir.File("doc.bin"), w.Size() - 1, data), ArchiveReader::FileStatus::TooLarge);
    EXPECT_TRUE(data.empty());
    EXPECT_EQ(ArchiveReader::ReadFile(dir.File("doc.bin"), w.Size(), data), ArchiveReader::FileStatus::Ok);
    EXPECT_EQ(ArchiveReader::ReadFile(dir.File("missing.bin"), 1000, data), ArchiveReader::FileStatus::CannotOpen);
    EXPECT_EQ(ArchiveReader::ReadFile(dir.Path(), 1000, data), ArchiveReader::FileStatus::NotAFile);
    dir.Write("empty.bin", "");
    EXPECT_EQ(ArchiveReader::ReadFile(dir.File("empty.bin"), 0, data), ArchiveReader::FileStatus::Ok);
    EXPECT_TRUE(data.empty());
}

}  // namespace qs::test
