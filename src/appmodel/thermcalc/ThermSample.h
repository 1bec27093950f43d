#pragma once
#include <string>

namespace qs {

// One (temperature, density) point of the calculator. Once added, `temperature` holds the
// logged Fahrenheit value on the IPTS-68 scale and `density` kg/m3; the texts are the line
// shown for it as entered.
struct ThermSample {
    double density = 0.0;
    double temperature = 0.0;
    double deltaT = 0.0;
    std::string temperatureText;
    std::string densityText;
    bool fahrenheit = true;  // set for an empty sample
};

}  // namespace qs
