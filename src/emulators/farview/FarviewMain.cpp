#include "emulators/farview/CRemoteDisplayApp.h"

wxIMPLEMENT_APP(qs::farview::CRemoteDisplayApp);
