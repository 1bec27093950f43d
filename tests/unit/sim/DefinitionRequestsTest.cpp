#include "device/DefinitionRequests.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>

#include "device/Controller.h"
#include "device/DictionaryParser.h"
#include "SourceDictionary.h"

namespace sim::test {

using namespace std::string_literals;

namespace {

std::string Be16(uint16_t v) { return {static_cast<char>(v >> 8), static_cast<char>(v & 0xFF)}; }

std::string CodeRequest(int type, int digit, int index, int zero = 0) {
    return "SV \x04\x15"s + Be16(static_cast<uint16_t>(type)) + Be16(static_cast<uint16_t>(zero)) +
           Be16(static_cast<uint16_t>(digit)) + Be16(static_cast<uint16_t>(index));
}

std::string RegisterRequest(int dataType, int directory, int position) {
    return "SV \x04\x14"s + Be16(static_cast<uint16_t>(dataType)) + Be16(static_cast<uint16_t>(directory)) +
           Be16(static_cast<uint16_t>(position));
}

uint16_t Status(const std::string& reply) { return reply.size() >= 7 ? GetU16(reply, 5) : 0xFFFF; }

// One file's codes; `index` also indexes their registers (which must then start at position 0).
std::shared_ptr<Dictionary> Parsed(const std::string& text, int type, bool index = false) {
    auto d = std::make_shared<Dictionary>();
    EXPECT_EQ(DictionaryParser::Parse(text, "test.txt", type, *d), "");
    if (index) {
        EXPECT_EQ(d->Index(), "");
    }
    return d;
}

const char* const kSystemText = R"(
code: 111
name: 111 Date Format
register: 4 1 0
instances: 0
flags: option
min: 0
max: 2
format: %*d
width: 1
precision: 0
help: Order of dates.
option: MM/DD/YY
option: DD/MM/YY
option: YY/MM/DD
default: 0
level: 4
)";

const char* const kMeterText = R"(
code: 732
name: 732 Daily Totals Time
register: 12 0 2
instances: 6
min: 0
max: 6
format: %s
width: 6
precision: 0
help: Time of day.
default: 06:00A
level: 3
)";

const char* const kArmText = R"(
code: 209
name: 209 Blend Tolerance
register: 11 4 9
instances: 6
flags: read-only, unloading
min: -12.5
max: 999.75
format: %*.*f
width: 1
precision: 2
help: Largest deviation.
default: 0.50
level: none
)";

