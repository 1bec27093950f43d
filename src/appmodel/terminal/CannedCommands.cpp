#include "appmodel/terminal/CannedCommands.h"

#include <cctype>

namespace qs {

namespace {

// What an item puts into the entry: the mnemonic and CR runs at once, the mnemonic and a
// blank waits for arguments, a few take the bare mnemonic.
#define RUN(m) m "\r"
#define ARGS(m) m " "
#define BARE(m) m

constexpr CannedCommand kStatus[] = {
    {18101, "EQ", "Status Bitmap", RUN("EQ")},
    {18102, "EA", "Alarm Bitmap", ARGS("EA")},
    {18103, "EE", "Extended Status Bitmap", RUN("EE")},
    {18104, "RS", "Status Codes", RUN("RS")},
    {18105, "RA", "Alarm Codes", ARGS("RA")},
    {18106, "SR", "Show Allocated Recipes", RUN("SR")},
    {18107, "RR", "Show Current Recipe", RUN("RR")},
    {18108, "GP", "Get EPROM CRC32", RUN("GP")},
    {18109, "LO", "Immediate Program Mode Log Off", RUN("LO")},
    {18110, "TS", "Turbine Meter Status", ARGS("TS")},
    {18111, "TR", "Turbine Meter Signature", ARGS("TR")},
    {18112, "CF", "Hardware Configuration", RUN("CF")},
    {18113, "CV", "Civacon Status", RUN("CV")},
    {18125, "HP", "Host Port", nullptr},
    {18115, "SW", "Swing Arm Status", RUN("SW")},
};
constexpr CannedCommand kSystemData[] = {
    {18201, "GD", "Get Date and Time", RUN("GD")},
    {18202, "PV", "Program Code Value", ARGS("PV")},
    {18203, "FL", "Flow Pulse Count", BARE("FL")},
    {18204, "RD", "Current Analog Input Data", ARGS("RD")},
    {18205, "RQ", "Flow Rate", BARE("RQ")},
    {18206, "PF", "Time of Power Fail", RUN("PF")},
    {18207, "VT", "Request Totalizer Data", ARGS("VT")},
    {18208, "AN", "Analog Engineering Value", ARGS("AN")},
    {18209, "SD", "Set Date and Time", ARGS("SD")},
    {18210, "PC", "Change Program Value", ARGS("PC")},
    {18211, "XV", "Read Program Code Security Level", ARGS("XV")},
    {18212, "XC", "Set Program Code Security Level", ARGS("XC")},
    {18213, "IC", "Send Injector Command", ARGS("IC")},
    {18214, "IR", "Get Injector Response", RUN("IR")},
    {18215, "OA", "Other Addresses", RUN("OA")},
    {18216, "BA", "Bay Arms", RUN("BA")},
    {18217, "MC", "Send Mass Meter Command", ARGS("MC")},
    {18218, "MR", "Get Mass Meter Response", ARGS("MR")},
    {18219, "VC", "Ctrl Valve Sol Actuation Diagnostic Counters", ARGS("VC")},
    {18220, "VD", "Valve Diagnostic Timing Data", ARGS("VD")},
};
constexpr CannedCommand kTransactionData[] = {
    {18301, "AT", "Additive Totals by Transaction", ARGS("AT")},
    {18302, "AV", "Additive Totals by Batch", ARGS("AV")},
    {18303, "LT", "Load Average Temperature", ARGS("LT")},
    {18304, "LP", "Load Average Pressure", ARGS("LP")},
    {18320, "LC", "Corrected Reference Density", nullptr},
    {18306, "LD", "Load Average Density", ARGS("LD")},
    {18307, "RB", "Batch Data", BARE("RB")},
    {18308, "RP", "Preset Volume", RUN("RP")},
    {18309, "RT", "Transaction Data", ARGS("RT")},
    {18310, "TI", "Prompt Input Data", ARGS("TI")},
    {18311, "TN", "Transaction Stop Date/Time", BARE("TN")},
    {18312, "CP", "Contaminant Percentage", BARE("CP")},
    {18313, "DS", "Display Density Sample", ARGS("DS")},
    {18314, "LS", "Last Density Sample", ARGS("LS")},
    {18315, "VB", "Batch Vapor Recovered Mass", ARGS("VB")},
    {18316, "VX", "Transaction Vapor Recovered Mass", ARGS("VX")},
    {18317, "PN", "Batch Vapor Recovered Net Mass", ARGS("PN")},
    {18318, "PX", "Transaction Vapor Recovered Net Mass", ARGS("PX")},
};
constexpr CannedCommand kHistoricalData[] = {
    {18401, "ER", "Event Recall", ARGS("ER")},
    {18402, "ES", "Latest Event Sequence", ARGS("ES")},
    {18403, "PR", "Program Change Recall", ARGS("PR")},
    {18404, "PS", "Latest Program Change Sequence Number", ARGS("PS")},
};
constexpr CannedCommand kUserData[] = {
    {18501, "BR", "Read User Register", ARGS("BR")},
    {18502, "BW", "Write User Register", ARGS("BW")},
    {18503, "SV", "User Extended Service", ARGS("SV")},
};
constexpr CannedCommand kKeypadDisplay[] = {
    {18601, "WD", "Write to Display", ARGS("WD")},
    {18602, "WA", "Write Second Line to Display", ARGS("WA")},
    {18603, "WB", "Write Third Line to Display", ARGS("WB")},
    {18604, "WC", "Write Fourth Line to Display", ARGS("WC")},
    {18605, "WP", "Write Delayed to Display", ARGS("WP")},
    {18606, "WQ", "Write Delayed With Secure Echo", ARGS("WQ")},
    {18607, "WX", "Write with Secure Echo", ARGS("WX")},
    {18608, "RK", "Read Keypad", RUN("RK")},
    {18609, "DA", "Release Display to Duravane III.NET", RUN("DA")},
    {18610, "GK", "Get Last Key Pressed", RUN("GK")},
    {18611, "DY", "Dynamic Display Data", ARGS("DY")},
    {18612, "FS", "Force Full-Screen View", RUN("FS")},
    {18613, "SS", "Force Split-Screen View", RUN("SS")},
};
constexpr CannedCommand kControl[] = {
    {18701, "AB", "Allocate Blend Recipes", ARGS("AB")},
    {18702, "AO", "Set Gen. Purpose Analog Out", ARGS("AO")},
    {18703, "AP", "Authorize Transaction to Preset", BARE("AP")},
    {18704, "AR", "Alarm Reset", ARGS("AR")},
    {18705, "AU", "Authorize Transaction", BARE("AU")},
    {18706, "CT", "Clear Standby Transactions", RUN("CT")},
    {18707, "ET", "End Transaction", RUN("ET")},
    {18708, "OR", "Set Output Relay", ARGS("OR")},
    {18709, "RE", "Reset Status Flag", ARGS("RE")},
    {18710, "PP", "Print Report at Printer", BARE("PP")},
    {18711, "PT", "Print Transaction to Host", BARE("PT")},
    {18712, "SB", "Set Batch", ARGS("SB")},
    {18713, "SF", "Set Fixed Batch", ARGS("SF")},
    {18714, "EB", "End Batch", RUN("EB")},
    {18715, "SA", "Remote Start", RUN("SA")},
    {18716, "SP", "Remote Stop All Arms", RUN("SP")},
    {18717, "ST", "Remote Stop Single Arm", RUN("ST")},
    {18718, "TA", "Set Transaction", ARGS("TA")},
    {18719, "TD", "Set Turbine Diagnostic State", ARGS("TD")},
    {18720, "TW", "Write Turbine Meter Signature", ARGS("TW")},
    {18721, "MS", "Move (Override) Swing Arm Position", ARGS("MS")},
    {18722, "NR", "New Recipe", ARGS("NR")},
};
constexpr CannedCommand kBlendData[] = {
    {18801, "MP", "Minimum Preset", ARGS("MP")},
    {18802, "RC", "Recipe Composition", ARGS("RC")},
    {18803, "RF", "Recipe Flow Rates", ARGS("RF")},
    {18804, "RL", "Recipes Loaded", ARGS("RL")},
    {18805, "RN", "Recipe Numbers", ARGS("RN")},
};
constexpr CannedCommand kCardReader[] = {
    {18901, "CD", "Card Run Data", ARGS("CD")},
    {18902, "DI", "Insert Driver Record", ARGS("DI")},
    {18903, "DD", "Delete Driver Record", ARGS("DD")},
    {18904, "DQ", "Query Driver Record", ARGS("DQ")},
    {18905, "DU", "Update Card Database", RUN("DU")},
};

#undef RUN
#undef ARGS
#undef BARE

constexpr CannedGroup kGroups[] = {
    {"&Status", kStatus},
    {"System Data", kSystemData},
    {"Transaction Data", kTransactionData},
    {"Historical Data", kHistoricalData},
    {"User Data", kUserData},
    {"Keypad/Display", kKeypadDisplay},
    {"Control", kControl},
    {"Blend Data", kBlendData},
    {"Card Reader", kCardReader},
};

const CannedGroup* GroupOf(const CannedCommand& command) {
    for (const CannedGroup& group : kGroups)
        for (const CannedCommand& c : group.commands)
            if (&c == &command) return &group;
    return nullptr;
}

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

// The letters an item may be picked by: its mnemonic's, then its description's.
std::string Candidates(const CannedCommand& command) {
    std::string letters;
    for (const char* p : {command.mnemonic, command.description})
        for (; *p; ++p)
            if (std::isalnum(static_cast<unsigned char>(*p))) letters.push_back(Upper(*p));
    return letters;
}

// The letter each item of a group is picked by: the first of its candidates that no item
// before it in the group has taken; when all are, its mnemonic's first (the menu then cycles
// through the items that share it).
char PickLetter(const CannedGroup& group, const CannedCommand& command) {
    std::string taken;
    for (const CannedCommand& c : group.commands) {
        char pick = Upper(c.mnemonic[0]);
        for (char letter : Candidates(c)) {
            if (taken.find(letter) == std::string::npos) {
                pick = letter;
                break;
            }
        }
        if (&c == &command) return pick;
        taken.push_back(pick);
    }
    return 0;
}

}  // namespace

std::span<const CannedGroup> CannedCommands::Groups() { return kGroups; }

const CannedCommand* CannedCommands::Find(int id) {
    for (const CannedGroup& group : kGroups)
        for (const CannedCommand& c : group.commands)
            if (c.id == id) return &c;
    return nullptr;
}

std::optional<std::string> CannedCommands::TextOf(int id) {
    const CannedCommand* command = Find(id);
    if (!command || !command->text) return std::nullopt;
    return std::string(command->text);
}

std::string CannedCommands::MenuText(const CannedCommand& command) {
    const std::string plain = std::string(command.mnemonic) + " - " + command.description;
    std::string text = plain;
    if (const CannedGroup* group = GroupOf(command)) {
        if (const char letter = PickLetter(*group, command); letter != 0) {
            for (size_t i = 0; i < plain.size(); ++i) {
                if (Upper(plain[i]) == letter) {
                    text = plain.substr(0, i) + "&" + plain.substr(i);
                    break;
                }
            }
        }
    }
    if (command.id == kStatusBitmapId) text += "\tF4";
    return text;
}

int CannedCommands::HelpIdForEntry(std::string_view entry) {
    int help = kTerminalHelp;
    if (entry.size() < 2) return help;
    for (const CannedGroup& group : kGroups)
        for (const CannedCommand& c : group.commands)
            if (c.text && entry.substr(0, 2) == std::string_view(c.text).substr(0, 2))
                help = c.id + kTextIdOffset - kEntryHelpOffset;
    return help;
}

}  // namespace qs
