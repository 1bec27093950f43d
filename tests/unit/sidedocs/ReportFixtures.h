#pragma once
// A parameter dictionary for report tests, written record by record, and the pieces of
// report bytes spelled out by hand.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ModelFixtures.h"
#include "RecordingUi.h"
#include "programdata/ParamDictionary.h"
#include "sidedocs/reports/CReport.h"

namespace qs::test {

// Registers by (dictionary directory, data type); the position is the place in the group.
inline uint32_t Reg(unsigned dir, unsigned type, unsigned pos, unsigned instance = 0) {
    return MakeRegisterId(0, type, dir, pos, instance);
}

inline Def Entry(uint8_t dir, uint8_t type, const std::string& name, uint8_t instances = 0, float max = 9999,
                 const std::string& format = "%*d") {
    Def d;
    d.dir = dir;
    d.type = type;
    d.name = name;
    d.instances = instances;
    d.max = max;
    d.format = format;
    return d;
}

// The dictionary every report test uses:
//   (17, 4) Batch Data, reals: positions 0-3, position 3 "Batch Net Volume" with 10 instances
//   (12, 8) Meter Configuration: "Meter Factor" with 6 instances (a plain value)
//   (4, 8)  System Configuration: "Unit Number" without instances
//   (4, 1)  System Configuration: "Print Mode", an option list Off/On
//   (32, 0) User Data: "Driver Name", text of 12 characters
//   (16, 8), (18, 8), (19, 8), (38, 8): one run-data register each, with instances
//   (23, 3) Recipe Run Data: "Recipe Total" with 50 instances
struct ReportDictionary {
    ReportDictionary() {
        std::vector<Def> defs;
        for (int p = 0; p < 3; ++p) defs.push_back(Entry(17, 4, "Batch Value " + std::to_string(p), 10, 999.5f, "%*.*f"));
        defs.push_back(Entry(17, 4, "Batch Net Volume", 10, 99999.99f, "%*.*f"));
        defs.push_back(Entry(12, 8, "Meter Factor", 6, 65000));
        defs.push_back(Entry(4, 8, "Unit Number", 0, 250));
        Def option = Entry(4, 1, "Print Mode", 0, 1);
        option.flags = 1;
        option.options = {"Off", "On"};
        defs.push_back(option);
        defs.push_back(Entry(32, 0, "Driver Name", 0, 12, "%s"));
        defs.push_back(Entry(16, 8, "Transaction Number", 1));
        defs.push_back(Entry(18, 8, "Product Delivered", 6));
        defs.push_back(Entry(19, 8, "Batch Product", 6));
        defs.push_back(Entry(38, 8, "Bay Total", 2));
        defs.push_back(Entry(23, 3, "Recipe Total", 50, 1e6f, "%*ld"));
        dictionary.Load(Records(defs));
    }
    ParamDictionary dictionary;

    static constexpr uint32_t kBatchNet3 = 0x04110303;  // (17, 4) position 3, instance 3
    static uint32_t MeterFactor(unsigned instance) { return Reg(12, 8, 0, instance); }
    static uint32_t UnitNumber() { return Reg(4, 8, 0); }
    static uint32_t PrintMode() { return Reg(4, 1, 0); }
    static uint32_t DriverName() { return Reg(32, 0, 0); }
    static uint32_t RecipeTotal(unsigned instance) { return Reg(23, 3, 0, instance); }
};

// A report document over the test dictionary and a recording user interface.
struct ReportDoc {
    ReportDoc() { report.OnNewDocument(); }
    RecordingUi ui;
    ReportDictionary dict;
    CReport report{dict.dictionary, ui.services};

    ReportItem* AddValue(int line, int column, uint32_t id, const std::string& format = "%8.2f") {
        auto item = std::make_unique<ReportItem>();
        item->MoveTo(line, column);
        item->SetType(kReportItemValue);
        item->SetRegister(id, dict.dictionary.FindParamByRegisterId(id));
        item->SetFormat(format);
        return report.InsertItemInOrder(std::move(item));
    }
    ReportItem* AddText(int line, int column, const std::string& text) {
        return report.InsertItemInOrder(std::make_unique<ReportItem>(line, column, text));
    }
};

inline std::string RecordHex(const std::array<uint8_t, 50>& r) {
    return Hex(std::string(r.begin(), r.end()));
}

// 50 bytes from hex text ("00 03 ..."), zero-filled.
inline std::string Zeros(size_t n) { return std::string(n, '\0'); }

}  // namespace qs::test
