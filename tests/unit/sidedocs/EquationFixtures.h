#pragma once
// Equation sets made from line texts over the dictionary the build generated, and the bytes of
// sets as the controller holds them, written out by hand.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "programdata/ParamDictionary.h"
#include "sidedocs/equations/CEquationDoc.h"
#include "sidedocs/equations/EquationDestinations.h"

namespace qs::test::eq {

using Dest = EquationDestinations;

inline const ParamDictionary& Dictionary() {
    static ParamDictionary dictionary;
    static const bool loaded = dictionary.LoadFile(std::string(QS_DATA_BUILD_DIR) + "/PARAM.DAT");
    EXPECT_TRUE(loaded) << "PARAM.DAT of the build";
    return dictionary;
}

// Registers of the dictionary source used by the tests.
inline constexpr uint32_t kUserFloat5 = 0x04200005;       // User Data(5) User Float
inline constexpr uint32_t kKFactorArm2Meter3 = 0x140C0003;  // per arm, with instances
inline constexpr uint32_t kActiveAlarmCount = 0x020F0000;  // no instances

// A line of `type` and `index` whose expression is `expression`, read in the set's context;
// the test fails when it does not parse.
inline std::unique_ptr<CEquation> ParsedLine(const CEquationDoc& doc, int type, int index, std::string_view expression) {
    auto line = std::make_unique<CEquation>();
    line->type = type;
    line->index = static_cast<int16_t>(index);
    const EquationParseResult r = line->ParseExpression(expression, doc.Context());
    EXPECT_TRUE(r.Ok()) << expression << ": code " << r.code;
    line->SetText(nullptr, doc.Dictionary());
    return line;
}

inline CEquation& Add(CEquationDoc& doc, int type, int index, std::string_view expression) {
    doc.Lines().push_back(ParsedLine(doc, type, index, expression));
    return *doc.Lines().back();
}

inline CEquation& AddComment(CEquationDoc& doc, const std::string& comment) {
    auto line = std::make_unique<CEquation>();
    line->type = Dest::kComment;
    line->text = comment;
    doc.Lines().push_back(std::move(line));
    return *doc.Lines().back();
}

inline std::string U16(uint32_t v) { return {static_cast<char>(v >> 8 & 0xFF), static_cast<char>(v & 0xFF)}; }
inline std::string U32(uint32_t v) { return U16(v >> 16) + U16(v & 0xFFFF); }
inline std::string FloatBe(float f) {
    uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    return U32(bits);
}

// One device line: number, enable byte, kind codes, values, operator codes (256 where none).
inline std::string DeviceLine(int number, std::vector<uint8_t> kinds, std::vector<uint32_t> values,
                              std::vector<uint32_t> operators, bool enabled = true) {
    std::string out = U16(static_cast<uint32_t>(number)) + U16(static_cast<uint32_t>(number));
    out += static_cast<char>(enabled ? 1 : 0);
    kinds.resize(5, 0);
    values.resize(5, 0);
    operators.resize(4, 256);
    for (uint8_t k : kinds) out += static_cast<char>(k);
    for (uint32_t v : values) out += U32(v);
    for (uint32_t o : operators) out += U32(o);
    out += std::string(4, '\0');
    return out;
}

// The set header of a download with this total and line count (lines enabled).
inline std::string SetHeader(uint32_t total, uint32_t lines) {
    return std::string("EQUATIONS\0", 10) + std::string(10, '\0') + "\x01\x05" + U16(total) + U16(lines) + U16(500) +
           U16(0);
}

inline std::string EndRecord() { return std::string(50, '\0'); }

// Tables as a device sends them: floats (type 20), bytes (type 25), then 0 and 0.
inline std::string TablesOf(const std::vector<float>& floats, const std::string& bytes) {
    std::string out;
    if (!floats.empty()) {
        out += U16(20) + U16(static_cast<uint32_t>(floats.size()));
        for (float f : floats) out += FloatBe(f);
    }
    if (!bytes.empty()) out += U16(25) + U16(static_cast<uint32_t>(bytes.size())) + bytes;
    return out + std::string(4, '\0');
}

inline std::vector<uint8_t> Vec(const std::string& s) { return {s.begin(), s.end()}; }

}  // namespace qs::test::eq
