#pragma once
#include <array>
#include <cstdint>

namespace qs {

// Everything the new-device wizard asks, with the answers a new installation starts from. The
// pages read their controls from here when shown and write them back when left; the counts,
// checks and the result writer read them. Arrays are sized for the largest document (six arms
// with six meters each, 24 additives); the document's own counts say how much of them is used.
struct WizardAnswers {
    static constexpr int kMaxArms = 6;
    static constexpr int kMaxMeters = 6;
    static constexpr int kMaxAdditives = 24;
    static constexpr int kPulseOutputs = 2;

    // Arm types, rows of the arm-type list.
    enum ArmType : int { kArmNotUsed = 0, kStraight = 1, kSideStream = 7, kLastArmType = 12 };
    enum Valve : int { kValveDigital = 0, kValveTwoStage = 1, kValveAnalog = 2 };
    // Temperature and density: 0 N/A, 1 4-20mA, 2 1-5V, 3 RTD or frequency, 4 shared.
    // Pressure: 0 N/A, 1 4-20mA, 2 1-5V, 3 shared.
    enum Transducer : int { kNone = 0, kCurrent = 1, kVoltage = 2, kRtdOrFrequency = 3, kShared = 4 };
    static constexpr int kPressureShared = 3;
    enum InjectorType : int { kInjectorNotUsed = 0, kPiston = 1, kPistonFeedback = 2, kMetered = 7, kFerrix = 8 };

    struct ArmInputs {
        bool remoteStart = false;
        bool remoteStop = false;
        bool transactionReset = false;
        bool ticketTray = false;
        bool highFlow = false;
        bool permissive = false;
        bool permissive2 = false;
    };
    struct MeterRun {
        int valve = kValveDigital;
        int temperature = kNone;
        int density = kNone;
        int pressure = kNone;
        // arm * meter count + meter + 1 of the meter shared, 0 for none
        int temperatureShare = 0;
        int densityShare = 0;
        int pressureShare = 0;
    };
    struct Additive {
        int type = kInjectorNotUsed;
        bool pumpOutput = false;
        int meterMask = 0;  // bit n: meter n + 1 of a blending arm; none: downstream
    };
    struct PulseOutput {
        int arm = 0;     // row of the arm list: 0 not used, n arm n
        int meter = 0;   // 0 arm total pulses, n meter n
        int source = 0;  // IV, GV, GST, GSV, Mass
        float pulsesPerUnit = 1.0f;
        int maxFrequency = 0;  // Hz
    };
    struct SharedIo {
        bool securitySwitch = false;
        bool securitySwitch2 = false;
        bool remoteStopAll = false;
        std::array<bool, 3> systemPermissive{};
        int generalInputs = 0;
        bool alarm = false;
        bool alarm2 = false;
        int generalOutputs = 0;
        int analogOutputs = 0;
    };

    // Hardware.
    int portChoice = 1;  // 0 TCP/IP, n COM n
    uint32_t ipv4 = 0xC0A80001;  // 192.168.0.1, first octet in the high byte
    bool secondDisplay = true;
    bool bseBoard = true;
    int aicbBoards = 0;  // 0-2

    // Arms.
    std::array<int, kMaxArms> armType{};
    std::array<int, kMaxArms> armAddress = {1, 2, 3, 4, 5, 6};
    std::array<int, kMaxArms> injectors{};
    bool dualPulse = false;
    bool transmitterSecurity = false;
    std::array<bool, kMaxArms> productPump = {true, true, true, true, true, true};
    std::array<int, kMaxArms> blockValveOutputs = {-1, -1, -1, -1, -1, -1};  // -1 not answered yet
    std::array<bool, kMaxArms> blockValveFeedback{};
    std::array<ArmInputs, kMaxArms> armInputs{};
    std::array<std::array<MeterRun, kMaxMeters>, kMaxArms> meters{};

    std::array<Additive, kMaxAdditives> additives{};
    std::array<PulseOutput, kPulseOutputs> pulseOutputs{};
    SharedIo shared;
};

}  // namespace qs
