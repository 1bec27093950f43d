// The shell tests' helpers for a display with a window manager of its own and the X tools,
// built into this program too.
#include "../shell/Processes.cpp"
#include "../shell/WmDisplay.cpp"
