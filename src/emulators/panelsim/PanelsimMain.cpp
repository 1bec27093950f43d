#include "emulators/panelsim/CMmiEmulatorApp.h"

wxIMPLEMENT_APP(qs::panelsim::CMmiEmulatorApp);
