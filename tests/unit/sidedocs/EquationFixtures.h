#pragma once
// Equation sets made from line texts over the dictionary the build generated, and the bytes of
// sets as the controller holds them, written out by hand.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "EquationBytes.h"
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

using namespace eqbytes;

inline std::vector<uint8_t> Vec(const std::string& s) { return {s.begin(), s.end()}; }

}  // namespace qs::test::eq
