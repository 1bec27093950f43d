// Quillset's entry point.
#include "app/shell/QuillsetApp.h"

wxIMPLEMENT_APP(qs::QuillsetApp);
