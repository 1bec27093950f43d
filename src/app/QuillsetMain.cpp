// Quillset's entry point.
#include "app/QuillsetApp.h"

wxIMPLEMENT_APP(qs::QuillsetApp);
