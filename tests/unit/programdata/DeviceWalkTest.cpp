#include <gtest/gtest.h>

#include "ModelFixtures.h"
#include "RecordingUi.h"
#include "TempDir.h"
#include "programdata/CDirectory.h"

namespace qs::test {
namespace {

const char* const kTimeoutBox = "Error on serial device at port 1: - Timeout waiting for response";

class DeviceWalk : public ::testing::Test {
protected:
    void SetUp() override {
        dir.Write("System.SD3", Records({Code(101, "Language"), Code(156, "Level Lock 1"), Code(157, "Level Lock 2"),
                                         Code(160, "Serial Number", CParam::kReadOnly)}));
        dir.Write("Arm.SD3", Records({Code(105, "Arm Name"), Code(107, "Arm Enable"), Code(108, "Arm Address"),
                                      Code(110, "Arm Flag")}));
        dir.Write("Meter.SD3", Records({Code(101, "K Factor"), Code(102, "Meter Name")}));
        dir.Write("Recipe.SD3", Records({Code(1, "Recipe Used"), Code(2, "Recipe Ratio")}));
        system = Make(CDirectory::kSystem, "System", 11, 0, false, false);
        arm = Make(CDirectory::kArm, "Arm", 9, 1, false, true);
        meter = Make(CDirectory::kMeter, "Meter", 9, 6, false, true);
    }

    std::unique_ptr<CDirectory> Make(int type, const char* name, int subs, int instances, bool first, bool perArm) {
        return std::make_unique<CDirectory>(type, name, subs, instances, first, perArm, &doc, FilesIn(dir.Path()));
    }

    std::unique_ptr<ProgressSink> Progress() { return MakeProgress("Reading"); }
    const ProgressRecord& Bar() const { return *ui.progress.back(); }

