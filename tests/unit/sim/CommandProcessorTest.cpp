#include "device/CommandProcessor.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace sim::test {

namespace {

struct Device {
    explicit Device(const char* persona = "controller", std::string cf = CommandProcessor::DefaultCfReply())
        : commands(*Persona::FromName(persona), values, std::move(cf)) {
        values.Put(1, "SY", 111, {"5", 3});
        values.Put(1, "BA", 7, {"BAY A LOADING", 1});
        values.Put(2, "SY", 111, {"9", 1});
    }
    ValueStore values;
    CommandProcessor commands;
};

// One command sent at an address and the reply the device must give.
struct Step {
    int address;
    std::string command;
    std::string reply;
};

// Sends the steps in order (what is written stays for the later steps); a failure names its step.
void ExpectReplies(Device& d, const std::vector<Step>& steps) {
    for (const Step& s : steps)
        EXPECT_EQ(d.commands.Handle(s.address, s.command), s.reply) << '"' << s.command << "\" at " << s.address;
}

}  // namespace

TEST(SimCommands, ReadsEchoTheCommandThenTheValue) {
    Device d;
    ExpectReplies(d, {
        {1, "PV SY 111", "PV SY 111 5"},
        {1, "XV SY 111", "XV SY 111 3"},
        {1, "PV BA 007", "PV BA 007 BAY A LOADING"},
        {2, "PV SY 111", "PV SY 111 9"},
        {1, "PV SY 112", "NO14"},
        {1, "XV SY 112", "NO14"},
        {3, "PV SY 111", "NO14"},
    });
}

TEST(SimCommands, WritesStickPerAddressAndAreEchoed) {
    Device d;
    ExpectReplies(d, {
        {1, "PC SY 111 12", "PC SY 111 12"},
        {1, "PV SY 111", "PV SY 111 12"},
        {2, "PV SY 111", "PV SY 111 9"},
        {1, "XC SY 111 200", "XC SY 111 200"},
        {1, "XV SY 111", "XV SY 111 200"},
        {1, "PC BA 007 ", "PC BA 007 "},
        {1, "PV BA 007", "PV BA 007 "},
        {1, "PC SY 112 1", "NO14"},
        {1, "XC SY 112 1", "NO14"},
    });
    for (const char* level : {"0", "256", "abc", "", "1000"}) {
        EXPECT_EQ(d.commands.Handle(1, std::string("XC SY 111 ") + level), "NO03") << level;
    }
    EXPECT_EQ(d.commands.Handle(1, "XV SY 111"), "XV SY 111 200");
    EXPECT_EQ(d.commands.Handle(1, "PC SY 111 " + std::string(ValueStore::kMaxValue + 1, '7')), "NO03");
    EXPECT_EQ(d.commands.Handle(1, "PV SY 111"), "PV SY 111 12");
}

TEST(SimCommands, MalformedAndUnknownCommandsAreInvalid) {
    Device d;
    for (const char* cmd : {"ZZ", "PV SY 11", "PV SY 1111", "PVSY 111", "PV SY 11A", "PC SY 111", "PV  Y 111",
                            "GP 1", "LOX", "CF?", "", "pv SY 111"}) {
        EXPECT_EQ(d.commands.Handle(1, cmd), "NO00") << '"' << cmd << '"';
    }
}

TEST(SimCommands, IdentificationLogoutAndConfiguration) {
    Device d;
    EXPECT_EQ(d.commands.Handle(1, "GP"), "0A463B8B");
    EXPECT_EQ(d.commands.Handle(1, "LO"), "LO");
    EXPECT_EQ(d.commands.Handle(1, "UF"), "UF");
    EXPECT_EQ(d.commands.Handle(1, "UF 1"), "NO00");
    const std::string cf = d.commands.Handle(1, "CF");
    ASSERT_GE(cf.size(), 5u);
    EXPECT_NE(cf[4], '0');
    Device single("controller", "CF 10");
    EXPECT_EQ(single.commands.Handle(1, "CF"), "CF 10");
}

TEST(SimCommands, PersonasAnswerAsTheirDevice) {
    const std::vector<std::pair<const char*, std::vector<Step>>> personas = {
        {"controller-1125", {{1, "GP", "2AF16B7A"}, {1, "PV SY 111", "PV SY 111 5"}}},
        {"mmi", {{1, "PV SY 111", "NO00"}, {1, "GP", "32A0E748"}, {1, "XV SY 111", "XV SY 111 3"}}},
        {"mmi-900", {{1, "PV SY 111", "NO00"}, {1, "GP", "72F9F00F"}}},
        {"controller-unknown", {{1, "PV SY 111", "PV SY 111 5"}, {1, "GP", "5EEDF00D"}}},
        {"readonly",
         {{1, "PV SY 111", "PV SY 111 5"},
          {1, "PC SY 111 5", "NO06"},
          {1, "XC SY 111 4", "NO06"},
          {1, "PC SY 112 5", "NO06"},
          {1, "XV SY 111", "XV SY 111 3"}}},
    };
    for (const auto& [persona, steps] : personas) {
        SCOPED_TRACE(persona);
        Device d(persona);
        ExpectReplies(d, steps);
    }

    EXPECT_FALSE(Persona::FromName("nobody"));
    EXPECT_TRUE(Persona::FromName("echo")->echo);
    EXPECT_TRUE(Persona::FromName("silent")->silent);
}

TEST(SimCommands, ACatalogSuppliesCodesAndWritesStickOverIt) {
    struct Catalog : CodeCatalog {
        std::optional<CodeValue> Default(std::string_view mnemonic, int number) const override {
            if (mnemonic == "AR" && number < 200) return CodeValue{"0", 2};
            return std::nullopt;
        }
    } catalog;
    Device d;
    d.values.SetCatalog(&catalog);
    ExpectReplies(d, {
        {1, "PV AR 101", "PV AR 101 0"},
        {1, "XV AR 101", "XV AR 101 2"},
        {1, "PV AR 201", "NO14"},
        {1, "PC AR 101 3", "PC AR 101 3"},
        {1, "PV AR 101", "PV AR 101 3"},
        {2, "PV AR 101", "PV AR 101 0"},
        {1, "PV SY 111", "PV SY 111 5"},
    });
}

TEST(SimCommands, FurtherCommandsCanBeAdded) {
    Device d;
    d.commands.AddCommand("VT", [](int address, std::string_view cmd) {
        return std::string(cmd) + " " + std::to_string(address);
    });
    EXPECT_EQ(d.commands.Handle(2, "VT 1"), "VT 1 2");
    EXPECT_EQ(CommandProcessor::Rejection(5), "NO05");
    EXPECT_EQ(CommandProcessor::Rejection(95), "NO95");
}

}  // namespace sim::test
