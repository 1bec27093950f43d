#include "device/ReportDefinitions.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "TempDir.h"
#include "device/Controller.h"

namespace sim::test {

using namespace std::string_literals;

namespace {

std::string Be16(uint16_t v) { return {static_cast<char>(v >> 8), static_cast<char>(v & 0xFF)}; }
std::string Be32(uint32_t v) { return Be16(static_cast<uint16_t>(v >> 16)) + Be16(static_cast<uint16_t>(v)); }
std::string Zeros(size_t n) { return std::string(n, '\0'); }

std::string Entry(uint16_t line, uint16_t column, uint32_t kind, uint32_t id) {
    std::string format = "%6d";
    format.resize(24, '\0');
    return Be16(line) + Be16(column) + "\x00\x03"s + format + Be32(kind) + Be32(id) + Zeros(12);
}

std::string Header(int lines = 60, int columns = 80) {
    return "\x00\x01\x00\x00\x00"s + static_cast<char>(lines) + static_cast<char>(columns) + Zeros(43);
}

// A whole download: header, a value, two texts, terminator, the texts, the end byte.
std::string Definition() {
    return Header() + Entry(1, 1, 0xFFF8, 0) + Entry(2, 5, 0xFFFC, 0x080C0001) + Entry(3, 80, 0xFFF8, 1) + Zeros(50) +
           "Title\0"s + "\x0C\0"s + '\0';
}

// The frames of a download of `payload` (records of 50 bytes, then texts), one per piece.
std::vector<std::string> DownloadFrames(uint16_t code, const std::string& payload, size_t records, size_t texts) {
    const std::string head = "SV " + Be16(code);
    std::vector<std::string> frames{head, head + Be32(static_cast<uint32_t>(payload.size())) + payload.substr(0, 50)};
    size_t at = 50;
    for (size_t i = 1; i < records; ++i, at += 50) frames.push_back(head + payload.substr(at, 50));
    for (size_t i = 0; i < texts; ++i) {
        const size_t end = payload.find('\0', at) + 1;
        frames.push_back(head + payload.substr(at, end - at));
        at = end;
    }
    frames.push_back(head + '\0' + Be32(Crc32::Of(payload)));
    return frames;
}

uint16_t StatusOf(const std::string& reply) {
    return static_cast<uint16_t>(static_cast<uint8_t>(reply[5]) << 8 | static_cast<uint8_t>(reply[6]));
}

struct Device {
    explicit Device(const std::string& folder = {}) {
        ControllerConfig config;
        config.dataDir = folder;
        controller = std::make_unique<Controller>(config);
    }
    std::string Send(const std::string& request) {
        BlockTransfer blocks(controller->DataSets(), {}, &controller->SpecialBlocks());
        return blocks.Handle(1, request).value_or("(none)");
    }
    // Every frame of a download; the status of the last reply.
    uint16_t Download(uint16_t code, const std::string& payload, size_t records, size_t texts) {
        std::string reply;
        for (const std::string& frame : DownloadFrames(code, payload, records, texts)) {
            reply = Send(frame);
            if (StatusOf(reply) != 0) break;
        }
        return StatusOf(reply);
    }
    // The definition a read serves, or the status of its refusal.
    std::string Upload(uint16_t code) {
        const std::string first = Send("SV " + Be16(code) + Be16(0));
        if (StatusOf(first) != 0) return "status " + std::to_string(StatusOf(first));
        std::string data;
        for (uint16_t block = 1; data.size() < (static_cast<uint32_t>(static_cast<uint8_t>(first[9])) << 8 |
                                                static_cast<uint8_t>(first[10]));
             ++block)
            data += Send("SV " + Be16(code) + Be16(block)).substr(7);
        return data;
    }
    std::unique_ptr<Controller> controller;
};

}  // namespace

TEST(ReportDefinitionsCheck, EachFaultIsNamed) {
    const std::string good = Definition();
    EXPECT_EQ(ReportDefinitions::Check(good), "");
    const struct {
        std::string written;
        const char* fault;
    } rows[] = {
        {Header() + Zeros(50), "shorter than a header, a terminating record and the end byte"},
        {good.substr(0, good.size() - 1) + 'x', "no end byte"},
        {"\x00\x02"s + good.substr(2), "header record number is not 1"},
        {Header(0) + good.substr(50), "header without lines per page or columns"},
        {Header() + Entry(1, 1, 0xFFFC, 1) + Entry(1, 2, 0xFFFC, 1) + '\0', "no terminating record"},
        {Header() + Entry(0, 1, 0xFFFC, 1) + Zeros(50) + '\0', "record at byte 50: line or column 0"},
        {Header() + Entry(1, 1, 0xFFF9, 1) + Zeros(50) + '\0', "record at byte 50: kind 0000fff9 is not one a download sends"},
        {Header() + Entry(1, 1, 0xFFF8, 1) + Zeros(50) + "a\0"s + '\0', "record at byte 50: text index 1 where 0 was due"},
        {Header() + Entry(1, 1, 0xFFF8, 0) + Zeros(50) + "a" + '\0', "text 0 has no zero byte"},
        {Header() + Entry(1, 1, 0xFFFC, 1) + Zeros(50) + "extra\0"s + '\0', "6 bytes after the texts"},
        {Header() + Entry(1, 1, 0xFFFC, 1) + Zeros(49) + "\x01" + '\0', "terminating record is not all zero"},
    };
    for (const auto& row : rows) EXPECT_EQ(ReportDefinitions::Check(row.written), row.fault);
}

TEST(ReportDefinitions, EachSlotKeepsWhatWasWrittenToIt) {
    qs::test::TempDir folder;
    Device device(folder.Path());
    const std::string payload = Definition();
    EXPECT_EQ(device.Download(0x040D, payload, 5, 2), 0);
    const std::string kept = payload.substr(0, payload.size() - 1);
    EXPECT_EQ(device.Upload(0x040C), kept);
    // The other slots have none; a file put in the folder is a slot's definition.
    for (uint16_t code : {0x0408, 0x040A, 0x040E, 0x041B}) EXPECT_EQ(device.Upload(code), "status 32775") << code;
    std::ifstream file(folder.File("040C.bin"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), kept);
    folder.Write("041B.bin", "prove");
    EXPECT_EQ(device.Upload(0x041B), "prove");

    // A second download to the prove report, then a faulty one to slot 2, which keeps its own.
    EXPECT_EQ(device.Download(0x041C, payload, 5, 2), 0);
    EXPECT_EQ(device.Upload(0x041B), kept);
    const std::string faulty = Header() + Entry(1, 1, 0xFFF8, 3) + Zeros(50) + "x\0"s + '\0';
    EXPECT_EQ(device.Download(0x040D, faulty, 3, 1), BlockTransfer::kBadMessageFormat);
    EXPECT_EQ(device.Upload(0x040C), kept);
}

}  // namespace sim::test