    RecordingUi ui;
    ScriptedDevice device;
    DeviceContext doc{device.Open()};
    TempDir dir;
    std::unique_ptr<CDirectory> system, arm, meter;
};

TEST_F(DeviceWalk, ReadStoresValuesAndLevelsAndLogsRejections) {
    device.Reply("PV SY 101 2");
    device.Reply("XV SY 101 3");
    device.Reject(14);
    device.Reply("XV SY 156 0");
    device.Silence();                   // PV SY 157 times out: Retry
    device.Reply("PV SY 157 7");
    device.Reject(14);                  // its level is rejected: unchanged
    device.Reply("PV SY 160 A1B2");
    device.Reply("XV SY 160 300");      // out of range: unchanged
    ui.prompt.Answer(IDRETRY);
    system->FindParam(157)->SetLevel(4);
    system->FindParam(160)->SetLevel(1);
    system->FindParam(156)->SetValue("old", 0);

    auto bar = Progress();
    ASSERT_TRUE(system->Subdirectory(1)->ReadFromDevice(bar.get()));

    EXPECT_EQ(device.Commands(), (std::vector<std::string>{"PV SY 101", "XV SY 101", "PV SY 156", "XV SY 156", "PV SY 157",
                                                        "PV SY 157", "XV SY 157", "PV SY 160", "XV SY 160"}));
    EXPECT_EQ(system->FindParam(101)->Value(0), "2");
    EXPECT_EQ(system->FindParam(101)->Level(), 2);
    EXPECT_EQ(system->FindParam(156)->Value(0), "");
    EXPECT_EQ(system->FindParam(156)->Level(), CParam::kLevelNone);
    EXPECT_EQ(system->FindParam(157)->Value(0), "7");
    EXPECT_EQ(system->FindParam(157)->Level(), 4);
    EXPECT_EQ(system->FindParam(160)->Value(0), "A1B2");
    EXPECT_EQ(system->FindParam(160)->Level(), 1);
    EXPECT_EQ(ui.errorLog.Lines(),
              (std::vector<std::string>{"Unable to read System 156 Level Lock 1  : Program Code Not Used"}));
    EXPECT_EQ(ui.errorLog.lines[0].first, &doc);
    ASSERT_EQ(ui.prompt.shown.size(), 1u);
    EXPECT_EQ(ui.prompt.shown[0].text, kTimeoutBox);
    EXPECT_EQ(ui.prompt.shown[0].type & MB_TYPEMASK, MB_ABORTRETRYIGNORE);
    EXPECT_EQ(Bar().steps, 4);
    EXPECT_EQ(Bar().texts[0], "Reading System 100-General Purpose Directory...\n    PV SY 101\n    PV SY 101 2");
    EXPECT_EQ(Bar().texts[1], "Reading System 100-General Purpose Directory...\n    PV SY 156\n    NO14");
    EXPECT_EQ(doc.linkFailures, 0) << "rejections, and a time-out that a retry got past, leave the link as it was";
}

TEST_F(DeviceWalk, ReadOnAnArmUsesItsAddressValueSlotAndLogLine) {
    CDirectory meter2(*meter);  // the second meter
    doc.arm = 1;
    device.Reject(14);
    device.Reply("PV M2 102 North");
    auto bar = Progress();
    ASSERT_TRUE(meter2.Subdirectory(1)->ReadFromDevice(bar.get()));
    // Address 02, mnemonic M2, value index 1 + 1 x 6; no levels away from instance 0.
    EXPECT_EQ(device.stream->writes[0], "*02PV M2 101\r\n");
    EXPECT_EQ(device.Commands(), (std::vector<std::string>{"PV M2 101", "PV M2 102"}));
    EXPECT_EQ(meter2.FindParam(102)->Value(7), "North");
    EXPECT_EQ(meter->FindParam(102)->Value(7), "North");  // shared code list
    EXPECT_EQ(meter2.FindParam(102)->Value(1), "");
    EXPECT_EQ(ui.errorLog.Lines(),
              (std::vector<std::string>{"Unable to read Arm 2 Meter 2 101 K Factor : Program Code Not Used"}));
    EXPECT_EQ(Bar().texts[1], "Reading Arm 2 Meter 2 100-General Purpose Directory...\n    PV M2 102\n    PV M2 102 North");
}

TEST_F(DeviceWalk, ReadIgnoreClearsTheValueAndAbortStopsKeepingWhatWasRead) {
    system->FindParam(156)->SetValue("was", 0);
    device.Reply("PV SY 101 2");
    device.Reply("XV SY 101 1");
    device.Silence();  // 156: Ignore
    device.Reply("XV SY 156 2");
    device.Silence();  // 157: Abort
    ui.prompt.Answer(IDIGNORE);
    ui.prompt.Answer(IDABORT);
    EXPECT_FALSE(system->Subdirectory(1)->ReadFromDevice(nullptr));
    EXPECT_EQ(system->FindParam(101)->Value(0), "2");
    EXPECT_EQ(system->FindParam(156)->Value(0), "");
    EXPECT_EQ(system->FindParam(156)->Level(), 1);
    EXPECT_EQ(device.Commands().size(), 5u);  // nothing after the Abort
    EXPECT_EQ(ui.prompt.shown.size(), 2u);
    EXPECT_EQ(doc.linkFailures, 2) << "each time-out given up on is the link failing";
}

TEST_F(DeviceWalk, CancelInAReportStopsTheWalk) {
    device.Silence();
    ui.prompt.Answer(IDCANCEL);  // a box closed without choosing
    EXPECT_FALSE(system->Subdirectory(1)->ReadFromDevice(nullptr));
    EXPECT_EQ(ui.prompt.shown.size(), 1u);
    EXPECT_EQ(device.Commands().size(), 1u);

    // A command that cannot be sent: OK goes on to the next code, Cancel stops.
    RecordingUi again;
    doc.addresses[0] = 100;  // no two-digit address: every send is refused
    again.prompt.Answer(IDOK);
    again.prompt.Answer(IDCANCEL);
    EXPECT_FALSE(system->Subdirectory(1)->ReadFromDevice(nullptr));
    ASSERT_EQ(again.prompt.shown.size(), 2u);
    EXPECT_EQ(again.prompt.shown[0].text, "Error on serial device at port 1: - Error In Transmission of Data");
    EXPECT_EQ(again.prompt.shown[0].type & MB_TYPEMASK, MB_OKCANCEL);

    // A port that fails its writes offers no choice: one report, and the walk ends.
    RecordingUi third;
    doc.addresses[0] = 1;
    device.stream->FailWritesFrom(device.stream->writeCalls + 1);
    EXPECT_FALSE(system->Subdirectory(1)->ReadFromDevice(nullptr));
    EXPECT_EQ(third.prompt.shown.size(), 1u);
}

TEST_F(DeviceWalk, CancelInTheProgressWindowKeepsTheValuesReadSoFar) {
    ui.CancelAfterPumps(2);
    device.Reply("PV SY 101 2");
    device.Reply("XV SY 101 1");
    device.Reply("PV SY 156 1");
    auto bar = Progress();
    EXPECT_FALSE(system->Subdirectory(1)->ReadFromDevice(bar.get()));
    EXPECT_EQ(system->FindParam(101)->Value(0), "2");
    EXPECT_EQ(system->FindParam(156)->Value(0), "1");
    EXPECT_EQ(device.Commands(), (std::vector<std::string>{"PV SY 101", "XV SY 101", "PV SY 156"}));
}

TEST_F(DeviceWalk, ALevelRequestThatCannotBeSentStops) {
    device.Reply("PV SY 101 2");
    device.stream->FailWritesFrom(2);
    EXPECT_FALSE(system->Subdirectory(1)->ReadFromDevice(nullptr));
    EXPECT_EQ(system->FindParam(101)->Value(0), "2");
    EXPECT_EQ(device.Commands().size(), 1u);
}

TEST_F(DeviceWalk, RecipesAreReadOneSubdirectoryPerRecipe) {
    auto recipe = Make(CDirectory::kRecipe, "Recipe", 0, 3, true, false);
    for (int r = 1; r <= 3; ++r) {
        for (int n = 1; n <= 2; ++n) {
            const std::string cmd = "PV 0" + std::to_string(r) + " 00" + std::to_string(n);
            device.Reply(cmd + " " + std::to_string(r * 10 + n));
            if (r == 1) device.Reply("XV 01 00" + std::to_string(n) + " 2");
        }
    }
    auto bar = Progress();
    ASSERT_TRUE(recipe->ReadFromDevice(bar.get()));
    EXPECT_EQ(device.Commands().size(), 8u);
    EXPECT_EQ(recipe->FindParam(2)->Value(2), "32");
    EXPECT_EQ(recipe->FindParam(1)->Level(), 1);
    EXPECT_EQ(Bar().texts[2], "Reading Recipe 02 ...\n    PV 02 001\n    PV 02 001 21");
}

TEST_F(DeviceWalk, WriteSendsLevelsThenValuesUnderTheSkipRules) {
    CParam* lang = system->FindParam(101);
    lang->SetValue("5", 0);
    lang->SetLevel(2);
    system->FindParam(156)->SetValue("1", 0);
    system->FindParam(156)->SetLevel(0);  // level lock: never its level
    system->FindParam(157)->SetLevel(3);  // level lock too, and no value: nothing
    system->FindParam(160)->SetValue("X9", 0);
    system->FindParam(160)->SetLevel(0);  // read-only: nothing
    device.Reject(95);                       // XC SY 101
    device.Reject(3);                        // PC SY 101
    device.Reply("PC SY 156 1");
    auto bar = MakeProgress("Sending");
    ASSERT_TRUE(system->Subdirectory(1)->WriteToDevice(bar.get()));
    EXPECT_EQ(device.Commands(), (std::vector<std::string>{"XC SY 101 3", "PC SY 101 5", "PC SY 156 1"}));
    EXPECT_EQ(ui.errorLog.Lines(),
              (std::vector<std::string>{"Could Not Set Security Level for System 101 Language : Security Access Not Available",
                                        "Unable to Program System 101 Language to 5 : Value out of Range"}));
    EXPECT_EQ(Bar().steps, 4);
    EXPECT_EQ(Bar().texts[1], "Downloading System 100-General Purpose Directory...\n    PC SY 156 1\n    PC SY 156 1");
    EXPECT_EQ(Bar().texts[3], "Downloading System 100-General Purpose Directory...\n    \n    ");
}

TEST_F(DeviceWalk, ALevelIsWrittenEvenWithoutAValue) {
    arm->FindParam(110)->SetLevel(4);
    device.Reply("XC AR 110 5");
    ASSERT_TRUE(arm->WriteToDevice(nullptr));
    EXPECT_EQ(device.Commands(), (std::vector<std::string>{"XC AR 110 5"}));
}

TEST_F(DeviceWalk, WriteSendsFormattedValues) {
    CParam* lang = system->FindParam(101);
    lang->dataType = 4;
    lang->SetFormat("%*.*f");
    lang->width = 6;
    lang->precision = 2;
    lang->SetValue("12,5", 0);
    device.Reply("PC SY 101 012.50");
    ASSERT_TRUE(system->Subdirectory(1)->WriteToDevice(nullptr));
    EXPECT_EQ(device.Commands(), (std::vector<std::string>{"PC SY 101 012.50"}));
}

TEST_F(DeviceWalk, AnArmBeyondTheActiveCountGetsOnlyItsEnableCodes) {
    doc.activeArms = 1;
    doc.arm = 2;
    CDirectory arm2(*arm);
    CDirectory arm3(arm2);
    for (int n : {105, 107, 108, 110}) {
        arm->FindParam(n)->SetValue(std::to_string(n % 10), 2);
        arm->FindParam(n)->SetLevel(1);
    }
    device.Reply("PC AR 107 7");
    device.Reject(3);
    auto bar = MakeProgress("Sending");
    ASSERT_TRUE(arm3.WriteToDevice(bar.get()));
    EXPECT_EQ(device.Commands(), (std::vector<std::string>{"PC AR 107 7", "PC AR 108 8"}));
    EXPECT_EQ(device.stream->writes[0].substr(0, 3), "*03");
    EXPECT_EQ(ui.errorLog.Lines(),
              (std::vector<std::string>{"Unable to Program Arm 3 Arm 3 108 Arm Address to 8 : Value out of Range"}));
    EXPECT_EQ(Bar().steps, 4);  // skipped codes still step the bar

    CDirectory meter3(*meter);
    meter->FindParam(101)->SetValue("5", 2 * 6 + 0);
    meter3.FindParam(101)->SetValue("5", 2 * 6 + 1);
    EXPECT_TRUE(meter->WriteToDevice(nullptr));
    EXPECT_TRUE(meter3.WriteToDevice(nullptr));
    auto product = Make(CDirectory::kProduct, "Product", 9, 6, false, true);  // no file: no codes
    EXPECT_TRUE(product->WriteToDevice(nullptr));
    EXPECT_EQ(device.Commands().size(), 2u);  // nothing of Meter
}

TEST_F(DeviceWalk, LevelsAreWrittenForInstanceZeroOnly) {
    CDirectory meter2(*meter);
    meter2.FindParam(101)->SetLevel(0);
    meter2.FindParam(101)->SetValue("4", 1);
    device.Reply("PC M2 101 4");
    ASSERT_TRUE(meter2.WriteToDevice(nullptr));
    EXPECT_EQ(device.Commands(), (std::vector<std::string>{"PC M2 101 4"}));

    // The arm of an operator panel (no active arms): arm 0 still gets its enable codes, with levels.
    doc.activeArms = 0;
    arm->FindParam(105)->SetValue("1", 0);
    arm->FindParam(107)->SetValue("1", 0);
    arm->FindParam(107)->SetLevel(0);
    arm->FindParam(105)->SetLevel(0);
    device.Reply("XC AR 107 1");
    device.Reply("PC AR 107 1");
    ASSERT_TRUE(arm->WriteToDevice(nullptr));
    EXPECT_EQ(device.Commands(), (std::vector<std::string>{"PC M2 101 4", "XC AR 107 1", "PC AR 107 1"}));
}

TEST_F(DeviceWalk, WriteRetryIgnoreAbortAndFailedSends) {
    system->FindParam(101)->SetValue("1", 0);
    system->FindParam(156)->SetValue("2", 0);
    system->FindParam(157)->SetValue("3", 0);
    device.Silence();
    device.Reply("PC SY 101 1");  // retried
    device.Silence();             // 156 ignored
    device.Silence();             // 157 aborted
    ui.prompt.Answer(IDRETRY);
    ui.prompt.Answer(IDIGNORE);
    ui.prompt.Answer(IDABORT);
    EXPECT_FALSE(system->Subdirectory(1)->WriteToDevice(nullptr));
    EXPECT_EQ(device.Commands(), (std::vector<std::string>{"PC SY 101 1", "PC SY 101 1", "PC SY 156 2", "PC SY 157 3"}));
    EXPECT_EQ(ui.Messages(), (std::vector<std::string>(3, kTimeoutBox)));
    EXPECT_EQ(doc.linkFailures, 2);

    RecordingUi again;
    doc.addresses[0] = 100;
    again.prompt.Answer(IDOK);  // even OK: a dump stops at a command it cannot send
    EXPECT_FALSE(system->Subdirectory(1)->WriteToDevice(nullptr));
    EXPECT_EQ(again.prompt.shown.size(), 1u);
}

TEST_F(DeviceWalk, CancelInTheProgressWindowStopsAWriteAfterTheCodeItWasPressedAt) {
    for (int n : {101, 156, 157}) system->FindParam(n)->SetValue(std::to_string(n % 10), 0);
    device.Reply("PC SY 101 1");
    device.Reply("PC SY 156 6");
    ui.CancelAfterPumps(2);
    auto bar = Progress();
    EXPECT_FALSE(system->Subdirectory(1)->WriteToDevice(bar.get()));
    EXPECT_EQ(device.Commands(), (std::vector<std::string>{"PC SY 101 1", "PC SY 156 6"}));
}

TEST_F(DeviceWalk, NoLinkNoWalk) {
    DeviceContext other{nullptr};
    system->SetContext(&other);
    EXPECT_FALSE(system->ReadFromDevice(nullptr));
    EXPECT_FALSE(system->WriteToDevice(nullptr));
    system->SetContext(nullptr);
    EXPECT_FALSE(system->ReadFromDevice(nullptr));
    EXPECT_TRUE(ui.prompt.shown.empty());
}

}  // namespace
}  // namespace qs::test
