#include "appmodel/programdata/ParamEditRequest.h"

#include <array>

namespace qs {

namespace {

constexpr std::array<ParamBitBox, 5> kAlarmBoxes = {{
    {0, 1007, "Allow Clearing in Run or Ready Mode"},
    {1, 1216, "Energize Alarm Relay 1"},
    {2, 1074, "Energize Alarm Relay 2"},
    {3, 1078, "Send Notification Email"},
    {4, 1079, "Allow Flow to Continue"},
}};

constexpr std::array<ParamBitBox, 7> kMeterBoxes = {{
    {0, 1007, "Meter 1"},
    {1, 1316, "Meter 2"},
    {2, 1078, "Meter 3"},
    {3, 1079, "Meter 4"},
    {4, 1080, "Meter 5"},
    {5, 1081, "Meter 6"},
    {6, 1082, "Downstream"},
}};

constexpr std::array<ParamBitBox, 6> kProductBoxes = {{
    {0, 1007, "Product 1"},
    {1, 1416, "Product 2"},
    {2, 1083, "Product 3"},
    {3, 1084, "Product 4"},
    {4, 1085, "Product 5"},
    {5, 1086, "Product 6"},
}};

constexpr std::array<ParamBitBox, 24> kAdditiveBoxes = {{
    {0, 1007, "Additive 1"},   {1, 1916, "Additive 2"},   {2, 1168, "Additive 3"},   {3, 1089, "Additive 4"},
    {4, 1169, "Additive 5"},   {5, 1135, "Additive 6"},   {6, 1082, "Additive 7"},   {7, 1170, "Additive 8"},
    {8, 1171, "Additive 9"},   {9, 1172, "Additive 10"},  {10, 1103, "Additive 11"}, {11, 1173, "Additive 12"},
    {12, 1174, "Additive 13"}, {13, 1175, "Additive 14"}, {14, 1176, "Additive 15"}, {15, 1177, "Additive 16"},
    {16, 1178, "Additive 17"}, {17, 1179, "Additive 18"}, {18, 1180, "Additive 19"}, {19, 1181, "Additive 20"},
    {20, 1182, "Additive 21"}, {21, 1183, "Additive 22"}, {22, 1184, "Additive 23"}, {23, 1185, "Additive 24"},
}};

}  // namespace

int ParamEditRequest::LevelIndex(int storedLevel) {
    return storedLevel >= 0 && storedLevel < kLevelChoices ? storedLevel : -1;
}

std::span<const ParamBitBox> ParamEditRequest::BitBoxes(ParamDialogKind kind) {
    switch (kind) {
    case ParamDialogKind::AlarmBits: return kAlarmBoxes;
    case ParamDialogKind::MeterBits: return kMeterBoxes;
    case ParamDialogKind::ProductBits: return kProductBoxes;
    case ParamDialogKind::AdditiveBits: return kAdditiveBoxes;
    default: return {};
    }
}

const char* ParamEditRequest::BitsHeading(ParamDialogKind kind) {
    return kind == ParamDialogKind::AlarmBits ? "Check the appropriate boxes for desired function" : nullptr;
}

bool ParamEditRequest::IsBitField(ParamDialogKind kind) { return !BitBoxes(kind).empty(); }

}  // namespace qs
