#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/IniProfile.h"
#include "platform/SerialSettings.h"

namespace qs {

// The serial settings of one COM port as "QS3X.INI" keeps them in section "Comm", key
// "COM<n>": "baud,parity,data,stop", e.g. "38400,N,8,1". Reading refuses anything the serial
// layer could not apply, so a port is never opened with settings other than the ones written.

inline constexpr const char* kCommSection = "Comm";
inline constexpr const char* kDefaultCommText = "38400,N,8,1";
// The profile functions read at most this many characters of the text.
inline constexpr size_t kMaxCommTextLength = 40;
// Parity letters by parity code 0-4.
inline constexpr const char kParityLetters[] = "NOEMS";

// Rates the serial layer can set (the standard termios speeds from 110 baud up).
bool IsSupportedBaudRate(uint32_t rate);
// Supported rate, 5-8 data bits, parity code 0-4, one or two stop bits.
bool IsApplicable(const SerialSettings& settings);

// "9600,E,7,1": blanks around each field are allowed and the parity letter may be lower case.
// Anything else, including 1.5 stop bits or a rate the serial layer cannot set, is nullopt.
std::optional<SerialSettings> ParseCommSettings(std::string_view text);
// "%d,%c,%d,%d" with the stop bits as they are (1 or 2); nullopt for settings that are not
// applicable (a parity code outside 0-4 never indexes the letter table).
std::optional<std::string> FormatCommSettings(const SerialSettings& settings);

// Key "COM<n>" of COM port n; empty for a port outside 1-99.
std::string CommKey(int comPort);
bool IsValidComPort(int comPort);

// Settings of COM port n from the profile (the default text when the key is missing);
// nullopt for a port outside 1-99 or a text that cannot be applied.
std::optional<SerialSettings> ReadCommSettings(const IniProfile& profile, int comPort);
// Writes the settings of COM port n; false for a port outside 1-99, settings that are not
// applicable, or a file that cannot be written.
[[nodiscard]] bool WriteCommSettings(IniProfile& profile, int comPort, const SerialSettings& settings);

}  // namespace qs