// What the program makes of a definition reply: the 220-byte record of the definition files
// (little-endian) with its option texts, the flags read back from the name's markers.
std::string Record(uint16_t number, const std::string& data) {
    if (data.size() < 17) return {};
    auto field = [](const std::string& text, size_t size) {
        std::string out = text.substr(0, size - 1);
        out.resize(size, '\0');
        return out;
    };
    size_t at = 16;
    auto next = [&] {
        const size_t end = data.find('\0', at);
        std::string text = data.substr(at, end == std::string::npos ? std::string::npos : end - at);
        at = end == std::string::npos ? data.size() : end + 1;
        return text;
    };
    const std::string format = next();
    std::string name = next();
    const std::string help = next();
    uint16_t flags = 0;
    const size_t brace = name.find('{');
    for (size_t i = brace; i != std::string::npos && i + 1 < name.size(); i = name.find('{', i + 1)) {
        switch (name[i + 1]) {
        case 'B': flags |= 0xB0; break;
        case 'H': flags |= 0x80; break;
        case 'O': flags |= 0x02; break;
        case 'R': flags |= 0x20; break;
        case 'S': flags |= 0x10; break;
        case 'U': flags |= 0x40; break;
        default: break;
        }
    }
    if (brace != std::string::npos) name.resize(brace);
    std::vector<std::string> options;
    if (data.size() >= at + 2) {
        flags |= 0x01;
        uint32_t bits = GetU32(data, 10);
        float max = 0;
        std::memcpy(&max, &bits, sizeof max);
        for (int i = 0; i <= static_cast<int>(max) && at < data.size(); ++i) options.push_back(next());
    }
    std::string r;
    auto le16 = [&](uint16_t v) { r += {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; };
    auto le32 = [&](uint32_t v) {
        le16(static_cast<uint16_t>(v & 0xFFFF));
        le16(static_cast<uint16_t>(v >> 16));
    };
    le16(number);
    le16(flags);
    r += data.substr(0, 3);
    r += data[5];
    le32(GetU32(data, 6));
    le32(GetU32(data, 10));
    r += field(format, 10) + data.substr(14, 2) + field(name, 42) + field(help, 150);
    for (const std::string& option : options) r += field(option, 42);
    return r;
}

std::string ReadBuilt(const std::string& name) {
    std::ifstream in(std::string(QS_DATA_BUILD_DIR) + "/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TEST(SimDefinitions, ReplyOfAnOptionCode) {
    DefinitionRequests requests(Parsed(kSystemText, 1));
    EXPECT_EQ(requests.AnswerCode(CodeRequest(1, 1, 11)),
              "SV \x04\x15\x00\x00"s                    // head, status 0000
              "\x01\x04\x00\x00\x00\x00"s               // data type, directory, position, unused, instances
              "\x00\x00\x00\x00" "\x40\x00\x00\x00"s    // min 0, max 2
              "\x01\x00"s                               // width, precision
              "%*d\0" "111 Date Format\0Order of dates.\0"s
              "MM/DD/YY\0DD/MM/YY\0YY/MM/DD\0"s);
}

TEST(SimDefinitions, ReplyOfATextCodeEndsAfterItsHelp) {
    DefinitionRequests requests(Parsed(kMeterText, 3));
    EXPECT_EQ(requests.AnswerCode(CodeRequest(3, 7, 32)),
              "SV \x04\x15\x00\x00"s
              "\x00\x0C\x02\x00\x00\x06"s
              "\x00\x00\x00\x00" "\x40\xC0\x00\x00"s  // max 6: the length
              "\x06\x00"s
              "%s\0" "732 Daily Totals Time\0Time of day.\0"s);
}

TEST(SimDefinitions, ReplyOfARealCodeCarriesItsFlagsAsMarkers) {
    DefinitionRequests requests(Parsed(kArmText, 2));
    EXPECT_EQ(requests.AnswerCode(CodeRequest(2, 2, 9)),
              "SV \x04\x15\x00\x00"s
              "\x04\x0B\x09\x00\x00\x06"s
              "\xC1\x48\x00\x00" "\x44\x79\xF0\x00"s  // -12.5 and 999.75, big-endian
              "\x01\x02"s
              "%*.*f\0" "209 Blend Tolerance{O{U\0Largest deviation.\0"s);

    // Blending is all three of sequential, ratio and hybrid, told by one marker.
    Definition d;
    d.name = "301 X";
    const std::vector<std::pair<uint16_t, std::string>> cases{
        {Definition::kBlending, "301 X{B"},
        {Definition::kBlending | Definition::kReadOnly | Definition::kUnloading, "301 X{O{B{U"},
        {Definition::kSequential, "301 X{S"},
        {Definition::kRatio | Definition::kHybrid, "301 X{R{H"},
        {Definition::kSequential | Definition::kRatio, "301 X{S{R"},
        {Definition::kHybrid | Definition::kOption, "301 X{H"},
        {0, "301 X"},
    };
    for (const auto& [flags, marked] : cases) {
        d.flags = flags;
        EXPECT_EQ(DefinitionRequests::MarkedName(d), marked) << flags;
    }
}

TEST(SimDefinitions, CodeRequestsRefuseWhatIsNotThere) {
    DefinitionRequests requests(Parsed(kSystemText, 1, true));
    // No such code: the program skips it.
    EXPECT_EQ(requests.AnswerCode(CodeRequest(1, 1, 12)), "SV \x04\x15\x80\x17"s);
    EXPECT_EQ(requests.AnswerCode(CodeRequest(2, 1, 11)), "SV \x04\x15\x80\x17"s);
    // Fields out of range, or a request of another size.
    for (const std::string& bad : {CodeRequest(8, 1, 11), CodeRequest(1, 10, 11), CodeRequest(1, 0, 111),
                                   CodeRequest(1, 1, 11, 1), CodeRequest(1, 1, 11).substr(0, 12),
                                   CodeRequest(1, 1, 11) + "\x00"s, "SV \x04\x15\x00\x00"s}) {
        EXPECT_EQ(Status(requests.AnswerCode(bad)), BlockTransfer::kBadMessageFormat) << ToHex(bad);
    }
    for (const std::string& bad : {RegisterRequest(10, 4, 0), RegisterRequest(1, 39, 0), RegisterRequest(1, 4, 0) + "x"}) {
        EXPECT_EQ(Status(requests.AnswerRegister(bad)), BlockTransfer::kBadMessageFormat) << ToHex(bad);
    }
    EXPECT_EQ(requests.AnswerRegister(RegisterRequest(1, 4, 0)), "SV \x04\x14\x00\x00"s + requests.AnswerCode(CodeRequest(1, 1, 11)).substr(7));
    EXPECT_EQ(requests.AnswerRegister(RegisterRequest(1, 4, 1)), "SV \x04\x14\x80\x17"s);
    EXPECT_EQ(requests.AnswerRegister(RegisterRequest(0, 4, 0)), "SV \x04\x14\x80\x17"s);
    EXPECT_EQ(requests.AnswerRegister(RegisterRequest(1, 4, 300)), "SV \x04\x14\x80\x17"s);
}

TEST(SimDefinitions, RegisterWalkOfTheProgramEndsEachGroupAtItsFirstGap) {
    const auto dictionary = SourceDictionary();
    DefinitionRequests requests(dictionary);
    std::set<std::tuple<int, int, int>> reached;
    int sent = 0;
    for (int d = 0; d < 39; ++d) {
        for (int t = 0; t < 10; ++t) {
            for (int p = 0; p < 300; ++p) {
                const std::string reply = requests.AnswerRegister(RegisterRequest(t, d, p));
                ++sent;
                ASSERT_EQ(reply.substr(0, 5), "SV \x04\x14"s);
                if (Status(reply) & 0x8000) {
                    EXPECT_EQ(Status(reply), DefinitionRequests::kNotUsed);
                    break;
                }
                ASSERT_EQ(Status(reply), 0);
                ASSERT_GE(reply.size(), 7u + 17u);
                // The reply tells the register asked for.
                EXPECT_EQ(reply.substr(7, 3), std::string({static_cast<char>(t), static_cast<char>(d), static_cast<char>(p)}));
                reached.insert({d, t, p});
            }
        }
    }
    // One request per register and one refused request per (directory, data type) group.
    const std::vector<const Definition*> all = dictionary->Registers();
    EXPECT_EQ(static_cast<size_t>(sent), all.size() + 390);
    EXPECT_EQ(reached.size(), all.size());
    for (const Definition* r : all) EXPECT_TRUE(reached.count(r->Register())) << r->file << ":" << r->line;
}

TEST(SimDefinitions, WalksRebuildTheGeneratedDefinitionFilesByteForByte) {
    // Two readers of the same source files: the replies, taken as the program takes them, must
    // give exactly what the build's generator wrote.
    const auto dictionary = SourceDictionary();
    DefinitionRequests requests(dictionary);
    std::string param;
    for (const Definition* r : dictionary->Registers()) {
        const std::string reply = requests.AnswerRegister(RegisterRequest(r->dataType, r->directory, r->position));
        ASSERT_EQ(Status(reply), 0);
        param += Record(static_cast<uint16_t>(r->dataType * 100 + r->position), reply.substr(7));
    }
    const std::string built = ReadBuilt("PARAM.DAT");
    ASSERT_FALSE(built.empty()) << "the build writes " QS_DATA_BUILD_DIR "/PARAM.DAT";
    EXPECT_TRUE(param == built) << "PARAM.DAT differs (" << param.size() << " / " << built.size() << " bytes)";

    for (const DirectoryKind& kind : Dictionary::Kinds()) {
        std::vector<int> digits{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
        if (kind.type == Dictionary::kSystem) digits = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0};
        if (kind.type == Dictionary::kRecipe) digits = {0};
        std::string file;
        size_t answered = 0;
        for (int digit : digits) {
            for (int index = 0; index < 100; ++index) {
                const std::string reply = requests.AnswerCode(CodeRequest(kind.type, digit, index));
                if (Status(reply) == DefinitionRequests::kNotUsed) continue;
                ASSERT_EQ(Status(reply), 0) << kind.name << " " << digit << index;
                file += Record(static_cast<uint16_t>(digit * 100 + index), reply.substr(7));
                ++answered;
            }
        }
        EXPECT_EQ(answered, dictionary->Codes(kind.type).size()) << kind.name;
        const std::string sd3 = ReadBuilt(std::string(kind.name) + ".SD3");
        EXPECT_TRUE(file == sd3) << kind.name << ".SD3 differs (" << file.size() << " / " << sd3.size() << " bytes)";
    }
}

TEST(SimDefinitions, TheControllerAnswersThemOnlyWithADictionary) {
    Controller controller(ControllerConfig{});
    BlockTransfer bare(controller.DataSets(), {}, &controller.SpecialBlocks());
    EXPECT_EQ(Status(*bare.Handle(1, CodeRequest(1, 1, 11))), BlockTransfer::kBadMessageFormat);
    EXPECT_EQ(controller.Values().Find(1, "SY", 111), nullptr);

    controller.UseDictionary(Parsed(kSystemText, 1, true));
    BlockTransfer blocks(controller.DataSets(), {}, &controller.SpecialBlocks());
    EXPECT_EQ(blocks.Classify(CodeRequest(1, 1, 11)).kind, BlockKind::Special);
    EXPECT_EQ(blocks.Classify(RegisterRequest(1, 4, 0)).kind, BlockKind::Special);
    const std::optional<Bytes> reply = blocks.Handle(1, CodeRequest(1, 1, 11));
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->substr(0, 7), "SV \x04\x15\x00\x00"s);
    EXPECT_NE(reply->find("111 Date Format\0"s), std::string::npos);
    EXPECT_EQ(Status(*blocks.Handle(1, RegisterRequest(1, 4, 0))), 0);
    // Other transfer codes keep their own handling.
    EXPECT_EQ(Status(*blocks.Handle(1, "SV \x04\x18\x00\x00"s)), BlockTransfer::kNoConfiguration);
}

}  // namespace sim::test
